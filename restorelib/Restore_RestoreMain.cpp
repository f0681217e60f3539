#include "restorelib/Restore_RestoreMain.h"

#include <algorithm>
#include <set>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

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

// Reads one file for the maker check: an unsupported maker stops the run,
// any other fault of the file is left to the verification, which repairs it.
template <typename Read>
void ReadForMakerCheck(Read read) {
  try {
    read();
  } catch (const AAA::MakerModelException&) {
    throw;
  } catch (const AAA::ExceptionBase&) {
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

RestoreMain::RestoreMain(const fs::path& target, int mode, const Utility::VolumeQueries& volume)
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
    streamFolder_.VerifyStreamFolder();
    VerifyMaker();
  });
  LogResult();
}

RestoreMain::~RestoreMain() { Wait(); }

void RestoreMain::ResolveFolder(const fs::path& target, int mode) {
  const fs::path path = Utility::NormalizePath(target);
  switch (mode) {
    case ModeMemoryCard:
      folder_.RootPath = path;
      folder_.SetPath(path / "PRIVATE" / "AVCHD");
      break;
    case ModeAvchdFolder:
      folder_.SetPath(path);
      break;
    case ModeStreamFiles: {
      // The streams of an existing tree are repaired in place, never rebuilt.
      if (IsStreamFolderOfATree(path)) AAA_THROW(AAA::InvalidDataException());
      fs::path tree = path;
      if (!Utility::EqualsIgnoringCase(path.filename().string(), "PRIVATE")) tree /= "PRIVATE";
      tree /= Utility::IsFatFamilyVolume(path, volume_) ? "AVCHD" : "AVCHDL";
      folder_.RootPath = path;
      folder_.SetPath(tree);
      break;
    }
    default:
      AAA_THROW(AAA::ArgumentException());
  }
}

void RestoreMain::VerifyMaker() {
  AAA::Log::Heading("verify maker");
  ReadForMakerCheck([&] { indexTable_.ReadForMakerCheck(Utility::IndexTableFile(folder_)); });
  for (const auto& file : NumberedFiles(Utility::ClipInformationPattern(folder_))) {
    ReadForMakerCheck([&] { clipInformation_.ReadForMakerCheck(file); });
  }
  for (const auto& file : NumberedFiles(Utility::PlayListPattern(folder_))) {
    ReadForMakerCheck([&] { playList_.ReadForMakerCheck(file); });
  }
}

void RestoreMain::Run() {
  Guard(
      [&] {
        thumbnail_.VerifyThumbnailIndex();
        thumbnailSnapshot_.VerifyThumbnailIndex();
        clipInformation_.VerifyClipInformation();
        playList_.VerifyMoviePlayList();
        movieObject_.VerifyMovieObject();
        indexTable_.VerifyIndexTable();
        thumbnail_.VerifyThumbnailIndex2();
        result_.Result3d = threeD_.VerifyOneEye();
        CheckPoint();
        SetProgress(100);
        result_.ResultState = IsRestoreRequired() ? 0 : 1;
      },
      true);
}

bool RestoreMain::IsRestoreRequired() const {
  return streamFolder_.NeedsRepair() || !clipInformation_.FilesToDelete().empty() ||
         !playList_.FilesToDelete().empty() || !thumbnail_.FilesToDelete().empty() || clipInformation_.IsModified() ||
         playList_.IsModified() || movieObject_.IsModified() || indexTable_.IsModified() || thumbnail_.IsModified() ||
         thumbnail_.IsRestoreRequired();
}

