#include "restorelib/Restore_RestoreClipInformation.h"

namespace Restore {

// The clip information files are not read yet: the step finds and changes nothing.

RestoreClipInformation::RestoreClipInformation(const AvchdFolder& folder, RestoreStreamFolder& streamFolder,
                                               Thread& run)
    : folder_(&folder), streamFolder_(&streamFolder), run_(&run) {}

void RestoreClipInformation::ReadForMakerCheck(const std::filesystem::path&) {}

void RestoreClipInformation::VerifyClipInformation() {}

bool RestoreClipInformation::IsModified() const { return false; }

void RestoreClipInformation::AddPlannedWrites(std::vector<PlannedWrite>&) const {}

void RestoreClipInformation::Commit() {}

}  // namespace Restore
