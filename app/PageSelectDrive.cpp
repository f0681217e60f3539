#include "app/PageSelectDrive.h"

#include <QHBoxLayout>

#include "app/Texts.h"

PageSelectDriveBase::PageSelectDriveBase(Wizard& wizard, int templateId, UiText subTitle, bool threeD)
    : WizardPageBase(wizard, templateId, UiText::SelectCardTitle, subTitle),
      drives_(new QComboBox(this)),
      empty_(new QLabel(Localized("No memory card is inserted. Insert the card into a card reader; it appears here "
                                  "within a moment. A folder copied from a card is repaired in the folder mode.",
                                  "メモリーカードが挿入されていません。カードリーダーにカードを挿入すると、"
                                  "ここに表示されます。カードからコピーしたフォルダーは、フォルダーのモードで"
                                  "復旧します。"),
                        this)),
      folderMode_(new QPushButton(Localized("Repair a folder instead", "フォルダーを復旧する"), this)) {
  drives_->setObjectName(QStringLiteral("drives"));
  drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  empty_->setObjectName(QStringLiteral("noDrive"));
  empty_->setWordWrap(true);
  folderMode_->setObjectName(QStringLiteral("folderMode"));
  // The pages of a pair keep the card mode: the first card is chosen.
  folderMode_->setEnabled(!threeD);
  connect(folderMode_, &QPushButton::clicked, this, [this] { Sheet().SwitchTo(Restore::Mode::AvchdFolder); });
  auto* layout = new QHBoxLayout(this);
  if (threeD) layout->addWidget(MakeIcon(this, "icon-3d"));
  auto* column = new QVBoxLayout;
  column->addWidget(drives_);
  column->addWidget(empty_);
  column->addWidget(folderMode_, 0, Qt::AlignLeft);
  column->addStretch(1);
  layout->addLayout(column, 1);
  connect(drives_, &QComboBox::activated, this, &PageSelectDriveBase::OnSelected);
  connect(&timer_, &QTimer::timeout, this, &PageSelectDriveBase::Refresh);
}

void PageSelectDriveBase::OnSetActive() {
  SetWizardButtons(Buttons::None);
  drives_->clear();
  shown_.clear();
  empty_->setVisible(false);
  folderMode_->setVisible(false);
  commitRequested_ = false;
  timer_.start(Sheet().Settings().DriveRefreshMilliseconds);
}

std::filesystem::path PageSelectDriveBase::SelectedDrive() const {
  const int index = drives_->currentIndex();
  return index < 0 || index >= static_cast<int>(shown_.size()) ? std::filesystem::path() : shown_[index].MountPoint;
}

void PageSelectDriveBase::Refresh() {
  auto drives = Restore::Platform::RemovableDrives(Sheet().Settings().Drives);
  // The same drives in the same order leave the list and the selection alone.
  if (drives != shown_) {
    shown_ = std::move(drives);
    drives_->clear();
    for (const auto& drive : shown_) drives_->addItem(QString::fromStdString(drive.Entry()));
    for (std::size_t i = 0; i < shown_.size(); ++i) {
      if (shown_[i].MountPoint == Sheet().ChosenDrive) drives_->setCurrentIndex(static_cast<int>(i));
    }
    SetWizardButtons(shown_.empty() ? Buttons::None : Buttons::Next);
  }
  empty_->setVisible(shown_.empty());
  folderMode_->setVisible(shown_.empty() && folderMode_->isEnabled());
  OnRefreshed();
}

void PageSelectDriveBase::OnSelected(int index) {
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  SetWizardButtons(Buttons::Next);
  Sheet().ChosenDrive = shown_[index].MountPoint;
}

int PageSelectDrive::OnWizNext() {
  if (SelectedDrive().empty()) return kStay;
  auto run = Sheet().CreateRun(SelectedDrive(), Restore::Mode::MemoryCard);
  if (!run) return kStay;
  timer_.stop();
  Sheet().First() = std::move(run);
  return kFollowing;
}

int PageSelectDrive3d::OnWizNext() {
  if (SelectedDrive().empty()) return kStay;
  auto run = Sheet().CreatePartnerRun(SelectedDrive(), Restore::Mode::MemoryCard, First());
  if (!run) return kStay;
  timer_.stop();
  Sheet().Second() = std::move(run);
  return kFollowing;
}

bool PageSelectDrive3d::OnQueryCancel() {
  DestroyFirst();
  return true;
}

int PageSelectDrive3d_2::OnWizNext() {
  if (commitRequested_) return kFollowing;
  if (SelectedDrive().empty()) return kStay;
  // A run of its own tells whether the card inserted is the first one again.
  if (!Sheet().CreatePartnerRun(SelectedDrive(), Restore::Mode::MemoryCard, Second())) return kStay;
  SetWizardButtons(Buttons::None);
  Sheet().EnableCancel(false);
  commitRequested_ = true;
  return kStay;
}

// The first card's commit, on the tick after the Next that requested it.
void PageSelectDrive3d_2::OnRefreshed() {
  if (!commitRequested_ || !timer_.isActive()) return;
  timer_.stop();
  First().Commit();
  if (First().ResultState() == Restore::Verdict::Failed) {
    Sheet().ShowError(First().ErrorString());
    Sheet().PressCancel();
    return;
  }
  Sheet().NoteCommit(First());
  DestroyBoth();
  Sheet().DiscardPendingInput();
  Sheet().PressNext();
}

bool PageSelectDrive3d_2::OnQueryCancel() {
  DestroyBoth();
  return true;
}
