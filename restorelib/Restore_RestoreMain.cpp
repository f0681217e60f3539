#include "restorelib/Restore_RestoreMain.h"

#include <algorithm>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_BackupMirror.h"
#include "restorelib/Restore_Beneath.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Journal.h"
#include "restorelib/Restore_Leftovers.h"
#include "restorelib/Restore_SpecialEntries.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

// The folder ends in AVCHD/BDMV/STREAM or AVCHDL/BDMV/STREAM, in any case.
bool IsStreamFolderOfATree(const fs::path& path) {
  std::vector<std::string> last;
  for (const auto& component : path) last.push_back(component.string());
  if (last.size() < 3) return false;
  const auto& tree = last[last.size() - 3];
  return (Utility::EqualsIgnoringCase(tree, "AVCHD") || Utility::EqualsIgnoringCase(tree, "AVCHDL")) &&
         Utility::EqualsIgnoringCase(last[last.size() - 2], "BDMV") &&
         Utility::EqualsIgnoringCase(last.back(), "STREAM");
}

// What the maker check of one file found.
enum class Maker { Supported, Other, Unread };

// Reads one file for the maker check; a fault of the file other than its
// maker is left to the verification, which repairs it.
template <typename Read>
Maker MakerOf(Read read) {
  try {
    read();
    return Maker::Supported;
  } catch (const AAA::MakerModelException&) {
    return Maker::Other;
  } catch (const AAA::ExceptionBase&) {
    return Maker::Unread;
  }
}

// The non-empty, five-digit-named files that `pattern` lists.
std::vector<fs::path> NumberedFiles(const fs::path& pattern) {
  std::vector<fs::path> files;
  for (const auto& entry : Utility::ListFiles(pattern)) {
    if (entry.Size > 0 && Utility::IsNumberedFileName(entry.Name)) files.push_back(pattern.parent_path() / entry.Name);
  }
  return files;
}

}  // namespace

RestoreMain::RestoreMain(const fs::path& target, Mode mode, const Utility::VolumeQueries& volume, Purpose purpose)
    : volume_(volume),
      thumbnail_(folder_),
      thumbnailSnapshot_(folder_),
      streamFolder_(folder_, volume_),
      clipInformation_(folder_, streamFolder_, *this),
      playList_(folder_, clipInformation_, thumbnail_, *this),
      movieObject_(folder_, playList_),
      indexTable_(folder_, clipInformation_, movieObject_, playList_, thumbnail_),
      threeD_(
          {&folder_, &thumbnail_, &thumbnailSnapshot_, &clipInformation_, &playList_, &movieObject_, &indexTable_}) {
  Guard([&] {
    ResolveFolder(target, mode);
    const FileLayer::TreeScope scope(WorkingFolder());
    streamFolder_.VerifyStreamFolder(purpose == Purpose::Repair);
    VerifyMaker();
  });
  LogResult();
}

RestoreMain::~RestoreMain() { Wait(); }

void RestoreMain::ResolveFolder(const fs::path& target, Mode mode) {
  const fs::path path = Utility::NormalizePath(target);
  switch (mode) {
    case Mode::MemoryCard:
      folder_.RootPath = path;
      // A card copied to a disk that tells cases apart may hold private/avchd.
      folder_.SetPath(Utility::AsOnDisk(Utility::AsOnDisk(path, "PRIVATE"), "AVCHD"));
      break;
    case Mode::AvchdFolder:
      folder_.SetPath(path);
      break;
    case Mode::StreamFiles: {
      // The streams of an existing tree are repaired in place, never rebuilt.
      if (IsStreamFolderOfATree(path)) AAA_THROW(AAA::InvalidDataException());
      fs::path tree = path;
      if (!Utility::EqualsIgnoringCase(path.filename().string(), "PRIVATE")) tree = Utility::AsOnDisk(tree, "PRIVATE");
      tree = Utility::AsOnDisk(tree, Utility::IsFatFamilyVolume(path, volume_) ? "AVCHD" : "AVCHDL");
      folder_.RootPath = path;
      folder_.SetPath(tree);
      break;
    }
    default:
      AAA_THROW(AAA::ArgumentException());
  }
}

