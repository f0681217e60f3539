// Entry points, STC sequences and group rules on generated streams whose
// layout the generator reports, so every expectation is exact.
#include <gtest/gtest.h>

#include "streamscan/StatusCodes.h"
#include "streamscan/TimeCode.h"
#include "tests/streamscan/ScanFixture.h"

using namespace StreamScan;
using SampleGen::GeneratedPicture;
using SampleGen::StreamParameters;

namespace {

class EntryPoints : public ScanFixture {};
class StcSequences : public ScanFixture {};
class GroupCompleteness : public ScanFixture {};

// End time of `count` pictures from `startPts` at 29.97 frames, 45 kHz.
std::uint32_t endAt2997(std::uint64_t startPts, std::uint64_t count) {
  return static_cast<std::uint32_t>((startPts + count * 3003) / 2);
}

TEST_F(EntryPoints, AreTheIPicturesWithTheirPacketsAndTimes) {
  SampleGen::GeneratedStream layout;
  const ScanReport report = generateAndScan(StreamParameters{}, &layout);
  ASSERT_EQ(report.status, Status::Success);
  const std::vector<GeneratedPicture> is = layout.iPictures();
  ASSERT_EQ(report.entryPoints.size(), 4u);
  // PAT, PMT and a PCR packet come first; the first picture is shown at 1 s.
  EXPECT_EQ(report.entryPoints[0].SPN, 3u);
  EXPECT_EQ(report.entryPoints[0].PTS45, 45000u);
  for (std::size_t i = 0; i < is.size(); ++i) {
    const EntryPointRecord& e = report.entryPoints[i];
    EXPECT_EQ(e.SPN, is[i].spn) << i;
    EXPECT_EQ(e.PTS45, is[i].pts / 2) << i;
    EXPECT_EQ(e.FineIndex, i);
    EXPECT_EQ(e.NewCoarseEntry, i == 0 ? 1u : 0u) << i;
    EXPECT_EQ(e.PTSCoarse, e.PTS45 >> 18);
    EXPECT_EQ(e.SPNCoarse, e.SPN);
    EXPECT_EQ(e.IEndPositionOffset, 1u);
  }
}

TEST_F(EntryPoints, ProgressAddsUpToEveryScannedByte) {
  const ScanReport report = generateAndScan(StreamParameters{});
  EXPECT_EQ(report.bytesScanned, report.summary.packets * 192);
  EXPECT_EQ(report.summary.packets, 3136u);
}

struct SizeClassCase {
  std::uint32_t packets;
  std::uint32_t sizeClass;
};

class ISizeClass : public ScanFixture, public ::testing::WithParamInterface<SizeClassCase> {};

TEST_P(ISizeClass, FollowsThePacketsOfTheIPicture) {
  StreamParameters p;
  p.groups = 3;
  p.gopLength = 3;
  p.bFrames = 0;
  p.iPicturePackets = GetParam().packets;
  SampleGen::GeneratedStream layout;
  const ScanReport report = generateAndScan(p, &layout);
  ASSERT_EQ(report.status, Status::Success);
  ASSERT_EQ(layout.iPictures()[0].packetsToLastVideo, GetParam().packets);
  ASSERT_EQ(report.entryPoints.size(), 3u);
  EXPECT_EQ(report.entryPoints[0].IEndPositionOffset, GetParam().sizeClass);
}

// Thresholds 0x20000, 0x40000 and 0x140000 bytes fall between these packet counts.
INSTANTIATE_TEST_SUITE_P(AtThresholds, ISizeClass,
                         ::testing::Values(SizeClassCase{682, 1}, SizeClassCase{683, 2}, SizeClassCase{1365, 2},
                                           SizeClassCase{1366, 3}, SizeClassCase{6826, 6}, SizeClassCase{6827, 7}));

TEST_F(EntryPoints, CoarseEntryStartsWhenPts45CrossesA2To19Boundary) {
  StreamParameters p;
  p.firstPts = 2 * (0x80000 - 10000);
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  EXPECT_EQ(report.entryPoints[0].PTS45, 0x80000u - 10000);
  EXPECT_EQ(report.entryPoints[1].PTS45, 0x80000u - 10000 + 15 * 3003 / 2);
  EXPECT_EQ(report.entryPoints[0].NewCoarseEntry, 1u);
  EXPECT_EQ(report.entryPoints[1].NewCoarseEntry, 1u);
  EXPECT_EQ(report.entryPoints[2].NewCoarseEntry, 0u);
  EXPECT_EQ(report.entryPoints[1].PTSCoarse, 2u);
}

TEST_F(EntryPoints, FirstPictureIdrFlagFollowsTheFirstSlice) {
  StreamParameters p;
  EXPECT_TRUE(generateAndScan(p).summary.recording.firstPictureIdr);
  p.idrPictures = false;
  EXPECT_FALSE(generateAndScan(p).summary.recording.firstPictureIdr);
}

TEST_F(EntryPoints, FilmRateEndTimeDividesOnceOverTheWholeCount) {
  StreamParameters p;
  p.frameRateCode = 1;
  p.interlaced = false;
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  // 15 pictures of 1001/24000 s are 56306.25 ticks of 90 kHz; rounding each
  // picture to 3753 ticks would drift to 56295.
  EXPECT_EQ(report.entryPoints[0].SequenceEndTime, (90000u + 56306) / 2);
  EXPECT_EQ(report.entryPoints[3].SequenceEndTime, (90000u + 225225) / 2);
}

TEST_F(StcSequences, OneSequenceSpansEveryCompleteGroup) {
  const ScanReport report = generateAndScan(StreamParameters{});
  ASSERT_EQ(report.entryPoints.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(report.entryPoints[i].NewSTCSequence, i == 0 ? 1u : 0u);
    EXPECT_EQ(report.entryPoints[i].SPNSTCStart, 0u);
    EXPECT_EQ(report.entryPoints[i].SequenceStartTime, 45000u);
    EXPECT_EQ(report.entryPoints[i].SequenceEndTime, endAt2997(90000, 15 * (i + 1)));
  }
  ASSERT_EQ(report.stcSequences.size(), 1u);
  EXPECT_EQ(report.stcSequences[0], (StcSequence{0, 45000, endAt2997(90000, 60)}));
}

TEST_F(StcSequences, DiscontinuityOnAPcrPacketInsideAnIPictureOpensASequence) {
  StreamParameters p;
  p.discontinuities = {{2, 5000000}};
  SampleGen::GeneratedStream layout;
  const ScanReport report = generateAndScan(p, &layout);
  ASSERT_EQ(report.status, Status::Success);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  const GeneratedPicture i2 = layout.iPictures()[2];
  ASSERT_EQ(i2.discontinuitySpn, i2.spn + 1);
  const EntryPointRecord& opener = report.entryPoints[2];
  EXPECT_EQ(opener.NewSTCSequence, 1u);
  EXPECT_EQ(opener.SPNSTCStart, i2.discontinuitySpn);
  EXPECT_EQ(opener.SequenceStartTime, 2500000u);
  EXPECT_EQ(opener.SequenceEndTime, endAt2997(90000, 30));  // the end of the sequence it closes
  EXPECT_EQ(opener.NewCoarseEntry, 1u);
  EXPECT_EQ(report.entryPoints[3].NewSTCSequence, 0u);
  EXPECT_EQ(report.entryPoints[3].SPNSTCStart, i2.discontinuitySpn);
  EXPECT_EQ(report.entryPoints[3].SequenceEndTime, endAt2997(5000000, 30));
  ASSERT_EQ(report.stcSequences.size(), 2u);
  EXPECT_EQ(report.stcSequences[0], (StcSequence{0, 45000, endAt2997(90000, 30)}));
  EXPECT_EQ(report.stcSequences[1],
            (StcSequence{static_cast<std::uint32_t>(i2.discontinuitySpn), 2500000, endAt2997(5000000, 30)}));
}

TEST_F(StcSequences, SequenceOfTheLastGroupAloneGetsItsEndFromTheSummary) {
  StreamParameters p;
  p.discontinuities = {{3, 9000000}};
  SampleGen::GeneratedStream layout;
  const ScanReport report = generateAndScan(p, &layout);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  EXPECT_EQ(report.summary.recording.lastSequenceEndTime, endAt2997(9000000, 15));
  ASSERT_EQ(report.stcSequences.size(), 2u);
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, endAt2997(90000, 45));
  EXPECT_EQ(report.stcSequences[1], (StcSequence{static_cast<std::uint32_t>(layout.iPictures()[3].discontinuitySpn),
                                                 4500000, endAt2997(9000000, 15)}));
}

