// Text renderings of the typed fields and the new material numbers.
#include <gtest/gtest.h>

#include "avchdlib/AVCHD_Fields.h"
#include "tests/aaalib/LogCapture.h"

using AAA::Bytes;
namespace Field = AVCHD::Field;

namespace {
template <class F>
std::string TextOf(F field, const Bytes& value) {
  field.SetBytes(value);
  return field.ToString();
}
}  // namespace

TEST(Enumeration, UnknownValuesAreReserved) {
  EXPECT_EQ(TextOf(Field::VideoFormat("VideoFormat", 4), {0x00}), "reserved");
  EXPECT_EQ(TextOf(Field::VideoFormat("VideoFormat", 4), {0x07}), "reserved");
  EXPECT_EQ(TextOf(Field::VideoFormat("VideoFormat", 4), {0x04}), "1080i");
  EXPECT_EQ(TextOf(Field::FrameRate("FrameRate", 4), {0x05}), "reserved");
  EXPECT_EQ(TextOf(Field::FrameRate("FrameRate", 4), {0x04}), "30 000/1001 (29.97...)");
  EXPECT_EQ(TextOf(Field::Pulldown("Pulldown", 2), {0x00}), "no pulldown");
}

TEST(Enumeration, TypeNameIsTheClassNameInTheValueLine) {
  Field::StreamCodingType coding;
  LogCapture log(8);
  coding.SetValue(0x1B);
  EXPECT_EQ(log.Take(), "    = StreamCodingType {8,StreamCodingType} = 0x1b \"MPEG-4 AVC video stream\"\n");
}

TEST(TimeCode, RendersHoursFirstWithDropFrameFlag) {
  EXPECT_EQ(TextOf(Field::TimeCode("TC"), {0x45, 0x30, 0x59, 0x23}), "23:59:30:05 DF");
  EXPECT_EQ(TextOf(Field::TimeCode("TC"), {0x05, 0x30, 0x59, 0x23}), "23:59:30:05 NDF");
  EXPECT_EQ(TextOf(Field::TimeCode("TC"), {0xFF, 0xFF, 0xFF, 0xFF}), "UNDEFINED");
}

TEST(TimeAndDate, RendersBcdWithMonthName) {
  EXPECT_EQ(TextOf(Field::TimeAndDate("Date"), {0x20, 0x12, 0x09, 0x13, 0x14, 0x05, 0x59}), "2012.SEP.13 14:05:59");
  EXPECT_EQ(TextOf(Field::TimeAndDate("Date"), {0x20, 0x12, 0x13, 0x13, 0x14, 0x05, 0x59}), "2012.INV.13 14:05:59");
  EXPECT_EQ(TextOf(Field::TimeAndDate("Date"), {0x20, 0x12, 0x00, 0x13, 0x14, 0x05, 0x59}), "2012.INV.13 14:05:59");
}

TEST(TimeZone, RendersSignHoursHalfHourAndDaylight) {
  EXPECT_EQ(TextOf(Field::TimeZone("TZ"), {0x12}), "+9:00 ");
  EXPECT_EQ(TextOf(Field::TimeZone("TZ"), {0x67}), "-3:30 DST");
  EXPECT_EQ(TextOf(Field::TimeZone("TZ"), {0x3F}), "UNDEFINED");
}

TEST(CharacterSet, NamesTheIsoRangeInOrder) {
  EXPECT_EQ(TextOf(Field::CharacterSet("CS"), {0x01}), "UTF-8");
  EXPECT_EQ(TextOf(Field::CharacterSet("CS"), {0x92}), "ISO 8859-2");
  EXPECT_EQ(TextOf(Field::CharacterSet("CS"), {0x99}), "ISO 8859-9");
  EXPECT_EQ(TextOf(Field::CharacterSet("CS"), {0x9A}), "reserved");
}

TEST(Pro_BinaryGroup, RendersBytesInReverse) {
  Field::Pro_BinaryGroup group;
  EXPECT_EQ(group.Name(), std::string("StartBinaryGroup"));
  EXPECT_EQ(TextOf(group, {0x01, 0x02, 0x03, 0x04}), "04:03:02:01");
  EXPECT_EQ(TextOf(group, {0xFF, 0xFF, 0xFF, 0xFF}), "UNDEFINED");
}

TEST(Pro_Umid, EachInitializeMakesANewMaterialNumber) {
  Field::Pro_Umid first("GlobalMaterialID");
  Field::Pro_Umid second("GlobalMaterialID");
  LogCapture log(8);
  first.Initialize();
  second.Initialize();
  EXPECT_EQ(log.Take(), "");
  const Bytes label = {0x06, 0x0A, 0x2B, 0x34, 0x01, 0x01, 0x01, 0x05, 0x01, 0x01, 0x0D, 0x23, 0x13, 0x00, 0x00, 0x00};
  EXPECT_TRUE(std::equal(label.begin(), label.end(), first.ValueBytes().begin()));
  EXPECT_TRUE(std::equal(label.begin(), label.end(), second.ValueBytes().begin()));
  EXPECT_EQ(first.ValueBytes()[23], 0);
  EXPECT_NE(first.ValueBytes(), second.ValueBytes());
  EXPECT_EQ(first.ToString(), "");
}
