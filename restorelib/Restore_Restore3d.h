#pragma once

#include <cstdint>

#include "restorelib/Restore_AvchdFolder.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "restorelib/Restore_RestoreIndexTable.h"
#include "restorelib/Restore_RestoreMoviePlayList.h"

namespace Restore {

// Recognises one channel of a 3D recording in a single tree.
class Restore3d {
 public:
  Restore3d(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreMoviePlayList& playList,
            RestoreIndexTable& indexTable);

  // "verify 3D one eye": 0 not 3D, 1 left channel, 2 right channel.
  std::int32_t VerifyOneEye();

 private:
  const AvchdFolder* folder_;
  RestoreClipInformation* clipInformation_;
  RestoreMoviePlayList* playList_;
  RestoreIndexTable* indexTable_;
};

}  // namespace Restore
