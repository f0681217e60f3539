// The clip information step on whole trees made from generated streams:
// clip information corrected to streams cut short, rebuilt when missing or
// broken, deleted without a stream or with a broken one; the correction
// rules and their log texts; what the commit writes and cuts.
#include <gtest/gtest.h>

#include "TempTree.h"
#include "TreeRun.h"
#include "avchdlib/AVCHD_Maker.h"
#include "restorelib/Restore_ClipCorrection.h"
#include "restorelib/Restore_ClipStore.h"
#include "restorelib/Restore_NewClipInformation.h"
#include "tests/aaalib/LogCapture.h"
#include "tests/support/Encoder.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using AVCHD::ClipInformation::BlkClipInformationFile;
using SampleGen::GeneratedStream;
using SampleGen::StreamParameters;
using TestSupport::EncoderInstalled;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

// The clip information the stream calls for.
BlkClipInformationFile BuiltFrom(const fs::path& stream, const std::string& name) {
  BlkClipInformationFile clip;
  BuildNewClipInformationFile(clip, stream, name);
  return clip;
}

BlkClipInformationFile ReadClip(const fs::path& path) {
  BlkClipInformationFile clip;
  ReadClipInformationFile(path, clip);
  return clip;
}

std::uint32_t ModelCodeOf(const BlkClipInformationFile& clip) {
  return clip.blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode;
}

const auto& FineEntries(const BlkClipInformationFile& clip) {
  return clip.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0].blkEPFineEntryArray;
}

// The first byte of the first P picture of group `group`: inside that group.
std::uint64_t InsideGroup(const GeneratedStream& layout, std::uint32_t group) {
  for (const auto& picture : layout.pictures) {
    if (picture.group == group && picture.type == 1) return picture.spn * 192 + 100;
  }
  ADD_FAILURE() << "no P picture in group " << group;
  return 0;
}

// The planned writes of clip information files (a long-name tree also plans its backup).
std::vector<PlannedWrite> ClipWrites(const RestorePlan& plan) {
  std::vector<PlannedWrite> writes;
  for (const auto& write : plan.Writes) {
    if (write.Kind == FileKind::ClipInformation) writes.push_back(write);
  }
  return writes;
}

struct ClipTree : testing::TestWithParam<TreeNaming> {
  TreeBuilder tree{GetParam()};

  // Writes the clip information of stream `name` as a recorder of another
  // accepted model would have written it.
  void WriteClipOfStream(const std::string& name, std::uint32_t modelCode = 0x6101) {
    auto clip = BuiltFrom(tree.StreamFile(name), name);
    clip.blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode.SetValue(modelCode);
    tree.WriteModel(tree.ClipInformationFile(name), clip);
  }
};

}  // namespace

TEST_P(ClipTree, TheLastStreamCutInsideAGroupGetsItsClipCorrectedStampedAndCut) {
  tree.AddStream("00001", StreamOfGroups(4));
  const GeneratedStream layout = tree.AddStream("00002", StreamOfGroups(10));
  WriteClipOfStream("00001");
  WriteClipOfStream("00002");
  const auto firstClip = TestSupport::ReadFileBytes(tree.ClipInformationFile("00001"));
  const std::uint64_t cut = InsideGroup(layout, 7);
  ASSERT_NE(cut % 6144, 0u);
  tree.CutFile(tree.StreamFile("00002"), cut);

  LogCapture log(7);
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  const std::string text = log.Take();
  for (const char* rule : {"(newClipInformationFile.blkClipInfo.NumberOfSourcePackets)\n",
                           "(newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].PresentationEndTime)\n",
                           "(newClipInformationFile.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPFineEntries)\n",
                           "(AVCHD_MAKER_MODEL_CODE)\n"}) {
    EXPECT_NE(text.find(rule), std::string::npos) << rule;
  }
  const auto writes = ClipWrites(run.Plan());
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].Path, tree.ClipInformationFile("00002"));
  run.Commit();
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();

  EXPECT_EQ(fs::file_size(tree.StreamFile("00002")), cut / 6144 * 6144);
  EXPECT_EQ(TestSupport::ReadFileBytes(tree.ClipInformationFile("00001")), firstClip);
  const auto repaired = ReadClip(tree.ClipInformationFile("00002"));
  EXPECT_EQ(repaired.blkClipInfo.NumberOfSourcePackets, cut / 6144 * 32);
  EXPECT_EQ(FineEntries(repaired).Size(), 7u);  // the groups before the cut one
  const auto& sequence = repaired.blkSequenceInfo.blkSTCSequenceArray[0];
  // Seven groups of 15 pictures at 30000/1001 per second, in 45 kHz ticks.
  EXPECT_NEAR(double(sequence.PresentationEndTime - sequence.PresentationStartTime), 7 * 15 * 1501.5, 1.0);
  EXPECT_EQ(ModelCodeOf(repaired), AVCHD::AVCHD_MAKER_MODEL_CODE);
  const auto expected = BuiltFrom(tree.StreamFile("00002"), "00002");
  EXPECT_EQ(sequence.PresentationEndTime, expected.blkSequenceInfo.blkSTCSequenceArray[0].PresentationEndTime);

  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

