#include <algorithm>
#include <fstream>
#include <optional>

#include "restorelib/Restore_MountTable.h"
#include "restorelib/Restore_Platform.h"

namespace Restore::Platform {
namespace fs = std::filesystem;

namespace {

constexpr const char* kWhitespace = " \t\r\n";

// The first line of a sysfs attribute without the blanks around it.
std::string Attribute(const fs::path& file) {
  std::ifstream stream(file);
  std::string line;
  std::getline(stream, line);
  const auto first = line.find_first_not_of(kWhitespace);
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(kWhitespace) - first + 1);
}

// The sysfs folder of the disk holding the block device `mount` lives on;
// empty for file systems without a block device (tmpfs, proc, network).
std::optional<fs::path> DiskOf(const MountTable::Mount& mount, const fs::path& sysfsRoot) {
  if (mount.Major == 0) return std::nullopt;
  std::error_code error;
  fs::path device = fs::canonical(
      sysfsRoot / "dev" / "block" / (std::to_string(mount.Major) + ":" + std::to_string(mount.Minor)), error);
  if (error) return std::nullopt;
  if (fs::exists(device / "partition", error)) device = device.parent_path();
  return device;
}

bool RunsThroughRemovableBus(const fs::path& disk) {
  return std::any_of(disk.begin(), disk.end(), [](const fs::path& component) {
    const std::string name = component.string();
    const bool usbBus = name.starts_with("usb") && name.size() > 3 &&
                        std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; });
    return usbBus || name == "mmc_host";
  });
}

bool IsRemovableDisk(const fs::path& disk) {
  const std::string name = disk.filename().string();
  if (name.starts_with("fd")) return false;                      // floppy
  if (Attribute(disk / "device" / "type") == "5") return false;  // optical (SCSI type ROM)
  return Attribute(disk / "removable") == "1" || RunsThroughRemovableBus(disk);
}

std::string FriendlyName(const fs::path& disk) {
  const std::string card = Attribute(disk / "device" / "name");
  if (!card.empty()) return card;
  const std::string vendor = Attribute(disk / "device" / "vendor");
  const std::string model = Attribute(disk / "device" / "model");
  return vendor.empty() || model.empty() ? vendor + model : vendor + " " + model;
}

}  // namespace

std::vector<Drive> RemovableDrives(const DriveSources& sources) {
  std::vector<Drive> drives;
  for (const auto& mount : MountTable::Read(sources.MountInfo)) {
    const auto disk = DiskOf(mount, sources.SysfsRoot);
    if (!disk || !IsRemovableDisk(*disk)) continue;
    // A mount point mounted over keeps one entry: the later mount.
    std::erase_if(drives, [&](const Drive& drive) { return drive.MountPoint == mount.MountPoint; });
    drives.push_back({mount.MountPoint, FriendlyName(*disk)});
  }
  std::sort(drives.begin(), drives.end(),
            [](const Drive& a, const Drive& b) { return a.MountPoint.string() < b.MountPoint.string(); });
  return drives;
}

bool IsOnRemovableDrive(const fs::path& path, const DriveSources& sources) {
  const auto mount = MountTable::MountOf(path, MountTable::Read(sources.MountInfo));
  if (!mount) return false;
  const auto disk = DiskOf(*mount, sources.SysfsRoot);
  return disk && IsRemovableDisk(*disk);
}

}  // namespace Restore::Platform
