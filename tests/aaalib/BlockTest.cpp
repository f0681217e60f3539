// A block model end to end: reading a hand-made file with every rule, the
// exact log, rule failures, corrections, and writing with recomputed
// lengths, counts and start addresses.
#include <gtest/gtest.h>

#include "LogCapture.h"
#include "SampleFile.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_MemoryStream.h"

using AAA::Bytes;
using Sample::BlkSampleFile;

namespace {

// version 1, two entries, blkSub at byte 16 behind a 2-byte padding.
const Bytes kVersion1 = {
    'S',  'M',  'P',  'L',   // type_indicator
    0x01,                    // version
    0x00, 0x00, 0x00, 0x10,  // SubStartAddress
    0x02,                    // NumberOfEntries
    0x11, 0xA5,              // entry: Id 0x11, Flags 0xA, Reserved 0x5
    0x22, 0x3C,              // entry: Id 0x22, Flags 0x3, Reserved 0xC
    0x00, 0x00,              // padding_word
    0x00, 0x00, 0x00, 0x02,  // blkSub.Length
    0xBE, 0xEF,              // blkSub.Data
};

BlkSampleFile ReadSample(const Bytes& bytes) {
  AAA::MemoryStream stream(bytes);
  AAA::BitReader reader(stream);
  BlkSampleFile file;
  file.Read(reader);
  return file;
}

Bytes WriteSample(BlkSampleFile& file) {
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  file.Write(writer);
  return stream.Bytes();
}

std::string Position(int line) { return "tests/aaalib/SampleFile.h(" + std::to_string(line) + "):\n"; }

}  // namespace

TEST(Block, ReadsHandMadeFileWithEveryValueLine) {
  LogCapture log(8);
  BlkSampleFile file = ReadSample(kVersion1);
  EXPECT_EQ(log.Take(),
            "    Sample file.type_indicator {32,Str} = 0x534d504c \"SMPL\"\n"
            "    Sample file.version {8,BE} = 0x01 \"1\"\n"
            "    Sample file.SubStartAddress {32,BE} = 0x00000010 \"16\"\n"
            "    Sample file.NumberOfEntries {8,BE} = 0x02 \"2\"\n"
            "    Sample file.blkEntryArray.Id {8,BE} = 0x11 \"17\"\n"
            "    Sample file.blkEntryArray.Flags {4,BE} = 0x0a \"10\"\n"
            "    Sample file.blkEntryArray.Reserved {4,BE} = 0x05 \"5\"\n"
            "    Sample file.blkEntryArray.Id {8,BE} = 0x22 \"34\"\n"
            "    Sample file.blkEntryArray.Flags {4,BE} = 0x03 \"3\"\n"
            "    Sample file.blkEntryArray.Reserved {4,BE} = 0x0c \"12\"\n"
            "    Sample file.padding_word {16,Padding} = 0x \"\"\n"
            "    Sample file.blkSub.Length {32,BE} = 0x00000002 \"2\"\n"
            "    Sample file.blkSub.Data {16,BE} = 0xbeef \"48879\"\n");
  EXPECT_EQ(file.blkEntryArray.Size(), 2u);
  EXPECT_EQ(file.blkEntryArray[1].Flags.Value(), 3u);
  EXPECT_EQ(file.blkSub.Length.BitPosition(), 128);
  EXPECT_FALSE(file.IsModified());
}

TEST(Block, WritesWhatItReadBitForBit) {
  BlkSampleFile file = ReadSample(kVersion1);
  EXPECT_EQ(WriteSample(file), kVersion1);
}

TEST(Block, VersionFieldChangesTheMemberList) {
  Bytes version2 = kVersion1;
  version2[4] = 0x02;
  version2.insert(version2.begin() + 14, {0x12, 0x34});  // Extra takes the padding's place
  version2.erase(version2.begin() + 16, version2.begin() + 18);
  BlkSampleFile file = ReadSample(version2);
  EXPECT_EQ(file.Extra.Value(), 0x1234u);
  EXPECT_EQ(file.padding_word.BitLength(), 0);
  EXPECT_EQ(WriteSample(file), version2);
}