// A card whose files name another maker is refused. A file of a card whose
// index table and clip information files agree on a supported maker is
// damaged, not foreign, when its maker fields do not agree (one bad byte
// there): the verification repairs it like any other damage.
void RestoreMain::VerifyMaker() {
  AAA::Log::Heading("verify maker");
  const Maker index = MakerOf([&] { indexTable_.ReadForMakerCheck(Utility::IndexTableFile(folder_)); });
  std::size_t clipsSupported = 0;
  std::size_t clipsOther = 0;
  for (const auto& file : NumberedFiles(Utility::ClipInformationPattern(folder_))) {
    const Maker clip = MakerOf([&] { clipInformation_.ReadForMakerCheck(file); });
    clipsSupported += clip == Maker::Supported;
    clipsOther += clip == Maker::Other;
  }
  bool playListOfOtherMaker = false;
  for (const auto& file : NumberedFiles(Utility::PlayListPattern(folder_))) {
    playListOfOtherMaker |= MakerOf([&] { playList_.ReadForMakerCheck(file); }) == Maker::Other;
  }
  const bool anyOther = index == Maker::Other || clipsOther != 0 || playListOfOtherMaker;
  const bool cardOfSupportedMaker = index == Maker::Supported && clipsOther < std::max<std::size_t>(clipsSupported, 1);
  if (anyOther && !cardOfSupportedMaker) AAA_THROW(AAA::MakerModelException());
}

void RestoreMain::Run() {
  Guard(
      [&] {
        const FileLayer::TreeScope scope(WorkingFolder());
        ruleFindings_.clear();
        const AAA::FindingRecorder recorder(ruleFindings_);
        treeExisted_ = Utility::Exists(Utility::BdmvFolder(folder_));
        specialEntries_ = SpecialEntryFindings(folder_, WorkingFolder());
        const auto& notStreams = streamFolder_.Findings();
        specialEntries_.insert(specialEntries_.end(), notStreams.begin(), notStreams.end());
        for (const auto& line : specialEntries_) AAA::Log::Line(AAA::Log::kHeading, "%s\n", line.c_str());
        leftovers_ = FindLeftovers(folder_);
        FindUnfinishedCommit();
        if (unfinished_) {
          SetProgress(100);
          result_.ResultState = Verdict::RepairRequired;
          return;
        }
        thumbnail_.VerifyThumbnailIndex();
        thumbnailSnapshot_.VerifyThumbnailIndex();
        clipInformation_.VerifyClipInformation();
        const auto& damage = clipInformation_.DamagedStretches();
        specialEntries_.insert(specialEntries_.end(), damage.begin(), damage.end());
        playList_.VerifyMoviePlayList();
        movieObject_.VerifyMovieObject();
        indexTable_.VerifyIndexTable();
        thumbnail_.VerifyThumbnailIndex2();
        result_.Result3d = threeD_.VerifyOneEye();
        backupUnsound_ = folder_.IsLongName && !BackupChangesFor(folder_, MirroredFiles(folder_, {}, {})).IsEmpty();
        if (backupUnsound_) AAA::Log::Line(AAA::Log::kHeading, "the backup folder does not mirror the tree\n");
        CheckPoint();
        SetProgress(100);
        result_.ResultState = IsRestoreRequired() ? Verdict::RepairRequired : Verdict::NotRequired;
      },
      true);
}

bool RestoreMain::IsRestoreRequired() const {
  return streamFolder_.NeedsRepair() || !clipInformation_.FilesToDelete().empty() ||
         !playList_.FilesToDelete().empty() || !thumbnail_.FilesToDelete().empty() || clipInformation_.IsModified() ||
         playList_.IsModified() || movieObject_.IsModified() || indexTable_.IsModified() || thumbnail_.IsModified() ||
         thumbnail_.IsRestoreRequired() || !leftovers_.empty() || backupUnsound_ || unfinished_.has_value();
}

const fs::path& RestoreMain::WorkingFolder() const {
  return folder_.RootPath.empty() ? folder_.Path : folder_.RootPath;
}

