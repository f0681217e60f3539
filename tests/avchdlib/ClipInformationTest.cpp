// The clip information file: new models and their layout, round trips of
// built and hand-shaped files, and the rules that refuse broken ones.
#include <gtest/gtest.h>

#include "ClipFiles.h"
#include "ModelBytes.h"
#include "Refusal.h"
#include "aaalib/AAA_Exceptions.h"
#include "tests/aaalib/LogCapture.h"

using AVCHD::ClipInformation::BlkClipInformationFile;
using ClipFiles::NewClip;
using ModelBytes::Read;
using ModelBytes::Write;
using Refusal::WithoutLines;

namespace {

AAA::Bytes Rewrite(const AAA::Bytes& bytes) { return ModelBytes::Rewrite<BlkClipInformationFile>(bytes); }

// The byte at which `field` of a model read from `bytes` starts.
template <class Select>
std::size_t OffsetOf(const AAA::Bytes& bytes, Select select) {
  BlkClipInformationFile file;
  Read(file, bytes);
  return static_cast<std::size_t>(select(file).BitPosition() / 8);
}

void Poke(AAA::Bytes& bytes, std::size_t offset, std::initializer_list<std::uint8_t> values) {
  for (std::uint8_t value : values) bytes.at(offset++) = value;
}

// Reads `bytes`, expecting `Exception` and a report that contains `report`.
template <class Exception>
void ExpectRefused(const AAA::Bytes& bytes, const std::string& report) {
  LogCapture log(7);
  BlkClipInformationFile file;
  EXPECT_THROW(Read(file, bytes), Exception);
  EXPECT_NE(WithoutLines(log.Take()).find(report), std::string::npos) << report;
}

AAA::Bytes NewClipBytes(bool continued = false, bool privateData = true) {
  BlkClipInformationFile file = NewClip(continued, privateData);
  return Write(file);
}

}  // namespace

TEST(ClipInformation, NewFileStartsTheSequenceInfoAtByte236InBothForms) {
  for (bool continued : {false, true}) {
    BlkClipInformationFile file = NewClip(continued, false);
    const AAA::Bytes bytes = Write(file);
    EXPECT_EQ(file.SequenceInfoStartAddress.Value(), 236u) << continued;
    EXPECT_EQ(file.blkClipInfo.Length.Value(), continued ? 192u : 176u);
  }
}

TEST(ClipInformation, BuiltModelWritesReadsBackAndWritesIdentically) {
  for (bool continued : {false, true}) {
    for (bool privateData : {false, true}) {
      const AAA::Bytes written = NewClipBytes(continued, privateData);
      BlkClipInformationFile file;
      Read(file, written);
      EXPECT_FALSE(file.IsModified());
      EXPECT_EQ(file.blkSequenceInfo.blkSTCSequenceArray.Size(), 2u);
      EXPECT_EQ(file.blkProgramInfo.blkStreamsInPSArray[4].blkStreamCodingInfo.StreamCodingType.Value(), 0x91u);
      const auto& tables = file.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0];
      EXPECT_EQ(tables.blkEPCoarseEntryArray.Size(), 3u);
      EXPECT_EQ(tables.blkEPFineEntryArray[6].SPNEPFine.Value(), 0x6000u);
      EXPECT_EQ(file.blkClipInfo.FollowingClipInformationFileName.ToString(),
                continued ? "00002" : "\xAA\xAA\xAA\xAA\xAA");
      EXPECT_EQ(Write(file), written);
    }
  }
}

