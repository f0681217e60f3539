// The tagged professional-metadata blocks shared by the management files.
#include <gtest/gtest.h>

#include "ModelBytes.h"
#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_CommonPro.h"
#include "tests/aaalib/LogCapture.h"

using AAA::Bytes;
using AVCHD::Common::BlkPRO_ContentInfo;
using AVCHD::Common::BlkPRO_ProfessionalMetaID;
using AVCHD::Common::BlkPRO_Unknown;
using AVCHD::Common::BlkPRO_UnknownPRO;
using ModelBytes::Join;
using ModelBytes::Text;

namespace {

const Bytes kMetaID = {0x00, 0x07, 0xCF, 0x88, 0xA8, 0x0E, 0x49, 0x96, 0xB7, 0x8B, 0xE5, 0x60, 0x08, 0xA8, 0x20, 0xB7};
const Bytes kUmid(32, 0x5A);

// A content info after its tag byte: fill, Length 36, content, channel, material.
Bytes ContentInfoAfterTag(const std::string& content = "CAM") {
  return Join({{0xFF, 0x00, 0x24}, Text(content), Text("L"), kUmid});
}

// The meta identifier after its tag byte, with `after` following the identifier.
Bytes MetaIDAfterTag(std::uint8_t version, const Bytes& after = {}) {
  const auto length = static_cast<std::uint8_t>(16 + after.size());
  return Join({{version, 0x00, length}, kMetaID, after});
}

}  // namespace

TEST(ProfessionalMetaID, InitializedBlockIsVersionOneZeroWithoutContentInfo) {
  BlkPRO_ProfessionalMetaID block;
  block.Initialize();
  EXPECT_EQ(ModelBytes::Write(block), Join({{0xE0, 0x10, 0x00, 0x10}, kMetaID}));
}

TEST(ProfessionalMetaID, VersionDecidesContentInfoAndFutureFields) {
  BlkPRO_ProfessionalMetaID v10;
  ModelBytes::Read(v10, MetaIDAfterTag(0x10));
  EXPECT_EQ(v10.Children().size(), 4u);
  EXPECT_FALSE(v10.IsModified());

  const Bytes withContent = Join({{0x02}, ContentInfoAfterTag()});
  BlkPRO_ProfessionalMetaID v11;
  ModelBytes::Read(v11, MetaIDAfterTag(0x11, withContent));
  EXPECT_EQ(v11.Children().size(), 5u);
  EXPECT_EQ(v11.blkPRO_ContentInfo.ContentID.ToString(), "CAM");
  EXPECT_EQ(v11.blkPRO_ContentInfo.ChannelID.ToString(), "L");
  EXPECT_EQ(ModelBytes::Write(v11), Join({{0xE0}, MetaIDAfterTag(0x11, withContent)}));

  // Fields of a later version are kept as read.
  const Bytes future = {0xDE, 0xAD, 0xBE, 0xEF};
  BlkPRO_ProfessionalMetaID v12;
  ModelBytes::Read(v12, MetaIDAfterTag(0x12, Join({withContent, future})));
  EXPECT_EQ(v12.FutureDefinedFields.BitLength(), 32);
  EXPECT_FALSE(v12.IsModified());
  EXPECT_EQ(ModelBytes::Write(v12), Join({{0xE0}, MetaIDAfterTag(0x12, Join({withContent, future}))}));
}

TEST(ProfessionalMetaID, VersionBelowOneZeroIsRefusedWithTheRuleInTheLog) {
  LogCapture log(7);
  BlkPRO_ProfessionalMetaID block;
  EXPECT_THROW(ModelBytes::Read(block, MetaIDAfterTag(0x0F)), AAA::InvalidDataException);
  EXPECT_EQ(log.Take(), ModelBytes::Position("avchdlib/AVCHD_CommonPro.cpp", "AAA_VERIFY(self.Tag_ver") +
                            "      Name: PRO_ProfessionalMetaID.Tag_ver\n"
                            "  Expected: true (\"(self.Tag_ver >> 4) != 0\")\n"
                            "    Actual: 0x0f \"15\"\n");
}

