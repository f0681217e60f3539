#include "restorelib/Restore_RestoreIndexTable.h"

namespace Restore {

// The index table is not read yet: the step finds and changes nothing.

RestoreIndexTable::RestoreIndexTable(const AvchdFolder& folder, RestoreClipInformation& clipInformation,
                                     RestoreMovieObject& movieObject, RestoreMoviePlayList& playList,
                                     RestoreThumbnail& thumbnail)
    : folder_(&folder),
      clipInformation_(&clipInformation),
      movieObject_(&movieObject),
      playList_(&playList),
      thumbnail_(&thumbnail) {}

void RestoreIndexTable::ReadForMakerCheck(const std::filesystem::path&) {}

void RestoreIndexTable::VerifyIndexTable() {}

bool RestoreIndexTable::IsModified() const { return false; }

void RestoreIndexTable::AddPlannedWrites(std::vector<PlannedWrite>&) const {}

void RestoreIndexTable::Stamp() {}

void RestoreIndexTable::Commit() {}

}  // namespace Restore