void RestoreMain::FindUnfinishedCommit() {
  unfinished_.reset();
  const fs::path journal = JournalPathFor(WorkingFolder());
  if (!Utility::Exists(journal)) return;
  try {
    unfinished_ = ChangeSetOfJournal(FileLayer::ReadFile(journal), WorkingFolder());
  } catch (const AAA::ExceptionBase&) {
  }
  if (!unfinished_) {
    // Written whole or not at all, so never this program's own.
    AAA::Log::Line(AAA::Log::kHeading, "not a journal of this program, left as it is: %s\n", journal.c_str());
    return;
  }
  AAA::Log::Line(AAA::Log::kHeading, "an interrupted commit is finished: %s\n", journal.c_str());
  for (const auto& leftover : leftovers_) {
    if (std::find(unfinished_->Leftovers.begin(), unfinished_->Leftovers.end(), leftover) ==
        unfinished_->Leftovers.end())
      unfinished_->Leftovers.push_back(leftover);
  }
}

RestorePlan RestoreMain::Plan() const {
  RestorePlan plan;
  if (!IsRestoreRequired()) return plan;
  if (unfinished_) {
    plan.FinishesInterruptedCommit = true;
    plan.Leftovers = unfinished_->Leftovers;
    plan.Deletes = unfinished_->Deletes;
    for (const auto& write : unfinished_->Writes)
      plan.Writes.push_back({write.Path,
                             write.Kind,
                             !Utility::Exists(write.Path),
                             {},
                             write.Kind == FileKind::Backup ? WriteReason::Copy : WriteReason::Corrected});
    plan.Moves = unfinished_->Moves;
    plan.Truncations = unfinished_->Truncations;
    return plan;
  }
  plan.Leftovers = leftovers_;
  for (const auto* files :
       {&clipInformation_.FilesToDelete(), &playList_.FilesToDelete(), &thumbnail_.FilesToDelete()}) {
    plan.Deletes.insert(plan.Deletes.end(), files->begin(), files->end());
  }
  for (const auto& stream : streamFolder_.Streams()) {
    if (stream.Source != stream.Destination) plan.Moves.push_back({stream.Source, stream.Destination});
    if (stream.CutSize() != stream.Size)
      plan.Truncations.push_back({stream.Destination, stream.Size, stream.CutSize(), stream.SecondsLeftOut});
  }
  clipInformation_.AddPlannedWrites(plan.Writes);
  playList_.AddPlannedWrites(plan.Writes);
  movieObject_.AddPlannedWrites(plan.Writes);
  indexTable_.AddPlannedWrites(plan.Writes);
  thumbnail_.AddPlannedWrites(plan.Writes);
  if (folder_.IsLongName) AddPlannedBackup(plan);
  // A file dropped and then built again under its name (a broken playlist
  // whose number the new one takes) is replaced, never deleted.
  std::erase_if(plan.Deletes, [&plan](const fs::path& path) {
    return std::any_of(plan.Writes.begin(), plan.Writes.end(),
                       [&path](const auto& write) { return write.Path == path; });
  });
  return plan;
}

std::vector<Finding> RestoreMain::Findings() const {
  return CollectFindings(ruleFindings_, Plan(), streamFolder_.Streams(), treeExisted_);
}

void RestoreMain::Commit() {
  Guard([&] {
    if (!IsRestoreRequired()) return;
    AAA::Log::Heading("commit");
    CommitSteps();
    result_.ResultState = Verdict::RepairRequired;
  });
  LogResult();
}

void RestoreMain::CommitSteps() {
  // The folder the run was made for must still be there: a card pulled or a
  // folder removed since the verification is not rebuilt from memory.
  const fs::path& working = WorkingFolder();
  const FileLayer::TreeScope scope(working);
  std::error_code error;
  if (!fs::is_directory(working, error)) AAA_THROW(AAA::IOException());
  if (unfinished_) return FinishChanges(*unfinished_, working, volume_);
  const ChangeSet changes = PrepareChanges();
  backupFolder_.clear();
  ApplyChanges(changes, working, volume_, [&] {
    if (!backupOptions_.Enabled) return;
    const fs::path root = backupOptions_.Folder.empty() ? DefaultBackupRoot() : backupOptions_.Folder;
    WriteBackup(changes, working, root, VELMAR_VERSION, backupFolder_);
  });
}