TEST(ClipInformation, NewFileHasTheDefaultsAndTheLayoutOfTheFormat) {
  BlkClipInformationFile file = NewClip(false, false);
  const AAA::Bytes bytes = Write(file);
  EXPECT_EQ(AAA::Bytes(bytes.begin(), bytes.begin() + 8), ModelBytes::Text("HDMV0100"));
  EXPECT_EQ(file.blkClipInfo.ApplicationType.Value(), 1u);
  EXPECT_EQ(file.blkClipInfo.TSRecordingRate.Value(), 3000000u);
  EXPECT_EQ(file.blkClipInfo.blkTSTypeInfoBlock.Length.Value(), 30u);
  EXPECT_EQ(file.blkClipInfo.blkTSTypeInfoBlock.FormatIdentifier.ToString(), "HDMV");
  EXPECT_EQ(file.blkProgramInfo.blkStreamsInPSArray[1].blkStreamCodingInfo.AudioLanguageCode.ToString(), "eng");
  for (const auto& stream : file.blkProgramInfo.blkStreamsInPSArray) {
    EXPECT_EQ(stream.blkStreamCodingInfo.Length.Value(), 21u);
  }
  // STC sequences of 14 bytes, EP map entries at the addresses the map gives.
  EXPECT_EQ(file.blkSequenceInfo.Length.Value(), 8u + 2 * 14);
  const auto& map = file.blkCPI.blkEPMap;
  EXPECT_EQ(map.blkStreamPIDEntryArray[0].EPMapForOneStreamPIDStartAddress.Value(), 14u);
  EXPECT_EQ(map.blkEPMapForOneStreamPIDArray[0].EPFineTableStartAddress.Value(), 4u + 3 * 8);
  EXPECT_EQ(file.blkCPI.Length.Value(), 2u + 14 + 4 + 3 * 8 + 7 * 4);
  EXPECT_EQ(file.blkClipMark.Length.Value(), 0u);
  EXPECT_EQ(file.ExtensionDataStartAddress.Value(), file.ClipMarkStartAddress.Value() + 4);
  EXPECT_EQ(file.ExtensionDataStartAddress.Value(), bytes.size() - file.blkExtensionData.BitLength() / 8);
}

TEST(ClipInformation, KeptValuesBesideTheFileAreConstructedAsDocumented) {
  BlkClipInformationFile file;
  EXPECT_EQ(file.LastTimeCode.ValueBytes(), AAA::Bytes(4, 0xFF));
  EXPECT_EQ(file.TimeZone1.Value(), 0xFFu);
  EXPECT_EQ(file.TimeAndDate2.ValueBytes(), AAA::Bytes(7, 0));
  EXPECT_EQ(file.StartBinaryGroup.Value(), 0u);
  EXPECT_EQ(file.RecordingParameterBytes[39], 0xFF);
  EXPECT_EQ(file.Refered.Value(), 0u);
  file.ClipName = "00007";
  file.PresentationTimes = {1234};
  const BlkClipInformationFile copy = file;
  EXPECT_EQ(copy.ClipName, "00007");
  EXPECT_EQ(copy.PresentationTimes, std::vector<std::uint32_t>{1234});
}

TEST(ClipInformation, GapsContinuedClipAndEmptyCPIReadAndWriteBackByteForByte) {
  // Gaps before every addressed block, before the fine table and after it.
  BlkClipInformationFile file = NewClip(true, true);
  file.padding_word1.SetBitLength(32);
  file.padding_word2.SetBitLength(16);
  file.padding_word3.SetBitLength(48);
  file.padding_word4.SetBitLength(16);
  file.padding_word5.SetBitLength(64);
  auto& tables = file.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0];
  tables.padding_word1.SetBitLength(16);
  tables.padding_word2.SetBitLength(32);
  tables.padding_word3.SetBitLength(16);
  file.blkExtensionData.blkDataBlock.padding_word1.SetBitLength(16);
  file.blkExtensionData.blkDataBlock.padding_word2.SetBitLength(32);
  const AAA::Bytes gaps = Write(file);
  EXPECT_EQ(file.SequenceInfoStartAddress.Value(), 240u);
  EXPECT_EQ(Rewrite(gaps), gaps);

  // A clip without entry points.
  BlkClipInformationFile empty = NewClip(false, true);
  empty.blkCPI.blkEPMap.NumberOfStreamPIDEntries.SetValue(0);
  const AAA::Bytes noEntryPoints = Write(empty);
  EXPECT_EQ(empty.blkCPI.Length.Value(), 0u);
  EXPECT_EQ(empty.blkCPI.BitLength(), 32);
  EXPECT_EQ(Rewrite(noEntryPoints), noEntryPoints);
}