RestorePlan RestoreMain::Plan() const {
  RestorePlan plan;
  if (!IsRestoreRequired()) return plan;
  for (const auto* files :
       {&clipInformation_.FilesToDelete(), &playList_.FilesToDelete(), &thumbnail_.FilesToDelete()}) {
    plan.Deletes.insert(plan.Deletes.end(), files->begin(), files->end());
  }
  for (const auto& stream : streamFolder_.Streams()) {
    if (stream.Source != stream.Destination) plan.Moves.push_back({stream.Source, stream.Destination});
    const auto cut = stream.Size / kStreamUnitBytes * kStreamUnitBytes;
    if (cut != stream.Size) plan.Truncations.push_back({stream.Destination, stream.Size, cut});
  }
  clipInformation_.AddPlannedWrites(plan.Writes);
  playList_.AddPlannedWrites(plan.Writes);
  movieObject_.AddPlannedWrites(plan.Writes);
  indexTable_.AddPlannedWrites(plan.Writes);
  thumbnail_.AddPlannedWrites(plan.Writes);
  if (folder_.IsLongName) AddPlannedBackup(plan);
  return plan;
}

void RestoreMain::Commit() {
  Guard([&] {
    if (!IsRestoreRequired()) return;
    AAA::Log::Heading("commit");
    CommitSteps();
    result_.ResultState = 0;
  });
  LogResult();
}

void RestoreMain::CommitSteps() {
  // The folder the run was made for must still be there: a card pulled or a
  // folder removed since the verification is not rebuilt from memory.
  const fs::path& working = folder_.RootPath.empty() ? folder_.Path : folder_.RootPath;
  std::error_code error;
  if (!fs::is_directory(working, error)) AAA_THROW(AAA::IOException());

  for (const auto* files :
       {&clipInformation_.FilesToDelete(), &playList_.FilesToDelete(), &thumbnail_.FilesToDelete()}) {
    for (const auto& file : *files) Utility::RemoveFile(file);
  }
  streamFolder_.Commit();
  indexTable_.Stamp();
  Utility::MakeDirectory(Utility::ClipInformationFolder(folder_));
  clipInformation_.Commit();
  Utility::MakeDirectory(Utility::PlayListFolder(folder_));
  playList_.Commit();
  movieObject_.Commit();
  indexTable_.Commit();
  thumbnail_.Commit();
  if (!Utility::Exists(Utility::ThumbnailIndexFile(folder_)) && !Utility::Exists(Utility::ThumbnailDataFile(folder_))) {
    try {
      Utility::DeleteTree(Utility::ThumbnailFolder(folder_));
    } catch (const AAA::ExceptionBase&) {
      // A thumbnail folder that stays does no harm: players rebuild it.
    }
  }
  if (folder_.IsLongName) RefreshBackup();
}

// The backup of a long-name tree mirrors the management files as the commit
// left them. Only what exists is copied: a tree without a movie object
// still gets the backup of its other files.
void RestoreMain::RefreshBackup() {
  const fs::path backup = Utility::BackupFolder(folder_);
  if (Utility::Exists(backup)) Utility::DeleteTree(backup);
  Utility::MakeDirectory(backup);
  for (const auto& item : {Utility::ClipInformationFolder(folder_), Utility::PlayListFolder(folder_),
                           Utility::MovieObjectFile(folder_), Utility::IndexTableFile(folder_)}) {
    if (Utility::Exists(item)) Utility::CopyTree(item, backup);
  }
}

void RestoreMain::AddPlannedBackup(RestorePlan& plan) const {
  const fs::path backup = Utility::BackupFolder(folder_);
  std::set<fs::path> after;
  for (const auto& folder : {Utility::ClipInformationFolder(folder_), Utility::PlayListFolder(folder_)}) {
    for (const auto& entry : Utility::ListFiles(folder / "*")) after.insert(folder / entry.Name);
  }
  for (const auto& file : {Utility::MovieObjectFile(folder_), Utility::IndexTableFile(folder_)}) {
    if (Utility::Exists(file)) after.insert(file);
  }
  for (const auto& deleted : plan.Deletes) after.erase(deleted);
  for (const auto& written : plan.Writes) after.insert(written.Path);
  const fs::path bdmv = Utility::BdmvFolder(folder_);
  for (const auto& file : after) {
    if (file.parent_path() != bdmv && file.parent_path().parent_path() != bdmv) continue;  // thumbnails
    const fs::path copy = backup / file.lexically_relative(bdmv);
    plan.Writes.push_back({copy, FileKind::Backup, !Utility::Exists(copy)});
  }
}

}  // namespace Restore
