#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "avchdlib/AVCHD_MovieObject.h"
#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_Plan.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"

namespace Restore {

// The movie object file: its play commands checked against the playlists.
// The step never gives up on the file: one that cannot be read or breaks a
// rule is replaced by an empty one, and the index table step adds what the
// titles need.
class RestoreMovieObject {
 public:
  using MovieObjectFile = AVCHD::MovieObject::BlkMovieObjectFile;

  // Files above this size are refused before they are read.
  static constexpr std::uint64_t kMaxFileBytes = 614400;

  RestoreMovieObject(const AvchdFolder& folder, RestoreMoviePlayList& playList);

  // "verify MovieObject": afterwards the store holds one model.
  void VerifyMovieObject();
  // Removes every play command that names a missing playlist, or a play
  // item or mark the playlist does not have. An empty store first gets the
  // default model.
  void CheckPlayCommands();
  // Stores a new file without movie objects.
  void StoreDefaultModel();
  // Erases each command of `movieObject` for which `check` throws
  // InvalidDataException; the command after it takes its place.
  static void RemoveFailingCommands(AVCHD::MovieObject::BlkMovieObject& movieObject,
                                    const std::function<void(const AVCHD::MovieObject::NavigationCommand&)>& check);

  // The model the index table step and the commit work on.
  MovieObjectFile& Model() { return store_.front(); }
  std::deque<MovieObjectFile>& Store() { return store_; }
  const std::deque<MovieObjectFile>& Store() const { return store_; }

  // The movie object must be written.
  bool IsModified() const;
  void AddPlannedWrites(std::vector<PlannedWrite>& writes) const;
  // The write of the movie object when it is modified.
  void AddChanges(ChangeSet& changes);

 private:
  void CheckPlayCommand(const AVCHD::MovieObject::NavigationCommand& command) const;

  const AvchdFolder* folder_;
  RestoreMoviePlayList* playList_;
  std::deque<MovieObjectFile> store_;
};

}  // namespace Restore
