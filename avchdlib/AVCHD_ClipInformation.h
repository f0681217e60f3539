#pragma once

// The clip information file: what one stream file holds (its transport
// stream type and length, STC sequences, elementary streams and the entry
// points of its video), plus the values the repair steps keep beside it.

#include <array>
#include <string>
#include <vector>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_ClipInformationExt.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_StreamCoding.h"

namespace AVCHD::ClipInformation {

// A clip information file larger than this is not read: no clip needs more,
// and it bounds what a broken file can make the model allocate.
inline constexpr std::uint32_t kMaxFileBytes = 1048576;

inline const AAA::Bytes kNoNetworkInformation(9, 0);
inline const AAA::Bytes kNoStreamFormatName(16, 0);

class BlkTSTypeInfoBlock : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16, AVCHD_LENGTH()};
  AAA::Field::BE ValidityFlags{"ValidityFlags", 8, AAA_RULES(AAA_FIXED(0x80))};
  AAA::Field::Str FormatIdentifier{
      "FormatIdentifier", 32,
      AAA_RULES(AAA_ALLOWED(FormatIdentifier, FormatIdentifier == 0x48444D56 || FormatIdentifier == 0x48445052),
                AAA_INITIAL("HDMV"))};
  AAA::Field::Str NetworkInformation{"NetworkInformation", 72, AAA_RULES(AAA_FIXED(kNoNetworkInformation))};
  AAA::Field::Str StreamFormatName{"StreamFormatName", 128, AAA_RULES(AAA_FIXED(kNoStreamFormatName))};

  BlkTSTypeInfoBlock() : Block("TSTypeInfoBlock") { Link(); }

 protected:
  void Declare() override { Add(Length, ValidityFlags, FormatIdentifier, NetworkInformation, StreamFormatName); }
};