// The clip store keeps clips as their files' bytes: a change made through
// an open clip outlives its handles, and a correction taken back writes nothing.
TEST_P(ClipTree, AStoredClipKeepsItsChangesAndIsWrittenOnlyWhileItDiffersFromTheFileRead) {
  tree.AddStream("00001", StreamOfGroups(3));
  tree.AddStream("00002", StreamOfGroups(3));
  const auto endOf = [](const BlkClipInformationFile& clip) -> std::uint32_t {
    return clip.blkSequenceInfo.blkSTCSequenceArray[0].PresentationEndTime;
  };
  ClipStore store;
  auto built = BuiltFrom(tree.StreamFile("00001"), "00001");
  store.Add(built, nullptr);
  auto read = BuiltFrom(tree.StreamFile("00002"), "00002");
  const std::uint32_t end = endOf(read);
  BlkClipInformationFile asRead(read);
  asRead.Link();
  read.blkSequenceInfo.blkSTCSequenceArray[0].PresentationEndTime.SetValue(end - 1);
  store.Add(read, &asRead);
  EXPECT_EQ(store.Find("00003"), nullptr);
  EXPECT_TRUE(store.NeedsWrite(0));  // built anew
  EXPECT_TRUE(store.NeedsWrite(1));
  {
    const ClipStore::Clip clip = store.Find("00002");
    EXPECT_EQ(clip, store.Open(1));  // one model for every handle
    EXPECT_EQ(endOf(*clip), end - 1);
    clip->blkSequenceInfo.blkSTCSequenceArray[0].PresentationEndTime.SetValue(end);
    clip->Refered.SetValue(1);
  }
  EXPECT_FALSE(store.NeedsWrite(1));
  EXPECT_EQ(store.ValuesAt(1).Refered, 1u);
  store.Open(1)->blkSequenceInfo.blkSTCSequenceArray[0].PresentationEndTime.SetValue(end + 1);
  EXPECT_TRUE(store.NeedsWrite(1));
  EXPECT_EQ(endOf(*store.Find("00002")), end + 1);
}

