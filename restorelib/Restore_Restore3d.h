#pragma once

#include <cstdint>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreIndexTable.h"
#include "restorelib/Restore_RestoreMovieObject.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"
#include "restorelib/Restore_RestoreThumbnail.h"

namespace Restore {

// The steps of one restore run that the 3D operations read and change.
struct TreeSteps {
  const AvchdFolder* folder;
  RestoreThumbnail* thumbnail;
  // The thumbnail step as it was after the first half of its verification.
  RestoreThumbnail* thumbnailSnapshot;
  RestoreClipInformation* clipInformation;
  RestoreMoviePlayList* playList;
  RestoreMovieObject* movieObject;
  RestoreIndexTable* indexTable;
};

// One tree as one eye of a 3D recording: which eye it holds, whether
// another tree is its partner, and the repair of the two as a pair.
class Restore3d {
 public:
  explicit Restore3d(const TreeSteps& steps) : steps_(steps) {}

  // "verify 3D one eye", the last step of every verification: refuses a
  // tree that mixes 2D and 3D clips or left and right clips
  // (InvalidDataException, 109), and makes the professional metadata of
  // every file say which eye the tree holds, or that it is 2D. Returns the
  // run's Result3d: 0 not 3D, 1 left channel, 2 right channel.
  Channel3d VerifyOneEye();

  // "verify 3D relation": this tree, chosen second, must be the other eye of
  // `first`'s recording, as the index tables say (`first`'s as verified,
  // this one's as it is on the medium). A tree without index table is
  // accepted; otherwise Not3dPairException (114).
  void VerifyRelation(const Restore3d& first) const;

  // "verify 3D Main": orders two verified trees as left and right eye and
  // repairs the right one from the left one. Two trees that are not one
  // left and one right eye throw Not3dPairException (114).
  static void VerifyMain(Restore3d& first, Restore3d& second);

 private:
  TreeSteps steps_;
};

}  // namespace Restore
