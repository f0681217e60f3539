#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "avchdlib/AVCHD_MoviePlayList.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreThumbnail.h"
#include "restorelib/Restore_Thread.h"

namespace Restore {

// The attributes of the first video stream of a play item, or of a
// playlist's first play item; null when there is none.
const AVCHD::MoviePlayList::BlkStreamAttributes* FirstVideoAttributes(const AVCHD::MoviePlayList::BlkPlayItem& item);
const AVCHD::MoviePlayList::BlkStreamAttributes* FirstVideoAttributes(
    const AVCHD::MoviePlayList::BlkMoviePlayListFile& moviePlayListFile);

// Playlists checked against the clips, repaired, dropped, or made for clips
// that no playlist uses. Playlists bearing the skip mark are neither found,
// counted nor written.
class RestoreMoviePlayList {
 public:
  using MoviePlayListFile = AVCHD::MoviePlayList::BlkMoviePlayListFile;

  // Files above this size are refused before they are read.
  static constexpr std::uint64_t kMaxFileBytes = 614400;
  // More playlists than this end the verification.
  static constexpr std::size_t kMaxPlayLists = 2000;

  // `run` receives the progress and answers the cancel request.
  RestoreMoviePlayList(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreThumbnail& thumbnail,
                       Thread& run);

  // Reads one playlist only so that an unsupported maker throws
  // MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  // "verify Movie PlayList"
  void VerifyMoviePlayList();

  // The stored playlist of that base name ("00001") without the skip mark.
  MoviePlayListFile* Find(const std::string& baseName);
  std::deque<MoviePlayListFile>& Store() { return store_; }
  const std::deque<MoviePlayListFile>& Store() const { return store_; }

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // A playlist without the skip mark must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // Stamps every modified playlist without the skip mark with the tool's
  // maker fields and the time, and writes it into PLAYLIST.
  void Commit();

 private:
  void LoadMoviePlayList(const std::filesystem::path& file, const std::string& baseName);

  const AvchdFolder* folder_;
  RestoreClipInformation* clipInformation_;
  RestoreThumbnail* thumbnail_;
  Thread* run_;
  std::deque<MoviePlayListFile> store_;
  std::vector<std::filesystem::path> filesToDelete_;
};

}  // namespace Restore
