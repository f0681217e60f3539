// The clip information built from a stream, and an existing file corrected
// to it: the time rules of the STC sequences, the two forms of a difference
// (same count: field by field; other count: copied whole), the maker stamp,
// the values a stream's kind decides, and the per-clip values.
#include <gtest/gtest.h>

#include "TempTree.h"
#include "TreeRun.h"
#include "aaalib/AAA_StringTable.h"
#include "avchdlib/AVCHD_Maker.h"
#include "restorelib/Restore_ClipCorrection.h"
#include "restorelib/Restore_NewClipInformation.h"
#include "restorelib/Restore_RestoreClipInformation.h"
#include "tests/aaalib/LogCapture.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using AVCHD::ClipInformation::BlkClipInformationFile;
using SampleGen::StreamParameters;
using TestSupport::TreeBuilder;

namespace {

// Two STC sequences: the PCR starts over in group 4.
StreamParameters TwoSequences() {
  StreamParameters parameters = StreamOfGroups(8);
  parameters.discontinuities.push_back({4, 900000});
  return parameters;
}

struct Correction : testing::Test {
  TreeBuilder tree;

  BlkClipInformationFile Built(const StreamParameters& parameters, const std::string& name = "00001") {
    tree.AddStream(name, parameters);
    BlkClipInformationFile clip;
    BuildNewClipInformationFile(clip, tree.StreamFile(name), name);
    return clip;
  }

  // The file as it comes back from the card: written, then read.
  BlkClipInformationFile AsRead(BlkClipInformationFile clip) {
    clip.blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode.SetValue(0x6101);
    tree.WriteModel(tree.ClipInformationFile("00001"), clip);
    BlkClipInformationFile read;
    ReadClipInformationFile(tree.ClipInformationFile("00001"), read);
    return read;
  }
};

auto& SequenceOf(BlkClipInformationFile& clip, std::size_t i) { return clip.blkSequenceInfo.blkSTCSequenceArray[i]; }

}  // namespace

TEST_F(Correction, AStreamWithADiscontinuityGivesTwoSequences) {
  auto clip = Built(TwoSequences());
  ASSERT_EQ(clip.blkSequenceInfo.NumberOfSTCSequences, 2u);
  EXPECT_EQ(SequenceOf(clip, 0).SPNSTCStart, 0u);
  EXPECT_GT(SequenceOf(clip, 1).SPNSTCStart, 0u);
  EXPECT_EQ(SequenceOf(clip, 1).PresentationStartTime, 900000u / 2);
  EXPECT_NEAR(double(SequenceOf(clip, 1).PresentationEndTime - SequenceOf(clip, 1).PresentationStartTime),
              4 * 15 * 1501.5, 1.0);
}

TEST_F(Correction, ATimeOneTickLateIsKeptTwoTicksLateIsCorrectedTheFirstStartNever) {
  auto built = Built(TwoSequences());
  auto existing = AsRead(built);
  SequenceOf(existing, 0).PresentationStartTime.SetValue(SequenceOf(built, 0).PresentationStartTime + 7);
  SequenceOf(existing, 1).PresentationStartTime.SetValue(SequenceOf(built, 1).PresentationStartTime + 1);
  SequenceOf(existing, 0).PresentationEndTime.SetValue(SequenceOf(built, 0).PresentationEndTime + 2);
  SequenceOf(existing, 1).PresentationEndTime.SetValue(SequenceOf(built, 1).PresentationEndTime + 1);
  existing.Link();
  LogCapture log(7);
  CorrectClipInformationFile(existing, built);
  const std::string text = log.Take();
  EXPECT_EQ(SequenceOf(existing, 0).PresentationStartTime, SequenceOf(built, 0).PresentationStartTime + 7);
  EXPECT_EQ(SequenceOf(existing, 1).PresentationStartTime, SequenceOf(built, 1).PresentationStartTime + 1);
  EXPECT_EQ(SequenceOf(existing, 0).PresentationEndTime, SequenceOf(built, 0).PresentationEndTime);
  EXPECT_EQ(SequenceOf(existing, 1).PresentationEndTime, SequenceOf(built, 1).PresentationEndTime + 1);
  EXPECT_NE(text.find("(newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].PresentationEndTime)\n"),
            std::string::npos);
  EXPECT_EQ(text.find("PresentationStartTime)\n"), std::string::npos);

  SequenceOf(existing, 1).PresentationStartTime.SetValue(SequenceOf(built, 1).PresentationStartTime + 2);
  LogCapture again(7);
  CorrectClipInformationFile(existing, built);
  EXPECT_EQ(SequenceOf(existing, 1).PresentationStartTime, SequenceOf(built, 1).PresentationStartTime);
  EXPECT_NE(
      again.Take().find("(newClipInformationFile.blkSequenceInfo.blkSTCSequenceArray[i].PresentationStartTime)\n"),
      std::string::npos);
}

