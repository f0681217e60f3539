// The file-system family and the write protection of a medium, answered
// from fake mount tables, fake sysfs trees and injected queries.
#include <gtest/gtest.h>
#include <unistd.h>

#include "TempTree.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_Utility.h"

namespace fs = std::filesystem;
using namespace Restore;

namespace {

constexpr std::uint64_t kExt4 = 0xEF53;
constexpr std::uint64_t kMsdos = 0x4d44;
constexpr std::uint64_t kExfat = 0x2011BAB0;
constexpr std::uint64_t kFuse = 0x65735546;

// A mountinfo with the root, a card mounted through FUSE at a path with a
// space, and an ext4 disk.
fs::path FakeMountInfo(const TempTree& tree, const std::string& cardType) {
  const std::string text =
      "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
      "40 22 0:50 / /media/user/MY\\040CARD rw,nosuid - " +
      cardType +
      " /dev/sdb1 rw\n"
      "41 22 8:17 / /mnt/disk rw - ext4 /dev/sdb1 rw\n";
  const auto path = tree.Root() / "mountinfo";
  tree.File("mountinfo", std::vector<std::uint8_t>(text.begin(), text.end()));
  return path;
}

}  // namespace

TEST(Volume, MountTypeIsThatOfTheLongestMountPoint) {
  TempTree tree;
  const auto mountInfo = FakeMountInfo(tree, "vfat");
  EXPECT_EQ(Utility::MountType("/media/user/MY CARD/PRIVATE/AVCHD", mountInfo), "vfat");
  EXPECT_EQ(Utility::MountType("/media/user/MY CARD", mountInfo), "vfat");
  EXPECT_EQ(Utility::MountType("/media/user/MY CARDS", mountInfo), "ext4");
  EXPECT_EQ(Utility::MountType("/mnt/disk/x", mountInfo), "ext4");
  EXPECT_EQ(Utility::MountType("/home", tree.Root() / "missing"), "");
}

TEST(Volume, FatFatThirtyTwoAndExfatAreTheFatFamily) {
  auto volume = FakeVolume(kMsdos);
  EXPECT_TRUE(Utility::IsFatFamilyVolume("/media/card", volume));
  volume = FakeVolume(kExfat);
  EXPECT_TRUE(Utility::IsFatFamilyVolume("/media/card", volume));
  volume = FakeVolume(kExt4);
  EXPECT_FALSE(Utility::IsFatFamilyVolume("/media/card", volume));
  volume.FileSystemMagic = [](const fs::path&) { return std::optional<std::uint64_t>(); };
  EXPECT_FALSE(Utility::IsFatFamilyVolume("/media/card", volume));
}

// A bare "fuseblk" names no file system: udev's answer for the mount's
// device (0:50 in the fake table) decides.
TEST(Volume, FuseMountsCountByTheirMountTypeOrByWhatUdevKnowsOfTheirDevice) {
  TempTree tree;
  auto volume = FakeVolume(kFuse);
  std::optional<std::string> udevAnswer;
  volume.DeviceFileSystemType = [&udevAnswer](Platform::DeviceNumber device) {
    return device.Major == 0 && device.Minor == 50 ? udevAnswer : std::nullopt;
  };
  const struct {
    const char* mountType;
    std::optional<std::string> udevAnswer;
    bool fatFamily;
  } kMounts[] = {{"vfat", {}, true},          {"msdos", {}, true},
                 {"exfat", {}, true},         {"fuse.exfat", {}, true},
                 {"fuseblk.exfat", {}, true}, {"fuseblk", "exfat", true},
                 {"fuseblk", "vfat", true},   {"fuseblk", {}, false},
                 {"fuseblk", "ntfs", false},  {"fuse.sshfs", "exfat", false},
                 {"ntfs3", {}, false}};
  for (const auto& mount : kMounts) {
    volume.MountInfo = FakeMountInfo(tree, mount.mountType);
    udevAnswer = mount.udevAnswer;
    EXPECT_EQ(Utility::IsFatFamilyVolume("/media/user/MY CARD/DCIM", volume), mount.fatFamily)
        << mount.mountType << " " << mount.udevAnswer.value_or("(no answer)");
  }
}

TEST(Volume, TheRunningSystemAnswersForItsOwnTemporaryFolder) {
  TempTree tree;
  const Utility::VolumeQueries system;
  EXPECT_FALSE(Utility::IsFatFamilyVolume(tree.Root(), system));
  Utility::CheckWriteProtect(tree.Root(), system);
}

