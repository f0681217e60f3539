#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "restorelib/Restore_ChangeSet.h"

// The backup of a commit, outside the tree: before the first change, all
// that the commit will change is saved so that an undo can put the tree
// back byte for byte. A backup folder holds
//   manifest.json   the tree, the program's version, the time, and per
//                   change the path relative to the tree, the operation,
//                   size and SHA-256 before and after;
//   changes.journal the commit's own changes, to tell whether the tree
//                   changed since;
//   undo.journal    the changes that take the commit back: old files,
//                   the tails cut from streams, moves reversed, created
//                   files and folders removed.
namespace Restore {

struct BackupOptions {
  bool Enabled = true;
  // The folder that holds the backups; empty: the user's data folder
  // ($XDG_DATA_HOME, or ~/.local/share) + "velmar-restorer/backups".
  std::filesystem::path Folder;
};

std::filesystem::path DefaultBackupRoot();

// Writes the backup of `changes` of the tree whose working folder is
// `working` into a new folder below `root` (made with the folders above it),
// named by the UTC time and the tree: 20261209T024000Z-CARD, with "-2",
// "-3"... when another run has that name. Every file and folder is synced.
// `folder` names the backup as soon as its name is chosen, so that a backup
// that cannot be written whole, which throws the exception of the failure
// after removing what it wrote, can be named.
void WriteBackup(const ChangeSet& changes, const std::filesystem::path& working, const std::filesystem::path& root,
                 const std::string& version, std::filesystem::path& folder);

// The undo of the backup in `folder` for the tree whose working folder is
// `working`: its changes, and the files of the tree that differ from what
// the commit left (then the undo is refused).
// An undo that a cut stopped is found by its journal and finished.
struct UndoPlan {
  ChangeSet Changes;
  std::vector<std::filesystem::path> ChangedSince;
  bool FinishesInterruptedUndo = false;
};
UndoPlan PlanUndo(const std::filesystem::path& folder, const std::filesystem::path& working);
// Puts the tree back (crash-safe as a commit), then returns the files that
// do not hold what they held before the commit (empty: all do).
std::vector<std::filesystem::path> Undo(const UndoPlan& plan, const std::filesystem::path& working,
                                        const Utility::VolumeQueries& volume);

}  // namespace Restore
