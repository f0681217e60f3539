// The drive list of the memory-card pages against fake mount tables and
// sysfs trees.
#include <gtest/gtest.h>

#include "tests/app/FakeSystem.h"
#include "tests/restorelib/TempTree.h"

using Restore::Platform::Drive;
using Disk = FakeSystem::Disk;

namespace {

struct DriveListFixture : testing::Test {
  TempTree tree;
  FakeSystem system{tree.Root()};

  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (const auto& drive : Restore::Platform::RemovableDrives(system.Sources())) entries.push_back(drive.Entry());
    return entries;
  }
};

}  // namespace

TEST_F(DriveListFixture, AnSdCardInABuiltInSlotIsListedByItsBusWithTheCardsName) {
  system.Mount("/media/user/CAM_SD",
               {.Name = "mmcblk0", .Kind = FakeSystem::Bus::MmcSlot, .Removable = false, .CardName = "SD64G"});
  EXPECT_EQ(Entries(), std::vector<std::string>{"/media/user/CAM_SD SD64G"});
}

TEST_F(DriveListFixture, AUsbStickIsNamedByVendorAndModelTrimmed) {
  system.Mount("/media/user/STICK", {.Name = "sdb", .Vendor = "Generic ", .Model = "  Flash Disk    "});
  EXPECT_EQ(Entries(), std::vector<std::string>{"/media/user/STICK Generic Flash Disk"});
}

TEST_F(DriveListFixture, FixedDisksOpticalDrivesAndVirtualFileSystemsAreNotListed) {
  system.Mount("/", {.Name = "sda", .Kind = FakeSystem::Bus::Sata, .Removable = false, .Vendor = "ATA"});
  system.Mount("/media/cdrom", {.Name = "sr0", .Kind = FakeSystem::Bus::Sata, .Optical = true});
  system.MountVirtual("/run/user/1000");
  EXPECT_TRUE(Entries().empty());
}

TEST_F(DriveListFixture, EscapedSpacesInAMountPointAreUndone) {
  system.Mount("/media/user/MY CARD", {.Name = "sdc", .Vendor = "Velmar", .Model = "Card Reader"});
  const auto drives = Restore::Platform::RemovableDrives(system.Sources());
  ASSERT_EQ(drives.size(), 1u);
  EXPECT_EQ(drives[0].MountPoint, "/media/user/MY CARD");
  EXPECT_EQ(drives[0].Entry(), "/media/user/MY CARD Velmar Card Reader");
}

TEST_F(DriveListFixture, ADriveWithoutANameIsItsMountPointAndOneSpace) {
  system.Mount("/media/user/B", {.Name = "sdc"});
  system.Mount("/media/user/A", {.Name = "sdd"});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"/media/user/A ", "/media/user/B "}));
}

TEST_F(DriveListFixture, AMissingMountTableOrSysfsListsNothing) {
  EXPECT_TRUE(Restore::Platform::RemovableDrives({tree.Root() / "missing", tree.Root() / "missing"}).empty());
  std::ofstream(tree.Root() / "broken") << "garbage\n36 25 x:y / /media/a rw - vfat /dev/x rw\n";
  EXPECT_TRUE(Restore::Platform::RemovableDrives({tree.Root() / "broken", tree.Root() / "sys"}).empty());
}

TEST_F(DriveListFixture, AFolderOnARemovableDriveIsRecognised) {
  const auto card = tree.Folder("media/CARD");
  const auto disk = tree.Folder("home");
  system.Mount(card, {.Name = "sdb"});
  system.Mount(disk, {.Name = "sda", .Kind = FakeSystem::Bus::Sata, .Removable = false});
  tree.Folder("media/CARD/PRIVATE/AVCHD");
  EXPECT_TRUE(Restore::Platform::IsOnRemovableDrive(card / "PRIVATE/AVCHD", system.Sources()));
  EXPECT_FALSE(Restore::Platform::IsOnRemovableDrive(disk, system.Sources()));
  EXPECT_FALSE(Restore::Platform::IsOnRemovableDrive(tree.Root(), system.Sources()));
}
