// The file layer on its own: whole replacements, cuts of read-only streams,
// moves that never replace, and failures that leave the old file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "FaultInjector.h"
#include "TempTree.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_Backup.h"
#include "restorelib/Restore_FileLayer.h"

namespace fs = std::filesystem;
using namespace Restore;

TEST(FileLayer, ReplacesAReadOnlyFileWholeAndLeavesNoTemporary) {
  TempTree tree;
  const auto file = tree.File("BDMV/INDEX.BDM", 100);
  fs::permissions(file, fs::perms::owner_read);
  FileLayer::ReplaceFile(file, {1, 2, 3});
  EXPECT_EQ(ReadBytes(file), (std::vector<std::uint8_t>{1, 2, 3}));
  FileLayer::ReplaceFile(tree.Root() / "BDMV/NEW.BDM", {4});
  EXPECT_EQ(ReadBytes(tree.Root() / "BDMV/NEW.BDM"), (std::vector<std::uint8_t>{4}));
  EXPECT_EQ(Snapshot(tree.Root()).size(), 3u);
}

// The creation, write, sync and rename of a replacement failing in turn.
TEST(FileLayer, AFailureAtAnyStepKeepsTheOldFileAndNamesItsCause) {
  TempTree tree;
  const auto file = tree.File("BDMV/INDEX.BDM", 100);
  const auto before = ReadBytes(file);
  for (std::uint64_t at = 1; at <= 4; ++at) {
    for (const auto& [error, message] : {std::pair{ENOSPC, 111}, std::pair{EIO, 106}}) {
      FaultInjector injector;
      injector.Arm(FaultInjector::Mode::Fail, at, error);
      EXPECT_EQ(MessageOf([&] { FileLayer::ReplaceFile(file, std::vector<std::uint8_t>(4000, 9)); }),
                AAA::StringTable::Text(message))
          << injector.Where();
      EXPECT_EQ(ReadBytes(file), before) << injector.Where();
      EXPECT_FALSE(fs::exists(FileLayer::TemporaryNameFor(file))) << injector.Where();
    }
  }
}

TEST(FileLayer, CutsAReadOnlyStreamAndNeverMovesOverAFile) {
  TempTree tree;
  const auto stream = tree.File("00001.MTS", 7000);
  fs::permissions(stream, fs::perms::owner_read);
  const auto tail = FileLayer::ReadTail(stream, 856);
  FileLayer::Truncate(stream, 6144);
  EXPECT_EQ(fs::file_size(stream), 6144u);
  FileLayer::Append(stream, tail);
  EXPECT_EQ(ReadBytes(stream), ReadBytes(tree.File("copy", 7000)));
  const auto other = tree.File("00002.MTS", 10);
  EXPECT_EQ(MessageOf([&] { FileLayer::Move(stream, other); }), AAA::StringTable::Text(106));
  EXPECT_EQ(fs::file_size(other), 10u);
  // What is not a regular file cannot hold a management file or a stream.
  EXPECT_EQ(MessageOf([&] { FileLayer::ReadFile(tree.Root()); }), AAA::StringTable::Text(109));
}

TEST(FileLayer, AFullTmpfsKeepsTheOldFileAndReports111) {
  TempTree tree;
  const auto mountPoint = tree.Folder("small");
  const std::string mount = "mount -t tmpfs -o size=64k tmpfs " + mountPoint.string() + " 2>/dev/null";
  if (geteuid() != 0 || std::system(mount.c_str()) != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
  const auto file = mountPoint / "index.bdmv";
  FileLayer::ReplaceFile(file, std::vector<std::uint8_t>(20000, 1));
  EXPECT_EQ(MessageOf([&] { FileLayer::ReplaceFile(file, std::vector<std::uint8_t>(60000, 2)); }),
            AAA::StringTable::Text(111));
  EXPECT_EQ(ReadBytes(file), std::vector<std::uint8_t>(20000, 1));
  EXPECT_FALSE(fs::exists(FileLayer::TemporaryNameFor(file)));
  std::system(("umount " + mountPoint.string()).c_str());
}

// Two runs in one second on trees of one name never share a backup folder.
TEST(FileLayer, BackupsOfOneTreeInOneSecondGetFoldersOfTheirOwn) {
  TempTree tree;
  std::vector<fs::path> folders(3);
  for (auto& folder : folders) WriteBackup({}, tree.Root() / "CARD", tree.Root() / "backups", "test", folder);
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(std::unique(folders.begin(), folders.end()), folders.end());
  for (const auto& folder : folders) EXPECT_TRUE(fs::exists(folder / "manifest.json")) << folder;
}
