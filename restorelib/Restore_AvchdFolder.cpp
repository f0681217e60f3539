#include "restorelib/Restore_AvchdFolder.h"

#include "restorelib/Restore_Utility.h"

namespace Restore {

void AvchdFolder::SetPath(const std::filesystem::path& path) {
  Path = path;
  IsLongName = Utility::EqualsIgnoringCase(path.filename().string(), "AVCHDL");
}

}  // namespace Restore
