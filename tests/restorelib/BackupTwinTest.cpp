// A long-name tree whose management files are lost or broken while their
// copies in BDMV/BACKUP are sound is repaired from those copies: the
// camera's names and dates survive, and the copies are not overwritten by
// files built from the streams.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TempTree.h"
#include "TreeRun.h"
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "restorelib/Restore_ModelFile.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

const std::string kPlayList = "PLAYLIST/00000.mpls";
const std::string kClip = "CLIPINF/00001.clpi";
const std::string kIndex = "index.bdmv";
const std::string kMovieObject = "MovieObject.bdmv";

void Garble(const TreeBuilder& tree, const std::string& file) {
  auto bytes = ReadBytes(tree.Avchd() / "BDMV" / file);
  for (std::size_t i = 40; i < bytes.size() && i < 80; ++i) bytes[i] = 0xA5;
  tree.WriteFile(tree.Avchd() / "BDMV" / file, bytes);
}

struct Loss {
  const char* name;
  std::function<void(const TreeBuilder&)> apply;
  // The files (below BDMV) restored from their copies.
  std::vector<std::string> restored;
};

const Loss kLosses[] = {
    {"EveryMainFileLost",
     [](const TreeBuilder& tree) {
       for (const char* lost : {"CLIPINF", "PLAYLIST", "index.bdmv", "MovieObject.bdmv"})
         fs::remove_all(tree.Avchd() / "BDMV" / lost);
     },
     {kClip, "CLIPINF/00002.clpi", kPlayList, kMovieObject, kIndex}},
    {"PlayListGarbled", [](const TreeBuilder& tree) { Garble(tree, kPlayList); }, {kPlayList}},
    {"ClipInformationGarbled", [](const TreeBuilder& tree) { Garble(tree, kClip); }, {kClip}},
    {"IndexTableOfRandomBytes",
     [](const TreeBuilder& tree) {
       tree.WriteFile(tree.Avchd() / "BDMV" / kIndex, {0x12, 0x34, 0x56});
     },
     {kIndex}},
};

struct BackupTwin : testing::TestWithParam<Loss> {
  TreeBuilder tree{TreeNaming::LongNames};
  std::map<std::string, std::vector<std::uint8_t>> copies;

  // A sound tree whose playlist carries the name and the date a camera gave it.
  void SetUp() override {
    tree.AddStream("00001", StreamOfGroups(3));
    tree.AddStream("00002", StreamOfGroups(4));
    {
      RestoreMain run(tree.Target(), tree.Mode());
      ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
    }
    AVCHD::MoviePlayList::BlkMoviePlayListFile playList;
    ReadModelFile(tree.Avchd() / "BDMV" / kPlayList, playList, 1 << 20);
    auto& meta = playList.blkExtensionData.blkDataBlock.blkPlayListMeta;
    meta.RecordTimeAndDate.SetBytes({0x20, 0x19, 0x07, 0x14, 0x10, 0x20, 0x30});
    const std::string name = "Holiday";
    meta.PlayListNameLength.SetValue(static_cast<std::uint32_t>(name.size()));
    meta.PlayListName.SetBytes(reinterpret_cast<const std::uint8_t*>(name.data()), name.size());
    for (const char* base : {"BDMV", "BDMV/BACKUP"}) tree.WriteModel(tree.Avchd() / base / kPlayList, playList);
    copies = Snapshot(tree.Avchd() / "BDMV/BACKUP");
  }
};

TEST_P(BackupTwin, RepairStartsFromTheCopyAndKeepsIt) {
  GetParam().apply(tree);
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  std::vector<std::string> restored;
  for (const auto& write : run.Plan().Writes) {
    if (write.From.empty()) continue;
    const auto file = write.Path.lexically_relative(tree.Avchd() / "BDMV").generic_string();
    EXPECT_EQ(write.From, tree.Avchd() / "BDMV/BACKUP" / file);
    restored.push_back(file);
  }
  std::sort(restored.begin(), restored.end());
  auto expected = GetParam().restored;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(restored, expected);
  run.Commit();
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();

  // Every file is its copy as it was; the index table only gains the stamp
  // every commit gives it.
  for (const auto& [file, bytes] : copies) {
    if (bytes == std::vector<std::uint8_t>{'/'}) continue;
    const auto main = ReadBytes(tree.Avchd() / "BDMV" / file);
    if (file == kIndex) {
      EXPECT_EQ(main.size(), bytes.size());
    } else {
      EXPECT_EQ(main, bytes) << file;
    }
    EXPECT_EQ(ReadBytes(tree.Avchd() / "BDMV/BACKUP" / file), main) << file;
  }
  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired);
}

INSTANTIATE_TEST_SUITE_P(Losses, BackupTwin, testing::ValuesIn(kLosses),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
