#include "restorelib/Restore_PairWorkflow.h"

#include <system_error>

namespace Restore::PairWorkflow {

std::unique_ptr<RestoreMain> OpenPartner(const RunFactory& create, const std::filesystem::path& target, Mode mode,
                                         RestoreMain& other) {
  auto run = create(target, mode);
  if (run->ResultState() != Verdict::Failed && mode != Mode::StreamFiles) run->VerifyRelation3d(other);
  return run;
}

bool BothReachable(const RestoreMain& first, const RestoreMain& partner) {
  std::error_code error;
  return first.AvchdFolderPath() != partner.AvchdFolderPath() &&
         std::filesystem::is_directory(first.AvchdFolderPath(), error);
}

std::pair<RestoreMain*, RestoreMain*> CommitOrder(RestoreMain& first, RestoreMain& partner, Mode mode) {
  if (mode == Mode::MemoryCard) return {&partner, &first};
  return {&first, &partner};
}

std::unique_ptr<RestoreMain> CheckStillPartner(const RunFactory& create, const RestoreMain& partner, RestoreMain& first,
                                               Mode mode) {
  if (mode == Mode::StreamFiles) return nullptr;
  auto check = OpenPartner(create, partner.AvchdFolderPath(), Mode::AvchdFolder, first);
  if (check->ResultState() != Verdict::Failed) return nullptr;
  return check;
}

}  // namespace Restore::PairWorkflow
