// /proc/self/mountinfo as the kernel could ever list it, and worse: every
// line is a mount or is passed over, and the mount of a path is one of them.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "restorelib/Restore_MountTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  static const fs::path path = fs::temp_directory_path() / ("velmar-mountinfo-fuzz-" + std::to_string(getpid()));
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const auto mounts = Restore::MountTable::Read(path);
  fs::remove(path);
  for (const auto& mount : mounts) {
    if (mount.Type.empty()) std::abort();
  }
  for (const fs::path& target : {fs::path("/"), fs::path("/media/user/CAM CARD/PRIVATE"), fs::path("relative")}) {
    const auto found = Restore::MountTable::MountOf(target, mounts);
    if (!found) continue;
    const auto listed = [&found](const Restore::MountTable::Mount& mount) {
      return mount.MountPoint == found->MountPoint && mount.Type == found->Type;
    };
    if (std::find_if(mounts.begin(), mounts.end(), listed) == mounts.end()) std::abort();
  }
  return 0;
}
