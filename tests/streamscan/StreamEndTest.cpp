// How a recording ends and what a damaged stretch leaves of it, on generated
// streams whose layout is known: a stream stopped cleanly keeps its last
// group however short, a cut one does not, a clip information file's count
// decides for the streams it counts, and packets that do not decode past the
// first entry point are skipped while the time line goes on.
#include <gtest/gtest.h>

#include "streamscan/StatusCodes.h"
#include "tests/streamscan/ScanFixture.h"

using namespace StreamScan;
using SampleGen::GeneratedStream;
using SampleGen::StreamParameters;

namespace {

enum class Recorded { Nothing, EveryGroup, AllButTheLast };
enum class Damage { None, InsideTheSecondGroup, FirstPacketOfTheThirdIPicture, OverTheThirdGroupsNewTimeLine };

struct EndScenario {
  const char* name;
  std::uint32_t groups = 4;
  std::uint32_t lastGroupLength = 0;
  bool lastPictureCut = false;
  Recorded recorded = Recorded::Nothing;
  Damage damage = Damage::None;
  std::vector<std::uint32_t> groupsWithEntryPoints;
  std::uint32_t sequencePictures = 0;  // pictures the STC sequence spans
  bool resumed = false;                // the scan goes on after the damage
};

const EndScenario kScenarios[] = {
    {"StoppedCleanlyAfterAShortLastGroup", 4, 7, false, Recorded::Nothing, Damage::None, {0, 1, 2, 3}, 52},
    {"CutInsideTheLastPicture", 4, 7, true, Recorded::Nothing, Damage::None, {0, 1, 2}, 45},
    {"CutButCountedWholeByItsClip", 4, 7, true, Recorded::EveryGroup, Damage::None, {0, 1, 2, 3}, 52},
    {"WholeButItsClipLeavesOutTheLastGroup", 4, 7, false, Recorded::AllButTheLast, Damage::None, {0, 1, 2}, 45},
    {"OneGroupStoppedCleanly", 1, 0, false, Recorded::Nothing, Damage::None, {}, 0},
    {"OneGroupCountedWholeByItsClip", 1, 0, false, Recorded::EveryGroup, Damage::None, {0}, 15},
    {"ZeroesInsideTheSecondGroup",
     4,
     0,
     false,
     Recorded::Nothing,
     Damage::InsideTheSecondGroup,
     {0, 1, 2, 3},
     60,
     true},
    {"ZeroesOverTheThirdIPicture",
     4,
     0,
     false,
     Recorded::Nothing,
     Damage::FirstPacketOfTheThirdIPicture,
     {0, 1, 3},
     60,
     true},
    {"ZeroesOverTheStartOfANewTimeLine",
     4,
     0,
     false,
     Recorded::Nothing,
     Damage::OverTheThirdGroupsNewTimeLine,
     {0, 1},
     0,
     false},
};

class StreamEnd : public ScanFixture, public ::testing::WithParamInterface<EndScenario> {};

// End time of `count` pictures from `startPts` at 29.97 frames, 45 kHz.
std::uint32_t endAt2997(std::uint64_t startPts, std::uint64_t count) {
  return static_cast<std::uint32_t>((startPts + count * 3003) / 2);
}

}  // namespace

TEST_P(StreamEnd, KeepsWhatTheRecordingHolds) {
  const EndScenario& s = GetParam();
  StreamParameters p;
  p.groups = s.groups;
  p.lastGroupLength = s.lastGroupLength;
  p.lastPictureCut = s.lastPictureCut;
  if (s.damage == Damage::OverTheThirdGroupsNewTimeLine) p.discontinuities = {{2, 9000000}};
  GeneratedStream layout;
  std::vector<std::uint8_t> bytes = SampleGen::streamBytes(p, &layout);
  const std::vector<SampleGen::GeneratedPicture> is = layout.iPictures();
  std::uint64_t first = 0, last = 0;  // the packets zeroed
  switch (s.damage) {
    case Damage::None:
      break;
    case Damage::InsideTheSecondGroup:
      first = is[1].spn + is[1].packetsToLastVideo + 20, last = first + 4;
      break;
    case Damage::FirstPacketOfTheThirdIPicture:
      first = last = is[2].spn;
      break;
    case Damage::OverTheThirdGroupsNewTimeLine:
      first = is[2].spn - 2, last = is[2].discontinuitySpn;
      break;
  }
  if (s.damage != Damage::None) std::fill(bytes.begin() + first * 192, bytes.begin() + (last + 1) * 192, 0);
  RecordedStream recorded;
  if (s.recorded != Recorded::Nothing) {
    recorded.packets = bytes.size() / 192;
    recorded.entryPoints = s.groups - (s.recorded == Recorded::AllButTheLast ? 1 : 0);
  }

  const ScanReport report = scanBytes(bytes, recorded);
  if (s.groupsWithEntryPoints.empty()) {
    EXPECT_EQ(report.status, Status::PictureNone);
    EXPECT_TRUE(report.entryPoints.empty());
    return;
  }
  ASSERT_EQ(report.status, Status::Success) << describeStatus(report.status);
  ASSERT_EQ(report.entryPoints.size(), s.groupsWithEntryPoints.size());
  for (std::size_t i = 0; i < s.groupsWithEntryPoints.size(); ++i) {
    EXPECT_EQ(report.entryPoints[i].SPN, is[s.groupsWithEntryPoints[i]].spn) << i;
    EXPECT_EQ(report.entryPoints[i].FineIndex, i);
  }
  ASSERT_EQ(report.stcSequences.size(), 1u);
  if (s.sequencePictures != 0) {
    EXPECT_EQ(report.stcSequences[0].PresentationEndTime, endAt2997(90000, s.sequencePictures));
  }
  EXPECT_EQ(report.summary.packets, bytes.size() / 192);
  if (s.damage == Damage::None) {
    EXPECT_EQ(report.summary.damagedCount, 0u);
    return;
  }
  ASSERT_EQ(report.summary.damagedCount, 1u);
  const DamagedStretch& stretch = report.summary.damaged[0];
  EXPECT_EQ(stretch.firstByte, first * 192);
  EXPECT_EQ(stretch.endByte, (last + 1) * 192);
  EXPECT_EQ(stretch.resumed, s.resumed);
  EXPECT_GE(stretch.ptsBefore, is[1].pts);
  EXPECT_LT(stretch.ptsBefore, is[2].pts);
  if (s.resumed) {
    EXPECT_EQ(stretch.ptsAfter, is[s.damage == Damage::InsideTheSecondGroup ? 2 : 3].pts);
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, StreamEnd, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });
