#pragma once

#include <vector>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"

namespace Restore {

// The movie object file: its play commands checked against the playlists.
class RestoreMovieObject {
 public:
  RestoreMovieObject(const AvchdFolder& folder, RestoreMoviePlayList& playList);

  void VerifyMovieObject();
  // The movie object must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // Writes the movie object when it is modified.
  void Commit();

 private:
  const AvchdFolder* folder_;
  RestoreMoviePlayList* playList_;
};

}  // namespace Restore
