#include "restorelib/Restore_RestoreMoviePlayList.h"

#include "restorelib/Restore_ModelFile.h"

namespace Restore {
namespace fs = std::filesystem;
using AVCHD::MoviePlayList::BlkPlayItem;
using AVCHD::MoviePlayList::BlkStreamAttributes;

const BlkStreamAttributes* FirstVideoAttributes(const BlkPlayItem& item) {
  const auto& attributes = item.blkSTNTable.blkVideoStreamAttributesArray;
  return attributes.Empty() ? nullptr : &attributes[0];
}

const BlkStreamAttributes* FirstVideoAttributes(const RestoreMoviePlayList::MoviePlayListFile& moviePlayListFile) {
  const auto& items = moviePlayListFile.blkPlayList.blkPlayItemArray;
  return items.Empty() ? nullptr : FirstVideoAttributes(items[0]);
}

RestoreMoviePlayList::RestoreMoviePlayList(const AvchdFolder& folder, RestoreClipInformation& clipInformation,
                                           RestoreThumbnail& thumbnail, Thread& run)
    : folder_(&folder), clipInformation_(&clipInformation), thumbnail_(&thumbnail), run_(&run) {}

void RestoreMoviePlayList::ReadForMakerCheck(const fs::path& file) {
  MoviePlayListFile moviePlayListFile;
  ReadModelFile(file, moviePlayListFile, kMaxFileBytes);
}

void RestoreMoviePlayList::VerifyMoviePlayList() {
  AAA::Log::Heading("verify Movie PlayList");
  store_.clear();
  filesToDelete_.clear();
  const fs::path pattern = Utility::PlayListPattern(*folder_);
  for (const auto& entry : Utility::ListFiles(pattern)) {
    if (!Utility::IsMoviePlayListFileName(entry.Name)) continue;
    LoadMoviePlayList(pattern.parent_path() / entry.Name, entry.Name.substr(0, 5));
    run_->CheckPoint();
    run_->SetProgress(100);
  }
  if (store_.size() > kMaxPlayLists) AAA_THROW(AAA::InvalidDataException());
}

void RestoreMoviePlayList::LoadMoviePlayList(const fs::path& file, const std::string& baseName) {
  try {
    MoviePlayListFile moviePlayListFile;
    ReadModelFile(file, moviePlayListFile, kMaxFileBytes);
    moviePlayListFile.BaseName = baseName;
    StoreCopy(store_, moviePlayListFile);
  } catch (const AAA::VerifyExceptionBase&) {
    // A playlist that cannot be used is dropped; its clips get new ones.
    filesToDelete_.push_back(file);
  }
}

RestoreMoviePlayList::MoviePlayListFile* RestoreMoviePlayList::Find(const std::string& baseName) {
  for (auto& moviePlayListFile : store_) {
    if (!moviePlayListFile.SkipMark && moviePlayListFile.BaseName == baseName) return &moviePlayListFile;
  }
  return nullptr;
}

bool RestoreMoviePlayList::IsModified() const {
  for (const auto& moviePlayListFile : store_) {
    if (!moviePlayListFile.SkipMark && moviePlayListFile.IsModified()) return true;
  }
  return false;
}

void RestoreMoviePlayList::AddPlannedWrites(std::vector<PlannedWrite>& writes) const {
  for (const auto& moviePlayListFile : store_) {
    if (moviePlayListFile.SkipMark || !moviePlayListFile.IsModified()) continue;
    const fs::path path = Utility::PlayListFile(*folder_, moviePlayListFile.BaseName, true);
    writes.push_back({path, FileKind::PlayList, !Utility::Exists(path)});
  }
}

void RestoreMoviePlayList::Commit() {
  for (auto& moviePlayListFile : store_) {
    if (moviePlayListFile.SkipMark || !moviePlayListFile.IsModified()) continue;
    Utility::WriteModel(Utility::PlayListFile(*folder_, moviePlayListFile.BaseName, true), moviePlayListFile);
  }
}

}  // namespace Restore
