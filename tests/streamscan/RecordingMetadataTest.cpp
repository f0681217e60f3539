// Metadata records, time code modes, pulldown classes and stream attributes
// of generated streams.
#include <gtest/gtest.h>

#include "streamscan/FrameRate.h"
#include "streamscan/StatusCodes.h"
#include "streamscan/TimeCode.h"
#include "tests/streamscan/ScanFixture.h"

using namespace StreamScan;
using SampleGen::StreamParameters;

namespace {

class MetadataRecords : public ScanFixture {};
class TimeCodeModes : public ScanFixture {};
class PulldownClasses : public ScanFixture {};
class StreamAttributes : public ScanFixture {};

constexpr std::uint32_t OneHour = 0x00000001;  // 01:00:00:00

TEST_F(MetadataRecords, FirstAndLatestRecordsCarryEverySlot) {
  StreamParameters p;
  p.binaryGroup = 0x0BADCAFE;
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.status, Status::Success);
  const RecordingSummary& r = report.summary.recording;
  ASSERT_TRUE(r.haveFirstRecords);
  ASSERT_TRUE(r.haveLatestRecord);
  for (const MetadataRecord* record : {&r.firstRecord, &r.secondRecord, &r.latestRecord}) {
    EXPECT_EQ((*record)[MetadataRecord::BinaryGroup], (MetadataSlot{true, 0x0BADCAFE}));
    EXPECT_EQ((*record)[MetadataRecord::TimeZoneAndDate], (MetadataSlot{true, 0x12202405}));
    EXPECT_EQ((*record)[MetadataRecord::DateTail], (MetadataSlot{true, 0x17134530}));
    for (unsigned i = 0; i < 10; ++i)
      EXPECT_EQ((*record)[MetadataRecord::FirstRecordingParameter + i].value, p.recordingParameters[i]);
    EXPECT_EQ((*record)[MetadataRecord::MakerValue], (MetadataSlot{true, 0x01020304}));
    EXPECT_FALSE((*record)[MetadataRecord::Channel3d].valid);
  }
  EXPECT_EQ(r.firstRecord[MetadataRecord::TimeCode], (MetadataSlot{true, OneHour}));
  EXPECT_EQ(r.secondRecord[MetadataRecord::TimeCode], (MetadataSlot{true, OneHour}));
  // The latest group's last picture shown is the 60th: 01:00:01:29.
  EXPECT_EQ(r.latestRecord[MetadataRecord::TimeCode], (MetadataSlot{true, 0x29010001}));
}

TEST_F(MetadataRecords, ThreeDChannelValueIsTakenFromTheAnnouncedTag) {
  StreamParameters p;
  p.channel3d = 0x11000002;
  const RecordingSummary r = generateAndScan(p).summary.recording;
  EXPECT_EQ(r.firstRecord[MetadataRecord::Channel3d], (MetadataSlot{true, 0x11000002}));
  EXPECT_EQ(r.latestRecord[MetadataRecord::Channel3d], (MetadataSlot{true, 0x11000002}));
}

TEST_F(MetadataRecords, ThreeDValueWithoutItsMarkerByteIsAbsent) {
  StreamParameters p;
  p.channel3d = 0x12000002;
  const RecordingSummary r = generateAndScan(p).summary.recording;
  EXPECT_FALSE(r.latestRecord[MetadataRecord::Channel3d].valid);
  EXPECT_EQ(r.latestRecord[MetadataRecord::Channel3d].value, 0xFFFFFFFFu);
}

TEST_F(MetadataRecords, ValuesNeedingEmulationPreventionDecodeIntact) {
  StreamParameters p;
  // Each of these puts a 0x03 into the byte stream inside an entry.
  p.recordingParameters = {0x00000001, 0x00000000, 0x12000003, 0x00000300, 0x00000002,
                           0x00030000, 0x7F000001, 0x00000103, 0x10000000, 0x00000003};
  p.binaryGroup = 0x00000000;
  const RecordingSummary r = generateAndScan(p).summary.recording;
  for (unsigned i = 0; i < 10; ++i)
    EXPECT_EQ(r.latestRecord[MetadataRecord::FirstRecordingParameter + i],
              (MetadataSlot{true, p.recordingParameters[i]}))
        << i;
  EXPECT_EQ(r.latestRecord[MetadataRecord::MakerValue].value, 0x01020304u);
}

TEST_F(MetadataRecords, StreamWithoutMdpmHasAbsentRecordsAndNoTC) {
  StreamParameters p;
  p.mdpm = false;
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  EXPECT_EQ(report.summary.recording.firstRecord, MetadataRecord::absent());
  EXPECT_EQ(report.summary.recording.timeCodeMode, TimeCodeNoTC);
}

TEST_F(TimeCodeModes, ContinuousTimeCodesAreIncrement) {
  EXPECT_EQ(generateAndScan(StreamParameters{}).summary.recording.timeCodeMode, TimeCodeIncrement);
}

