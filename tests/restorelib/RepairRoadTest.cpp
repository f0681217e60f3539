// Whole restore runs on trees of generated streams: a tree built by the
// tool, the repair of a recording cut short, lost and unused files, and a
// second verification that finds nothing left to repair.
#include <gtest/gtest.h>

#include "TempTree.h"
#include "TreeRun.h"
#include "aaalib/AAA_StringTable.h"
#include "avchdlib/AVCHD_Maker.h"
#include "restorelib/Restore_ModelFile.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

struct RepairRoad : testing::TestWithParam<TreeNaming> {
  TreeBuilder tree{GetParam()};
  AvchdFolder folder;

  RepairRoad() { folder.SetPath(tree.Avchd()); }

  // Repairs the tree and checks that the repaired tree needs nothing more
  // and that a run on it writes nothing.
  void RepairAndSettle() {
    {
      RestoreMain run(tree.Target(), tree.Mode());
      ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
    }
    const auto repaired = Snapshot(tree.Root());
    RestoreMain again(tree.Target(), tree.Mode());
    EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
    again.Commit();
    EXPECT_EQ(Snapshot(tree.Root()), repaired);
  }

  template <class Model>
  Model Read(const fs::path& path) {
    Model model;
    ReadModelFile(path, model, 1 << 20);
    return model;
  }
  AVCHD::MoviePlayList::BlkMoviePlayListFile PlayList(const std::string& name) {
    return Read<AVCHD::MoviePlayList::BlkMoviePlayListFile>(Utility::PlayListFile(folder, name, true));
  }
  AVCHD::IndexTable::BlkIndexTableFile IndexTable() {
    return Read<AVCHD::IndexTable::BlkIndexTableFile>(Utility::IndexTableFile(folder));
  }
  AVCHD::MovieObject::BlkMovieObjectFile MovieObject() {
    return Read<AVCHD::MovieObject::BlkMovieObjectFile>(Utility::MovieObjectFile(folder));
  }
  AVCHD::ClipInformation::BlkClipInformationFile Clip(const std::string& name) {
    return Read<AVCHD::ClipInformation::BlkClipInformationFile>(tree.ClipInformationFile(name));
  }
};

SampleGen::StreamParameters Stream(std::uint32_t groups, SampleGen::AudioKind audio = SampleGen::AudioKind::Ac3) {
  auto parameters = StreamOfGroups(groups);
  parameters.audio = audio;
  return parameters;
}

SampleGen::StreamParameters Progressive1080(int frameRateCode) {
  auto parameters = StreamOfGroups(4);
  parameters.interlaced = false;
  parameters.frameRateCode = frameRateCode;
  return parameters;
}

std::vector<std::string> PlayListNames(const AvchdFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : Utility::ListFiles(Utility::PlayListPattern(folder)))
    names.push_back(entry.Name.substr(0, 5));
  return names;
}

}  // namespace

TEST_P(RepairRoad, StreamsAloneBecomeACompleteTreeThatReadsBackAndNeedsNothingMore) {
  tree.AddStream("00001", Stream(6));
  tree.AddStream("00002", Stream(4));
  RepairAndSettle();
  // Clips of one kind share the playlist made for the first of them.
  EXPECT_EQ(PlayListNames(folder), std::vector<std::string>{"00000"});
  const auto playList = PlayList("00000");
  ASSERT_EQ(playList.blkPlayList.NumberOfPlayItems, 2u);
  EXPECT_EQ(playList.blkPlayListMark.NumberOfPlayListMarks, 2u);
  const auto clip = Clip("00002");
  const std::string name = AVCHD::Common::TextOf(playList.blkExtensionData.blkDataBlock.blkPlayListMeta.PlayListName);
  EXPECT_EQ(name.substr(0, 7), "  1080 ");
  EXPECT_EQ(name.substr(playList.blkExtensionData.blkDataBlock.blkPlayListMeta.PlayListNameLength - 4, 4), " AC3");
  EXPECT_EQ(playList.blkPlayList.blkPlayItemArray[1].OUTTime,
            clip.blkSequenceInfo.blkSTCSequenceArray[0].PresentationEndTime.Value());
  const auto index = IndexTable();
  EXPECT_EQ(index.blkIndexes.NumberOfMovieTitles, 1u);
  EXPECT_EQ(MovieObject().blkMovieObjects.NumberOfMobjs, 1u);
  if (tree.IsLongName()) {
    for (const auto& file : {Utility::IndexTableFile(folder), Utility::MovieObjectFile(folder),
                             Utility::PlayListFile(folder, "00000", true), tree.ClipInformationFile("00001")}) {
      const auto backup = Utility::BackupFolder(folder) / file.lexically_relative(Utility::BdmvFolder(folder));
      EXPECT_EQ(ReadBytes(backup), ReadBytes(file)) << backup;
    }
  }
}

