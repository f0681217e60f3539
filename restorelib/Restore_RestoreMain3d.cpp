#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_RestoreMain.h"

namespace Restore {

// The channel marks of the clips are not read yet, so every verification
// ends with Result3d 0 and no front end asks for a partner: a pair is
// accepted as it is and decided like two single trees.

void RestoreMain::VerifyRelation3d(RestoreMain& first) {
  Guard([&] {
    AAA::Log::Heading("verify 3D relation");
    AAA::Log::Line(AAA::Log::kHeading, "  1: %s\n", first.AvchdFolderPath().c_str());
    AAA::Log::Line(AAA::Log::kHeading, "  2: %s\n", AvchdFolderPath().c_str());
    result_.ResultState = 0;
  });
  LogResult();
}

void RestoreMain::VerifyMain3d(RestoreMain& second) {
  Guard([&] {
    AAA::Log::Heading("verify 3D Main");
    second.result_.ResultState = second.IsRestoreRequired() ? 0 : 1;
    result_.ResultState = IsRestoreRequired() ? 0 : 1;
  });
  LogResult();
  second.LogResult();
}

}  // namespace Restore
