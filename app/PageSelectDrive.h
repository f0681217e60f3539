#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "app/WizardPage.h"
#include "restorelib/Restore_Platform.h"

// The memory-card pages: a drop-down list of the removable drives (304),
// refreshed on every tick of a 0.5-second timer, keeping the drive the user
// chose.
class PageSelectDriveBase : public WizardPageBase {
  Q_OBJECT

 public:
  PageSelectDriveBase(Wizard& wizard, int templateId, UiText subTitle, bool threeD);

  void OnSetActive() override;
  void OnKillActive() override { timer_.stop(); }

 protected:
  // The mount point of the selected entry; empty when the list is empty.
  std::filesystem::path SelectedDrive() const;
  // Runs after every refresh.
  virtual void OnRefreshed() {}

  bool commitRequested_ = false;

 private:
  void Refresh();
  void OnSelected(int index);

  QComboBox* drives_;
  // Shown while no removable drive is there: what to do, and the folder mode.
  QLabel* empty_;
  QPushButton* folderMode_;
  std::vector<Restore::Platform::Drive> shown_;
};

// The card to repair.
class PageSelectDrive : public PageSelectDriveBase {
  Q_OBJECT

 public:
  explicit PageSelectDrive(Wizard& wizard) : PageSelectDriveBase(wizard, 101, UiText::SelectCard, false) {}
  int OnWizNext() override;
};

// The partner card of a 3D pair; it must be the other eye of the first.
class PageSelectDrive3d : public PageSelectDriveBase {
  Q_OBJECT

 public:
  explicit PageSelectDrive3d(Wizard& wizard) : PageSelectDriveBase(wizard, 102, UiText::SelectOtherChannelCard, true) {}
  int OnWizNext() override;
  bool OnQueryCancel() override;
};

// With one card reader: the first card inserted again after the partner's
// commit; it is recognised as the other eye of the partner, then committed.
class PageSelectDrive3d_2 : public PageSelectDriveBase {
  Q_OBJECT

 public:
  explicit PageSelectDrive3d_2(Wizard& wizard) : PageSelectDriveBase(wizard, 103, UiText::SelectFirstCardAgain, true) {}
  int OnWizNext() override;
  bool OnQueryCancel() override;

 protected:
  void OnRefreshed() override;
};