TEST_F(StcSequences, OpenGroupStartsAtTheBPictureDecodedFirst) {
  StreamParameters p;
  p.openGop = true;
  SampleGen::GeneratedStream layout;
  const ScanReport report = generateAndScan(p, &layout);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  // The I picture is shown third; the two B pictures decoded after it come first.
  EXPECT_EQ(report.entryPoints[0].PTS45, (90000u + 2 * 3003) / 2);
  EXPECT_EQ(report.entryPoints[0].SequenceStartTime, 45000u);
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, endAt2997(90000, 60));
  const RecordingSummary& r = report.summary.recording;
  EXPECT_EQ(r.firstRecord[MetadataRecord::TimeCode].value, layout.pictures[1].timeCode);
  EXPECT_EQ(r.secondRecord[MetadataRecord::TimeCode].value, layout.pictures[0].timeCode);
  EXPECT_EQ(r.timeCodeMode, TimeCodeIncrement);
}

TEST_F(GroupCompleteness, LastGroupShorterThanTheOneBeforeGetsNoEntryPoint) {
  StreamParameters p;
  p.lastPictureCut = true;  // a recording cut short; one stopped cleanly keeps its end
  p.lastGroupLength = 7;
  EXPECT_EQ(generateAndScan(p).entryPoints.size(), 3u);
  p.lastGroupLength = 15;
  EXPECT_EQ(generateAndScan(p).entryPoints.size(), 4u);
  p.lastGroupLength = 16;  // at least as many is enough
  EXPECT_EQ(generateAndScan(p).entryPoints.size(), 4u);
}