// `IsCC5` 1 adds the six fields that name the clip this one continues into.
class BlkClipInfo : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved1{16};
  AAA::Field::BE ClipStreamType{"ClipStreamType", 8, AAA_RULES(AAA_FIXED(1))};
  AVCHD::Field::ApplicationType ApplicationType{
      "ApplicationType", 8,
      AAA_RULES(AAA_ALLOWED(ApplicationType, (ApplicationType == 1) || (ApplicationType == 2) ||
                                                 (ApplicationType == 5) || (ApplicationType == 10)),
                AAA_INITIAL(1))};
  AAA::Field::Reserved reserved2{31};
  AAA::Field::BE IsCC5{"IsCC5", 1};
  AAA::Field::BE TSRecordingRate{"TSRecordingRate", 32, AAA_RULES(AAA_INITIAL(3000000))};
  // Reported only: a stream cut short is still described by the rest.
  AAA::Field::BE NumberOfSourcePackets{
      "NumberOfSourcePackets", 32,
      AAA_RULES(AAA_REPORTED(NumberOfSourcePackets, NumberOfSourcePackets % 32 == 0), AAA_INITIAL(0))};
  AAA::Field::Reserved reserved3{1024};
  BlkTSTypeInfoBlock blkTSTypeInfoBlock;
  AAA::Field::Reserved reserved4{8};
  AAA::Field::BE FollowingClipStreamType{"FollowingClipStreamType", 8, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved reserved5{32};
  AAA::Field::Str FollowingClipInformationFileName{"FollowingClipInformationFileName", 40};
  AAA::Field::Str ClipCodecIdentifier{"ClipCodecIdentifier", 32, AAA_RULES(AAA_FIXED("M2TS"))};
  AAA::Field::Reserved reserved6{8};

  BlkClipInfo() : Block("blkClipInfo") {
    IsCC5.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;
};

class BlkSTCSequence : public AAA::Block {
 public:
  AAA::Field::BE PCRPID{"PCRPID", 16, AAA_RULES(AAA_FIXED(0x1001))};
  AAA::Field::BE SPNSTCStart{"SPNSTCStart", 32, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE PresentationStartTime{"PresentationStartTime", 32, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE PresentationEndTime{"PresentationEndTime", 32, AAA_RULES(AAA_INITIAL(0))};

  BlkSTCSequence() : Block("STCSequence") { Link(); }

 protected:
  void Declare() override { Add(PCRPID, SPNSTCStart, PresentationStartTime, PresentationEndTime); }
};

class BlkSequenceInfo : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved1{15};
  AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::BE SPNATCStart{"SPNATCStart", 32, AAA_RULES(AAA_FIXED(0U))};
  AAA::Field::BE NumberOfSTCSequences{"NumberOfSTCSequences", 8};
  AAA::Field::Reserved reserved2{8};
  AAA::Array<BlkSTCSequence> blkSTCSequenceArray{"STCSequence"};

  BlkSequenceInfo() : Block("blkSequenceInfo") {
    NumberOfSTCSequences.Fill(0);
    Link();
  }

 protected:
  void Declare() override;
};

// The coding of one elementary stream, with the clip's own members of the
// video, audio and bitmap kinds.
class BlkStreamCodingInfo : public Common::BlkStreamCoding {
 public:
  // Video (0x1B)
  AVCHD::Field::FrameRate FrameRate{"FrameRate", 4,
                                    AAA_RULES(AAA_ALLOWED(FrameRate, ((1 <= FrameRate) && (FrameRate <= 4)) ||
                                                                         (FrameRate == 6) || (FrameRate == 7)))};
  AVCHD::Field::AspectRatio AspectRatio{"AspectRatio", 4,
                                        AAA_RULES(AAA_ALLOWED(AspectRatio, (AspectRatio == 2) || (AspectRatio == 3)))};
  AAA::Field::Reserved reservedVideo1{2};
  AAA::Field::BE CCFlag{"CCFlag", 1, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::Reserved reservedVideo2{17};
  AAA::Field::Reserved reservedVideo3{128};
  // Audio (0x80, 0x81)
  AAA::Field::Reserved reservedAudio{128};
  // Overlay bitmap (0x90)
  AAA::Field::Reserved reservedOB{136};
  // Menu bitmap (0x91)
  AAA::Field::Reserved reservedMB{136};

  BlkStreamCodingInfo() : BlkStreamCoding("blkStreamCodingInfo", AAA_RULES(AAA_INITIAL(0x1B))) { Link(); }

 protected:
  void Declare() override;
};

class BlkStreamsInPS : public AAA::Block {
 public:
  AAA::Field::BE StreamPID{"StreamPID", 16};
  BlkStreamCodingInfo blkStreamCodingInfo;

  BlkStreamsInPS() : Block("StreamsInPS") { Link(); }

 protected:
  void Declare() override { Add(StreamPID, blkStreamCodingInfo); }
};

class BlkProgramInfo : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved1{15};
  AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::BE SPNProgramSequenceStart{"SPNProgramSequenceStart", 32, AAA_RULES(AAA_FIXED(0U))};
  AAA::Field::BE ProgramMapPID{"ProgramMapPID", 16, AAA_RULES(AAA_FIXED(0x0100))};
  AAA::Field::BE NumberOfStreamsInPS{"NumberOfStreamsInPS", 8};
  AAA::Field::Reserved reserved2{8};
  AAA::Array<BlkStreamsInPS> blkStreamsInPSArray{"StreamsInPS"};

  BlkProgramInfo() : Block("blkProgramInfo") {
    NumberOfStreamsInPS.Fill(0);
    Link();
  }

 protected:
  void Declare() override;
};

// The entry points of one stream: a coarse table and a fine table.
class BlkEPCoarseEntry : public AAA::Block {
 public:
  AAA::Field::BE RefToEPFineID{"RefToEPFineID", 18};
  AAA::Field::BE PTSEPCoarse{"PTSEPCoarse", 14};
  AAA::Field::BE SPNEPCoarse{"SPNEPCoarse", 32};

  BlkEPCoarseEntry() : Block("blkEPCoarseEntryArray") { Link(); }

 protected:
  void Declare() override { Add(RefToEPFineID, PTSEPCoarse, SPNEPCoarse); }
};

class BlkEPFineEntry : public AAA::Block {
 public:
  AAA::Field::BE ReservedEPFine{"ReservedEPFine", 1, AAA_RULES(AAA_FIXED(0U))};
  AVCHD::Field::IEndPositionOffset IEndPositionOffset{
      "IEndPositionOffset", 3,
      AAA_RULES(AAA_ALLOWED(IEndPositionOffset, (1 <= IEndPositionOffset) && (IEndPositionOffset <= 7)))};
  AAA::Field::BE PTSEPFine{"PTSEPFine", 11};
  AAA::Field::BE SPNEPFine{"SPNEPFine", 17};

  BlkEPFineEntry() : Block("blkEPFineEntryArray") { Link(); }

 protected:
  void Declare() override { Add(ReservedEPFine, IEndPositionOffset, PTSEPFine, SPNEPFine); }
};

// The entry point tables of one stream. The gap in front of it is its own
// first member; the EP map reads that gap, since the address it ends at
// belongs to the EP map.
class BlkEPMapForOneStreamPID : public AAA::Block {
 public:
  AAA::Field::Padding padding_word1{"padding_word"};
  AAA::Field::BE EPFineTableStartAddress{"EPFineTableStartAddress", 32};
  AAA::Array<BlkEPCoarseEntry> blkEPCoarseEntryArray{"blkEPCoarseEntryArray"};
  AAA::Field::Padding padding_word2{"padding_word"};
  AAA::Array<BlkEPFineEntry> blkEPFineEntryArray{"blkEPFineEntryArray"};
  AAA::Field::Padding padding_word3{"padding_word"};

  BlkEPMapForOneStreamPID() : Block("blkEPMapForOneStreamPIDArray") { Link(); }
  // Reads from `EPFineTableStartAddress` on; `cpiBytes` is the length of the
  // enclosing CPI block.
  void ReadTables(AAA::BitReader& reader, std::uint32_t cpiBytes);

 protected:
  void Declare() override {
    Add(padding_word1, EPFineTableStartAddress, blkEPCoarseEntryArray, padding_word2, blkEPFineEntryArray,
        padding_word3);
  }
  void Derive() override;
};

class BlkStreamPIDEntry : public AAA::Block {
 public:
  AAA::Field::BE StreamPID{"StreamPID", 16, AAA_RULES(AAA_FIXED(0x1011))};
  AAA::Field::Reserved reserved{10};
  AAA::Field::BE EPStreamType{"EPStreamType", 4, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::BE NumberOfEPCoarseEntries{"NumberOfEPCoarseEntries", 16};
  AAA::Field::BE NumberOfEPFineEntries{"NumberOfEPFineEntries", 18};
  AVCHD_START_ADDRESS(EPMapForOneStreamPIDStartAddress);

  // The tables start empty, so do their counts.
  BlkStreamPIDEntry() : Block("StreamPIDEntry") {
    NumberOfEPCoarseEntries.Fill(0);
    NumberOfEPFineEntries.Fill(0);
    Link();
  }

 protected:
  void Declare() override;
};

// The counts of entry points stand in the stream PID entries, the tables
// they size in the element of the same index of
// `blkEPMapForOneStreamPIDArray`.
class BlkEPMap : public AAA::Block {
 public:
  AAA::Field::Reserved reserved{8};
  AAA::Field::BE NumberOfStreamPIDEntries{"NumberOfStreamPIDEntries", 8};
  AAA::Array<BlkStreamPIDEntry> blkStreamPIDEntryArray{"StreamPIDEntry"};
  AAA::Array<BlkEPMapForOneStreamPID> blkEPMapForOneStreamPIDArray{"blkEPMapForOneStreamPIDArray"};

  BlkEPMap() : Block("blkEPMap") {
    NumberOfStreamPIDEntries.Fill(0);
    Link();
  }
  // `cpiLength` is the enclosing CPI block's length field, just read: the
  // tables must fit in the bytes it counts.
  void ReadMap(AAA::BitReader& reader, const AAA::FieldBase& cpiLength);

  // Sizes the tables of the stream of `entry` (one of this map's stream PID
  // entries) to its counts, after `count` of them has changed.
  void SizeTables(const BlkStreamPIDEntry& entry, const AAA::FieldBase& count);

 protected:
  void Declare() override;
  void Derive() override;

 private:
  // While a file is read, the bits the tables may take at most: counts of a
  // broken file are refused before they allocate more than the file holds.
  std::int64_t tableBitsLimit_ = -1;
  std::int64_t tableBitsLeft_ = 0;  // what the file holds after the map's start
};

// A length of 0 stands for a clip without entry points.
class BlkCPI : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved{12};
  AVCHD::Field::CPIType CPIType{"CPIType", 4, AAA_RULES(AAA_FIXED(1))};
  BlkEPMap blkEPMap;

  BlkCPI() : Block("blkCPI") { Link(); }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;
};

// A clip mark is always empty.
class BlkClipMark : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};

  BlkClipMark() : Block("blkClipMark") { Link(); }

 protected:
  void Declare() override { Add(Length); }
};

