#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The few questions the restore engine asks the operating system, one small
// function each. Everything else in the engine uses the standard library.

namespace Restore::Platform {

// major:minor of a block device.
struct DeviceNumber {
  unsigned Major = 0;
  unsigned Minor = 0;
};

// The type magic of the file system holding `path` (statfs f_type); empty
// when the question cannot be asked.
std::optional<std::uint64_t> FileSystemMagic(const std::filesystem::path& path);

// The mount holding `path` refuses writes (statvfs ST_RDONLY).
bool IsMountReadOnly(const std::filesystem::path& path);

// The user may create and change files in the folder `path`.
bool IsWritableForUser(const std::filesystem::path& path);

// The device the file system holding `path` lives on.
std::optional<DeviceNumber> DeviceOf(const std::filesystem::path& path);

// The file system on the block device `device` as the udev database names
// it (ID_FS_TYPE: "exfat", "vfat", ...): what a FUSE mount of a card
// ("fuseblk" without a subtype) leaves unsaid. Empty when udev does not know.
std::optional<std::string> DeviceFileSystemType(DeviceNumber device);

// The local time of `time`; empty when it cannot be converted.
std::optional<std::tm> LocalTime(std::time_t time);

// The room left on the medium holding `path` for this user, and the unit
// in which files take it (the cluster of a FAT card).
struct Space {
  std::uint64_t AvailableBytes = 0;
  std::uint64_t BlockSize = 0;
};
std::optional<Space> FreeSpace(const std::filesystem::path& path);

// The removable drives of the memory-card pages: the mounted file systems
// whose disk is removable or hangs on a USB or MMC bus (a built-in SD slot
// reports removable 0, so the bus decides). Floppy and optical drives are
// never listed.

// Where the system is asked; tests hand in fake trees.
struct DriveSources {
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
std::vector<Drive> RemovableDrives(const DriveSources& sources);

// The file system holding `path` lies on a removable drive.
bool IsOnRemovableDrive(const std::filesystem::path& path, const DriveSources& sources);

}  // namespace Restore::Platform
