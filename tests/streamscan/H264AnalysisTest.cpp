// Sequence parameter sets, SEI messages, MDPM and the NAL walk of one access
// unit's start, on syntax written by the test support writer.
#include <gtest/gtest.h>

#include "samplegen/BitWriter.h"
#include "samplegen/H264Writer.h"
#include "streamscan/Mdpm.h"
#include "streamscan/NalAnalyzer.h"
#include "streamscan/SeiMessages.h"
#include "streamscan/StatusCodes.h"

using namespace StreamScan;
using SampleGen::SpsSettings;

namespace {

using Bytes = std::vector<std::uint8_t>;

int parseSps(const Bytes& rbsp, SequenceParameterSet& sps) { return parseSequenceParameterSet(rbsp, sps); }

// AUD, SPS, SEI and an IDR slice header: one access unit start.
Bytes accessUnit(const SpsSettings& sps, const std::vector<SampleGen::SeiMessage>& sei, int primary_pic_type = 0) {
  Bytes es;
  SampleGen::appendNalUnit(es, 0x09, SampleGen::accessUnitDelimiterRbsp(primary_pic_type), true);
  SampleGen::appendNalUnit(es, 0x67, SampleGen::sequenceParameterSetRbsp(sps));
  if (!sei.empty()) SampleGen::appendNalUnit(es, 0x06, SampleGen::seiRbsp(sei));
  es.insert(es.end(), {0, 0, 1, 0x65, 0x88, 0x84});
  return es;
}

TEST(SequenceParameterSetSyntax, HighProfileWithScalingListsAndBothHrds) {
  SpsSettings s;
  s.scalingMatrix = true;
  s.interlaced = true;
  s.vclHrd = true;
  s.cpbRemovalDelayLength = 18;
  s.dpbOutputDelayLength = 7;
  s.constraint_set1_flag = true;
  s.level_idc = 41;
  SequenceParameterSet sps;
  ASSERT_EQ(parseSps(SampleGen::sequenceParameterSetRbsp(s), sps), Status::Success);
  EXPECT_EQ(sps.profile_idc, 100);
  EXPECT_TRUE(sps.constraint_set1_flag);
  EXPECT_FALSE(sps.constraint_set0_flag);
  EXPECT_EQ(sps.level_idc, 41);
  EXPECT_TRUE(sps.seq_scaling_matrix_present_flag);
  EXPECT_EQ(sps.width(), 1920u);
  EXPECT_EQ(sps.croppedHeight(), 1080u);
  EXPECT_FALSE(sps.frame_mbs_only_flag);
  EXPECT_TRUE(sps.vui.nal_hrd.present);
  EXPECT_TRUE(sps.vui.vcl_hrd.present);
  EXPECT_TRUE(sps.vui.pic_struct_present_flag);
  EXPECT_EQ(sps.cpbRemovalDelayLength(), 18u);
  EXPECT_EQ(sps.dpbOutputDelayLength(), 7u);
  EXPECT_EQ(sps.vui.time_scale, 60000u);
  EXPECT_EQ(sps.vui.max_dec_frame_buffering, 4u);
}

TEST(SequenceParameterSetSyntax, VclHrdAloneGivesTheDelayLengths) {
  SpsSettings s;
  s.nalHrd = false;
  s.vclHrd = true;
  s.cpbRemovalDelayLength = 5;
  s.dpbOutputDelayLength = 32;
  SequenceParameterSet sps;
  ASSERT_EQ(parseSps(SampleGen::sequenceParameterSetRbsp(s), sps), Status::Success);
  EXPECT_TRUE(sps.cpbDpbDelaysPresent());
  EXPECT_EQ(sps.cpbRemovalDelayLength(), 5u);
  EXPECT_EQ(sps.dpbOutputDelayLength(), 32u);
}

TEST(SequenceParameterSetSyntax, MainProfileWithPicOrderCountType1) {
  SpsSettings s;
  s.profile_idc = 77;
  s.pic_order_cnt_type = 1;
  s.width = 1440;
  s.aspect_ratio_idc = 255;
  s.nalHrd = false;
  SequenceParameterSet sps;
  ASSERT_EQ(parseSps(SampleGen::sequenceParameterSetRbsp(s), sps), Status::Success);
  EXPECT_EQ(sps.profile_idc, 77);
  EXPECT_EQ(sps.pic_order_cnt_type, 1u);
  EXPECT_EQ(sps.num_ref_frames_in_pic_order_cnt_cycle, 3u);
  EXPECT_EQ(sps.width(), 1440u);
  EXPECT_EQ(sps.vui.aspect_ratio_idc, 255);
  EXPECT_FALSE(sps.cpbDpbDelaysPresent());
}

TEST(SequenceParameterSetSyntax, TruncatedSetIsRejected) {
  Bytes rbsp = SampleGen::sequenceParameterSetRbsp(SpsSettings{});
  SequenceParameterSet sps;
  for (std::size_t length = 0; length + 1 < rbsp.size(); ++length) {
    Bytes cut(rbsp.begin(), rbsp.begin() + static_cast<std::ptrdiff_t>(length));
    cut.push_back(0x80);  // a stop bit right after the cut
    EXPECT_EQ(parseSps(cut, sps), Status::NalBadParameterSet) << length;
  }
}

// profile_idc, flags, level, then the given Exp-Golomb fields.
Bytes spsPrefix(std::uint8_t profile, const std::vector<std::uint32_t>& ues) {
  SampleGen::BitWriter w;
  w.bits(profile, 8);
  w.bits(0, 8);
  w.bits(40, 8);
  for (const std::uint32_t v : ues) w.ue(v);
  w.bits(0xFFFF, 16);  // enough flags for what might follow
  w.trailingBits();
  return w.bytes();
}

TEST(SequenceParameterSetSyntax, OutOfRangeFieldsAreRejected) {
  SequenceParameterSet sps;
  EXPECT_EQ(parseSps(spsPrefix(66, {32}), sps), Status::NalBadParameterSet);              // seq_parameter_set_id
  EXPECT_EQ(parseSps(spsPrefix(100, {0, 4}), sps), Status::NalBadParameterSet);           // chroma_format_idc
  EXPECT_EQ(parseSps(spsPrefix(100, {0, 1, 7, 0}), sps), Status::NalBadParameterSet);     // bit depth
  EXPECT_EQ(parseSps(spsPrefix(66, {0, 13}), sps), Status::NalBadParameterSet);           // log2_max_frame_num_minus4
  EXPECT_EQ(parseSps(spsPrefix(66, {0, 0, 3}), sps), Status::NalBadParameterSet);         // pic_order_cnt_type
  EXPECT_EQ(parseSps(spsPrefix(66, {0, 0, 0, 13}), sps), Status::NalBadParameterSet);     // poc lsb length
  EXPECT_EQ(parseSps(spsPrefix(66, {0, 0, 0, 0, 17}), sps), Status::NalBadParameterSet);  // max_num_ref_frames
  EXPECT_EQ(parseSps(spsPrefix(66, {0, 0, 0, 0, 4, 0xFFFFFF}), sps), Status::NalBadParameterSet);  // width
}

TEST(SequenceParameterSetSyntax, HugeCountsAreRejectedBeforeLooping) {
  SampleGen::BitWriter w;
  w.bits(66, 8);
  w.bits(0, 8);
  w.bits(40, 8);
  w.ue(0);  // id
  w.ue(0);  // log2_max_frame_num_minus4
  w.ue(1);  // pic_order_cnt_type 1
  w.flag(false);
  w.se(0);
  w.se(0);
  w.ue(4000000000);  // num_ref_frames_in_pic_order_cnt_cycle
  w.trailingBits();
  SequenceParameterSet sps;
  EXPECT_EQ(parseSps(w.bytes(), sps), Status::NalBadParameterSet);
}

TEST(SequenceParameterSetSyntax, AllZeroPayloadIsLoggedAndRejected) {
  std::vector<std::pair<int, std::string>> lines;
  NalAnalyzer analyzer([&lines](int level, const std::string& line) { lines.emplace_back(level, line); });
  const Bytes unit{0, 0, 0, 1, 0x09, 0x10, 0, 0, 1, 0x67, 0, 0, 1, 0x65, 0x88};
  AccessUnitAnalysis analysis;
  EXPECT_EQ(analyzer.analyze(unit, analysis), Status::NalBadParameterSet);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].first, 6);
  EXPECT_EQ(lines[0].second, " Panic: All zero data sequence in RBSP \n");
}