// Kept beside a clip information file, never read from it or written to it:
// what the clip step learns from the stream and the later steps read. The
// clip store keeps these apart from the file's bytes.
struct ClipStreamValues {
  std::string ClipName;  // the five digits of the stream file's name
  std::uint8_t NoPartnerMark = 0;
  AAA::Field::BE Refered{"Refered", 1};
  AVCHD::Field::TimeCode LastTimeCode{"LastTimeCode"};
  AVCHD::Field::Pulldown Pulldown{"Pulldown", 8};
  AVCHD::Field::TimeZone TimeZone1{"TimeZone1"};
  AVCHD::Field::TimeZone TimeZone2{"TimeZone2"};
  AVCHD::Field::TimeAndDate TimeAndDate1{"TimeAndDate1"};
  AVCHD::Field::TimeAndDate TimeAndDate2{"TimeAndDate2"};
  AVCHD::Field::Pro_TimeCodeInfo StreamTimeCodeInfo{"StreamTimeCodeInfo", 8};
  AVCHD::Field::TimeCode StartTimeCode1{"StartTimeCode1"};
  AVCHD::Field::TimeCode StartTimeCode2{"StartTimeCode2"};
  AVCHD::Field::Pro_BinaryGroup StartBinaryGroup;
  // The values of the recording metadata tags 0xB1 to 0xBA, in tag order.
  std::array<std::uint8_t, 40> RecordingParameterBytes;
  // The recording metadata value of slot 15: 0 for a 2D clip.
  std::uint32_t ChannelMark3D = 0;
  std::uint32_t StartPts1 = 0;
  std::uint32_t StartPts2 = 0;
  // The stream's first entry picture is an IDR picture: the first set of
  // start values is the one to use.
  std::uint8_t FirstSetFlag = 0;
  // The playing time the 3D pair check gives each STC sequence, in sequence
  // order, and the playlist step reads; none (or 0): as the sequence ends.
  std::vector<std::uint32_t> PresentationTimes;