TEST(ProfessionalMetaID, OtherIdentifierIsRefused) {
  Bytes bytes = MetaIDAfterTag(0x10);
  bytes[5] = 0x00;
  LogCapture log(7);
  BlkPRO_ProfessionalMetaID block;
  EXPECT_THROW(ModelBytes::Read(block, bytes), AAA::InvalidDataException);
  EXPECT_NE(log.Take().find(R"(("\x00\x07\xcf\x88\xa8\x0e\x49\x96\xb7\x8b\xe5\x60\x08\xa8\x20\xb7"))"),
            std::string::npos);
}

TEST(ProfessionalMetaID, LengthThatDisagreesIsRefused) {
  Bytes bytes = MetaIDAfterTag(0x10);
  bytes[2] = 0x0F;
  BlkPRO_ProfessionalMetaID block;
  EXPECT_THROW(ModelBytes::Read(block, bytes), AAA::InvalidDataException);
}

TEST(ContentInfo, CamAnd3dsAreAcceptedOtherContentRefused) {
  for (const char* content : {"CAM", "3DS"}) {
    BlkPRO_ContentInfo block;
    EXPECT_NO_THROW(ModelBytes::Read(block, ContentInfoAfterTag(content))) << content;
  }
  LogCapture log(7);
  BlkPRO_ContentInfo block;
  EXPECT_THROW(ModelBytes::Read(block, ContentInfoAfterTag("3DT")), AAA::InvalidDataException);
  EXPECT_EQ(log.Take(), ModelBytes::Position("avchdlib/AVCHD_CommonPro.h", "AAA_ALLOWED(ContentID") +
                            "      Name: blkPRO_ContentInfo.ContentID\n"
                            "  Expected: true (\"(ContentID.ToString() == \"3DS\") || "
                            "(ContentID.ToString() == \"CAM\")\")\n"
                            "    Actual: 0x334454 \"3DT\"\n");
}

TEST(ContentInfo, InitializedBlockIsLeftChannelOf3dWithNewMaterial) {
  BlkPRO_ContentInfo first;
  first.Initialize();
  const Bytes written = ModelBytes::Write(first);
  ASSERT_EQ(written.size(), 40u);
  EXPECT_EQ(Bytes(written.begin(), written.begin() + 8), Join({{0x02, 0xFF, 0x00, 0x24}, Text("3DSL")}));
  BlkPRO_ContentInfo second;
  second.Initialize();
  EXPECT_NE(second.GlobalMaterialID.ValueBytes(), first.GlobalMaterialID.ValueBytes());
}

TEST(UnknownPRO, BlockOfLengthSixIsWrittenBackUnchanged) {
  const Bytes afterTag = {0xFF, 0x00, 0x06, 1, 2, 3, 4, 5, 6};
  BlkPRO_UnknownPRO block;
  block.PRO_Tag_ID.SetValue(0x85);
  ModelBytes::Read(block, afterTag);
  EXPECT_FALSE(block.IsModified());
  EXPECT_EQ(ModelBytes::Write(block), Join({{0x85}, afterTag}));
}

TEST(UnknownPRO, MissingFillItemIsRefused) {
  BlkPRO_UnknownPRO block;
  block.PRO_Tag_ID.SetValue(0x85);
  EXPECT_THROW(ModelBytes::Read(block, {0xFE, 0x00, 0x00}), AAA::InvalidDataException);
}

// An unknown professional-metadata block keeps its version and its bytes, so
// that a rewrite does not destroy a maker's metadata.
TEST(Unknown, BlockOfLengthSixKeepsItsVersionAndData) {
  const Bytes afterTag = {0x13, 0x00, 0x06, 1, 2, 3, 4, 5, 6};
  BlkPRO_Unknown block;
  block.Tag_ID.SetValue(0xE7);
  ModelBytes::Read(block, afterTag);
  EXPECT_FALSE(block.IsModified());
  EXPECT_EQ(ModelBytes::Write(block), Join({{0xE7}, afterTag}));
}

TEST(Unknown, TruncatedDataEndsInUnexpectedEof) {
  BlkPRO_Unknown block;
  block.Tag_ID.SetValue(0xE7);
  EXPECT_THROW(ModelBytes::Read(block, {0x10, 0xFF, 0xFF, 1, 2}), AAA::UnexpectedEofException);
}
