// The arithmetic rules behind entry points and time codes, checked at their
// edges without a stream.
#include <gtest/gtest.h>

#include "samplegen/StreamGenerator.h"
#include "streamscan/EntryPoint.h"
#include "streamscan/FrameRate.h"
#include "streamscan/ReferenceGroup.h"
#include "streamscan/ScanReport.h"
#include "streamscan/TimeCode.h"

using namespace StreamScan;

namespace {

// hh:mm:ss:ff as the MDPM value stores it.
std::uint32_t tc(unsigned h, unsigned m, unsigned s, unsigned f, bool dropFrame = false) {
  return packTimeCode({h, m, s, f, dropFrame});
}

TEST(TimeCodeAdvance, DropFrameSkipsTwoFramesAtMinutesNotDivisibleByTen) {
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 59, 29, true), 4), tc(0, 1, 0, 2, true));
  EXPECT_EQ(advanceTimeCode(tc(0, 9, 59, 29, true), 4), tc(0, 10, 0, 0, true));
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 59, 29, false), 4), tc(0, 1, 0, 0, false));
}

TEST(TimeCodeAdvance, WrapsAtTheLastFrameOfItsRate) {
  EXPECT_EQ(advanceTimeCode(tc(23, 59, 59, 24), 3), tc(0, 0, 0, 0));
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 0, 23), 1), tc(0, 0, 1, 0));
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 0, 23), 2), tc(0, 0, 1, 0));
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 0, 24), 6), tc(0, 0, 1, 0));
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 0, 24), 4), tc(0, 0, 0, 25));
  EXPECT_EQ(advanceTimeCode(tc(0, 0, 0, 29), 7), tc(0, 0, 1, 0));
  EXPECT_EQ(advanceTimeCode(tc(1, 59, 59, 29), 4), tc(2, 0, 0, 0));
}

TEST(TimeCodeAdvance, AgreesWithFrameCountingOverAnHourOfDropFrame) {
  std::uint32_t value = SampleGen::timeCodeOfFrame(0, 30, true);
  for (std::uint64_t frame = 1; frame < 108000; ++frame) {
    value = advanceTimeCode(value, 4);
    ASSERT_EQ(value, SampleGen::timeCodeOfFrame(frame, 30, true)) << frame;
  }
}

TEST(TimeCodeAdvance, DamagedDigitsRollOverWithoutOverflow) {
  // Frames 3F (tens 3, units 15) cannot count up; the next second begins.
  EXPECT_EQ(advanceTimeCode(0x3F000000, 4), tc(0, 0, 1, 0));
  EXPECT_EQ(advanceTimeCode(0xFFFFFFFF, 4) & 0x3F7F7F3F, tc(0, 0, 0, 0, true) & 0x3F7F7F3F);
}

TEST(TimeCodeCompare, LooksAtDigitsAndTheDropFrameFlagOnly) {
  EXPECT_TRUE(sameTimeCode(tc(1, 2, 3, 4), tc(1, 2, 3, 4) | 0x80808080));
  EXPECT_FALSE(sameTimeCode(tc(1, 2, 3, 4), tc(1, 2, 3, 4, true)));
  EXPECT_FALSE(sameTimeCode(tc(1, 2, 3, 4), tc(1, 2, 3, 5)));
}

MetadataRecord withTimeCode(std::uint32_t value) {
  MetadataRecord record = MetadataRecord::absent();
  record.slots[MetadataRecord::TimeCode] = {true, value};
  return record;
}

TEST(TimeCodeContinuityRule, SixtyFramesShareEachTimeCodeByPairs) {
  const MetadataRecord a = withTimeCode(tc(0, 0, 0, 0));
  const MetadataRecord b = withTimeCode(tc(0, 0, 0, 1));
  TimeCodeContinuity continuity;
  const MetadataRecord* pairs[] = {&a, &a, &b, &b};
  EXPECT_EQ(continuity.check(pairs, 7), TimeCodeIncrement);
  continuity.reset();
  const MetadataRecord* singles[] = {&a, &b};
  EXPECT_EQ(continuity.check(singles, 7), TimeCodeUnIncrement);
  continuity.reset();
  EXPECT_EQ(continuity.check(singles, 4), TimeCodeIncrement);
}

