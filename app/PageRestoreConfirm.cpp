#include "app/PageRestoreConfirm.h"

#include "app/Texts.h"

PageRestoreConfirmBase::PageRestoreConfirmBase(Wizard& wizard, int templateId, bool threeD)
    : WizardPageBase(wizard, templateId, 1040, 1041),
      threeD_(threeD),
      firstPath_(MakePathField(this, "path")),
      secondPath_(threeD ? MakePathField(this, "secondPath") : nullptr) {
  auto* column = threeD ? LayOutPaths({":/velmar/icon-confirm.png", ":/velmar/icon-3d.png"}, firstPath_, secondPath_)
                        : LayOutPaths({":/velmar/icon-confirm.png"}, firstPath_, nullptr);
  column->addStretch(1);
  connect(&timer_, &QTimer::timeout, this, &PageRestoreConfirmBase::OnTick);
}

void PageRestoreConfirmBase::OnSetActive() {
  SetWizardButtons(Buttons::Next);
  ShowPath(firstPath_, First().AvchdFolderPath());
  if (threeD_) ShowPath(secondPath_, Second().AvchdFolderPath());
  // The pair's partner is the tree in the reader now.
  WatchForChanges(threeD_ ? Second().AvchdFolderPath() : First().AvchdFolderPath());
  commitRequested_ = false;
  timer_.start(Sheet().Settings().TickMilliseconds);
}

int PageRestoreConfirmBase::OnWizNext() {
  if (commitRequested_) return NextAfterCommit();
  watch_.Stop();
  SetWizardButtons(Buttons::None);
  Sheet().EnableCancel(false);
  commitRequested_ = true;
  return kStay;
}

void PageRestoreConfirmBase::OnTick() {
  if (!commitRequested_) return;
  timer_.stop();
  if (!Commit()) return;
  Sheet().DiscardPendingInput();
  Sheet().PressNext();
}

bool PageRestoreConfirmBase::Succeeded(Restore::RestoreMain& run) {
  if (run.ResultState() != -1) {
    if (!run.BackupFolder().empty()) Sheet().Backups.push_back({run.BackupFolder(), run.WorkingFolder()});
    return true;
  }
  Sheet().ShowError(run.ErrorString());
  Sheet().PressCancel();
  return false;
}

bool PageRestoreConfirmBase::OnQueryCancel() {
  watch_.Stop();
  DestroyFirst();
  if (threeD_) DestroySecond();
  return true;
}

void PageRestoreConfirmBase::OnKillActive() {
  timer_.stop();
  watch_.Stop();
}

bool PageRestoreConfirm::Commit() {
  First().Commit();
  if (!Succeeded(First())) return false;
  DestroyFirst();
  return true;
}

bool PageRestoreConfirm3d::Commit() {
  First().Commit();
  if (!Succeeded(First())) return false;
  Second().Commit();
  if (!Succeeded(Second())) return false;
  DestroyBoth();
  return true;
}

bool PageRestoreConfirm3d_2::Commit() {
  Second().Commit();
  if (!Succeeded(Second())) return false;
  // Both cards are reachable at once when the first tree is still there
  // under a path of its own (two readers). A card swapped in one reader may
  // come back under another mount point: it then counts as not reachable.
  std::error_code error;
  bothCommitted_ = First().AvchdFolderPath() != Second().AvchdFolderPath() &&
                   std::filesystem::is_directory(First().AvchdFolderPath(), error);
  if (bothCommitted_) {
    First().Commit();
    if (!Succeeded(First())) return false;
    DestroyBoth();
  }
  return true;
}
