// The repair of a 3D pair in detail: durations of partner clips, clips
// without partner, the recording identifier, the last time code and the
// names the two trees get.
#include <cstdio>
#include <map>

#include "PairFixture.h"
#include "aaalib/AAA_StringTable.h"
#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "restorelib/Restore_ModelFile.h"
#include "restorelib/Restore_PairRepair.h"
#include "restorelib/Restore_ProMetadata3d.h"

using AVCHD::ClipInformation::BlkClipInformationFile;
using AVCHD::IndexTable::BlkIndexTableFile;
using AVCHD::MoviePlayList::BlkMoviePlayListFile;

namespace {

constexpr std::uint64_t kAnyFileSize = 1 << 20;

template <class Model>
Model ReadFile(const fs::path& path) {
  Model model;
  ReadModelFile(path, model, kAnyFileSize);
  return model;
}

// Reads the model at `path`, lets `change` change it and writes it back.
template <class Model, class Change>
void Rewrite(const TreeBuilder& tree, const fs::path& path, Change change) {
  auto model = ReadFile<Model>(path);
  change(model);
  tree.WriteModel(path, model);
}

// One clip with one STC sequence from 90000 lasting `duration` ticks.
BlkClipInformationFile ClipOfDuration(std::uint32_t duration) {
  BlkClipInformationFile clip;
  clip.Initialize();
  auto& sequences = clip.blkSequenceInfo;
  sequences.NumberOfSTCSequences.SetValue(1);
  sequences.blkSTCSequenceArray.Resize(1);
  sequences.blkSTCSequenceArray[0].PresentationStartTime.SetValue(90000);
  sequences.blkSTCSequenceArray[0].PresentationEndTime.SetValue(90000 + duration);
  return clip;
}

std::string NameOf(BlkIndexTableFile& indexTable) {
  const auto& appInfo = indexTable.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  const auto& bytes = appInfo.AVCHDName.ValueBytes();
  return std::string(bytes.begin(), bytes.begin() + appInfo.AVCHDNameLength);
}

std::string Hex(const AAA::Bytes& bytes) {
  std::string text;
  char digits[3];
  for (auto byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

// Per playlist file name: the clips it plays, each with its IN and OUT time.
using PlayListsOfTree = std::map<std::string, std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>>>;
PlayListsOfTree PlayListsOf(const TreeBuilder& tree) {
  PlayListsOfTree playLists;
  for (const auto& entry : fs::directory_iterator(tree.Avchd() / "BDMV" / "PLAYLIST")) {
    auto playList = ReadFile<BlkMoviePlayListFile>(entry.path());
    auto& items = playLists[entry.path().filename().string()];
    for (auto& item : playList.blkPlayList.blkPlayItemArray) {
      items.emplace_back(item.ClipInformationFileName.ToString(), item.INTime, item.OUTTime);
    }
  }
  return playLists;
}

// The same playlists with the clip names of the other eye.
PlayListsOfTree WithPartnerNames(PlayListsOfTree playLists) {
  for (auto& [name, items] : playLists) {
    for (auto& item : items) std::get<0>(item) = Utility::Get3dPairFileName(std::get<0>(item));
  }
  return playLists;
}

}  // namespace

TEST(PairedClips, DurationsWithinThreeTicksAreKeptFromFourBothTakeTheShorter) {
  auto left = ClipOfDuration(45000);
  auto right = ClipOfDuration(45003);
  PairClip(left, right);
  EXPECT_EQ(left.PresentationTimes[0], 45000u);
  EXPECT_EQ(right.PresentationTimes[0], 45003u);

  for (auto [duration_L, duration_R] : {std::pair{45004u, 45000u}, std::pair{45000u, 45004u}}) {
    auto left4 = ClipOfDuration(duration_L);
    auto right4 = ClipOfDuration(duration_R);
    PairClip(left4, right4);
    EXPECT_EQ(left4.PresentationTimes[0], 45000u);
    EXPECT_EQ(right4.PresentationTimes[0], 45000u);
  }
}

TEST(PairedClips, BothKeepAsManySequencesAsTheShorterHas) {
  auto left = ClipOfDuration(45000);
  auto right = ClipOfDuration(45000);
  right.blkSequenceInfo.NumberOfSTCSequences.SetValue(2);
  right.blkSequenceInfo.blkSTCSequenceArray.Resize(2);
  PairClip(left, right);
  EXPECT_EQ(right.blkSequenceInfo.NumberOfSTCSequences, 1u);
}

TEST_F(Pair3d, ALeftClipWithoutPartnerLosesItsPlayItemsAndBothTreesEndWithTheSamePlayLists) {
  left.AddStream("00002", EyeStream(StreamOfGroups(4), 'L'));
  Record(4, 4);
  ASSERT_TRUE(RepairPair(left, right));
  const auto playLists_L = PlayListsOf(left);
  for (const auto& [name, items] : playLists_L) {
    for (const auto& item : items) EXPECT_NE(std::get<0>(item), "00002") << name;
  }
  EXPECT_FALSE(playLists_L.empty());
  EXPECT_EQ(WithPartnerNames(PlayListsOf(right)), playLists_L);
}

TEST_F(Pair3d, ARecordingCutShortOnOneCardEndsEquallyLongInBothTreesAndStaysRepaired) {
  Record(6, 6);
  const auto size = fs::file_size(right.StreamFile("10001"));
  right.CutFile(right.StreamFile("10001"), size / 2 + 1000);
  const auto whole_L = PlayListsOf(left);
  ASSERT_TRUE(RepairPair(left, right));
  const auto playLists_L = PlayListsOf(left);
  EXPECT_EQ(WithPartnerNames(PlayListsOf(right)), playLists_L);
  ASSERT_EQ(playLists_L.size(), whole_L.size());
  const auto& item = playLists_L.begin()->second.at(0);
  const auto& wholeItem = whole_L.begin()->second.at(0);
  EXPECT_LT(std::get<2>(item) - std::get<1>(item), std::get<2>(wholeItem) - std::get<1>(wholeItem));

  const auto after_L = Snapshot(left.Root());
  const auto after_R = Snapshot(right.Root());
  RestoreMain again1(left.Target(), left.Mode(), volume);
  RestoreMain again2(right.Target(), right.Mode(), volume);
  ASSERT_NE(VerifyTree(again1), Restore::Verdict::Failed);
  ASSERT_NE(VerifyTree(again2), Restore::Verdict::Failed);
  again1.VerifyMain3d(again2);
  EXPECT_EQ(again1.ResultState(), Restore::Verdict::NotRequired) << again1.ErrorString();
  EXPECT_EQ(again2.ResultState(), Restore::Verdict::NotRequired);
  again1.Commit();
  again2.Commit();
  EXPECT_EQ(Snapshot(left.Root()), after_L);
  EXPECT_EQ(Snapshot(right.Root()), after_R);
}

TEST_F(Pair3d, AnUnsetLeftIdentifierTakesTheRightOneAndNamesBothTrees) {
  Record(4, 4);
  MarkAs3dChannel(left, 'L', AAA::Bytes(32, 0xFF));
  ASSERT_TRUE(RepairPair(left, right));
  for (const auto* tree : {&left, &right}) {
    EXPECT_EQ(ReadContent(IndexTable(*tree), "index").globalMaterialID, MaterialID(1));
    EXPECT_EQ(ReadContent(tree->ClipInformationFile(tree == &left ? "00001" : "10001"), "clip").globalMaterialID,
              MaterialID(1));
  }
  auto indexTable_L = ReadFile<BlkIndexTableFile>(IndexTable(left));
  auto indexTable_R = ReadFile<BlkIndexTableFile>(IndexTable(right));
  EXPECT_EQ(NameOf(indexTable_L), "L ch " + Hex(MaterialID(1)));
  EXPECT_EQ(NameOf(indexTable_R), "R ch " + Hex(MaterialID(1)));
  EXPECT_EQ(NameOf(indexTable_L).size(), 5u + 64u);
}

TEST_F(Pair3d, ASetLeftIdentifierGoesToTheRightAndANamedTreeKeepsItsName) {
  Record(4, 4);
  MarkAs3dChannel(left, 'L', MaterialID(3));
  Rewrite<BlkIndexTableFile>(right, IndexTable(right), [](BlkIndexTableFile& indexTable) {
    auto& appInfo = indexTable.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
    AAA::Bytes name(appInfo.AVCHDName.ValueBytes().size(), 0);
    const std::string text = "Holiday";
    std::copy(text.begin(), text.end(), name.begin());
    appInfo.AVCHDName.SetBytes(name);
    appInfo.AVCHDNameLength.SetValue(static_cast<std::uint32_t>(text.size()));
  });
  ASSERT_TRUE(RepairPair(right, left));
  EXPECT_EQ(ReadContent(IndexTable(right), "index").globalMaterialID, MaterialID(3));
  EXPECT_EQ(ReadContent(right.ClipInformationFile("10001"), "clip").globalMaterialID, MaterialID(3));
  auto indexTable_L = ReadFile<BlkIndexTableFile>(IndexTable(left));
  auto indexTable_R = ReadFile<BlkIndexTableFile>(IndexTable(right));
  EXPECT_EQ(NameOf(indexTable_L), "L ch " + Hex(MaterialID(3)));
  EXPECT_EQ(NameOf(indexTable_R), "Holiday");
}

TEST_F(Pair3d, BothIndexTablesEndWithTheEarlierLastTimeCode) {
  Record(6, 6);
  auto whole = ReadFile<BlkIndexTableFile>(IndexTable(left));
  const AAA::Bytes lastOfWhole(IndexInfoOf(whole)->LastTimeCode.ValueBytes());
  right.CutFile(right.StreamFile("10001"), fs::file_size(right.StreamFile("10001")) / 2);
  ASSERT_TRUE(RepairPair(left, right));
  auto indexTable_L = ReadFile<BlkIndexTableFile>(IndexTable(left));
  auto indexTable_R = ReadFile<BlkIndexTableFile>(IndexTable(right));
  const AAA::Bytes last_L(IndexInfoOf(indexTable_L)->LastTimeCode.ValueBytes());
  EXPECT_EQ(IndexInfoOf(indexTable_R)->LastTimeCode.ValueBytes(), last_L);
  // Frames, seconds, minutes, hours: the cut recording ends seconds earlier.
  EXPECT_EQ(last_L[3], lastOfWhole[3]);
  EXPECT_LT((last_L[2] << 16) | (last_L[1] << 8) | last_L[0],
            (lastOfWhole[2] << 16) | (lastOfWhole[1] << 8) | lastOfWhole[0]);
}

TEST_F(Pair3d, PartnersWhoseVideoDiffersFailWith109AndNothingIsWritten) {
  left.AddStream("00001", EyeStream(StreamOfGroups(4), 'L'));
  auto other = StreamOfGroups(4);
  other.frameRateCode = 3;
  right.AddStream("10001", EyeStream(other, 'R'));
  for (auto* tree : {&left, &right}) {
    RestoreMain run(tree->Target(), tree->Mode(), volume);
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  MarkAs3dChannel(left, 'L', MaterialID(1));
  MarkAs3dChannel(right, 'R', MaterialID(1));
  const auto before_L = Snapshot(left.Root());
  const auto before_R = Snapshot(right.Root());
  RestoreMain first(left.Target(), left.Mode(), volume);
  RestoreMain second(right.Target(), right.Mode(), volume);
  ASSERT_EQ(VerifyTree(first), Restore::Verdict::NotRequired);
  ASSERT_EQ(VerifyTree(second), Restore::Verdict::NotRequired);
  first.VerifyMain3d(second);
  EXPECT_EQ(first.ResultState(), Restore::Verdict::Failed);
  EXPECT_EQ(first.ErrorString(), AAA::StringTable::Text(109));
  EXPECT_EQ(Snapshot(left.Root()), before_L);
  EXPECT_EQ(Snapshot(right.Root()), before_R);
}