TEST(TimeCodeContinuityRule, PictureWithoutTimeCodeMakesTheGroupNoTC) {
  const MetadataRecord a = withTimeCode(tc(0, 0, 0, 0));
  const MetadataRecord none = MetadataRecord::absent();
  TimeCodeContinuity continuity;
  const MetadataRecord* pictures[] = {&a, &none};
  EXPECT_EQ(continuity.check(pictures, 4), TimeCodeNoTC);
}

TEST(ISizeClassRule, ThresholdsInBytes) {
  EXPECT_EQ(iEndPositionOffsetClass(0), 1u);
  EXPECT_EQ(iEndPositionOffsetClass(0x1FFFF), 1u);
  EXPECT_EQ(iEndPositionOffsetClass(0x20000), 2u);
  EXPECT_EQ(iEndPositionOffsetClass(0x3FFFF), 2u);
  EXPECT_EQ(iEndPositionOffsetClass(0x40000), 3u);
  EXPECT_EQ(iEndPositionOffsetClass(0x60000), 4u);
  EXPECT_EQ(iEndPositionOffsetClass(0x90000), 5u);
  EXPECT_EQ(iEndPositionOffsetClass(0xE0000), 6u);
  EXPECT_EQ(iEndPositionOffsetClass(0x13FFFF), 6u);
  EXPECT_EQ(iEndPositionOffsetClass(0x140000), 7u);
  EXPECT_EQ(iEndPositionOffsetClass(~std::uint64_t{0}), 7u);
}

TEST(CoarseEntryRule, CoarseBitsGrowingOrAnyValueGoingBack) {
  EXPECT_TRUE(startsNewCoarseEntry(0x7FFFF, 100, 0x80000, 200));
  EXPECT_FALSE(startsNewCoarseEntry(0x80000, 100, 0xFFFFF, 200));
  EXPECT_TRUE(startsNewCoarseEntry(0x1000, 0x1FFFF, 0x2000, 0x20000));
  EXPECT_FALSE(startsNewCoarseEntry(0x1000, 0x20000, 0x2000, 0x3FFFF));
  EXPECT_TRUE(startsNewCoarseEntry(0x2000, 100, 0x1000, 200));
  EXPECT_TRUE(startsNewCoarseEntry(0x1000, 200, 0x2000, 100));
}

TEST(PresentationEndTime, OneDivisionOverTheWholeProduct) {
  EXPECT_EQ(presentationEndTime45(0, 1, 1), 3753u / 2);
  EXPECT_EQ(presentationEndTime45(0, 4, 1), 15015u / 2);
  EXPECT_EQ(presentationEndTime45(1000, 30, 4), (1000u + 90090) / 2);
  EXPECT_EQ(presentationEndTime45(0, 25, 3), 45000u);
  EXPECT_EQ(presentationEndTime45(0, 50, 6), 45000u);
  EXPECT_EQ(presentationEndTime45(0, 24, 2), 45000u);
  EXPECT_EQ(presentationEndTime45(0, 60000, 7), 45045000u);
}

TEST(PresentationEndTime, CodesWithoutAPeriodGiveZero) {
  for (const int code : {-1, 0, 5, 8, 15}) EXPECT_EQ(presentationEndTime45(90000, 10, code), 0u) << code;
}

TEST(FrameRateRules, PulldownAdjustsTheRate) {
  EXPECT_EQ(effectiveFrameRateCode(6, Pulldown22), 3);
  EXPECT_EQ(effectiveFrameRateCode(7, Pulldown22), 4);
  EXPECT_EQ(effectiveFrameRateCode(4, Pulldown22), 4);
  EXPECT_EQ(effectiveFrameRateCode(4, Pulldown32), 1);
  EXPECT_EQ(effectiveFrameRateCode(7, Pulldown32), 1);
  EXPECT_EQ(effectiveFrameRateCode(6, Pulldown32), 6);
  EXPECT_EQ(effectiveFrameRateCode(7, PulldownNone), 7);
}

