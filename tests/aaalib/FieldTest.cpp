// Single fields: unset values, the modified test, value operations, text
// renderings and the value line of the log.
#include <gtest/gtest.h>

#include "LogCapture.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Field.h"
#include "aaalib/AAA_MemoryStream.h"
#include "aaalib/AAA_Verify.h"

using AAA::Bytes;
using AAA::Field::BE;

TEST(Field, NewFieldIsUnsetAndNotModified) {
  BE field("Count", 16);
  EXPECT_EQ(field.ValueBytes(), Bytes({0xAA, 0xAA}));
  EXPECT_EQ(field.BitPosition(), -1);
  EXPECT_FALSE(field.IsModified());
  field.SetValue(0xAAAA);
  EXPECT_FALSE(field.IsModified());
  field.SetValue(1);
  EXPECT_TRUE(field.IsModified());
}

TEST(Field, SettingTheReadValueAgainIsNoChange) {
  AAA::MemoryStream stream({0x00, 0x07});
  AAA::BitReader reader(stream);
  BE field("Count", 16);
  field.Read(reader);
  field.SetValue(7);
  EXPECT_FALSE(field.IsModified());
  EXPECT_EQ(field.Increment(), 7u);
  EXPECT_TRUE(field.IsModified());
}

TEST(Field, ZeroWidthRecordsPositionOnly) {
  AAA::MemoryStream stream({0x01});
  AAA::BitReader reader(stream);
  reader.Skip(8);
  BE field("Nothing", 0);
  LogCapture log(8);
  field.Read(reader);
  EXPECT_EQ(log.Take(), "");
  EXPECT_EQ(field.BitPosition(), 8);
  EXPECT_EQ(reader.BitPosition(), 8u);
  EXPECT_FALSE(field.IsModified());
}

TEST(Field, ValueLineShowsNameWidthTypeBytesAndText) {
  AAA::MemoryStream stream({0x00, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 'M', 'O'});
  AAA::BitReader reader(stream);
  BE small("NumberOfThings", 16);
  BE wide("Identifier", 64);
  AAA::Field::Str text("Name", 16);
  LogCapture log(8);
  small.Read(reader);
  wide.Read(reader);
  text.Read(reader);
  small.SetValue(9);
  EXPECT_EQ(log.Take(),
            "    NumberOfThings {16,BE} = 0x0003 \"3\"\n"
            "    Identifier {64,BE} = 0x0102030405060708 \"\"\n"
            "    Name {16,Str} = 0x4d4f \"MO\"\n"
            "    = NumberOfThings {16,BE} = 0x0009 \"9\"\n");
}

TEST(Field, SetValueClearsHighBytesOfWideFields) {
  BE wide("Reserved", 64);
  wide.SetValue(0x01020304);
  EXPECT_EQ(wide.ValueBytes(), Bytes({0, 0, 0, 0, 1, 2, 3, 4}));
  EXPECT_EQ(wide.Value(), 0u);
  wide.SetValue(0);
  EXPECT_EQ(wide.ValueBytes(), Bytes(8, 0));
}

TEST(Field, SetBitLengthKeepsBytesAndResetsBaseline) {
  BE field("Grows", 8);
  field.SetValue(0x12);
  field.SetBitLength(24);
  EXPECT_EQ(field.ValueBytes(), Bytes({0x12, 0xAA, 0xAA}));
  EXPECT_FALSE(field.IsModified());
  EXPECT_THROW(field.SetBitLength(-8), AAA::InvalidDataException);
}

TEST(Field, ByteOperationsAssignTheValue) {
  BE field("Watched", 8);
  BE source("Source", 8);
  source.SetValue(0x42);
  field.Fill(0x11);
  EXPECT_EQ(field.Value(), 0x11u);
  field.Assign(source);
  EXPECT_EQ(field.Value(), 0x42u);
  field.SetBytes(Bytes{0x99});
  EXPECT_EQ(field.Value(), 0x99u);
}

TEST(Field, CopyKeepsValueBaselineAndPosition) {
  AAA::MemoryStream stream({0x05});
  AAA::BitReader reader(stream);
  BE field("Copied", 8);
  field.Read(reader);
  field.SetValue(6);
  BE copy(field);
  EXPECT_EQ(copy.Value(), 6u);
  EXPECT_TRUE(copy.IsModified());
  EXPECT_EQ(copy.BitPosition(), 0);
}

TEST(ExtData, KeepsOpaqueBytesAndWritesThemBack) {
  AAA::MemoryStream stream({0xDE, 0xAD, 0xBE, 0xEF});
  AAA::BitReader reader(stream);
  AAA::Field::ExtData data("Data");
  data.SetBitLength(32);
  data.Read(reader);
  EXPECT_EQ(data.ValueBytes(), Bytes({0xDE, 0xAD, 0xBE, 0xEF}));
  AAA::MemoryStream out;
  AAA::BitWriter writer(out);
  data.Write(writer);
  EXPECT_EQ(out.Bytes(), stream.Bytes());
}

TEST(ExtData, NeverReadIsWrittenAsZeros) {
  AAA::Field::ExtData data("Data");
  data.SetBitLength(24);
  AAA::MemoryStream out;
  AAA::BitWriter writer(out);
  data.Write(writer);
  EXPECT_EQ(out.Bytes(), Bytes(3, 0));
}

TEST(Padding, SkipsAndLogsItsWidth) {
  AAA::MemoryStream stream({1, 2, 3});
  AAA::BitReader reader(stream);
  AAA::Field::Padding padding("padding_word");
  padding.SetBitLength(16);
  LogCapture log(8);
  padding.Read(reader);
  EXPECT_EQ(log.Take(), "    padding_word {16,Padding} = 0x \"\"\n");
  EXPECT_EQ(reader.BitPosition(), 16u);
  EXPECT_FALSE(padding.IsModified());
}
