#include "app/PageSelectFolder.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/Texts.h"

PageSelectFolderBase::PageSelectFolderBase(Wizard& wizard, int templateId, UiText title, UiText subTitle,
                                           Restore::Mode mode)
    : WizardPageBase(wizard, templateId, title, subTitle),
      path_(MakePathField(this, "path")),
      mode_(mode),
      open_(new QPushButton(this)),
      grid_(new QGridLayout(this)) {
  open_->setObjectName(QStringLiteral("open"));
  // Rows 0 to 2 hold the first tree of a 3D pair on the partner's page.
  grid_->addWidget(path_, 3, 1);
  grid_->addWidget(open_, 3, 2, Qt::AlignTop);
  grid_->setColumnStretch(1, 1);
  grid_->setRowStretch(4, 1);
  connect(open_, &QPushButton::clicked, this, &PageSelectFolderBase::OpenChooser);
}

void PageSelectFolderBase::OnSetActive() {
  SetWizardButtons(path_->toPlainText().isEmpty() ? Buttons::None : Buttons::Next);
  open_->setText(Text(UiText::Open));
}

std::filesystem::path PageSelectFolderBase::ChosenPath() const { return path_->toPlainText().toStdString(); }

void PageSelectFolderBase::OpenChooser() {
  auto* chooser = new QFileDialog(this, Text(UiText::ProgramTitle));
  chooser->setObjectName(QStringLiteral("folderChooser"));
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  // The desktop's own chooser where its platform theme offers one (a portal,
  // GTK, KDE), Qt's otherwise.
  chooser->setOption(QFileDialog::ShowDirsOnly);
  chooser->setFileMode(QFileDialog::Directory);
  QString pictures = Sheet().Settings().PicturesFolder;
  if (pictures.isEmpty()) pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  // The folder where the companion viewer keeps what it imports.
  const QString start = pictures + QStringLiteral("/Velmar Viewer");
  if (QFileInfo(start).isDir()) chooser->setDirectory(start);
  // Handled once the chooser has closed.
  connect(chooser, &QFileDialog::fileSelected, this, &PageSelectFolderBase::OnChosen, Qt::QueuedConnection);
  chooser->open();
}

void PageSelectFolderBase::OnChosen(const QString& folder) {
  if (folder.isEmpty()) return;
  if (Restore::Platform::IsOnRemovableDrive(folder.toStdString(), Sheet().Settings().Drives)) {
    Sheet().ShowError(Text(UiText::FolderOnMemoryCard));
    return;
  }
  path_->setPlainText(folder);
  SetWizardButtons(Buttons::Next);
}

int PageSelectFolderBase::OnWizNext() {
  auto run = Sheet().CreateRun(ChosenPath(), RunMode());
  if (!run) return kStay;
  Sheet().First() = std::move(run);
  return kFollowing;
}

PageSelectFolder3dBase::PageSelectFolder3dBase(Wizard& wizard, UiText title, UiText subTitle, Restore::Mode mode)
    : PageSelectFolderBase(wizard, 105, title, subTitle, mode),
      firstPath_(MakePathField(this, "firstPath")),
      firstChannel_(new QLabel(this)),
      secondChannel_(new QLabel(this)) {
  firstChannel_->setObjectName(QStringLiteral("firstChannel"));
  secondChannel_->setObjectName(QStringLiteral("secondChannel"));
  Grid()->addWidget(MakeIcon(this, "icon-3d"), 0, 0, 4, 1);
  Grid()->addWidget(firstChannel_, 0, 1);
  Grid()->addWidget(firstPath_, 1, 1);
  Grid()->addWidget(secondChannel_, 2, 1, Qt::AlignBottom);
}

void PageSelectFolder3dBase::OnSetActive() {
  PageSelectFolderBase::OnSetActive();
  ShowPath(firstPath_, First().AvchdFolderPath());
  const bool firstIsLeft = First().Result3d() == Restore::Channel3d::Left;
  firstChannel_->setText(Text(firstIsLeft ? UiText::LeftChannel : UiText::RightChannel));
  secondChannel_->setText(Text(firstIsLeft ? UiText::RightChannel : UiText::LeftChannel));
  WatchForChanges(First().AvchdFolderPath());
}

int PageSelectFolder3dBase::OnWizNext() {
  // Stream files carry no pair identity yet: their pair is checked after the verification.
  auto run = Sheet().CreatePartnerRun(ChosenPath(), RunMode(), First());
  if (!run) return kStay;
  watch_.Stop();
  Sheet().Second() = std::move(run);
  return kFollowing;
}

bool PageSelectFolder3dBase::OnQueryCancel() {
  watch_.Stop();
  DestroyFirst();
  return true;
}
