#pragma once

#include <filesystem>
#include <optional>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Backup.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Findings.h"
#include "restorelib/Restore_Mode.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_Restore3d.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreIndexTable.h"
#include "restorelib/Restore_RestoreMovieObject.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"
#include "restorelib/Restore_RestoreStreamFolder.h"
#include "restorelib/Restore_RestoreThumbnail.h"
#include "restorelib/Restore_Thread.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {

// One verification and repair of one AVCHD tree. The constructor resolves
// the tree, plans its streams, refuses a write-protected medium and checks
// the maker; Start verifies on a worker; Commit writes the repairs. No
// public operation lets an exception escape: failures end in ResultState -1
// with ErrorString.
class RestoreMain : public Thread {
 public:
  // A run made for a check only (`Purpose::Check`) works on a medium that
  // refuses writes, and says so; its commit is still refused (108).
  enum class Purpose { Repair, Check };
  RestoreMain(const std::filesystem::path& target, Mode mode,
              const Utility::VolumeQueries& volume = Utility::VolumeQueries(), Purpose purpose = Purpose::Repair);
  ~RestoreMain() override;

  // true when the verification found anything to write, move, cut or delete.
  bool IsRestoreRequired() const;
  // What Commit would do; empty when no restore is required.
  RestorePlan Plan() const;
  // What the verification found and what the plan does about it.
  std::vector<Finding> Findings() const;
  // Writes the repairs when a restore is required: ResultState 0, or -1 on
  // failure (whatever was done before the failure stays done).
  void Commit();

  // ---- a 3D pair, on the user-interface thread, after both verifications
  // or after the selection of the second tree. Virtual so that the tests of
  // a front end can stand in pairs of their own.
  // "verify 3D relation": this run is the tree chosen now, `first` the tree
  // chosen before. ResultState 0 when this tree is the other eye of `first`
  // (or has no index table), else -1 with ErrorString (114, or the message of
  // the failure).
  virtual void VerifyRelation3d(RestoreMain& first);
  // "verify 3D Main": this run is the first tree of the pair. Orders the two
  // as left and right, repairs the right tree from the left one, and sets
  // both ResultStates: 1 when neither needs a restore, else 0; on failure -1
  // here (this run) with ErrorString.
  virtual void VerifyMain3d(RestoreMain& second);

  // Where the commit saves what it changes (or that it saves nothing).
  void SetBackup(const BackupOptions& options) { backupOptions_ = options; }
  // The backup folder of the last commit: written whole when the commit
  // succeeded; empty when none was to be written.
  const std::filesystem::path& BackupFolder() const { return backupFolder_; }

  // The medium refuses writes (a check-only run found it so).
  bool IsWriteProtected() const { return streamFolder_.IsWriteProtected(); }

  const std::filesystem::path& AvchdFolderPath() const { return folder_.Path; }
  // The folder the commit works in and keeps its journal in: the card root,
  // the folder of bare streams, or the AVCHD folder.
  const std::filesystem::path& WorkingFolder() const;
  const AvchdFolder& Folder() const { return folder_; }
  // The links, FIFOs, devices and sockets of the tree, and its streams with
  // other hard links: never followed, replaced or cut.
  const std::vector<std::string>& SpecialEntries() const { return specialEntries_; }

 protected:
  // The verification, on the worker.
  void Run() override;

 private:
  void ResolveFolder(const std::filesystem::path& target, Mode mode);
  void VerifyMaker();
  void CommitSteps();
  void FindUnfinishedCommit();
  ChangeSet PrepareChanges();
  void AddThumbnailFolderDeletion(ChangeSet& changes) const;
  void AddBackupChanges(ChangeSet& changes) const;
  void AddPlannedBackup(RestorePlan& plan) const;

  Utility::VolumeQueries volume_;
  AvchdFolder folder_;
  RestoreThumbnail thumbnail_;
  // Keeps the state after the first half of the thumbnail verification,
  // from which the verification of a 3D pair starts.
  RestoreThumbnail thumbnailSnapshot_;
  RestoreStreamFolder streamFolder_;
  RestoreClipInformation clipInformation_;
  RestoreMoviePlayList playList_;
  RestoreMovieObject movieObject_;
  RestoreIndexTable indexTable_;
  Restore3d threeD_;
  // Temporaries of an earlier commit that was cut, removed by this one.
  std::vector<std::filesystem::path> leftovers_;
  std::vector<std::string> specialEntries_;
  // Every rule the verification reported, on the worker and in the
  // verification of a 3D pair.
  std::vector<AAA::RuleFinding> ruleFindings_;
  // The tree was there when it was verified: a tree built from bare streams
  // misses every file, which is no finding.
  bool treeExisted_ = false;
  // The BACKUP folder of a long-name tree does not mirror its files.
  bool backupUnsound_ = false;
  // The changes of an earlier commit that a cut stopped: this run finishes
  // them and does nothing else.
  std::optional<ChangeSet> unfinished_;
  BackupOptions backupOptions_;
  std::filesystem::path backupFolder_;
};

}  // namespace Restore
