#include "app/PageSelectDrive.h"

#include <QHBoxLayout>

#include "app/Texts.h"

PageSelectDriveBase::PageSelectDriveBase(Wizard& wizard, int templateId, int subTitleId, bool threeD)
    : WizardPageBase(wizard, templateId, 1010, subTitleId), drives_(new QComboBox(this)) {
  drives_->setObjectName(QStringLiteral("drives"));
  drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  auto* layout = new QHBoxLayout(this);
  if (threeD) layout->addWidget(MakeIcon(this, ":/velmar/icon-3d.png"));
  layout->addWidget(drives_, 1, Qt::AlignTop);
  connect(drives_, &QComboBox::activated, this, &PageSelectDriveBase::OnSelected);
  connect(&timer_, &QTimer::timeout, this, &PageSelectDriveBase::Refresh);
}

void PageSelectDriveBase::OnSetActive() {
  SetWizardButtons(Buttons::None);
  drives_->clear();
  shown_.clear();
  commitRequested_ = false;
  timer_.start(Sheet().Settings().DriveRefreshMilliseconds);
}

std::filesystem::path PageSelectDriveBase::SelectedDrive() const {
  const int index = drives_->currentIndex();
  return index < 0 || index >= static_cast<int>(shown_.size()) ? std::filesystem::path() : shown_[index].MountPoint;
}

void PageSelectDriveBase::Refresh() {
  auto drives = DriveList::RemovableDrives(Sheet().Settings().Drives);
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
  OnRefreshed();
}

void PageSelectDriveBase::OnSelected(int index) {
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  SetWizardButtons(Buttons::Next);
  Sheet().ChosenDrive = shown_[index].MountPoint;
}

int PageSelectDrive::OnWizNext() {
  if (SelectedDrive().empty()) return kStay;
  auto run = Sheet().CreateRun(SelectedDrive(), Restore::ModeMemoryCard);
  if (!run) return kStay;
  timer_.stop();
  Sheet().First() = std::move(run);
  return kFollowing;
}

int PageSelectDrive3d::OnWizNext() {
  if (SelectedDrive().empty()) return kStay;
  auto run = Sheet().CreatePartnerRun(SelectedDrive(), Restore::ModeMemoryCard, First());
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
  if (!Sheet().CreatePartnerRun(SelectedDrive(), Restore::ModeMemoryCard, Second())) return kStay;
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
  if (First().ResultState() == -1) {
    Sheet().ShowError(First().ErrorString());
    Sheet().PressCancel();
    return;
  }
  DestroyBoth();
  Sheet().DiscardPendingInput();
  Sheet().PressNext();
}

bool PageSelectDrive3d_2::OnQueryCancel() {
  DestroyBoth();
  return true;
}