TEST_P(RepairRoad, ARecordingCutShortIsClampedAndItsStreamCut) {
  tree.AddStream("00001", Stream(6));
  const auto last = tree.AddStream("00002", Stream(10));
  RepairAndSettle();
  const auto before = PlayList("00000");

  // Power lost inside the eighth group of the last recording.
  const auto cut = last.iPictures()[7].spn * 192 + 5000;
  tree.CutFile(tree.StreamFile("00002"), cut);
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  const auto plan = run.Plan();
  ASSERT_EQ(plan.Truncations.size(), 1u);
  EXPECT_EQ(plan.Truncations[0].NewSize, cut / 6144 * 6144);
  // The road of a card repair: the clip, its playlist and the index table.
  ASSERT_GE(plan.Writes.size(), 3u);
  EXPECT_EQ(plan.Writes[0].Path, tree.ClipInformationFile("00002"));
  EXPECT_EQ(plan.Writes[1].Path, Utility::PlayListFile(folder, "00000", true));
  EXPECT_EQ(plan.Writes[2].Path, Utility::IndexTableFile(folder));
  // A long-name tree also gets the BACKUP copies of those three, and only of them.
  EXPECT_EQ(plan.Writes.size(), tree.IsLongName() ? 6u : 3u);
  run.Commit();
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();

  const auto clip = Clip("00002");
  const auto after = PlayList("00000");
  const auto& sequence = clip.blkSequenceInfo.blkSTCSequenceArray[0];
  EXPECT_LT(after.blkPlayList.blkPlayItemArray[1].OUTTime, before.blkPlayList.blkPlayItemArray[1].OUTTime);
  EXPECT_EQ(after.blkPlayList.blkPlayItemArray[1].OUTTime, sequence.PresentationEndTime.Value());
  EXPECT_EQ(after.blkPlayList.blkPlayItemArray[0].OUTTime, before.blkPlayList.blkPlayItemArray[0].OUTTime);
  EXPECT_EQ(after.blkExtensionData.blkDataBlock.blkPlayListMeta.MakerID, std::uint32_t{AVCHD::AVCHD_MAKER_ID});
  EXPECT_EQ(IndexTable().blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.MakerID, std::uint32_t{AVCHD::AVCHD_MAKER_ID});
  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

TEST_P(RepairRoad, AMissingIndexTableAndMovieObjectGiveEachPlayListATitle) {
  tree.AddStream("00001", Stream(4));
  tree.AddStream("00002", Stream(4, SampleGen::AudioKind::Lpcm));
  RepairAndSettle();
  EXPECT_EQ(PlayListNames(folder), (std::vector<std::string>{"00000", "00001"}));
  fs::remove(Utility::IndexTableFile(folder));
  fs::remove(Utility::MovieObjectFile(folder));
  RepairAndSettle();
  const auto index = IndexTable();
  ASSERT_EQ(index.blkIndexes.NumberOfMovieTitles, 2u);
  const auto& pairs = index.blkExtensionData.blkDataBlock.blkTableOfPlayLists.blkMovieTitlePlayListPairArray;
  ASSERT_EQ(pairs.Size(), 2u);
  EXPECT_EQ(AVCHD::Common::TextOf(pairs[0].PlayListFileName), "00000");
  EXPECT_EQ(pairs[1].RefToTitleId, 1u);
  const auto movieObject = MovieObject();
  ASSERT_EQ(movieObject.blkMovieObjects.NumberOfMobjs, 2u);
  EXPECT_EQ(movieObject.blkMovieObjects.blkMovieObjectArray[1].NavigationCommandArray[0].Operand1(), 1u);
}

TEST_P(RepairRoad, APlayItemWhoseClipIsGoneGoesWithItsMarks) {
  for (const char* name : {"00001", "00002", "00003"}) tree.AddStream(name, Stream(4));
  RepairAndSettle();
  fs::remove(tree.StreamFile("00002"));
  RepairAndSettle();
  const auto playList = PlayList("00000");
  ASSERT_EQ(playList.blkPlayList.NumberOfPlayItems, 2u);
  EXPECT_EQ(AVCHD::Common::TextOf(playList.blkPlayList.blkPlayItemArray[1].ClipInformationFileName), "00003");
  ASSERT_EQ(playList.blkPlayListMark.NumberOfPlayListMarks, 2u);
  EXPECT_EQ(playList.blkPlayListMark.blkPlayListMarkArray[1].RefToPlayItemID, 1u);
  EXPECT_EQ(playList.blkExtensionData.blkDataBlock.blkPlayListMarkExt.NumberOfPlayListMarks, 2u);
  EXPECT_FALSE(fs::exists(tree.ClipInformationFile("00002")));
}

TEST_P(RepairRoad, AClipNoPlayListUsesGetsAPlayListNamedAfterItsFormat) {
  tree.AddStream("00001", Stream(4));
  RepairAndSettle();
  auto progressive = Progressive1080(4);
  progressive.pulldown = 1;
  progressive.audio = SampleGen::AudioKind::Lpcm;
  tree.AddStream("00002", progressive);
  RepairAndSettle();
  EXPECT_EQ(PlayListNames(folder), (std::vector<std::string>{"00000", "00001"}));
  const auto playList = PlayList("00001");
  const auto& meta = playList.blkExtensionData.blkDataBlock.blkPlayListMeta;
  const std::string name = AVCHD::Common::TextOf(meta.PlayListName).substr(0, meta.PlayListNameLength);
  EXPECT_EQ(name.substr(0, 7), "  1080 ");
  EXPECT_EQ(name.substr(name.size() - 5), " LPCM");
  EXPECT_EQ(IndexTable().blkIndexes.NumberOfMovieTitles, 2u);
}

TEST_P(RepairRoad, ProgressivePlayListsAt50And5994GetTheTwoCommandMovieObject) {
  tree.AddStream("00001", Progressive1080(7));
  RepairAndSettle();
  const auto movieObject = MovieObject();
  const auto& object = movieObject.blkMovieObjects.blkMovieObjectArray[0];
  ASSERT_EQ(object.NumberOfNavigationCommands, 2u);
  EXPECT_EQ(object.NavigationCommandArray[0].ValueBytes(),
            (AAA::Bytes{0x48, 0x40, 0x01, 0x00, 0x80, 0x00, 0x00, 0x1D, 0x00, 0x00, 0x00, 0x10}));
  EXPECT_EQ(object.NavigationCommandArray[1].Operand1(), 0u);
}

TEST_P(RepairRoad, ATreeOf50HzAnd60HzRecordingsIsRefused) {
  tree.AddStream("00001", Progressive1080(6));
  tree.AddStream("00002", Stream(4));
  RestoreMain run(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(run), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(109));
}

INSTANTIATE_TEST_SUITE_P(BothNamings, RepairRoad, testing::Values(TreeNaming::ShortNames, TreeNaming::LongNames),
                         [](const auto& info) {
                           return std::string(info.param == TreeNaming::LongNames ? "LongNames" : "ShortNames");
                         });

TEST(RepairRoadOnACard, StreamsInTheCardRootAreTakenIntoTheTree) {
  TreeBuilder tree(TreeNaming::ShortNames);
  tree.AddStream("00001", StreamOfGroups(4));
  SampleGen::writeStream(StreamOfGroups(4), tree.Root() / "00007.MTS");
  RestoreMain run(tree.Root(), Mode::MemoryCard);
  ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_FALSE(fs::exists(tree.Root() / "00007.MTS"));
  EXPECT_TRUE(fs::exists(tree.StreamFile("00007")));
  EXPECT_TRUE(fs::exists(tree.ClipInformationFile("00007")));
  RestoreMain again(tree.Root(), Mode::MemoryCard);
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

TEST(PlayListName, TellsFormatRatePulldownAndAudio) {
  AVCHD::ClipInformation::BlkClipInformationFile clip;
  clip.blkProgramInfo.NumberOfStreamsInPS.SetValue(2);
  auto& video = clip.blkProgramInfo.blkStreamsInPSArray[0];
  video.StreamPID.SetValue(0x1011);
  video.blkStreamCodingInfo.StreamCodingType.SetValue(0x1B);
  video.blkStreamCodingInfo.VideoFormat.SetValue(4);
  video.blkStreamCodingInfo.FrameRate.SetValue(4);
  auto& audio = clip.blkProgramInfo.blkStreamsInPSArray[1];
  audio.StreamPID.SetValue(0x1100);
  audio.blkStreamCodingInfo.StreamCodingType.SetValue(0x80);
  clip.Pulldown.SetValue(2);
  EXPECT_EQ(PlayListNameText(clip), "  1080 23.98p LPCM");
  clip.Pulldown.SetValue(0);
  audio.blkStreamCodingInfo.StreamCodingType.SetValue(0x81);
  EXPECT_EQ(PlayListNameText(clip), "  1080 59.94i AC3");
  video.blkStreamCodingInfo.VideoFormat.SetValue(5);
  video.blkStreamCodingInfo.FrameRate.SetValue(6);
  clip.Pulldown.SetValue(1);
  EXPECT_EQ(PlayListNameText(clip), "   720 25p AC3");
  video.blkStreamCodingInfo.FrameRate.SetValue(3);  // no 720 name for 25 frames
  EXPECT_EQ(PlayListNameText(clip), "   720 AC3");
}