ChangeSet RestoreMain::PrepareChanges() {
  ChangeSet changes;
  changes.Leftovers = leftovers_;
  streamFolder_.AddChanges(changes);
  changes.Folders.push_back(Utility::ClipInformationFolder(folder_));
  changes.Folders.push_back(Utility::PlayListFolder(folder_));
  for (const auto* files :
       {&clipInformation_.FilesToDelete(), &playList_.FilesToDelete(), &thumbnail_.FilesToDelete()}) {
    changes.Deletes.insert(changes.Deletes.end(), files->begin(), files->end());
  }
  indexTable_.Stamp();
  clipInformation_.AddChanges(changes);
  playList_.AddChanges(changes);
  movieObject_.AddChanges(changes);
  indexTable_.AddChanges(changes);
  thumbnail_.AddChanges(changes);
  AddThumbnailFolderDeletion(changes);
  if (folder_.IsLongName) AddBackupChanges(changes);
  return changes;
}

// When neither thumbnail file stays, the thumbnail folder goes with all it
// holds. A folder holding anything but files and folders stays as it is:
// players rebuild their thumbnails.
void RestoreMain::AddThumbnailFolderDeletion(ChangeSet& changes) const {
  const auto written = changes.WrittenPaths();
  auto deleted = changes.DeletedPaths();
  const auto stays = [&](const fs::path& file) {
    return written.count(file) != 0 || (Utility::Exists(file) && deleted.count(file) == 0);
  };
  if (stays(Utility::ThumbnailIndexFile(folder_)) || stays(Utility::ThumbnailDataFile(folder_))) return;
  const fs::path thumbnails = Utility::ThumbnailFolder(folder_);
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(thumbnails, error))) return;
  std::vector<fs::path> files;
  std::vector<fs::path> folders{thumbnails};
  for (fs::recursive_directory_iterator entry(thumbnails, error), end; !error && entry != end; entry.increment(error)) {
    const auto type = entry->symlink_status(error).type();
    if (type == fs::file_type::regular) {
      files.push_back(entry->path());
    } else if (type == fs::file_type::directory) {
      folders.push_back(entry->path());
    } else {
      return;
    }
  }
  if (error) return;
  for (const auto& file : files) {
    if (deleted.insert(file).second) changes.Deletes.push_back(file);
  }
  changes.FolderDeletes.insert(changes.FolderDeletes.end(), folders.rbegin(), folders.rend());
}

// The backup of a long-name tree mirrors the management files as the commit
// leaves them, written only from what the commit writes or keeps.
void RestoreMain::AddBackupChanges(ChangeSet& changes) const {
  FileContents written;
  for (const auto& write : changes.Writes) written[write.Path] = write.Bytes;
  const auto backup = BackupChangesFor(folder_, MirroredFiles(folder_, written, changes.Deletes));
  const fs::path folder = Utility::BackupFolder(folder_);
  for (const auto& made : {folder, folder / "CLIPINF", folder / "PLAYLIST"}) changes.Folders.push_back(made);
  for (const auto& [copy, bytes] : backup.Writes) changes.Writes.push_back({copy, FileKind::Backup, bytes.value()});
  changes.Deletes.insert(changes.Deletes.end(), backup.Deletes.begin(), backup.Deletes.end());
}

void RestoreMain::AddPlannedBackup(RestorePlan& plan) const {
  FileContents written;
  for (const auto& write : plan.Writes) written[write.Path] = std::nullopt;
  const auto backup = BackupChangesFor(folder_, MirroredFiles(folder_, written, plan.Deletes));
  for (const auto& [copy, bytes] : backup.Writes)
    plan.Writes.push_back({copy, FileKind::Backup, !Utility::Exists(copy), {}, WriteReason::Copy});
  plan.Deletes.insert(plan.Deletes.end(), backup.Deletes.begin(), backup.Deletes.end());
}

}  // namespace Restore