TEST_F(GroupCompleteness, IncompleteLastGroupDoesNotExtendTheSequence) {
  StreamParameters p;
  p.lastPictureCut = true;
  p.lastGroupLength = 7;
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.entryPoints.size(), 3u);
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, endAt2997(90000, 45));
  EXPECT_EQ(report.summary.recording.latestRecord[MetadataRecord::TimeCode].value,
            SampleGen::timeCodeOfFrame(108000 + 44, 30, false));
}

TEST_F(GroupCompleteness, StreamCutInsideTheLastGroupLosesThatGroupOnly) {
  SampleGen::GeneratedStream layout;
  const ScanReport whole = generateAndScan(StreamParameters{}, &layout);
  ASSERT_EQ(whole.entryPoints.size(), 4u);
  const std::uint64_t i3 = layout.iPictures()[3].spn * 192;
  const std::uint64_t lastPicture = layout.pictures.back().spn * 192;
  for (const std::uint64_t cut : {i3 + 1, i3 + 191, i3 + 193, i3 + 4097, (i3 + lastPicture) / 2 + 7, lastPicture}) {
    StreamParameters p;
    p.cutAtByte = cut;
    const ScanReport report = generateAndScan(p);
    EXPECT_EQ(report.status, Status::Success) << cut;
    ASSERT_EQ(report.entryPoints.size(), 3u) << cut;
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(report.entryPoints[i], whole.entryPoints[i]) << cut;
  }
}

TEST_F(GroupCompleteness, CutBeforeTheFirstCompleteGroupGivesNoEntryPoint) {
  SampleGen::GeneratedStream layout;
  generateAndScan(StreamParameters{}, &layout);
  const std::uint64_t i1 = layout.iPictures()[1].spn * 192;
  for (const std::uint64_t cut : {std::uint64_t{6144}, std::uint64_t{6144 * 3 + 5}, i1 / 2 + 1, i1 + 100}) {
    StreamParameters p;
    p.cutAtByte = cut;
    const ScanReport report = generateAndScan(p);
    EXPECT_EQ(report.status, Status::PictureNone) << cut;  // not a stream a clip can be made of
    EXPECT_TRUE(report.entryPoints.empty()) << cut;
  }
}

TEST_F(GroupCompleteness, CutAtAnyByteGivesAPrefixOfTheWholeStreamsEntryPoints) {
  StreamParameters p;
  p.groups = 3;
  p.gopLength = 6;
  p.iPictureBytes = 6000;
  p.pPictureBytes = 2000;
  p.bPictureBytes = 900;
  SampleGen::GeneratedStream layout;
  const ScanReport whole = generateAndScan(p, &layout);
  ASSERT_EQ(whole.entryPoints.size(), 3u);
  for (std::uint64_t cut = 1; cut < layout.bytes; cut += 389) {
    p.cutAtByte = cut;
    const ScanReport report = generateAndScan(p);
    ASSERT_EQ(report.status, report.entryPoints.empty() ? Status::PictureNone : Status::Success) << cut;
    ASSERT_LE(report.entryPoints.size(), whole.entryPoints.size()) << cut;
    for (std::size_t i = 0; i < report.entryPoints.size(); ++i)
      ASSERT_EQ(report.entryPoints[i], whole.entryPoints[i]) << cut;
  }
}

TEST_F(GroupCompleteness, MoreThanFourPicturesInOneReferenceGroupFail) {
  StreamParameters p;
  p.bFrames = 4;  // a reference picture and four B pictures
  EXPECT_EQ(generateAndScan(p).status, Status::PictureUnsupported);
  p.bFrames = 3;
  EXPECT_EQ(generateAndScan(p).status, Status::Success);
}

TEST_F(GroupCompleteness, MillionByteFileIsScannedAsWholeUnitsOf32Packets) {
  StreamParameters p;
  p.groups = 8;
  p.cutAtByte = 1000000;
  const ScanReport report = generateAndScan(p);
  EXPECT_EQ(report.status, Status::Success);
  EXPECT_EQ(report.summary.packets, 5184u);
  EXPECT_EQ(report.bytesScanned, 5184u * 192);
}

}  // namespace
