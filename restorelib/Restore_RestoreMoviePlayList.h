#pragma once

#include <filesystem>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreThumbnail.h"
#include "restorelib/Restore_Thread.h"

namespace Restore {

// Playlists checked against the clips, repaired, dropped, or made for clips
// that no playlist uses. Playlists bearing the skip mark are neither counted
// nor written.
class RestoreMoviePlayList {
 public:
  // `run` receives the progress and answers the cancel request.
  RestoreMoviePlayList(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreThumbnail& thumbnail,
                       Thread& run);

  // Reads one playlist only so that an unsupported maker throws
  // MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  void VerifyMoviePlayList();

  const std::vector<std::filesystem::path>& FilesToDelete() const { return filesToDelete_; }
  // A playlist without the skip mark must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // Stamps every modified playlist without the skip mark with the tool's
  // maker fields and the time, and writes it into PLAYLIST.
  void Commit();

 private:
  const AvchdFolder* folder_;
  RestoreClipInformation* clipInformation_;
  RestoreThumbnail* thumbnail_;
  Thread* run_;
  std::vector<std::filesystem::path> filesToDelete_;
};

}  // namespace Restore