TEST_P(ClipTree, AClipIdenticalToItsStreamIsNeitherModifiedNorWritten) {
  tree.AddStream("00001", StreamOfGroups(4));
  WriteClipOfStream("00001", 0x7302);
  const auto before = TestSupport::ReadFileBytes(tree.ClipInformationFile("00001"));
  {
    // The first run makes the playlist, movie object and index table.
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  EXPECT_EQ(TestSupport::ReadFileBytes(tree.ClipInformationFile("00001")), before);
  RestoreMain run(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(run), Restore::Verdict::NotRequired) << run.ErrorString();
  EXPECT_FALSE(run.IsRestoreRequired());
}

TEST_P(ClipTree, MissingUnreadableAndOversizedClipsAreRebuiltFromTheirStreams) {
  for (const char* name : {"00001", "00002", "00003"}) tree.AddStream(name, StreamOfGroups(3));
  tree.WriteFile(tree.ClipInformationFile("00002"), {'H', 'D', 'M', 'V', '0', '1'});
  WriteClipOfStream("00003");
  std::vector<std::uint8_t> oversized = TestSupport::ReadFileBytes(tree.ClipInformationFile("00003"));
  oversized.resize(1048577, 0);
  tree.WriteFile(tree.ClipInformationFile("00003"), oversized);

  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  for (const char* name : {"00001", "00002", "00003"}) {
    const auto clip = ReadClip(tree.ClipInformationFile(name));
    const auto expected = BuiltFrom(tree.StreamFile(name), name);
    EXPECT_EQ(clip.blkClipInfo.NumberOfSourcePackets, expected.blkClipInfo.NumberOfSourcePackets) << name;
    EXPECT_EQ(FineEntries(clip).Size(), 3u) << name;
    EXPECT_EQ(ModelCodeOf(clip), AVCHD::AVCHD_MAKER_MODEL_CODE) << name;
  }
  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

TEST_P(ClipTree, ClipsWithoutStreamOrOfABrokenOrTooShortStreamAreDeleted) {
  tree.AddStream("00001", StreamOfGroups(3));
  WriteClipOfStream("00001");
  fs::copy_file(tree.ClipInformationFile("00001"), tree.ClipInformationFile("00005"));
  tree.WriteFile(tree.StreamFile("00003"), std::vector<std::uint8_t>(6144 * 4, 0x47));
  fs::copy_file(tree.ClipInformationFile("00001"), tree.ClipInformationFile("00003"));
  tree.AddStream("00004", StreamOfGroups(1));  // half a second
  fs::copy_file(tree.ClipInformationFile("00001"), tree.ClipInformationFile("00004"));

  LogCapture log(7);
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  const std::string text = log.Take();
  EXPECT_NE(text.find("file not found. " + tree.StreamFile("00005").string() + "\n"), std::string::npos) << text;
  const auto plan = run.Plan();
  EXPECT_EQ(plan.Deletes, (std::vector<fs::path>{tree.ClipInformationFile("00003"), tree.ClipInformationFile("00004"),
                                                 tree.ClipInformationFile("00005")}));
  run.Commit();
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_TRUE(fs::exists(tree.ClipInformationFile("00001")));
  for (const char* name : {"00003", "00004", "00005"}) EXPECT_FALSE(fs::exists(tree.ClipInformationFile(name)));
  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

TEST_P(ClipTree, AStreamOfTheTreeBuildsItsClipInformationWhenNoneExists) {
  tree.AddStream("00001", StreamOfGroups(3));
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired);
  const auto writes = ClipWrites(run.Plan());
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_TRUE(writes[0].IsNew);
}

INSTANTIATE_TEST_SUITE_P(BothNamings, ClipTree, testing::Values(TreeNaming::ShortNames, TreeNaming::LongNames),
                         [](const auto& info) {
                           return std::string(info.param == TreeNaming::LongNames ? "LongNames" : "ShortNames");
                         });

// ---- Streams of a real encoder ------------------------------------------------

namespace {

struct EncoderCase {
  const char* name;
  const char* source;
  const char* videoOptions;
  double frameSeconds;
};

const EncoderCase kEncoderCases[] = {
    {"Interlaced1080At2997", "testsrc2=size=1920x1080:rate=60000/1001",
     "-vf tinterlace=mode=interleave_top,setfield=tff -flags +ildct+ilme -top 1", 1001.0 / 30000},
    {"Progressive1080At5994", "testsrc2=size=1920x1080:rate=60000/1001", "", 1001.0 / 60000},
};

struct RealEncoderTree : testing::TestWithParam<EncoderCase> {
  TreeBuilder tree{TreeNaming::LongNames};

  fs::path Encode(const std::string& name) {
    const EncoderCase& c = GetParam();
    const fs::path file = tree.StreamFile(name);
    const std::string command =
        std::string("ffmpeg -hide_banner -loglevel error -y -f lavfi -i ") + c.source +
        " -f lavfi -i sine=frequency=1000:sample_rate=48000 -t 3 " + c.videoOptions +
        " -c:v libx264 -preset veryfast -x264-params aud=1:bluray-compat=1:open-gop=0:bframes=2:b-pyramid=none:"
        "keyint=15:min-keyint=15:scenecut=0:nal-hrd=vbr:vbv-maxrate=4500:vbv-bufsize=4500:pic-struct=1:force-cfr=1"
        " -c:a ac3 -b:a 192k -muxrate 6M -f mpegts -mpegts_m2ts_mode 1 '" +
        file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return file;
  }
};

}  // namespace

TEST_P(RealEncoderTree, TheRebuiltClipLastsAsLongAsFfprobeSaysAndNeedsNothingMore) {
  if (!EncoderInstalled()) GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
  const fs::path stream = Encode("00001");
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  const auto clip = ReadClip(tree.ClipInformationFile("00001"));
  const auto& sequence = clip.blkSequenceInfo.blkSTCSequenceArray[0];
  const double seconds = (sequence.PresentationEndTime - sequence.PresentationStartTime) / 45000.0;
  const double probed =
      std::stod(TestSupport::CommandOutput("ffprobe -v error -select_streams v:0 -show_entries stream=duration "
                                           "-of csv=p=0 '" +
                                           stream.string() + "'"));
  EXPECT_NEAR(seconds, probed, GetParam().frameSeconds);

  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

INSTANTIATE_TEST_SUITE_P(Libx264, RealEncoderTree, testing::ValuesIn(kEncoderCases),
                         [](const auto& info) { return std::string(info.param.name); });
