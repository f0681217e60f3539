#pragma once

#include <QString>
#include <QWizard>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "report/RestoreReport.h"
#include "restorelib/Restore_Platform.h"
#include "restorelib/Restore_RestoreMain.h"

class WizardPageBase;

// What the wizard needs from its surroundings; the defaults ask the system,
// tests hand in their own.
struct WizardSettings {
  // Creates the restore run of a chosen target in a mode.
  std::function<std::unique_ptr<Restore::RestoreMain>(const std::filesystem::path& target, Restore::Mode mode)>
      CreateRun = [](const std::filesystem::path& target, Restore::Mode mode) {
        return std::make_unique<Restore::RestoreMain>(target, mode);
      };
  Restore::Platform::DriveSources Drives;
  // The user's pictures folder; the folder chooser starts in its "Velmar Viewer".
  QString PicturesFolder;
  // The page timers: progress, remaining time and the commit of the
  // confirmation pages, and the refresh of the drive lists.
  int TickMilliseconds = 1000;
  int DriveRefreshMilliseconds = 500;
};

// The restore wizard of one mode: its pages collect the target, create the
// restore runs, verify, show the verdict, commit on confirmation and handle
// a 3D pair. The navigation is one way: there is no Back button.
class Wizard : public QWizard {
  Q_OBJECT

 public:
  Wizard(Restore::Mode mode, const WizardSettings& settings, QWidget* owner);
  ~Wizard() override;

  Restore::Mode Mode() const { return mode_; }
  const WizardSettings& Settings() const { return settings_; }

  // The two runs: the tree chosen first, and its 3D partner.
  std::unique_ptr<Restore::RestoreMain>& First() { return first_; }
  std::unique_ptr<Restore::RestoreMain>& Second() { return second_; }
  // Creates the run of `target` in `mode`; when it cannot work on the target,
  // shows its message and returns nothing.
  std::unique_ptr<Restore::RestoreMain> CreateRun(const std::filesystem::path& target, Restore::Mode mode);
  // The same, then "verify 3D relation" against `other`: nothing (after the
  // message) unless the new tree is the other eye of `other`.
  std::unique_ptr<Restore::RestoreMain> CreatePartnerRun(const std::filesystem::path& target, Restore::Mode mode,
                                                         Restore::RestoreMain& other);

  // The mount point last chosen in a drive list, shared by the drive pages.
  std::filesystem::path ChosenDrive;

  // The backup of each commit of this wizard, for the finished page's undo.
  struct CommitBackup {
    std::filesystem::path Folder;
    std::filesystem::path Working;
  };
  std::vector<CommitBackup> Backups;
  // What the confirmation page showed: the findings and plan of the runs,
  // which the finished page saves on request, as text and as the JSON
  // report of the command line (the partner's tree under Partner).
  QString Report;
  RestoreReport::Outcome Outcome;
  // A commit of `run` succeeded: its backup is kept for the undo and the
  // report says that its tree was repaired.
  void NoteCommit(const Restore::RestoreMain& run);

  // Ends this wizard so that the main menu opens the one of `mode` (the
  // folder mode offered when no card is inserted); none when the user ended it.
  void SwitchTo(Restore::Mode mode);
  std::optional<Restore::Mode> SwitchedTo() const { return switchedTo_; }

  // Button presses are posted, so that they run after the current handler.
  void PressNext();
  void PressCancel();
  void EnableCancel(bool enabled);
  // The error box: `text` with the program title as caption.
  void ShowError(const QString& text);
  void ShowError(const std::string& text) { ShowError(QString::fromStdString(text)); }
  // Lets the input queued during a long operation reach the disabled
  // window, where it has no effect.
  void DiscardPendingInput();

  // The page following `pageId` in this mode's page order; -1 after the last.
  int FollowingPage(int pageId) const;
  WizardPageBase* CurrentPage() const;

 public slots:
  void reject() override;

 private:
  void AddPages();
  // The cancel request of a page, or of the user: the page may refuse it.
  void Cancel();
  void OnPageChanged(int id);

  Restore::Mode mode_;
  std::optional<Restore::Mode> switchedTo_;
  WizardSettings settings_;
  std::vector<int> order_;
  WizardPageBase* active_ = nullptr;
  std::unique_ptr<Restore::RestoreMain> first_;
  std::unique_ptr<Restore::RestoreMain> second_;
};