TEST(ClipInformation, WritingANonContinuedClipRestoresTheGapOfTheContinuationFields) {
  BlkClipInformationFile file = NewClip(false, false);
  AAA::Bytes bytes = Write(file);
  // The same file without the 16-byte gap after the clip info.
  bytes.erase(bytes.begin() + 220, bytes.begin() + 236);
  for (std::size_t address = 8; address < 28; address += 4) {
    const std::uint32_t moved = ((bytes[address + 2] << 8) | bytes[address + 3]) - 16;
    Poke(bytes, address + 2, {static_cast<std::uint8_t>(moved >> 8), static_cast<std::uint8_t>(moved)});
  }
  EXPECT_EQ(Rewrite(bytes), Write(file));
}

TEST(ClipInformation, SourcePacketsNotAMultipleOf32AreReportedAndTheFileLoads) {
  AAA::Bytes bytes = NewClipBytes();
  const std::size_t at = OffsetOf(
      bytes, [](auto& f) -> auto& { return f.blkClipInfo.NumberOfSourcePackets; });
  Poke(bytes, at, {0x00, 0x00, 0x03, 0xE9});  // 1001
  LogCapture log(7);
  BlkClipInformationFile file;
  Read(file, bytes);
  EXPECT_EQ(WithoutLines(log.Take()),
            "avchdlib/AVCHD_ClipInformation.h(#):\n"
            "      Name: Clip information file.blkClipInfo.NumberOfSourcePackets\n"
            "  Expected: true (\"NumberOfSourcePackets % 32 == 0\")\n"
            "    Actual: 0x000003e9 \"1001\"\n");
  EXPECT_EQ(file.blkClipInfo.NumberOfSourcePackets.Value(), 1001u);
}

TEST(ClipInformation, HeaderRulesRefuseTheFile) {
  const AAA::Bytes good = NewClipBytes();
  AAA::Bytes wrongType = good;
  wrongType[3] = 'X';
  ExpectRefused<AAA::InvalidDataException>(wrongType, "(\"HDMV\")");
  AAA::Bytes wrongVersion = good;
  wrongVersion[7] = '1';
  ExpectRefused<AAA::InvalidDataException>(wrongVersion, "(\"0100\")");
  AAA::Bytes oddAddress = good;
  oddAddress[15] |= 1;
  ExpectRefused<AAA::InvalidDataException>(oddAddress, "(\"ProgramInfoStartAddress % 2 == 0\")");
  AAA::Bytes noExtension = good;
  Poke(noExtension, 24, {0, 0, 0, 0});
  ExpectRefused<AAA::InvalidDataException>(noExtension, "(\"ExtensionDataStartAddress != 0\")");
  AAA::Bytes overlapping = good;
  Poke(overlapping, 8, {0, 0, 0, 200});
  ExpectRefused<AAA::InvalidDataException>(overlapping, "(\"paddingLength1 >= 0\")");
}