TEST(AccessUnitStart, DelimiterParameterSetAndSliceAreRead) {
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  ASSERT_EQ(analyzer.analyze(accessUnit(SpsSettings{}, {}, 2), analysis), Status::Success);
  EXPECT_EQ(analysis.primary_pic_type, 2);
  EXPECT_TRUE(analysis.idr);
  ASSERT_NE(analyzer.currentSps(), nullptr);
  EXPECT_EQ(analyzer.currentSps()->width(), 1920u);
}

TEST(AccessUnitStart, NonIdrSliceRecordsItsReferenceIdc) {
  Bytes es;
  SampleGen::appendNalUnit(es, 0x09, SampleGen::accessUnitDelimiterRbsp(1), true);
  es.insert(es.end(), {0, 0, 1, 0x41, 0x9A});
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  ASSERT_EQ(analyzer.analyze(es, analysis), Status::Success);
  EXPECT_EQ(analysis.nal_ref_idc, 2);
  EXPECT_FALSE(analysis.idr);
}

TEST(AccessUnitStart, EndingBeforeTheFirstSliceNeedsMoreBytes) {
  const Bytes whole = accessUnit(SpsSettings{}, {{5, SampleGen::mdpmPayload({{0x13, 1}})}});
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  // Up to and including the slice's start code the slice header byte is missing.
  for (std::size_t length = 0; length < whole.size() - 2; ++length) {
    const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(analyzer.analyze(part, analysis), Status::UnitContinues) << length;
  }
  EXPECT_EQ(analyzer.analyze(whole, analysis), Status::Success);
}