  ClipStreamValues();
};

class BlkClipInformationFile : public AAA::FileBlock, public ClipStreamValues {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("HDMV"))};
  AAA::Field::Str TypeIndicator2{"TypeIndicator2", 32, AAA_RULES(AAA_FIXED("0100"))};
  AVCHD_START_ADDRESS(SequenceInfoStartAddress);
  AVCHD_START_ADDRESS(ProgramInfoStartAddress);
  AVCHD_START_ADDRESS(CPIStartAddress);
  AVCHD_START_ADDRESS(ClipMarkStartAddress);
  AVCHD_EXTENSION_DATA_START_ADDRESS();
  AAA::Field::Reserved reserved{96};
  BlkClipInfo blkClipInfo;
  AAA::Field::Padding padding_word1{"padding_word"};
  BlkSequenceInfo blkSequenceInfo;
  AAA::Field::Padding padding_word2{"padding_word"};
  BlkProgramInfo blkProgramInfo;
  AAA::Field::Padding padding_word3{"padding_word"};
  BlkCPI blkCPI;
  AAA::Field::Padding padding_word4{"padding_word"};
  BlkClipMark blkClipMark;
  AAA::Field::Padding padding_word5{"padding_word"};
  Common::BlkExtensionData<ClipInformationExt::BlkClipExtensionData> blkExtensionData;

  BlkClipInformationFile();
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;
  void Derive() override;
};

}  // namespace AVCHD::ClipInformation
