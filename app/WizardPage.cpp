#include "app/WizardPage.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QHBoxLayout>

#include "app/Pictures.h"
#include "app/Texts.h"

WizardPageBase::WizardPageBase(Wizard& wizard, int templateId, UiText title, UiText subTitle)
    : WizardPageBase(wizard, templateId) {
  setTitle(Text(title));
  setSubTitle(Text(subTitle));
}

WizardPageBase::WizardPageBase(Wizard& wizard, int templateId) : wizard_(wizard), templateId_(templateId) {
  setObjectName(QStringLiteral("page%1").arg(templateId));
}

void WizardPageBase::initializePage() {
  target_ = kFollowing;
  OnSetActive();
}

bool WizardPageBase::validatePage() {
  target_ = OnWizNext();
  return target_ != kStay;
}

int WizardPageBase::nextId() const {
  if (buttons_ == Buttons::Finish) return -1;
  return target_ == kFollowing || target_ == kStay ? wizard_.FollowingPage(templateId_) : target_;
}

void WizardPageBase::SetWizardButtons(Buttons buttons) {
  buttons_ = buttons;
  emit completeChanged();
}

void WizardPageBase::DestroyBoth() {
  DestroySecond();
  DestroyFirst();
}

QPlainTextEdit* WizardPageBase::MakePathField(QWidget* parent, const char* name) {
  auto* field = new QPlainTextEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setReadOnly(true);
  field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  field->setWordWrapMode(QTextOption::WrapAnywhere);
  field->setFixedHeight(QFontMetrics(field->font()).lineSpacing() * 2 + 12);
  field->setFocusPolicy(Qt::NoFocus);
  return field;
}

QLabel* WizardPageBase::MakeIcon(QWidget* parent, const char* picture) {
  auto* icon = new QLabel(parent);
  icon->setPixmap(Pictures::Picture(picture));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  icon->setFixedWidth(48);
  return icon;
}

void WizardPageBase::ShowPath(QPlainTextEdit* field, const std::filesystem::path& path) {
  field->setPlainText(QString::fromStdString(path.string()));
}

QVBoxLayout* WizardPageBase::LayOutPaths(std::initializer_list<const char*> icons, QPlainTextEdit* first,
                                         QPlainTextEdit* second) {
  auto* row = new QHBoxLayout(this);
  auto* iconColumn = new QVBoxLayout;
  for (const char* icon : icons) iconColumn->addWidget(MakeIcon(this, icon));
  iconColumn->addStretch(1);
  row->addLayout(iconColumn);
  auto* column = new QVBoxLayout;
  row->addLayout(column, 1);
  column->addWidget(first);
  if (second != nullptr) column->addWidget(second);
  return column;
}

void WizardPageBase::WatchForChanges(const std::filesystem::path& folder) {
  watch_.Start(folder, [this] {
    wizard_.ShowError(Text(UiText::ChangedByAnotherProgram));
    wizard_.PressCancel();
  });
}
