#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "restorelib/Restore_Platform.h"

// A mount table and a sysfs tree of our own, for the drive list: each drive
// is a mountinfo line and the sysfs folders of its disk and partition.
class FakeSystem {
 public:
  enum class Bus { Usb, MmcSlot, Sata };

  struct Disk {
    std::string Name = "sdb";  // the kernel's name of the disk
    Bus Kind = Bus::Usb;
    bool Removable = true;
    std::string Vendor = "";  // SCSI disks
    std::string Model = "";
    std::string CardName = "";  // MMC cards
    bool Optical = false;
  };

  explicit FakeSystem(const std::filesystem::path& root) : root_(root) {
    std::filesystem::create_directories(root_ / "sys/dev/block");
    Write(root_ / "mountinfo", "");
  }

  Restore::Platform::DriveSources Sources() const { return {root_ / "mountinfo", root_ / "sys"}; }

  // Mounts the first partition of `disk` at `mountPoint`.
  void Mount(const std::filesystem::path& mountPoint, const Disk& disk, const std::string& type = "vfat") {
    const unsigned minor = 1 + 16 * static_cast<unsigned>(mounts_.size());
    const std::string device = "8:" + std::to_string(minor);
    const auto diskFolder = root_ / "sys/devices" / BusPath(disk.Kind) / "block" / disk.Name;
    const auto partition = diskFolder / (disk.Name + "1");
    std::filesystem::create_directories(partition);
    Write(partition / "partition", "1\n");
    Write(diskFolder / "removable", disk.Removable ? "1\n" : "0\n");
    std::filesystem::create_directories(diskFolder / "device");
    if (!disk.Vendor.empty()) Write(diskFolder / "device/vendor", disk.Vendor + "\n");
    if (!disk.Model.empty()) Write(diskFolder / "device/model", disk.Model + "\n");
    if (!disk.CardName.empty()) Write(diskFolder / "device/name", disk.CardName + "\n");
    Write(diskFolder / "device/type", disk.Optical ? "5\n" : "0\n");
    std::error_code ignored;
    std::filesystem::remove(root_ / "sys/dev/block" / device, ignored);
    std::filesystem::create_symlink(std::filesystem::relative(partition, root_ / "sys/dev/block"),
                                    root_ / "sys/dev/block" / device);
    mounts_.push_back("36 25 " + device + " / " + Escaped(mountPoint.string()) + " rw,nosuid shared:1 - " + type +
                      " /dev/" + disk.Name + "1 rw");
    WriteMountInfo();
  }

  // A file system without a block device (major 0).
  void MountVirtual(const std::filesystem::path& mountPoint) {
    mounts_.push_back("22 1 0:21 / " + Escaped(mountPoint.string()) + " rw - tmpfs tmpfs rw");
    WriteMountInfo();
  }

  void Unmount(const std::filesystem::path& mountPoint) {
    // Built by appending: " " + path + " " makes GCC 12 at -O3 warn of an
    // overlapping copy that cannot happen (-Wrestrict).
    std::string field(1, ' ');
    field += Escaped(mountPoint.string());
    field += ' ';
    std::erase_if(mounts_, [&](const std::string& line) { return line.find(field) != std::string::npos; });
    WriteMountInfo();
  }

 private:
  static std::string BusPath(Bus bus) {
    switch (bus) {
      case Bus::Usb:
        return "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
      case Bus::MmcSlot:
        return "pci0000:00/0000:00:1e.6/mmc_host/mmc0/mmc0:aaaa";
      case Bus::Sata:
        return "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
    }
    return {};
  }
  static std::string Escaped(const std::string& path) {
    std::string escaped;
    for (char c : path) escaped += c == ' ' ? std::string("\\040") : std::string(1, c);
    return escaped;
  }
  static void Write(const std::filesystem::path& file, const std::string& text) { std::ofstream(file) << text; }
  void WriteMountInfo() const {
    std::ofstream stream(root_ / "mountinfo");
    for (const auto& line : mounts_) stream << line << "\n";
  }

  std::filesystem::path root_;
  std::vector<std::string> mounts_;
};
