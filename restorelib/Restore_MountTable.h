#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The mounted file systems as the kernel lists them in /proc/self/mountinfo.

namespace Restore::MountTable {

struct Mount {
  unsigned Major = 0;  // the device holding the file system
  unsigned Minor = 0;
  std::filesystem::path MountPoint;  // with the "\040" escapes undone
  std::string Type;                  // "vfat", "ext4", "fuseblk.exfat", ...
};

// Every well-formed line of `mountInfo`, in its order; none when the file
// cannot be read.
std::vector<Mount> Read(const std::filesystem::path& mountInfo);

// The mount holding `path`: the longest mount point above it, the later one
// of equal mount points (a later mount hides an earlier one).
std::optional<Mount> MountOf(const std::filesystem::path& path, const std::vector<Mount>& mounts);

}  // namespace Restore::MountTable