TEST_F(TimeCodeModes, GapInTheTimeCodesIsUnIncrement) {
  StreamParameters p;
  p.timeCodeGaps = {{37, 5}};
  EXPECT_EQ(generateAndScan(p).summary.recording.timeCodeMode, TimeCodeUnIncrement);
}

TEST_F(TimeCodeModes, GapInACutLastGroupIsNotCounted) {
  StreamParameters p;
  p.lastPictureCut = true;
  p.lastGroupLength = 7;
  p.timeCodeGaps = {{48, 5}};
  EXPECT_EQ(generateAndScan(p).summary.recording.timeCodeMode, TimeCodeIncrement);
}

TEST_F(TimeCodeModes, MissingTimeCodesAreNoTC) {
  StreamParameters p;
  p.timeCodes = false;
  EXPECT_EQ(generateAndScan(p).summary.recording.timeCodeMode, TimeCodeNoTC);
}

TEST_F(TimeCodeModes, DropFrameAcrossMinutesIsIncrement) {
  StreamParameters p;
  p.startTimeCode = {0, 0, 59, 0, true};
  p.groups = 8;
  const ScanReport report = generateAndScan(p);
  EXPECT_EQ(report.summary.recording.timeCodeMode, TimeCodeIncrement);
  // 120 pictures from 00:00:59;00 end at 00:01:03;01: frames 00 and 01 of minute 1 are skipped.
  EXPECT_EQ(report.summary.recording.latestRecord[MetadataRecord::TimeCode].value, 0x41030100u);
}

TEST_F(TimeCodeModes, FiftyFramesCountOneTimeCodeFramePerTwoPictures) {
  StreamParameters p;
  p.frameRateCode = 6;
  p.interlaced = false;
  p.gopLength = 24;
  const ScanReport report = generateAndScan(p);
  EXPECT_EQ(report.summary.recording.pulldown, PulldownNone);
  EXPECT_EQ(report.summary.recording.timeCodeMode, TimeCodeIncrement);
  // 96 pictures at 50 frames are 48 time code frames: the last shows 01:00:01:22.
  EXPECT_EQ(report.summary.recording.latestRecord[MetadataRecord::TimeCode].value, 0x22010001u);
}

TEST_F(TimeCodeModes, SixtyFramesWithDropFrameAreIncrement) {
  StreamParameters p;
  p.frameRateCode = 7;
  p.interlaced = false;
  p.startTimeCode = {0, 9, 59, 20, true};
  p.groups = 6;
  EXPECT_EQ(generateAndScan(p).summary.recording.timeCodeMode, TimeCodeIncrement);
}

TEST_F(PulldownClasses, InterlacedFieldPairsAreClassOneAtTheStatedRate) {
  const ScanReport report = generateAndScan(StreamParameters{});
  EXPECT_EQ(report.summary.recording.pulldown, Pulldown22);
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, (90000u + 60 * 3003) / 2);
}

TEST_F(PulldownClasses, ProgressiveFramesHaveNone) {
  StreamParameters p;
  p.frameRateCode = 7;
  p.interlaced = false;
  EXPECT_EQ(generateAndScan(p).summary.recording.pulldown, PulldownNone);
}

TEST_F(PulldownClasses, FieldPairsOn50FramesAreTimedAs25) {
  StreamParameters p;
  p.frameRateCode = 6;
  p.interlaced = false;
  p.pulldown = Pulldown22;
  const ScanReport report = generateAndScan(p);
  EXPECT_EQ(report.summary.recording.pulldown, Pulldown22);
  EXPECT_EQ(report.summary.recording.timeCodeMode, TimeCodeIncrement);
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, (90000u + 60 * 3600) / 2);
}

TEST_F(PulldownClasses, ThreeTwoOver60FieldsIsClassTwoTimedAsFilm) {
  StreamParameters p;
  p.pulldown = Pulldown32;
  const ScanReport report = generateAndScan(p);
  EXPECT_EQ(report.summary.recording.pulldown, Pulldown32);
  EXPECT_EQ(report.summary.recording.timeCodeMode, TimeCodeIncrement);
  EXPECT_EQ(report.stcSequences[0].PresentationEndTime, (90000u + 225225) / 2);
}

TEST_F(PulldownClasses, FilmRatesIgnorePicStruct) {
  StreamParameters p;
  p.frameRateCode = 2;
  p.interlaced = true;  // pic_struct 3 on every picture
  EXPECT_EQ(generateAndScan(p).summary.recording.pulldown, PulldownNone);
}

