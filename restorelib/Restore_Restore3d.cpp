#include "restorelib/Restore_Restore3d.h"

#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_ProMetadata3d.h"

namespace Restore {

Restore3d::Restore3d(const AvchdFolder& folder, RestoreClipInformation& clipInformation, RestoreMoviePlayList& playList,
                     RestoreIndexTable& indexTable)
    : folder_(&folder), clipInformation_(&clipInformation), playList_(&playList), indexTable_(&indexTable) {}

std::int32_t Restore3d::VerifyOneEye() {
  AAA::Log::Heading("verify 3D one eye");
  auto& clips = clipInformation_->Clips();
  const Channel3d channel = ClassifyClips(clips);
  PlayListStore playLists;
  IndexTableStore indexTables;
  RaiseExtDataVersions(playLists, clips);
  MarkTree(clips, playLists, indexTables, channel);
  return static_cast<std::int32_t>(channel);
}

}  // namespace Restore