TEST_F(Correction, AnotherNumberOfSequencesIsCorrectedAndTheSequencesCopiedWhole) {
  auto built = Built(TwoSequences());
  auto existing = AsRead(Built(StreamOfGroups(8), "00002"));
  LogCapture log(7);
  CorrectClipInformationFile(existing, built);
  const std::string text = log.Take();
  EXPECT_NE(text.find("(newClipInformationFile.blkSequenceInfo.NumberOfSTCSequences)\n"), std::string::npos);
  ASSERT_EQ(existing.blkSequenceInfo.blkSTCSequenceArray.Size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(SequenceOf(existing, i).SPNSTCStart, SequenceOf(built, i).SPNSTCStart);
    EXPECT_EQ(SequenceOf(existing, i).PresentationStartTime, SequenceOf(built, i).PresentationStartTime);
    EXPECT_EQ(SequenceOf(existing, i).PresentationEndTime, SequenceOf(built, i).PresentationEndTime);
  }
  // Written and read back, the corrected file is what the stream gives.
  tree.WriteModel(tree.ClipInformationFile("00003"), existing);
  BlkClipInformationFile read;
  ReadClipInformationFile(tree.ClipInformationFile("00003"), read);
  CorrectClipInformationFile(read, built);
  EXPECT_FALSE(read.IsModified());
}

TEST_F(Correction, StreamAttributesAndCodingAreCorrectedWithTheirRules) {
  auto built = Built(StreamOfGroups(3));
  auto damaged = built;
  damaged.Link();
  damaged.blkProgramInfo.blkStreamsInPSArray[0].blkStreamCodingInfo.FrameRate.SetValue(3);
  damaged.blkProgramInfo.blkStreamsInPSArray[1].blkStreamCodingInfo.SamplingFrequency.SetValue(4);
  damaged.blkExtensionData.blkDataBlock.blkProgramInfoExt.blkProgramSequenceArray[0]
      .blkStreamCodingInfoExtInPsArray[0]
      .blkStreamCodingInfoExt.level_idc.SetValue(51);
  damaged.blkClipInfo.ApplicationType.SetValue(10);
  auto existing = AsRead(damaged);
  LogCapture log(7);
  CorrectClipInformationFile(existing, built);
  const std::string text = log.Take();
  for (const char* rule :
       {"(newCodingInfo.FrameRate)\n", "(newCodingInfo.SamplingFrequency)\n", "(newCodingInfoExt.LevelIdc)\n",
        "(newClipInformationFile.blkClipInfo.ApplicationType)\n", "(AVCHD_MAKER_MODEL_CODE)\n"}) {
    EXPECT_NE(text.find(rule), std::string::npos) << rule;
  }
  // The maker identifier was the tool's already: nothing to log.
  EXPECT_EQ(text.find("(AVCHD_MAKER_ID)"), std::string::npos);
  EXPECT_EQ(existing.blkProgramInfo.blkStreamsInPSArray[0].blkStreamCodingInfo.FrameRate, 4u);
  EXPECT_EQ(existing.blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode, AVCHD::AVCHD_MAKER_MODEL_CODE);
}

TEST_F(Correction, AnUnchangedFileKeepsItsMakerAndTakesThePerClipValues) {
  auto built = Built(StreamOfGroups(3));
  auto existing = AsRead(built);
  CorrectClipInformationFile(existing, built);
  EXPECT_FALSE(existing.IsModified());
  EXPECT_EQ(existing.blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode, 0x6101u);
  EXPECT_EQ(existing.StartTimeCode1.ValueBytes(), built.StartTimeCode1.ValueBytes());
  EXPECT_EQ(existing.TimeAndDate1.ValueBytes(), built.TimeAndDate1.ValueBytes());
  EXPECT_EQ(existing.RecordingParameterBytes, built.RecordingParameterBytes);
  EXPECT_EQ(existing.StartPts2, built.StartPts2);
}

