#include "restorelib/Restore_Restore3d.h"

namespace Restore {

// The channel marks are not read yet: every tree counts as 2D.

Restore3d::Restore3d(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreMoviePlayList& playList,
                     RestoreIndexTable& indexTable)
    : folder_(&folder), clipInformation_(&clipInformation), playList_(&playList), indexTable_(&indexTable) {}

std::int32_t Restore3d::VerifyOneEye() { return 0; }

}  // namespace Restore
