#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The removable drives of the memory-card pages: the mounted file systems
// whose disk is removable or hangs on a USB or MMC bus (a built-in SD slot
// reports removable 0, so the bus decides). Floppy and optical drives are
// never listed.

namespace DriveList {

// Where the system is asked; tests hand in fake trees.
struct Sources {
  std::filesystem::path MountInfo = "/proc/self/mountinfo";
  std::filesystem::path SysfsRoot = "/sys";
};

struct Drive {
  std::filesystem::path MountPoint;
  std::string Name;  // vendor and model, or the MMC card's name; may be empty

  // The text of the drop-down list: mount point, one space, name.
  std::string Entry() const { return MountPoint.string() + " " + Name; }
  bool operator==(const Drive&) const = default;
};

// Every removable mounted file system, ordered by mount point.
std::vector<Drive> RemovableDrives(const Sources& sources);

// The file system holding `path` lies on a removable drive.
bool IsOnRemovableDrive(const std::filesystem::path& path, const Sources& sources);

}  // namespace DriveList