TEST(Block, WrongConstantThrowsWithExactReport) {
  Bytes wrong = kVersion1;
  wrong[0] = 'X';
  LogCapture log(7);
  EXPECT_THROW(ReadSample(wrong), AAA::InvalidDataException);
  EXPECT_EQ(log.Take(), Position(Sample::typeRuleLine) +
                            "      Name: Sample file.type_indicator\n"
                            "  Expected: 0x534d504c \"SMPL\" (\"SMPL\")\n"
                            "    Actual: 0x584d504c \"XMPL\"\n");
}

TEST(Block, CountOutOfRangeThrowsBeforeTheArrayIsRead) {
  Bytes zero = kVersion1;
  zero[9] = 0x00;
  LogCapture log(7);
  EXPECT_THROW(ReadSample(zero), AAA::InvalidDataException);
  EXPECT_EQ(log.Take(), Position(Sample::countRuleLine) +
                            "      Name: Sample file.NumberOfEntries\n"
                            "  Expected: true (\"(1 <= self.NumberOfEntries) && (self.NumberOfEntries <= 4)\")\n"
                            "    Actual: 0x00 \"0\"\n");
}

TEST(Block, AddressBeforeDataAlreadyReadIsANegativePadding) {
  Bytes early = kVersion1;
  early[8] = 0x0C;  // blkSub at byte 12, inside the entries
  LogCapture log(7);
  EXPECT_THROW(ReadSample(early), AAA::InvalidDataException);
  EXPECT_EQ(log.Take(), Position(Sample::paddingRuleLine) +
                            "      Name: Sample file.padding_word\n"
                            "  Expected: true (\"paddingLength >= 0\")\n"
                            "    Actual: 0x \"\"\n");
}

TEST(Block, LengthOneTooLargeFailsAfterTheBlockIsRead) {
  Bytes longer = kVersion1;
  longer[19] = 0x03;
  LogCapture log(7);
  EXPECT_THROW(ReadSample(longer), AAA::InvalidDataException);
  EXPECT_EQ(log.Take(), Position(Sample::lengthRuleLine) +
                            "      Name: Sample file.blkSub.Length\n"
                            "  Expected: 0x00000002 \"2\" (BytesAfterLength())\n"
                            "    Actual: 0x00000003 \"3\"\n");
}