TEST(AccessUnitStart, ForbiddenBitIsASyntaxError) {
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  EXPECT_EQ(analyzer.analyze(Bytes{0, 0, 1, 0x89, 0x10, 0, 0, 1, 0x65}, analysis), Status::NalSyntax);
  EXPECT_EQ(analyzer.analyze(Bytes{0, 0, 1, 0x09, 0x10, 0, 0, 1, 0xE5}, analysis), Status::NalSyntax);
}

TEST(AccessUnitStart, MoreThanTheBufferIsAnOverflow) {
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  EXPECT_EQ(analyzer.analyze(Bytes(NalAnalyzer::MaxCollectedBytes + 1, 0x11), analysis), Status::PesBufferOverflow);
}

TEST(SeiSyntax, PictureTimingGivesPicStructAfterTheHrdDelays) {
  SpsSettings s;
  s.cpbRemovalDelayLength = 9;
  s.dpbOutputDelayLength = 13;
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  ASSERT_EQ(analyzer.analyze(accessUnit(s, {{1, SampleGen::picTimingPayload(s, 6)}}), analysis), Status::Success);
  EXPECT_EQ(analysis.pic_struct, 6);
  ASSERT_EQ(analysis.seiCount, 1u);
  EXPECT_EQ(analysis.sei[0].payloadType, 1u);
}

TEST(SeiSyntax, PictureTimingBeforeAnyParameterSetIsSkipped) {
  SpsSettings s;
  Bytes es;
  SampleGen::appendNalUnit(es, 0x09, SampleGen::accessUnitDelimiterRbsp(0), true);
  SampleGen::appendNalUnit(es, 0x06, SampleGen::seiRbsp({{1, SampleGen::picTimingPayload(s, 3)}}));
  es.insert(es.end(), {0, 0, 1, 0x65, 0x88});
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  ASSERT_EQ(analyzer.analyze(es, analysis), Status::Success);
  EXPECT_EQ(analysis.pic_struct, -1);
}

TEST(SeiSyntax, TwentyTwoMessagesAreTooMany) {
  std::vector<SampleGen::SeiMessage> messages(21, SampleGen::SeiMessage{6, {0x84}});
  AccessUnitAnalysis analysis;
  EXPECT_EQ(parseSeiMessages(SampleGen::seiRbsp(messages), nullptr, analysis), Status::Success);
  messages.push_back({6, {0x84}});
  analysis = AccessUnitAnalysis{};
  EXPECT_EQ(parseSeiMessages(SampleGen::seiRbsp(messages), nullptr, analysis), Status::NalTooManySei);
}

TEST(SeiSyntax, PayloadTypeAbove22IsASyntaxError) {
  AccessUnitAnalysis analysis;
  EXPECT_EQ(parseSeiMessages(SampleGen::seiRbsp({{22, {1}}}), nullptr, analysis), Status::Success);
  EXPECT_EQ(parseSeiMessages(SampleGen::seiRbsp({{23, {1}}}), nullptr, analysis), Status::NalSyntax);
  EXPECT_EQ(parseSeiMessages(SampleGen::seiRbsp({{300, {1}}}), nullptr, analysis), Status::NalSyntax);
}

TEST(SeiSyntax, PayloadPastTheEndOfTheUnitIsASyntaxError) {
  AccessUnitAnalysis analysis;
  EXPECT_EQ(parseSeiMessages(Bytes{0x05, 0x40, 0x17, 0xEE}, nullptr, analysis), Status::NalSyntax);
  EXPECT_EQ(parseSeiMessages(Bytes{0x05, 0xFF, 0xFF}, nullptr, analysis), Status::NalSyntax);
}