TEST_F(StreamAttributes, RegistrationDescriptorsGiveTheCodingAttributes) {
  const StreamSummary s = generateAndScan(StreamParameters{}).summary;
  const StreamInfo& video = s.streams[StreamSummary::VideoSlot];
  EXPECT_TRUE(video.present);
  EXPECT_EQ(video.PID, 0x1011);
  EXPECT_EQ(video.stream_type, 0x1B);
  EXPECT_EQ(video.video_format, 4);
  EXPECT_EQ(video.frame_rate, 4);
  EXPECT_EQ(video.aspect_ratio, 3);
  EXPECT_FALSE(s.video.attributesFromSps);
  const StreamInfo& audio = s.streams[1];
  EXPECT_TRUE(audio.present);
  EXPECT_EQ(audio.stream_type, 0x81);
  EXPECT_EQ(audio.audio_presentation_type, 3);
  EXPECT_EQ(audio.sampling_frequency, 1);
  EXPECT_TRUE(audio.ac3.present);
  EXPECT_EQ(audio.ac3.bsid, 8);
  EXPECT_EQ(audio.ac3.num_channels, 2);
  for (unsigned slot = 2; slot < StreamSummary::StreamSlots; ++slot) EXPECT_FALSE(s.streams[slot].present) << slot;
  EXPECT_EQ(s.video.HorizontalSize, 1);
  EXPECT_EQ(s.video.profile_idc, 100);
  EXPECT_EQ(s.video.level_idc, 40);
}

TEST_F(StreamAttributes, LpcmAudioIsListedWithItsAttributes) {
  StreamParameters p;
  p.audio = SampleGen::AudioKind::Lpcm;
  const StreamInfo audio = generateAndScan(p).summary.streams[1];
  EXPECT_EQ(audio.stream_type, 0x80);
  EXPECT_EQ(audio.audio_presentation_type, 3);
  EXPECT_EQ(audio.sampling_frequency, 1);
  EXPECT_FALSE(audio.ac3.present);
}

TEST_F(StreamAttributes, WithoutRegistrationTheSequenceParameterSetGivesThem) {
  StreamParameters p;
  p.registrationDescriptors = false;
  p.frameRateCode = 7;
  p.width = 1280;
  p.height = 720;
  p.interlaced = false;
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.entryPoints.size(), 4u);
  const StreamInfo& video = report.summary.streams[StreamSummary::VideoSlot];
  EXPECT_EQ(video.video_format, 5);
  EXPECT_EQ(video.frame_rate, 7);
  EXPECT_EQ(video.aspect_ratio, 3);
  EXPECT_TRUE(report.summary.video.attributesFromSps);
  EXPECT_EQ(report.summary.video.HorizontalSize, 3);
}

struct WidthCase {
  std::uint32_t width;
  std::uint32_t height;
  std::uint8_t sizeClass;
};

class PictureWidths : public ScanFixture, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(PictureWidths, GiveTheirHorizontalSizeClass) {
  StreamParameters p;
  p.width = GetParam().width;
  p.height = GetParam().height;
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.status, Status::Success);
  EXPECT_EQ(report.summary.video.HorizontalSize, GetParam().sizeClass);
}

INSTANTIATE_TEST_SUITE_P(Supported, PictureWidths,
                         ::testing::Values(WidthCase{1920, 1080, 1}, WidthCase{1440, 1080, 2}, WidthCase{1280, 720, 3},
                                           WidthCase{720, 480, 4}));

TEST_F(StreamAttributes, WidthOf960FailsAtTheFirstEntryPoint) {
  StreamParameters p;
  p.width = 960;
  const ScanReport report = generateAndScan(p);
  EXPECT_EQ(report.status, Status::PictureUnsupported);
  EXPECT_TRUE(report.entryPoints.empty());
}

TEST_F(StreamAttributes, UnknownPidBeforeTheRecordingsStreamsFails) {
  StreamParameters p;
  p.leadingStreams = {{0x1500, 0x06}};
  EXPECT_EQ(generateAndScan(p).status, Status::PictureUnsupported);
}

TEST_F(StreamAttributes, UnknownPidAfterTheRecordingsStreamsIsIgnored) {
  StreamParameters p;
  p.trailingStreams = {{0x1500, 0x06}, {0x1200, 0x90}};
  const ScanReport report = generateAndScan(p);
  ASSERT_EQ(report.status, Status::Success);
  EXPECT_EQ(report.entryPoints.size(), 4u);
  EXPECT_FALSE(report.summary.streams[5].present);  // listed only after the unknown PID
}

TEST_F(StreamAttributes, GraphicsStreamsAreListed) {
  StreamParameters p;
  p.trailingStreams = {{0x1200, 0x90}, {0x1401, 0x91}};
  const StreamSummary s = generateAndScan(p).summary;
  EXPECT_EQ(s.streams[5].stream_type, 0x90);
  EXPECT_EQ(s.streams[8].stream_type, 0x91);
  EXPECT_EQ(s.streams[8].PID, 0x1401);
}

TEST_F(StreamAttributes, FrameRateCodeWithoutAPeriodFails) {
  StreamParameters p;
  p.frameRateCode = 5;
  EXPECT_EQ(generateAndScan(p).status, Status::PictureUnsupported);
}

}  // namespace
