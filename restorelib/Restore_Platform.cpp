#include "restorelib/Restore_Platform.h"

#include <libudev.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace Restore::Platform {

std::optional<std::uint64_t> FileSystemMagic(const std::filesystem::path& path) {
  struct statfs volume {};
  if (::statfs(path.c_str(), &volume) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(volume.f_type);
}

bool IsMountReadOnly(const std::filesystem::path& path) {
  struct statvfs volume {};
  if (::statvfs(path.c_str(), &volume) != 0) return false;
  return (volume.f_flag & ST_RDONLY) != 0;
}

bool IsWritableForUser(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; }

std::optional<DeviceNumber> DeviceOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return DeviceNumber{major(status.st_dev), minor(status.st_dev)};
}

std::optional<std::string> DeviceFileSystemType(DeviceNumber device) {
  udev* context = udev_new();
  if (context == nullptr) return std::nullopt;
  std::optional<std::string> type;
  if (udev_device* entry = udev_device_new_from_devnum(context, 'b', makedev(device.Major, device.Minor))) {
    if (const char* value = udev_device_get_property_value(entry, "ID_FS_TYPE"); value != nullptr && *value != 0)
      type = value;
    udev_device_unref(entry);
  }
  udev_unref(context);
  return type;
}

std::optional<std::tm> LocalTime(std::time_t time) {
  std::tm local{};
  if (::localtime_r(&time, &local) == nullptr) return std::nullopt;
  return local;
}

std::optional<Space> FreeSpace(const std::filesystem::path& path) {
  struct statvfs volume {};
  if (::statvfs(path.c_str(), &volume) != 0) return std::nullopt;
  return Space{static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize, volume.f_bsize};
}

}  // namespace Restore::Platform
