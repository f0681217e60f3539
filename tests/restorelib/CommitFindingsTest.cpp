// What a commit cut short or a torn BACKUP folder leaves is found by the
// verification and mended by the commit; a card without room is refused
// before anything changes.
#include <gtest/gtest.h>

#include <functional>

#include "TempTree.h"
#include "TreeRun.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_FileLayer.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

struct Damage {
  const char* name;
  std::function<void(const TreeBuilder&)> apply;
};

const Damage kDamages[] = {
    {"BackupDeleted", [](const TreeBuilder& tree) { fs::remove_all(tree.Avchd() / "BDMV/BACKUP"); }},
    {"BackupIndexOfRandomBytes",
     [](const TreeBuilder& tree) {
       tree.WriteFile(tree.Avchd() / "BDMV/BACKUP/index.bdmv", {0x12, 0x34, 0x56});
     }},
    {"BackupCopyOfAGoneFile",
     [](const TreeBuilder& tree) { tree.WriteFile(tree.Avchd() / "BDMV/BACKUP/CLIPINF/00009.clpi", {1}); }},
    {"TemporaryOfACutCommit",
     [](const TreeBuilder& tree) {
       tree.WriteFile(tree.Avchd() / "BDMV/PLAYLIST/00000.mpls.velmar-new", {7, 7});
     }},
    {"TemporaryOfAJournal",
     [](const TreeBuilder& tree) { tree.WriteFile(tree.Avchd() / ".velmar-restore-journal.velmar-new", {7}); }},
};

struct CommitFindings : testing::TestWithParam<Damage> {
  TreeBuilder tree{TreeNaming::LongNames};
  AvchdFolder folder;

  void SetUp() override {
    folder.SetPath(tree.Avchd());
    tree.AddStream("00001", StreamOfGroups(3));
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
};

TEST_P(CommitFindings, AreRepairedSoThatBackupMirrorsTheTreeAndNoTemporaryStays) {
  GetParam().apply(tree);
  {
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired);
  for (const auto& [path, bytes] : Snapshot(tree.Avchd() / "BDMV")) {
    EXPECT_FALSE(FileLayer::IsTemporaryName(path)) << path;
    if (path.starts_with("BACKUP") || path.starts_with("STREAM") || bytes == std::vector<std::uint8_t>{'/'}) continue;
    EXPECT_EQ(ReadBytes(tree.Avchd() / "BDMV/BACKUP" / path), bytes) << path;
  }
  EXPECT_FALSE(fs::exists(tree.Avchd() / "BDMV/BACKUP/CLIPINF/00009.clpi"));
}

INSTANTIATE_TEST_SUITE_P(Damages, CommitFindings, testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommitRoom, ACardWithoutRoomIsRefusedWith111BeforeAnythingChanges) {
  TreeBuilder tree;
  tree.AddStream("00001", StreamOfGroups(3));
  tree.CutFile(tree.StreamFile("00001"), fs::file_size(tree.StreamFile("00001")) - 100);
  auto volume = FakeVolume();
  volume.FreeSpace = [](const fs::path&) { return std::optional<Platform::Space>({8192, 4096}); };
  const auto before = Snapshot(tree.Root());
  RestoreMain run(tree.Target(), tree.Mode(), volume);
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  run.Commit();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(111));
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

}  // namespace

namespace {

TEST(ReadOnlyMedium, IsCheckedAndReportedButNeverWritten) {
  TreeBuilder tree;
  tree.AddStream("00001", StreamOfGroups(3));
  auto volume = FakeVolume();
  volume.IsMountReadOnly = [](const fs::path&) { return true; };
  const auto before = Snapshot(tree.Root());
  RestoreMain repair(tree.Target(), tree.Mode(), volume);
  EXPECT_EQ(repair.ErrorString(), AAA::StringTable::Text(108));

  RestoreMain check(tree.Target(), tree.Mode(), volume, RestoreMain::Purpose::Check);
  ASSERT_EQ(VerifyTree(check), Restore::Verdict::RepairRequired) << check.ErrorString();
  EXPECT_TRUE(check.IsWriteProtected());
  check.Commit();
  EXPECT_EQ(check.ErrorString(), AAA::StringTable::Text(108));
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

}  // namespace
