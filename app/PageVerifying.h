#pragma once

#include <QProgressBar>
#include <optional>

#include "app/WizardPage.h"
#include "restorelib/Restore_RemainingTime.h"

// The verifying pages: the verification of one run on its worker, with the
// progress (307), the remaining time in the status line, and the question
// whether to cancel, asked while the worker is held.
class PageVerifyingBase : public WizardPageBase {
  Q_OBJECT

 public:
  PageVerifyingBase(Wizard& wizard, int templateId, bool threeD);

  void OnSetActive() override;
  bool OnQueryCancel() override;
  void OnKillActive() override { timer_.stop(); }

 protected:
  // The run this page verifies.
  virtual Restore::RestoreMain& Run() const = 0;
  virtual void DestroyRuns() = 0;

  // The results as the completion handed them over.
  Restore::ResultBlock result_;

 private:
  static void Completed(const Restore::ResultBlock& result);
  void OnCompleted(const Restore::ResultBlock& result);
  void OnTick();
  bool AskCancel();

  bool threeD_;
  QPlainTextEdit* firstPath_;
  QPlainTextEdit* secondPath_;
  QProgressBar* progress_;
  QLabel* status_;
  Restore::RemainingTime remaining_{Restore::RemainingTime::Clock::now()};
  bool asking_ = false;
  // A completion that arrived while the question was asked.
  std::optional<Restore::ResultBlock> heldBack_;
};

// The tree chosen first.
class PageVerifying : public PageVerifyingBase {
  Q_OBJECT

 public:
  explicit PageVerifying(Wizard& wizard) : PageVerifyingBase(wizard, 106, false) {}
  int OnWizNext() override;

 protected:
  Restore::RestoreMain& Run() const override { return First(); }
  void DestroyRuns() override { DestroyFirst(); }
};

// The partner of a 3D pair; then the pair is checked and repaired.
class PageVerifying3d : public PageVerifyingBase {
  Q_OBJECT

 public:
  explicit PageVerifying3d(Wizard& wizard) : PageVerifyingBase(wizard, 107, true) {}
  int OnWizNext() override;

 protected:
  Restore::RestoreMain& Run() const override { return Second(); }
  void DestroyRuns() override { DestroyBoth(); }
};
