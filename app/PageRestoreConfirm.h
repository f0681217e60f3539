#pragma once

#include "app/WizardPage.h"

// The confirmation pages: the verdict (ErrorFound; for a tree built from
// bare streams, that one will be made), the tree(s) to be written, and what the
// verification found and the repair will do, with where the backup goes.
// The commit button says what it does; it disables every button and
// requests the commit, which runs on the next tick of the page's timer, after
// the presses of the handler have been handled. While the page waits, a
// change to the watched tree cancels.
class PageRestoreConfirmBase : public WizardPageBase {
  Q_OBJECT

 public:
  PageRestoreConfirmBase(Wizard& wizard, int templateId, bool threeD);

  void OnSetActive() override;
  int OnWizNext() override;
  bool OnQueryCancel() override;
  void OnKillActive() override;

 protected:
  // The page after the commit.
  virtual int NextAfterCommit() { return kFollowing; }
  // Writes the repairs; false when a commit failed (its message was shown).
  virtual bool Commit() = 0;
  // Shows message and cancels when `run` failed; true when it did not.
  bool Succeeded(Restore::RestoreMain& run);
  // The two trees of a pair, both reachable: the partner checked to be the
  // tree it was, then both committed in the pair's order.
  bool CommitBoth();

 private:
  void OnTick();
  void ShowReport();
  // The report's entry of `run`, as it stands before the commit.
  void Describe(const Restore::RestoreMain& run, RestoreReport::Outcome& outcome) const;
  void RestoreNextButton();

  bool threeD_;
  bool commitRequested_ = false;
  QPlainTextEdit* firstPath_;
  QPlainTextEdit* secondPath_;
  QPlainTextEdit* report_;
  QString nextText_;
};

class PageRestoreConfirm : public PageRestoreConfirmBase {
  Q_OBJECT

 public:
  explicit PageRestoreConfirm(Wizard& wizard) : PageRestoreConfirmBase(wizard, 108, false) {}

 protected:
  bool Commit() override;
};

// A pair of folders: both are committed, the first one first.
class PageRestoreConfirm3d : public PageRestoreConfirmBase {
  Q_OBJECT

 public:
  explicit PageRestoreConfirm3d(Wizard& wizard) : PageRestoreConfirmBase(wizard, 109, true) {}

 protected:
  bool Commit() override { return CommitBoth(); }
};

// A pair of cards: the card inserted now (the partner) is committed; when
// the first card is reachable as well (two readers), it is committed too,
// else the user is asked to insert it again.
class PageRestoreConfirm3d_2 : public PageRestoreConfirmBase {
  Q_OBJECT

 public:
  explicit PageRestoreConfirm3d_2(Wizard& wizard) : PageRestoreConfirmBase(wizard, 110, true) {}

 protected:
  bool Commit() override;
  int NextAfterCommit() override { return bothCommitted_ ? 112 : kFollowing; }

 private:
  // Kept: after a commit of both cards the runs are gone.
  bool bothCommitted_ = false;
};