TEST(WriteProtect, AWritableMediumPasses) {
  TempTree tree;
  const auto stream = tree.File("00001.MTS", 10);
  Utility::CheckWriteProtect(stream, FakeVolume());
  Utility::CheckWriteProtect(tree.Root(), FakeVolume());
}

TEST(WriteProtect, ReadOnlyMountLockedCardOrLockedFolderFailWith108) {
  TempTree tree;
  const auto stream = tree.File("00001.MTS", 10);
  const auto text108 = AAA::StringTable::Text(108);

  auto readOnlyMount = FakeVolume();
  readOnlyMount.IsMountReadOnly = [](const fs::path&) { return true; };
  EXPECT_EQ(MessageOf([&] { Utility::CheckWriteProtect(stream, readOnlyMount); }), text108);

  auto lockedFolder = FakeVolume();
  lockedFolder.IsWritableForUser = [&](const fs::path& folder) { return folder != tree.Root(); };
  EXPECT_EQ(MessageOf([&] { Utility::CheckWriteProtect(stream, lockedFolder); }), text108);
}

TEST(WriteProtect, ALockSwitchShowsInTheDiskOrPartitionReadOnlyFlag) {
  TempTree tree;
  const auto stream = tree.File("card/00001.MTS", 10);
  // sysfs: dev/block/179:1 links to the partition mmcblk0p1 inside its disk mmcblk0.
  const auto sys = tree.Folder("sys");
  tree.File("sys/devices/mmc/block/mmcblk0/ro", std::vector<std::uint8_t>{'1', '\n'});
  tree.File("sys/devices/mmc/block/mmcblk0/mmcblk0p1/ro", std::vector<std::uint8_t>{'0', '\n'});
  tree.File("sys/devices/mmc/block/mmcblk0/mmcblk0p1/partition", std::vector<std::uint8_t>{'1'});
  tree.Folder("sys/dev/block");
  fs::create_directory_symlink("../../devices/mmc/block/mmcblk0/mmcblk0p1", sys / "dev/block/179:1");
  fs::create_directory_symlink("../../devices/mmc/block/mmcblk0", sys / "dev/block/179:0");

  auto volume = FakeVolume();
  volume.SysfsRoot = sys;
  volume.DeviceOf = [](const fs::path&) { return std::optional<Platform::DeviceNumber>({179, 1}); };
  EXPECT_EQ(MessageOf([&] { Utility::CheckWriteProtect(stream, volume); }), AAA::StringTable::Text(108));

  tree.File("sys/devices/mmc/block/mmcblk0/ro", std::vector<std::uint8_t>{'0', '\n'});
  Utility::CheckWriteProtect(stream, volume);

  volume.DeviceOf = [](const fs::path&) { return std::optional<Platform::DeviceNumber>({179, 0}); };
  tree.File("sys/devices/mmc/block/mmcblk0/ro", std::vector<std::uint8_t>{'1', '\n'});
  EXPECT_EQ(MessageOf([&] { Utility::CheckWriteProtect(stream, volume); }), AAA::StringTable::Text(108));

  volume.DeviceOf = [](const fs::path&) { return std::optional<Platform::DeviceNumber>({0, 44}); };
  Utility::CheckWriteProtect(stream, volume);  // no block device behind it (tmpfs, network)
}

TEST(WriteProtect, AMissingPathFailsWithItsErrorNumber) {
  TempTree tree;
  EXPECT_EQ(MessageOf([&] { Utility::CheckWriteProtect(tree.Root() / "gone/00001.MTS", FakeVolume()); }),
            AAA::StringTable::Text(104));
}

TEST(WriteProtect, AReadOnlyBindMountFailsWith108) {
  TempTree tree;
  const auto folder = tree.Folder("card");
  tree.File("card/00001.MTS", 10);
  const std::string bind = "mount --bind " + folder.string() + " " + folder.string() + " 2>/dev/null";
  if (geteuid() != 0 || std::system(bind.c_str()) != 0) GTEST_SKIP() << "cannot bind-mount here";
  const bool readOnly = std::system(("mount -o remount,bind,ro " + folder.string() + " 2>/dev/null").c_str()) == 0;
  if (readOnly) {
    EXPECT_EQ(MessageOf([&] { Utility::CheckWriteProtect(folder / "00001.MTS", Utility::VolumeQueries()); }),
              AAA::StringTable::Text(108));
  }
  std::system(("umount " + folder.string()).c_str());
  if (!readOnly) GTEST_SKIP() << "cannot remount read-only here";
}
