#include "restorelib/Restore_RestoreMoviePlayList.h"

namespace Restore {

// The playlists are not read yet: the step finds and changes nothing.

RestoreMoviePlayList::RestoreMoviePlayList(const AvchdFolder& folder, RestoreClipInformation& clipInformation,
                                           RestoreThumbnail& thumbnail, Thread& run)
    : folder_(&folder), clipInformation_(&clipInformation), thumbnail_(&thumbnail), run_(&run) {}

void RestoreMoviePlayList::ReadForMakerCheck(const std::filesystem::path&) {}

void RestoreMoviePlayList::VerifyMoviePlayList() {}

bool RestoreMoviePlayList::IsModified() const { return false; }

void RestoreMoviePlayList::AddPlannedWrites(std::vector<PlannedWrite>&) const {}

void RestoreMoviePlayList::Commit() {}

}  // namespace Restore