TEST(MdpmPayload, OtherUuidIsIgnored) {
  Bytes payload = SampleGen::mdpmPayload({{0x13, 0x01}});
  payload[3] ^= 1;
  AccessUnitAnalysis analysis;
  ASSERT_EQ(parseSeiMessages(SampleGen::seiRbsp({{5, payload}}), nullptr, analysis), Status::Success);
  EXPECT_FALSE(analysis.mdpmFound);
  EXPECT_EQ(analysis.metadata, MetadataRecord::absent());
}

TEST(MdpmPayload, NoEntriesLeaveEverySlotAbsent) {
  const MetadataRecord record = parseMdpm(SampleGen::mdpmPayload({}));
  for (unsigned slot = 0; slot < MetadataRecord::SlotCount; ++slot) {
    EXPECT_FALSE(record[slot].valid);
    EXPECT_EQ(record[slot].value, slot == MetadataRecord::BinaryGroup ? 0u : 0xFFFFFFFFu);
  }
}

TEST(MdpmPayload, OnlyTheFirstMessageOfAUnitCounts) {
  AccessUnitAnalysis analysis;
  const Bytes rbsp =
      SampleGen::seiRbsp({{5, SampleGen::mdpmPayload({{0x13, 0x11}})}, {5, SampleGen::mdpmPayload({{0x13, 0x22}})}});
  ASSERT_EQ(parseSeiMessages(rbsp, nullptr, analysis), Status::Success);
  EXPECT_EQ(analysis.metadata[MetadataRecord::TimeCode].value, 0x11u);
}

TEST(MdpmPayload, CountBeyondThePayloadReadsTheWholeEntriesOnly) {
  Bytes payload = SampleGen::mdpmPayload({{0x13, 0x01020304}, {0xE0, 0x05060708}});
  payload[20] = 200;
  payload.erase(payload.end() - 2, payload.end());
  const MetadataRecord record = parseMdpm(payload);
  EXPECT_EQ(record[MetadataRecord::TimeCode], (MetadataSlot{true, 0x01020304}));
  EXPECT_FALSE(record[MetadataRecord::MakerValue].valid);
}

TEST(MdpmPayload, EmulationPreventionInsideEntriesIsRemoved) {
  // 00 00 0x in the second to fourth bytes or in the first to third bytes of
  // a value gets a 0x03 in the byte stream.
  const std::vector<SampleGen::MdpmEntry> entries{
      {0xB1, 0x00000001}, {0xB2, 0x12000002}, {0xB3, 0x00000300}, {0xB4, 0x00000000}, {0xB5, 0x00030000}};
  const Bytes rbsp = SampleGen::seiRbsp({{5, SampleGen::mdpmPayload(entries)}});
  ASSERT_GT(SampleGen::escapeRbsp(rbsp).size(), rbsp.size() + 3);
  Bytes es;
  SampleGen::appendNalUnit(es, 0x09, SampleGen::accessUnitDelimiterRbsp(0), true);
  SampleGen::appendNalUnit(es, 0x06, rbsp);
  es.insert(es.end(), {0, 0, 1, 0x65, 0x88});
  NalAnalyzer analyzer;
  AccessUnitAnalysis analysis;
  ASSERT_EQ(analyzer.analyze(es, analysis), Status::Success);
  for (unsigned i = 0; i < entries.size(); ++i)
    EXPECT_EQ(analysis.metadata[MetadataRecord::FirstRecordingParameter + i], (MetadataSlot{true, entries[i].second}))
        << i;
}

TEST(MdpmPayload, ThreeDChannelIsTheLastMarkedTagInTagOrder) {
  const MetadataRecord record = parseMdpm(
      SampleGen::mdpmPayload({{0xE9, 0x11000003}, {0xE6, 0x00FFFFFF}, {0xE7, 0x11000001}, {0xEF, 0x22000000}}));
  EXPECT_EQ(record[MetadataRecord::Channel3d], (MetadataSlot{true, 0x11000003}));
}

TEST(MdpmPayload, ThreeDChannelNeedsItsAnnouncement) {
  EXPECT_FALSE(parseMdpm(SampleGen::mdpmPayload({{0xE7, 0x11000001}}))[MetadataRecord::Channel3d].valid);
  EXPECT_FALSE(
      parseMdpm(SampleGen::mdpmPayload({{0xE6, 0x01000000}, {0xE7, 0x11000001}}))[MetadataRecord::Channel3d].valid);
}

}  // namespace
