#include "restorelib/Restore_RestoreMovieObject.h"

namespace Restore {

// The movie object file is not read yet: the step finds and changes nothing.

RestoreMovieObject::RestoreMovieObject(const AvchdFolder& folder, RestoreMoviePlayList& playList)
    : folder_(&folder), playList_(&playList) {}

void RestoreMovieObject::VerifyMovieObject() {}

bool RestoreMovieObject::IsModified() const { return false; }

void RestoreMovieObject::AddPlannedWrites(std::vector<PlannedWrite>&) const {}

void RestoreMovieObject::Commit() {}

}  // namespace Restore