TEST(FrameRateRules, PicStructTable) {
  const int expected[] = {0, 0, 0, 1, 1, 2, 2, 1, 2};
  for (int p = 0; p < 9; ++p) EXPECT_EQ(pulldownOfPicStruct(p, true, 4), expected[p]) << p;
  EXPECT_EQ(pulldownOfPicStruct(9, true, 4), 0);
  EXPECT_EQ(pulldownOfPicStruct(5, false, 4), 0);
  EXPECT_EQ(pulldownOfPicStruct(5, true, 1), 0);
  EXPECT_EQ(pulldownOfPicStruct(5, true, 2), 0);
}

TEST(FrameRateRules, VuiTimingNamesTheRate) {
  EXPECT_EQ(frameRateCodeOfTiming(1001, 48000), 1);
  EXPECT_EQ(frameRateCodeOfTiming(1, 48), 2);
  EXPECT_EQ(frameRateCodeOfTiming(1, 50), 3);
  EXPECT_EQ(frameRateCodeOfTiming(1001, 60000), 4);
  EXPECT_EQ(frameRateCodeOfTiming(1, 100), 6);
  EXPECT_EQ(frameRateCodeOfTiming(1001, 120000), 7);
  EXPECT_EQ(frameRateCodeOfTiming(1, 60), 0);
  EXPECT_EQ(frameRateCodeOfTiming(0, 60000), 0);
}

TEST(ReferenceGroupOrder, BPicturesAreShownByPtsBeforeTheReference) {
  const auto picture = [](std::uint64_t pts, std::uint32_t tag) {
    GroupPicture p{pts, MetadataRecord::absent()};
    p.metadata.slots[0] = {true, tag};
    return p;
  };
  ReferenceGroup group;
  group.start(picture(900, 9));
  ASSERT_TRUE(group.addB(picture(600, 6)));
  ASSERT_TRUE(group.addB(picture(300, 3)));
  ASSERT_TRUE(group.addB(picture(450, 4)));
  EXPECT_FALSE(group.addB(picture(500, 5)));
  const auto shown = group.presentationOrder();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0]->slots[0].value, 3u);
  EXPECT_EQ(shown[1]->slots[0].value, 4u);
  EXPECT_EQ(shown[2]->slots[0].value, 6u);
  EXPECT_EQ(shown[3]->slots[0].value, 9u);
  EXPECT_EQ(group.startPts(), 600u);  // the B picture decoded first, tracked through the sort
  group.start(picture(1200, 12));
  EXPECT_EQ(group.startPts(), 1200u);
}

EntryPointRecord record(std::uint32_t newSequence, std::uint32_t spnStart, std::uint32_t start, std::uint32_t end) {
  EntryPointRecord r;
  r.NewSTCSequence = newSequence;
  r.SPNSTCStart = spnStart;
  r.SequenceStartTime = start;
  r.SequenceEndTime = end;
  return r;
}

TEST(StcSequenceForming, OpenerClosesThePreviousSequence) {
  StcSequenceBuilder builder;
  builder.add(record(1, 0, 100, 200));
  builder.add(record(0, 0, 100, 300));
  builder.add(record(1, 5000, 9000, 400));  // closes the first at 400
  builder.add(record(0, 5000, 9000, 9500));
  RecordingSummary summary;
  summary.lastSequenceEndTime = 9700;
  const std::vector<StcSequence> sequences = builder.finish(summary);
  ASSERT_EQ(sequences.size(), 2u);
  EXPECT_EQ(sequences[0], (StcSequence{0, 100, 400}));
  EXPECT_EQ(sequences[1], (StcSequence{5000, 9000, 9700}));
}

}  // namespace
