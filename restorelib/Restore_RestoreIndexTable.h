#pragma once

#include <filesystem>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreMovieObject.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"
#include "restorelib/Restore_RestoreThumbnail.h"

namespace Restore {

// The index table made to agree with the movie objects and playlists.
class RestoreIndexTable {
 public:
  RestoreIndexTable(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreMovieObject& movieObject,
                    RestoreMoviePlayList& playList, RestoreThumbnail& thumbnail);

  // Reads the index table only so that an unsupported maker throws
  // MakerModelException before any long work starts.
  void ReadForMakerCheck(const std::filesystem::path& file);
  void VerifyIndexTable();
  // The index table must be written.
  bool IsModified() const;
  // Every commit stamps the index table with the tool's maker fields and
  // the time, so a committed index table is always listed.
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // The tool's maker fields, write protection off, the current time.
  void Stamp();
  // Writes the index table when it is modified.
  void Commit();

 private:
  const AvchdFolder* folder_;
  RestoreClipInformation* clipInformation_;
  RestoreMovieObject* movieObject_;
  RestoreMoviePlayList* playList_;
  RestoreThumbnail* thumbnail_;
};

}  // namespace Restore
