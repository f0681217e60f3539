// Source packets, program map and PES headers, decoded from crafted bytes,
// and the scanner's answers to broken files.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "streamscan/ProgramMap.h"
#include "streamscan/StatusCodes.h"
#include "streamscan/TransportPacket.h"
#include "streamscan/TsScanner.h"
#include "tests/streamscan/ScanFixture.h"

using namespace StreamScan;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::array<std::uint8_t, 192> sourcePacket(std::uint16_t pid, std::uint8_t control, const Bytes& rest) {
  std::array<std::uint8_t, 192> p{};
  p.fill(0xFF);
  p[0] = p[1] = p[2] = p[3] = 0;
  p[4] = 0x47;
  p[5] = static_cast<std::uint8_t>(0x40 | (pid >> 8));
  p[6] = static_cast<std::uint8_t>(pid);
  p[7] = control;
  std::copy(rest.begin(), rest.end(), p.begin() + 8);
  return p;
}

// pointer field, table id 2, section length, program 1, version, sections,
// PCR PID 0x1001, program info length, then the given stream loop and a CRC.
Bytes pmtPayload(const Bytes& streams, std::size_t sectionLengthOverride = 0) {
  const std::size_t sectionLength = sectionLengthOverride ? sectionLengthOverride : 9 + streams.size() + 4;
  Bytes b{0x00,
          0x02,
          static_cast<std::uint8_t>(0xB0 | (sectionLength >> 8)),
          static_cast<std::uint8_t>(sectionLength),
          0x00,
          0x01,
          0xC1,
          0x00,
          0x00,
          0xF0,
          0x01,
          0xF0,
          0x00};
  b.insert(b.end(), streams.begin(), streams.end());
  b.insert(b.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  return b;
}

// The entry is made at its full size and then filled: appending to a
// five-byte vector makes GCC 12 at -O3 see a copy past its end.
Bytes streamEntry(std::uint8_t type, std::uint16_t pid, const Bytes& info) {
  Bytes b(5 + info.size());
  b[0] = type;
  b[1] = static_cast<std::uint8_t>(0xE0 | (pid >> 8));
  b[2] = static_cast<std::uint8_t>(pid);
  b[3] = static_cast<std::uint8_t>(0xF0 | (info.size() >> 8));
  b[4] = static_cast<std::uint8_t>(info.size());
  std::copy(info.begin(), info.end(), b.begin() + 5);
  return b;
}

TEST(SourcePacket, DecodesHeaderAndAdaptationField) {
  auto p = sourcePacket(0x1001, 0x20, {183, 0x90});
  p[0] = 0xC1;  // copy permission 3, arrival time 0x01...
  TransportPacket t;
  ASSERT_EQ(decodeSourcePacket(p, t), Status::Success);
  EXPECT_EQ(t.copy_permission_indicator, 3);
  EXPECT_EQ(t.arrival_time_stamp, 0x01000000u);
  EXPECT_EQ(t.PID, 0x1001);
  EXPECT_TRUE(t.payload_unit_start_indicator);
  EXPECT_EQ(t.adaptation_field_control, 2);
  EXPECT_TRUE(t.discontinuity_indicator);
  EXPECT_FALSE(t.random_access_indicator);
  EXPECT_TRUE(t.payload.empty());
}

TEST(SourcePacket, WrongSyncByteIsAPacketSyntaxError) {
  auto p = sourcePacket(0x1011, 0x10, {});
  p[4] = 0x48;
  TransportPacket t;
  EXPECT_EQ(decodeSourcePacket(p, t), Status::PacketSyntax);
}

TEST(SourcePacket, AdaptationFieldPastThePacketIsTooLong) {
  const auto p = sourcePacket(0x1011, 0x30, {184});
  TransportPacket t;
  EXPECT_EQ(decodeSourcePacket(p, t), Status::PacketTooLong);
}

TEST(ProgramMapSection, DecodesStreamsAndDescriptors) {
  const Bytes video = streamEntry(0x1B, 0x1011, {0x05, 0x08, 'H', 'D', 'M', 'V', 0xFF, 0x1B, 0x64, 0x3F});
  const Bytes audio =
      streamEntry(0x81, 0x1100, {0x05, 0x08, 'H', 'D', 'M', 'V', 0xFF, 0x81, 0x61, 0xFF, 0x81, 0x03, 0x48, 0x30, 0x0F});
  Bytes loop = video;
  loop.insert(loop.end(), audio.begin(), audio.end());
  ProgramMap map;
  ASSERT_EQ(decodeProgramMap(pmtPayload(loop), map), Status::Success);
  EXPECT_TRUE(map.valid);
  EXPECT_EQ(map.table_id, 2);
  EXPECT_EQ(map.program_number, 1);
  EXPECT_EQ(map.PCR_PID, 0x1001);
  ASSERT_EQ(map.streamCount, 2u);
  const RegistrationDescriptor& v = map.streams[0].registration;
  EXPECT_EQ(v.format_identifier, 0x48444D56u);
  EXPECT_EQ(v.coding_type, 0x1B);
  EXPECT_EQ(v.video_format, 6);
  EXPECT_EQ(v.frame_rate, 4);
  EXPECT_EQ(v.aspect_ratio, 3);
  const ElementaryStreamEntry& a = map.streams[1];
  EXPECT_EQ(a.registration.audio_presentation_type, 6);
  EXPECT_EQ(a.registration.sampling_frequency, 1);
  EXPECT_EQ(a.ac3.sample_rate_code, 2);
  EXPECT_EQ(a.ac3.bsid, 8);
  EXPECT_EQ(a.ac3.bit_rate_code, 12);
  EXPECT_EQ(a.ac3.num_channels, 7);
  EXPECT_EQ(a.ac3.full_svc, 1);
}

TEST(ProgramMapSection, ShortRegistrationCarriesOnlyItsIdentifier) {
  ProgramMap map;
  ASSERT_EQ(decodeProgramMap(pmtPayload(streamEntry(0x1B, 0x1011, {0x05, 0x04, 'H', 'D', 'M', 'V'})), map),
            Status::Success);
  EXPECT_TRUE(map.streams[0].registration.present);
  EXPECT_FALSE(map.streams[0].registration.hasCodingType);
  EXPECT_EQ(map.streams[0].registration.frame_rate, 0);
}

TEST(ProgramMapSection, AbsurdSectionLengthIsTooLong) {
  ProgramMap map;
  EXPECT_EQ(decodeProgramMap(pmtPayload({}, 0xFFF), map), Status::PacketTooLong);
  EXPECT_FALSE(map.valid);
}

TEST(ProgramMapSection, FifthDescriptorOfAStreamIsTooMany) {
  // Five empty descriptors (tag 0x0A).
  Bytes info{0x0A, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x0A, 0x00};
  ProgramMap map;
  EXPECT_EQ(decodeProgramMap(pmtPayload(streamEntry(0x1B, 0x1011, info)), map), Status::PacketTooLong);
  info.resize(8);
  EXPECT_EQ(decodeProgramMap(pmtPayload(streamEntry(0x1B, 0x1011, info)), map), Status::Success);
}

TEST(ProgramMapSection, TenthStreamIsTooMany) {
  Bytes loop;
  for (int i = 0; i < 10; ++i) {
    const Bytes entry = streamEntry(0x81, static_cast<std::uint16_t>(0x1100 + i), {});
    loop.insert(loop.end(), entry.begin(), entry.end());
  }
  ProgramMap map;
  EXPECT_EQ(decodeProgramMap(pmtPayload(loop), map), Status::PacketTooLong);
  loop.resize(9 * 5);
  EXPECT_EQ(decodeProgramMap(pmtPayload(loop), map), Status::Success);
  EXPECT_EQ(map.streamCount, 9u);
}

TEST(ProgramMapSection, DescriptorRunningPastItsLoopIsTooLong) {
  ProgramMap map;
  EXPECT_EQ(decodeProgramMap(pmtPayload(streamEntry(0x1B, 0x1011, {0x05, 0x09, 1, 2, 3})), map), Status::PacketTooLong);
}

TEST(ProgramMapSection, PointerFieldPastThePayloadIsTooLong) {
  ProgramMap map;
  EXPECT_EQ(decodeProgramMap(Bytes{0xB7, 0x02}, map), Status::PacketTooLong);
  EXPECT_EQ(decodeProgramMap(Bytes{}, map), Status::PacketTooLong);
}

struct PesCase {
  const char* name;
  Bytes header;
  int status;
};

class VideoPesHeader : public ::testing::TestWithParam<PesCase> {};

TEST_P(VideoPesHeader, IsCheckedFieldByField) {
  PesHeader pes;
  EXPECT_EQ(decodeVideoPesHeader(GetParam().header, pes), GetParam().status) << GetParam().name;
}

// 00 00 01 E0 len len | 10.. flags | PTS_DTS_flags | header length | PTS (5) [DTS (5)]
INSTANTIATE_TEST_SUITE_P(
    Cases, VideoPesHeader,
    ::testing::Values(
        PesCase{"pts", {0, 0, 1, 0xE0, 0, 0, 0x84, 0x80, 5, 0x21, 0, 1, 0, 1}, Status::Success},
        PesCase{
            "pts and dts", {0, 0, 1, 0xE0, 0, 0, 0x84, 0xC0, 10, 0x31, 0, 1, 0, 1, 0x11, 0, 1, 0, 1}, Status::Success},
        PesCase{"start code", {0, 0, 2, 0xE0, 0, 0, 0x84, 0x80, 5, 0x21, 0, 1, 0, 1}, Status::PacketSyntax},
        PesCase{"audio stream id", {0, 0, 1, 0xC0, 0, 0, 0x84, 0x80, 5, 0x21, 0, 1, 0, 1}, Status::PacketSyntax},
        PesCase{"marker 01", {0, 0, 1, 0xE0, 0, 0, 0x44, 0x80, 5, 0x21, 0, 1, 0, 1}, Status::PacketSyntax},
        PesCase{"only dts flag", {0, 0, 1, 0xE0, 0, 0, 0x84, 0x40, 5, 0x21, 0, 1, 0, 1}, Status::PacketSyntax},
        PesCase{"no pts", {0, 0, 1, 0xE0, 0, 0, 0x84, 0x00, 0}, Status::PacketSyntax},
        PesCase{"pts marker", {0, 0, 1, 0xE0, 0, 0, 0x84, 0x80, 5, 0x21, 0, 0, 0, 1}, Status::PacketSyntax},
        PesCase{"dts marker",
                {0, 0, 1, 0xE0, 0, 0, 0x84, 0xC0, 10, 0x31, 0, 1, 0, 1, 0x11, 0, 1, 0, 0},
                Status::PacketSyntax},
        PesCase{"header longer than packet",
                {0, 0, 1, 0xE0, 0, 0, 0x84, 0x80, 200, 0x21, 0, 1, 0, 1},
                Status::PacketTooLong},
        PesCase{"truncated", {0, 0, 1, 0xE0, 0}, Status::PacketTooLong}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST(VideoPesHeaderValues, PtsAndDtsAreDecoded) {
  // PTS 0x1_2345_6789 (all 33 bits in use) and DTS 1.
  const Bytes header{0, 0, 1, 0xE0, 0, 0, 0x84, 0xC0, 10, 0x39, 0x8D, 0x15, 0xCF, 0x13, 0x11, 0, 1, 0, 3, 0xAB};
  PesHeader pes;
  ASSERT_EQ(decodeVideoPesHeader(header, pes), Status::Success);
  EXPECT_EQ(pes.pts, 0x123456789u);
  EXPECT_TRUE(pes.hasDts);
  EXPECT_EQ(pes.dts, 1u);
  EXPECT_EQ(pes.payloadOffset, 19u);
}

class BrokenFiles : public ScanFixture {};

TEST_F(BrokenFiles, EmptyFileFailsOpenAsUnreadable) {
  writeFile(file("empty.m2ts"), {});
  TsScanner scanner;
  EXPECT_EQ(scanner.open(file("empty.m2ts")), Status::FileCannotRead);
}

TEST_F(BrokenFiles, MissingFileCannotBeOpened) {
  TsScanner scanner;
  EXPECT_EQ(scanner.open(file("missing.m2ts")), Status::FileCannotOpen);
  EXPECT_EQ(scanner.open(""), Status::MissingArgument);
}

TEST_F(BrokenFiles, ScannerWithoutAFileAnswersNoFileOpen) {
  TsScanner scanner;
  EntryPointRecord record;
  bool end = false;
  EXPECT_EQ(scanner.nextEntryPoint(record, end), -1);
  EXPECT_EQ(scanner.lastStatus(), Status::NoFileOpen);
  EXPECT_EQ(scanner.findProgramMap(), Status::NoFileOpen);
}

TEST_F(BrokenFiles, CloseWithoutSummaryOutputFails) {
  SampleGen::writeStream(SampleGen::StreamParameters{}, file("s.m2ts"));
  TsScanner scanner;
  ASSERT_EQ(scanner.open(file("s.m2ts")), Status::Success);
  EXPECT_EQ(scanner.closeAndFetchSummary(nullptr), Status::PictureMissingArgument);
}

TEST_F(BrokenFiles, WrongSyncByteBeforeTheFirstEntryPointEndsTheScan) {
  std::vector<std::uint8_t> bytes = SampleGen::streamBytes(SampleGen::StreamParameters{});
  // Inside the first group: no entry point has been handed out yet. Later
  // damage is skipped (StreamEndTest).
  bytes[300 * 192 + 4] = 0x46;
  const ScanReport report = scanBytes(bytes);
  EXPECT_EQ(report.status, Status::PacketSyntax);
  EXPECT_TRUE(report.entryPoints.empty());
}

TEST_F(BrokenFiles, StreamWithoutProgramMapFailsAtTheFirstEntryPoint) {
  std::vector<std::uint8_t> bytes = SampleGen::streamBytes(SampleGen::StreamParameters{});
  for (std::size_t at = 0; at < bytes.size(); at += 192) {
    if (((bytes[at + 5] & 0x1F) << 8 | bytes[at + 6]) == 0x0100)
      bytes[at + 5] = static_cast<std::uint8_t>((bytes[at + 5] & 0xE0) | 0x1F), bytes[at + 6] = 0xFF;
  }
  writeFile(file("nopmt.m2ts"), bytes);
  TsScanner scanner;
  ASSERT_EQ(scanner.open(file("nopmt.m2ts")), Status::Success);
  EXPECT_EQ(scanner.findProgramMap(), Status::FileCannotRead);
  EXPECT_EQ(scanStreamFile(file("nopmt.m2ts")).status, Status::PictureUnsupported);
}

TEST_F(BrokenFiles, UnitStartLongerThanTheBufferFails) {
  SampleGen::StreamParameters p;
  for (int i = 0; i < 900; ++i) p.extraMdpmEntries.emplace_back(0x70, 0x11111111);
  EXPECT_EQ(generateAndScan(p).status, Status::PesBufferOverflow);
}

TEST_F(BrokenFiles, TwentyTwoSeiMessagesInAUnitFail) {
  SampleGen::StreamParameters p;
  p.extraSeiMessages = 19;  // with picture timing and MDPM: 21
  EXPECT_EQ(generateAndScan(p).status, Status::Success);
  p.extraSeiMessages = 20;
  EXPECT_EQ(generateAndScan(p).status, Status::NalTooManySei);
}

TEST_F(BrokenFiles, GarbageEndsInAStatusCode) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> bytes(192 * 64);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  EXPECT_EQ(scanBytes(bytes).status, Status::PacketSyntax);
  for (std::size_t at = 4; at < bytes.size(); at += 192)
    bytes[at] = 0x47;  // now every packet is in sync, the rest random
  const ScanReport report = scanBytes(bytes);
  EXPECT_TRUE(report.entryPoints.empty());
}

TEST_F(BrokenFiles, FindProgramMapRewindsToTheStart) {
  const auto layout = SampleGen::writeStream(SampleGen::StreamParameters{}, file("s.m2ts"));
  TsScanner scanner;
  ASSERT_EQ(scanner.open(file("s.m2ts")), Status::Success);
  ASSERT_EQ(scanner.findProgramMap(), Status::Success);
  EntryPointRecord record;
  bool end = false;
  // The first group is complete once the second I picture's unit has ended,
  // which the first packet of the picture after it shows.
  const std::int64_t packets = static_cast<std::int64_t>(layout.pictures[16].spn) + 1;
  EXPECT_EQ(scanner.nextEntryPoint(record, end), packets * 192);
  EXPECT_EQ(record.SPN, 3u);
}

TEST_F(BrokenFiles, TwoScannersScanTwoStreamsSideBySide) {
  SampleGen::StreamParameters a;
  SampleGen::StreamParameters b;
  b.groups = 6;
  b.firstPts = 7000000;
  SampleGen::writeStream(a, file("a.m2ts"));
  SampleGen::writeStream(b, file("b.m2ts"));
  const ScanReport alone = scanStreamFile(file("b.m2ts"));
  TsScanner first;
  TsScanner second;
  ASSERT_EQ(first.open(file("a.m2ts")), Status::Success);
  ASSERT_EQ(second.open(file("b.m2ts")), Status::Success);
  std::vector<EntryPointRecord> fromSecond;
  bool endFirst = false;
  bool endSecond = false;
  while (!endSecond) {
    EntryPointRecord record;
    if (!endFirst) {
      ASSERT_GE(first.nextEntryPoint(record, endFirst), 0);
    }
    ASSERT_GE(second.nextEntryPoint(record, endSecond), 0);
    if (!endSecond) fromSecond.push_back(record);
  }
  EXPECT_EQ(fromSecond, alone.entryPoints);
}

}  // namespace