TEST_F(Correction, ProgressiveSixtyFramesIsHdprAndInterlacedIsHdmv) {
  StreamParameters progressive = StreamOfGroups(4);
  progressive.interlaced = false;
  progressive.frameRateCode = 7;
  const auto p = Built(progressive, "00001");
  EXPECT_EQ(p.blkClipInfo.ApplicationType, 10u);
  EXPECT_EQ(p.blkClipInfo.TSRecordingRate, 3500000u);
  EXPECT_EQ(p.blkClipInfo.blkTSTypeInfoBlock.FormatIdentifier.ValueBytes(), (AAA::Bytes{'H', 'D', 'P', 'R'}));
  const auto i = Built(StreamOfGroups(4), "00002");
  EXPECT_EQ(i.blkClipInfo.ApplicationType, 1u);
  EXPECT_EQ(i.blkClipInfo.TSRecordingRate, 3000000u);
  EXPECT_EQ(i.blkClipInfo.blkTSTypeInfoBlock.FormatIdentifier.ValueBytes(), (AAA::Bytes{'H', 'D', 'M', 'V'}));
}

TEST_F(Correction, RecordingDatesComeFromTheMetadataOrFromTheStreamFilesTime) {
  const auto withDates = Built(StreamOfGroups(3), "00001");
  EXPECT_EQ(withDates.TimeZone1, 0x12u);
  EXPECT_EQ(withDates.TimeAndDate1.ValueBytes(), (AAA::Bytes{0x20, 0x24, 0x05, 0x17, 0x13, 0x45, 0x30}));
  StreamParameters noMetadata = StreamOfGroups(3);
  noMetadata.mdpm = false;
  tree.AddStream("00002", noMetadata);
  fs::last_write_time(tree.StreamFile("00002"), fs::last_write_time(tree.StreamFile("00001")));
  BlkClipInformationFile clip;
  BuildNewClipInformationFile(clip, tree.StreamFile("00002"), "00002");
  EXPECT_EQ(clip.TimeZone1, 0xFFu);
  EXPECT_EQ(clip.TimeZone2, 0xFFu);
  AVCHD::Field::TimeAndDate fileTime{"TimeAndDate"};
  ASSERT_TRUE(Utility::FileTimeBcd(fileTime, tree.StreamFile("00002")));
  EXPECT_EQ(clip.TimeAndDate1.ValueBytes(), fileTime.ValueBytes());
  EXPECT_EQ(clip.TimeAndDate2.ValueBytes(), fileTime.ValueBytes());
  EXPECT_EQ(clip.blkExtensionData.blkDataBlock.MakersPrivateDataStartAddress, 0u);
}