TEST(Block, TruncatedFileEndsInUnexpectedEof) {
  for (std::size_t size = 0; size < kVersion1.size(); ++size) {
    const Bytes cut(kVersion1.begin(), kVersion1.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(ReadSample(cut), AAA::VerifyExceptionBase) << "cut at " << size;
  }
}

TEST(Block, CorrectReportsAssignsAndMarksModified) {
  BlkSampleFile file = ReadSample(kVersion1);
  LogCapture log(8);
  const int line = __LINE__ + 1;
  EXPECT_FALSE(AAA_CORRECT(file.blkSub.Data, 0x1234u));
  EXPECT_EQ(log.Take(), "tests/aaalib/BlockTest.cpp(" + std::to_string(line) + "):\n" +
                            "      Name: Sample file.blkSub.Data\n"
                            "  Expected: 0x1234 \"4660\" (0x1234u)\n"
                            "    Actual: 0xbeef \"48879\"\n"
                            "    = Sample file.blkSub.Data {16,BE} = 0x1234 \"4660\"\n");
  EXPECT_EQ(file.blkSub.Data.Value(), 0x1234u);
  EXPECT_TRUE(file.IsModified());
  EXPECT_TRUE(AAA_CORRECT(file.blkSub.Data, 0x1234u));
}

TEST(Block, CheckWithoutSourceOnlyCompares) {
  BlkSampleFile file = ReadSample(kVersion1);
  LogCapture log(8);
  EXPECT_FALSE(AAA::Check(file.version, 2u, AAA::Rule{"2", nullptr, 0}));
  EXPECT_EQ(log.Take(), "");
}

TEST(Block, UpdateRaisesStartAddressToMultipleOfFour) {
  // Three entries end the entries at byte 16 in the file read above; with a
  // fresh padding of 0 the sub-block would start at byte 16. Adding a fourth
  // entry puts it at 18, which the update raises to 20.
  BlkSampleFile file = ReadSample(kVersion1);
  file.padding_word.SetBitLength(0);
  file.blkEntryArray.Append().Initialize();
  file.blkEntryArray.Back().Id.SetValue(0x33);
  file.blkEntryArray.Back().Flags.SetValue(0x1);
  file.blkSub.Data.SetValue(0xCAFE);
  file.blkSub.Length.SetValue(9);  // stale: the update recomputes it
  const Bytes written = WriteSample(file);
  EXPECT_EQ(file.blkSub.Length.Value(), 2u);
  EXPECT_EQ(file.NumberOfEntries.Value(), 3u);
  EXPECT_EQ(file.SubStartAddress.Value(), 16u);
  EXPECT_EQ(file.padding_word.BitLength(), 0);
  EXPECT_EQ(written, Bytes({'S',  'M',  'P',  'L',  0x01, 0, 0, 0, 0x10, 0x03, 0x11,
                            0xA5, 0x22, 0x3C, 0x33, 0x10, 0, 0, 0, 2,    0xCA, 0xFE}));

  file.blkEntryArray.Append().Initialize();
  file.blkEntryArray.Back().Id.SetValue(0x44);
  file.blkEntryArray.Back().Flags.SetValue(0x2);
  const Bytes again = WriteSample(file);
  EXPECT_EQ(file.SubStartAddress.Value(), 20u);
  EXPECT_EQ(file.padding_word.BitLength(), 16);
  EXPECT_EQ(again, Bytes({'S',  'M',  'P',  'L',  0x01, 0, 0, 0, 0x14, 0x04, 0x11, 0xA5, 0x22,
                          0x3C, 0x33, 0x10, 0x44, 0x20, 0, 0, 0, 0,    0,    2,    0xCA, 0xFE}));
  EXPECT_EQ(ReadSample(again).blkEntryArray.Size(), 4u);
}

TEST(Block, InitializedModelWritesAndReadsBack) {
  BlkSampleFile file;
  file.Initialize();
  file.blkEntryArray[0].Id.SetValue(7);
  file.blkEntryArray[0].Flags.SetValue(1);
  file.blkSub.Data.SetValue(0);
  const Bytes written = WriteSample(file);
  EXPECT_EQ(written, Bytes({'S', 'M', 'P', 'L', 1, 0, 0, 0, 0x0C, 1, 7, 0x10, 0, 0, 0, 2, 0, 0}));
  BlkSampleFile back = ReadSample(written);
  EXPECT_EQ(WriteSample(back), written);
}

TEST(Block, CopiedBlockLinksItsOwnMembers) {
  BlkSampleFile original = ReadSample(kVersion1);
  BlkSampleFile copy = original;
  copy.NumberOfEntries.SetValue(1);  // before any other use of the copy
  EXPECT_EQ(copy.blkEntryArray.Size(), 2u) << "an unlinked copy must not resize the original";
  copy.Link();
  copy.NumberOfEntries.SetValue(1);
  EXPECT_EQ(copy.blkEntryArray.Size(), 1u);
  EXPECT_EQ(original.blkEntryArray.Size(), 2u);
  EXPECT_EQ(copy.blkSub.Data.FullName(), "Sample file.blkSub.Data");
}

// An element erased at the front, in the middle or at the back leaves the
// others with their own values, in the model and in the written file.
TEST(Block, ErasedEntriesLeaveTheOthersWithTheirOwnValues) {
  for (const std::size_t position : {0u, 1u, 3u}) {
    BlkSampleFile file = ReadSample(kVersion1);
    for (const std::uint32_t id : {0x33u, 0x44u}) {
      file.blkEntryArray.Append().Initialize();
      file.blkEntryArray.Back().Id.SetValue(id);
      file.blkEntryArray.Back().Flags.SetValue(id >> 4);
    }
    file.blkEntryArray.Erase(position);
    file.NumberOfEntries.SetValue(3);
    std::vector<std::uint32_t> ids{0x11, 0x22, 0x33, 0x44};
    ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(position));
    const BlkSampleFile back = ReadSample(WriteSample(file));
    ASSERT_EQ(back.blkEntryArray.Size(), 3u) << position;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      EXPECT_EQ(file.blkEntryArray[i].Id.Value(), ids[i]) << position;
      EXPECT_EQ(back.blkEntryArray[i].Id.Value(), ids[i]) << position;
      EXPECT_EQ(back.blkEntryArray[i].Flags.Value(), file.blkEntryArray[i].Flags.Value()) << position;
    }
  }
}
