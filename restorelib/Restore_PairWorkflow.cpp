#include "restorelib/Restore_PairWorkflow.h"

#include <system_error>

namespace Restore::PairWorkflow {

std::unique_ptr<RestoreMain> OpenPartner(const RunFactory& create, const std::filesystem::path& target, int mode,
                                         RestoreMain& other) {
  auto run = create(target, mode);
  if (run->ResultState() != -1 && mode != ModeStreamFiles) run->VerifyRelation3d(other);
  return run;
}

bool BothReachable(const RestoreMain& first, const RestoreMain& partner) {
  std::error_code error;
  return first.AvchdFolderPath() != partner.AvchdFolderPath() &&
         std::filesystem::is_directory(first.AvchdFolderPath(), error);
}

std::pair<RestoreMain*, RestoreMain*> CommitOrder(RestoreMain& first, RestoreMain& partner, int mode) {
  if (mode == ModeMemoryCard) return {&partner, &first};
  return {&first, &partner};
}

std::unique_ptr<RestoreMain> CheckStillPartner(const RunFactory& create, const RestoreMain& partner, RestoreMain& first,
                                               int mode) {
  if (mode == ModeStreamFiles) return nullptr;
  auto check = OpenPartner(create, partner.AvchdFolderPath(), ModeAvchdFolder, first);
  if (check->ResultState() != -1) return nullptr;
  return check;
}

}  // namespace Restore::PairWorkflow
