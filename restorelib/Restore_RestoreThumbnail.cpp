#include "restorelib/Restore_RestoreThumbnail.h"

namespace Restore {

// The thumbnail files are not read yet: the step finds and changes nothing.

RestoreThumbnail::RestoreThumbnail(const AvchdFolder& folder) : folder_(&folder) {}

void RestoreThumbnail::VerifyThumbnailIndex() {}

void RestoreThumbnail::VerifyThumbnailIndex2() {}

bool RestoreThumbnail::IsRestoreRequired() const { return false; }

bool RestoreThumbnail::IsModified() const { return false; }

void RestoreThumbnail::AddPlannedWrites(std::vector<PlannedWrite>&) const {}

void RestoreThumbnail::Commit() {}

}  // namespace Restore
