// The backup of a repair and its undo, as a user runs them: the result names
// the backup, undo puts every byte back once and refuses a second time, and
// a backup that cannot be written leaves the tree as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "tests/cli_restore/Report.h"
#include "tests/restorelib/TempTree.h"
#include "tests/support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

TestSupport::ProgramRun RunProgram(const std::string& arguments) {
  return TestSupport::RunProgram(VELMAR_RESTORE_PROGRAM, arguments);
}

using TestSupport::Quoted;

// A tree in the folder `copy` (or a folder named by the test's parameter).
struct BackupCommand : testing::Test {
  TempTree tree;
  fs::path avchd;
  explicit BackupCommand(const std::string& folder = "copy") : avchd(tree.Root() / folder / "AVCHD") {
    tree.File(folder + "/AVCHD/BDMV/STREAM/00001.MTS", 6145);
    WriteEmptyManagementFiles(avchd);
  }
};

struct BackupOfATreeNamed : BackupCommand, testing::WithParamInterface<const char*> {
  BackupOfATreeNamed() : BackupCommand(GetParam()) {}
};

}  // namespace

// A path need not be UTF-8 (a card copied from an old system): its backup
// is found and undone all the same.
TEST_P(BackupOfATreeNamed, TheResultNamesTheBackupAndUndoPutsEveryByteBackOnce) {
  const auto before = Snapshot(avchd);
  const auto backups = tree.Root() / "backups";
  const auto repair = RunProgram("folder --json --yes --backup-dir " + Quoted(backups) + " " + Quoted(avchd));
  ASSERT_EQ(repair.status, 0);
  const auto document = ValidReport(repair.output);
  const fs::path backup = document["backup"].get<std::string>();
  EXPECT_EQ(backup.parent_path(), backups);
  EXPECT_TRUE(fs::exists(backup / "manifest.json"));
  ASSERT_NE(Snapshot(avchd), before);

  const auto list = RunProgram("backups --backup-dir " + Quoted(backups) + " --tree " + Quoted(avchd));
  EXPECT_NE(list.output.find(backup.string()), std::string::npos) << list.output;
  const auto check = RunProgram("undo --check " + Quoted(backup));
  EXPECT_EQ(check.status, 0);
  EXPECT_NE(check.output.find("append   " + (avchd / "BDMV/STREAM/00001.MTS").string()), std::string::npos)
      << check.output;
  EXPECT_EQ(RunProgram("undo latest --yes --backup-dir " + Quoted(backups) + " --tree " + Quoted(avchd)).status, 0);
  EXPECT_EQ(Snapshot(avchd), before);
  EXPECT_EQ(RunProgram("undo --yes " + Quoted(backup)).status, 1);  // the tree is no longer what the repair left
  EXPECT_EQ(Snapshot(avchd), before);
}

INSTANTIATE_TEST_SUITE_P(Folders, BackupOfATreeNamed, testing::Values("copy", "copy \xE9t\xE9"));

TEST_F(BackupCommand, ABackupThatCannotBeWrittenLeavesTheTreeAsItWas) {
  const auto before = Snapshot(avchd);
  const auto notAFolder = tree.File("a-file", 1);
  const auto run =
      RunProgram("folder --json --yes --backup-dir " + Quoted(notAFolder / "backups") + " " + Quoted(avchd));
  EXPECT_EQ(run.status, 3);
  EXPECT_TRUE(ValidReport(run.output)["backup"].is_null());
  EXPECT_EQ(Snapshot(avchd), before);
  const auto skipped = RunProgram("folder --yes --no-backup " + Quoted(avchd));
  EXPECT_EQ(skipped.status, 0);
  EXPECT_NE(skipped.output.find("No backup was made (--no-backup)."), std::string::npos);
}

TEST_F(BackupCommand, ACheckOfAReadOnlyMountGivesTheVerdictAndWritesNothing) {
  const auto mountPoint = tree.Folder("locked");
  const std::string bind = "mount --bind " + Quoted(avchd) + " " + Quoted(mountPoint) +
                           " 2>/dev/null && mount -o remount,bind,ro " + Quoted(mountPoint) + " 2>/dev/null";
  if (geteuid() != 0 || std::system(bind.c_str()) != 0) {
    std::system(("umount " + Quoted(mountPoint) + " 2>/dev/null").c_str());
    GTEST_SKIP() << "cannot make a read-only bind mount here";
  }
  const auto before = Snapshot(avchd);
  const auto check = RunProgram("folder --check --json " + Quoted(mountPoint));
  const auto repair = RunProgram("folder --yes " + Quoted(mountPoint));
  std::system(("umount " + Quoted(mountPoint)).c_str());
  EXPECT_EQ(check.status, 1);
  const auto document = ValidReport(check.output);
  EXPECT_TRUE(document["restore_required"]);
  EXPECT_TRUE(document["write_protected"]);
  EXPECT_EQ(repair.status, 3);
  EXPECT_EQ(Snapshot(avchd), before);
}