TEST(ClipInformation, ClipInfoRulesRefuseTheFile) {
  const AAA::Bytes continued = NewClipBytes(true);
  const std::size_t type = OffsetOf(
      continued, [](auto& f) -> auto& { return f.blkClipInfo.ApplicationType; });
  AAA::Bytes subPath = continued;
  subPath[type] = 5;
  ExpectRefused<AAA::InvalidDataException>(subPath,
                                           "Name: Clip information file.blkClipInfo.IsCC5\n"
                                           "  Expected: 0x00 \"0\" (0U)\n");
  AAA::Bytes unknownApplication = continued;
  unknownApplication[type] = 3;
  ExpectRefused<AAA::InvalidDataException>(unknownApplication, "(ApplicationType == 10)\")");
  const std::size_t name = OffsetOf(
      continued, [](auto& f) -> auto& { return f.blkClipInfo.FollowingClipInformationFileName; });
  AAA::Bytes letter = continued;
  letter[name + 4] = 'A';
  ExpectRefused<AAA::InvalidDataException>(letter, "(FollowingClipInformationFileName.Data[4] <= '9'))\")");
  AAA::Bytes codec = continued;
  codec[name + 5] = 'X';
  ExpectRefused<AAA::InvalidDataException>(codec, "(\"M2TS\")");
  const std::size_t format = OffsetOf(
      continued, [](auto& f) -> auto& { return f.blkClipInfo.blkTSTypeInfoBlock.FormatIdentifier; });
  AAA::Bytes professional = continued;
  Poke(professional, format, {'H', 'D', 'P', 'R'});
  EXPECT_EQ(Rewrite(professional), professional);
  AAA::Bytes unknownFormat = continued;
  unknownFormat[format] = 'X';
  ExpectRefused<AAA::InvalidDataException>(unknownFormat, "FormatIdentifier == 0x48445052\")");
}

TEST(ClipInformation, CountsOutOfRangeFailBeforeAnyElementIsRead) {
  const AAA::Bytes good = NewClipBytes();
  AAA::Bytes noSequence = good;
  noSequence[OffsetOf(
      good, [](auto& f) -> auto& { return f.blkSequenceInfo.NumberOfSTCSequences; })] = 0;
  ExpectRefused<AAA::InvalidDataException>(
      noSequence, "(\"(1 <= self.NumberOfSTCSequences) && (self.NumberOfSTCSequences <= 255)\")");
  AAA::Bytes tenStreams = good;
  tenStreams[OffsetOf(
      good, [](auto& f) -> auto& { return f.blkProgramInfo.NumberOfStreamsInPS; })] = 10;
  ExpectRefused<AAA::InvalidDataException>(tenStreams,
                                           "(\"(1 <= self.NumberOfStreamsInPS) && (self.NumberOfStreamsInPS <= 9)\")");
}

TEST(ClipInformation, EntryPointCountsAreBoundedByTheFormatAndByTheCPIBlock) {
  AVCHD::ClipInformation::BlkStreamPIDEntry entry;
  entry.NumberOfEPCoarseEntries.SetValue(24576);
  entry.NumberOfEPFineEntries.SetValue(180000);
  EXPECT_THROW(entry.NumberOfEPCoarseEntries.SetValue(24577), AAA::InvalidDataException);
  EXPECT_THROW(entry.NumberOfEPFineEntries.SetValue(180001), AAA::InvalidDataException);

  // The counts take bits 30 to 63 of the stream PID entry: 3 coarse entries and the fine count.
  const AAA::Bytes good = NewClipBytes();
  const std::size_t counts = OffsetOf(
      good, [](auto& f) -> auto& { return f.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].NumberOfEPCoarseEntries; });
  AAA::Bytes tooManyFine = good;
  Poke(tooManyFine, counts + 1, {0x00, 0x0E, 0xBF, 0x21});  // 3 coarse, 180001 fine
  ExpectRefused<AAA::InvalidDataException>(
      tooManyFine, "(\"(1 <= self.NumberOfEPFineEntries) && (self.NumberOfEPFineEntries <= 180000)\")");
  // 150000 fine entries are allowed, but not in a CPI block of 72 bytes.
  AAA::Bytes moreThanTheBlockHolds = good;
  Poke(moreThanTheBlockHolds, counts + 1, {0x00, 0x0E, 0x49, 0xF0});
  ExpectRefused<AAA::InvalidDataException>(moreThanTheBlockHolds,
                                           "Name: Clip information file.blkCPI.blkEPMap.StreamPIDEntry."
                                           "NumberOfEPFineEntries\n  Expected: true (\"tableBits <= cpiBits\")");
}