// A first sequence shorter than one second goes; the sequence that remains
// keeps its own start, in the clip and in what the repair writes.
TEST_F(Correction, AShortSequenceIsDroppedWhenAnotherRemains) {
  StreamParameters parameters = StreamOfGroups(6);
  parameters.discontinuities.push_back({1, 900000});  // the first sequence lasts one group
  const auto clip = Built(parameters);
  ASSERT_EQ(clip.blkSequenceInfo.NumberOfSTCSequences, 1u);
  EXPECT_EQ(clip.blkSequenceInfo.blkSTCSequenceArray[0].PresentationStartTime, 900000u / 2);
  {
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  BlkClipInformationFile written;
  ReadClipInformationFile(tree.ClipInformationFile("00001"), written);
  EXPECT_EQ(written.blkSequenceInfo.blkSTCSequenceArray[0].PresentationStartTime, 900000u / 2);
  EXPECT_EQ(written.blkSequenceInfo.blkSTCSequenceArray[0].SPNSTCStart,
            clip.blkSequenceInfo.blkSTCSequenceArray[0].SPNSTCStart);
}

TEST_F(Correction, AStreamCutInsideAGroupEndsItsClipAfterTheLastCompleteGroup) {
  tree.AddStream("00001", StreamOfGroups(11));
  const auto full = SampleGen::writeStream(StreamOfGroups(11), tree.StreamFile("00002"));
  std::uint64_t cut = 0;
  for (const auto& picture : full.pictures) {
    if (picture.group == 10 && picture.type == 1) cut = picture.spn * 192 + 500;
  }
  tree.CutFile(tree.StreamFile("00002"), cut);
  BlkClipInformationFile clip;
  const auto scan = BuildNewClipInformationFile(clip, tree.StreamFile("00002"), "00002");
  EXPECT_EQ(clip.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPFineEntries, 10u);
  EXPECT_LE(scan.BytesScanned, cut);
  std::uint64_t tenthGroup = 0;
  for (const auto& picture : full.iPictures()) {
    if (picture.group == 10) tenthGroup = picture.spn * 192;
  }
  // The scan has taken the ten complete groups and stopped inside the cut one.
  EXPECT_GE(scan.BytesScanned, tenthGroup);
}

// ---- The step on its own --------------------------------------------------

namespace {

struct NoWorker : Thread {
  void Run() override {}
};

struct ClipStep : testing::Test {
  TreeBuilder tree;
  AvchdFolder folder;
  Utility::VolumeQueries volume = FakeVolume();
  RestoreStreamFolder streams{folder, volume};
  NoWorker worker;
  RestoreClipInformation step{folder, streams, worker};

  void Verify() {
    folder.SetPath(tree.Avchd());
    streams.VerifyStreamFolder();
    step.VerifyClipInformation();
  }
};

}  // namespace

TEST_F(ClipStep, AClipOfAnUnsupportedMakerIsReplacedByTheRebuiltOne) {
  tree.AddStream("00001", StreamOfGroups(3));
  BlkClipInformationFile clip;
  BuildNewClipInformationFile(clip, tree.StreamFile("00001"), "00001");
  clip.blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode.SetValue(0x1234);
  tree.WriteModel(tree.ClipInformationFile("00001"), clip);
  Verify();
  ASSERT_EQ(step.Clips().Size(), 1u);
  EXPECT_EQ(step.Clips().Open(0)->blkExtensionData.blkDataBlock.blkClipInfoExt.MakerModelCode,
            AVCHD::AVCHD_MAKER_MODEL_CODE);
  EXPECT_EQ(worker.Progress(), 100u);
  EXPECT_NE(step.FindClip("00001"), nullptr);
  EXPECT_EQ(step.FindClip("00002"), nullptr);
}

TEST_F(ClipStep, AContinuationIntoAMissingClipIsCorrectedAway) {
  tree.AddStream("00001", StreamOfGroups(3));
  BlkClipInformationFile clip;
  BuildNewClipInformationFile(clip, tree.StreamFile("00001"), "00001");
  clip.blkClipInfo.IsCC5.SetValue(1);
  clip.blkClipInfo.FollowingClipInformationFileName.SetBytes(AAA::Bytes{'0', '0', '0', '0', '9'});
  tree.WriteModel(tree.ClipInformationFile("00001"), clip);
  LogCapture log(7);
  Verify();
  const std::string text = log.Take();
  ASSERT_EQ(step.Clips().Size(), 1u);
  EXPECT_EQ(step.Clips().Open(0)->blkClipInfo.IsCC5, 0u);
  EXPECT_NE(text.find("(0U)\n"), std::string::npos);
}

TEST_F(ClipStep, ACancelRequestStopsTheScanAtTheNextEntryPoint) {
  tree.AddStream("00001", StreamOfGroups(3));
  worker.RequestCancel();
  folder.SetPath(tree.Avchd());
  streams.VerifyStreamFolder();
  EXPECT_EQ(MessageOf([&] { step.VerifyClipInformation(); }), AAA::StringTable::Text(102));
  EXPECT_EQ(worker.Progress(), 0u);
}

TEST_F(ClipStep, StreamsCutAnywhereAreRebuiltOrBroken) {
  const auto layout = tree.AddStream("00001", StreamOfGroups(4));
  const auto bytes = TestSupport::ReadFileBytes(tree.StreamFile("00001"));
  for (std::uint64_t cut = 1; cut < bytes.size(); cut = cut * 3 + 7) {
    tree.WriteFile(tree.StreamFile("00001"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + cut));
    RestoreStreamFolder cutStreams{folder, volume};
    RestoreClipInformation cutStep{folder, cutStreams, worker};
    folder.SetPath(tree.Avchd());
    cutStreams.VerifyStreamFolder();
    cutStep.VerifyClipInformation();
    EXPECT_LE(cutStep.Clips().Size(), 1u) << cut;
  }
}

TEST_F(Correction, AProgramMapWithoutRegistrationsStillGivesAClipThatReadsBack) {
  StreamParameters parameters = StreamOfGroups(3);
  parameters.registrationDescriptors = false;
  auto clip = Built(parameters);
  const auto& audio = clip.blkProgramInfo.blkStreamsInPSArray[1].blkStreamCodingInfo;
  EXPECT_EQ(audio.SamplingFrequency, 1u);  // 48 kHz
  EXPECT_NE(audio.AudioPresentationType, 0u);
  tree.WriteModel(tree.ClipInformationFile("00001"), clip);
  BlkClipInformationFile read;
  EXPECT_EQ(MessageOf([&] { ReadClipInformationFile(tree.ClipInformationFile("00001"), read); }), "");
}