TEST(ClipInformation, EntryPointRulesRefuseTheFile) {
  const AAA::Bytes good = NewClipBytes();
  const std::size_t fine = OffsetOf(
      good, [](auto& f) -> auto& {
        return f.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0].blkEPFineEntryArray[0].ReservedEPFine;
      });
  AAA::Bytes reservedSet = good;
  reservedSet[fine] |= 0x80;
  ExpectRefused<AAA::InvalidDataException>(reservedSet, "ReservedEPFine\n  Expected: 0x00 \"0\" (0U)");
  AAA::Bytes forbiddenSize = good;
  forbiddenSize[fine] &= 0x8F;
  ExpectRefused<AAA::InvalidDataException>(forbiddenSize, "(1 <= IEndPositionOffset) && (IEndPositionOffset <= 7)");
  const std::size_t table = OffsetOf(
      good, [](auto& f) -> auto& { return f.blkCPI.blkEPMap.blkEPMapForOneStreamPIDArray[0].EPFineTableStartAddress; });
  AAA::Bytes fineTableBeyondTheCPI = good;
  Poke(fineTableBeyondTheCPI, table, {0, 0, 1, 0});
  ExpectRefused<AAA::InvalidDataException>(fineTableBeyondTheCPI, "(\"EPFineTableStartAddress < _Length\")");
  AAA::Bytes fineTableInsideTheCoarse = good;
  Poke(fineTableInsideTheCoarse, table, {0, 0, 0, 8});
  ExpectRefused<AAA::InvalidDataException>(fineTableInsideTheCoarse, "(\"paddingLength >= 0\")");
  const std::size_t address = OffsetOf(
      good,
      [](auto& f) -> auto& { return f.blkCPI.blkEPMap.blkStreamPIDEntryArray[0].EPMapForOneStreamPIDStartAddress; });
  AAA::Bytes mapBeyondTheCPI = good;
  Poke(mapBeyondTheCPI, address, {0, 0, 1, 0});
  ExpectRefused<AAA::InvalidDataException>(mapBeyondTheCPI, "(\"paddingLength < (int)_Length * 8\")");
}

TEST(ClipInformation, CodingInfoRulesRefuseTheFile) {
  const AAA::Bytes good = NewClipBytes();
  auto typeOf = [&good](std::size_t stream) {
    return OffsetOf(
        good, [stream](auto& f) -> auto& {
          return f.blkProgramInfo.blkStreamsInPSArray[stream].blkStreamCodingInfo.StreamCodingType;
        });
  };
  AAA::Bytes unknownCoding = good;
  unknownCoding[typeOf(1)] = 0x82;
  ExpectRefused<AAA::InvalidDataException>(unknownCoding, "self.StreamCodingType == 0x91\")");
  AAA::Bytes videoFormat = good;
  videoFormat[typeOf(0) + 1] = 0x74;
  ExpectRefused<AAA::InvalidDataException>(videoFormat, "(\"(1 <= VideoFormat) && (VideoFormat <= 6)\")");
  AAA::Bytes frameRate = good;
  frameRate[typeOf(0) + 1] = 0x45;
  ExpectRefused<AAA::InvalidDataException>(frameRate, "(FrameRate == 6) || (FrameRate == 7)\")");
  AAA::Bytes aspect = good;
  aspect[typeOf(0) + 2] = 0x10;
  ExpectRefused<AAA::InvalidDataException>(aspect, "(\"(AspectRatio == 2) || (AspectRatio == 3)\")");
  AAA::Bytes audio = good;
  audio[typeOf(2) + 1] = 0x21;
  ExpectRefused<AAA::InvalidDataException>(audio, "(AudioPresentationType == 6)\")");
  AAA::Bytes sampling = good;
  sampling[typeOf(2) + 1] = 0x32;
  ExpectRefused<AAA::InvalidDataException>(sampling, "(SamplingFrequency == 5)\")");
}

TEST(ClipInformation, TruncatedOrEmptyFilesAreRefused) {
  const AAA::Bytes good = NewClipBytes(true, true);
  for (std::size_t size = 0; size < good.size(); size += 7) {
    const AAA::Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    BlkClipInformationFile file;
    EXPECT_THROW(Read(file, cut), AAA::VerifyExceptionBase) << "cut at " << size;
  }
}
