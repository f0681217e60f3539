// The index table file with its extension and professional metadata.
#include <gtest/gtest.h>

#include "ModelBytes.h"
#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_Maker.h"
#include "tests/aaalib/LogCapture.h"

using AAA::Bytes;
using AVCHD::IndexTable::BlkIndexTableFile;

namespace {

// A new index table with two movie titles, a playlist pair each, and the
// makers private data switched on.
BlkIndexTableFile TwoTitles() {
  BlkIndexTableFile file;
  file.Initialize();
  file.blkIndexes.NumberOfMovieTitles.SetValue(2);
  for (auto& title : file.blkIndexes.blkMovieTitleArray) title.MovieTitleMobjIDRef.SetValue(0);
  auto& extension = file.blkExtensionData.blkDataBlock;
  extension.blkTableOfPlayLists.NumberOfMovieTitlePlayListPair.SetValue(2);
  for (auto& pair : extension.blkTableOfPlayLists.blkMovieTitlePlayListPairArray) pair.Initialize();
  extension.blkTableOfPlayLists.blkMovieTitlePlayListPairArray[1].PlayListFileName.SetBytes(ModelBytes::Text("00002"));
  extension.MakersPrivateDataStartAddress.SetValue(1);  // any address but 0 adds it; Update places it
  auto& titleInfo = extension.blkMakersPrivateData.blkDataBlock.blkPRO_MakersPrivateArea.blkPro_MovieTitleExtensionInfo;
  titleInfo.NumberOfMovieTitlePlayListPair.SetValue(2);
  titleInfo.blkMovieTitleExtDataArray.Initialize();
  return file;
}

// Bytes with the value of `field` (as read from `bytes`) replaced.
Bytes Patched(Bytes bytes, const AAA::FieldBase& field, const Bytes& value) {
  const auto at = static_cast<std::size_t>(field.BitPosition() / 8);
  std::copy(value.begin(), value.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  return bytes;
}

Bytes TwoTitlesBytes() {
  BlkIndexTableFile file = TwoTitles();
  return ModelBytes::Write(file);
}

// The model of TwoTitlesBytes as read, to find the positions of its fields.
BlkIndexTableFile TwoTitlesRead() {
  BlkIndexTableFile file;
  ModelBytes::Read(file, TwoTitlesBytes());
  return file;
}

template <class Exception = AAA::InvalidDataException>
void ExpectRefused(const Bytes& bytes) {
  BlkIndexTableFile file;
  EXPECT_THROW(ModelBytes::Read(file, bytes), Exception);
}

}  // namespace

TEST(IndexTable, InitializedFileRoundTripsWithTheSizesOfItsBlocks) {
  const Bytes written = ModelBytes::InitializedFileRoundTrips<BlkIndexTableFile>();
  BlkIndexTableFile file;
  ModelBytes::Read(file, written);
  EXPECT_EQ(file.IndexesStartAddress.Value(), 78u);
  EXPECT_EQ(file.blkAppInfoBDMV.Length.Value(), 34u);
  EXPECT_EQ(file.ExtensionDataStartAddress.Value(), 78u + 30);
  auto& extension = file.blkExtensionData.blkDataBlock;
  EXPECT_EQ(extension.blkUIAppInfoAVCHD.Length.Value(), 310u);
  EXPECT_EQ(extension.TableOfPlayListsStartAddress.Value(), 40u + 314);
  EXPECT_EQ(extension.MakersPrivateDataStartAddress.Value(), 0u);
  EXPECT_EQ(file.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef.Value(), 0xFFFFu);
  EXPECT_EQ(extension.blkUIAppInfoAVCHD.RefToMenuThumbnailIndex.Value(), 0xFFFFu);
  EXPECT_EQ(written.size(), 108u + 24 + 40 + 314 + 18);
}

TEST(IndexTable, ModelWithTitlesAndProfessionalMetadataRoundTrips) {
  const Bytes written = TwoTitlesBytes();
  EXPECT_EQ(ModelBytes::Rewrite<BlkIndexTableFile>(written), written);
  BlkIndexTableFile file = TwoTitlesRead();
  auto& privateData = file.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkDataBlock;
  EXPECT_EQ(privateData.NumberOfData.Value(), 3u);
  EXPECT_EQ(privateData.blkPRO_IndexInfo.LastTimeCode.ToString(), "UNDEFINED");
  const auto& entry = privateData.blkPRO_MakersPrivateArea.blkPro_MovieTitleExtensionInfo.blkMovieTitleExtDataArray[1];
  EXPECT_EQ(entry.VideoFormat.Value(), 6u);
  EXPECT_EQ(entry.FrameRate.Value(), 7u);
  EXPECT_EQ(privateData.blkPRO_MakersPrivateArea.MakerID.Value(), AVCHD::AVCHD_MAKER_ID);
  EXPECT_FALSE(file.IsModified());
}

TEST(IndexTable, PaddingsAndUnknownBlocksReadAndWriteBackByteForByte) {
  BlkIndexTableFile file = TwoTitles();
  file.padding_word1.SetBitLength(32);
  file.padding_word2.SetBitLength(64);
  auto& extension = file.blkExtensionData.blkDataBlock;
  extension.padding_word1.SetBitLength(16);
  extension.padding_word2.SetBitLength(48);
  extension.blkMakersPrivateData.padding_word1.SetBitLength(32);
  auto& area = extension.blkMakersPrivateData.blkDataBlock.blkPRO_MakersPrivateArea;
  for (std::uint8_t tag : {0x83, 0x90}) {
    auto& unknown = area.blkPRO_UnknownPROArray.Append();
    unknown.PRO_Tag_ID.SetValue(tag);
    ModelBytes::Read(unknown, {0xFF, 0x00, 0x06, 1, 2, 3, 4, 5, tag});
  }
  const Bytes written = ModelBytes::Write(file);
  EXPECT_EQ(file.IndexesStartAddress.Value(), 82u);
  EXPECT_EQ(extension.blkMakersPrivateData.DataBlockStartAddress.Value(), 28u);

  BlkIndexTableFile again;
  ModelBytes::Read(again, written);
  auto& areaAgain = again.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkDataBlock.blkPRO_MakersPrivateArea;
  ASSERT_EQ(areaAgain.blkPRO_UnknownPROArray.Size(), 2u);
  EXPECT_EQ(areaAgain.blkPRO_UnknownPROArray[1].ext_data.ValueBytes(), (Bytes{1, 2, 3, 4, 5, 0x90}));
  EXPECT_EQ(ModelBytes::Write(again), written);
}

TEST(IndexTable, OtherVersionIsRefusedWithTheRuleInTheLog) {
  const BlkIndexTableFile file = TwoTitlesRead();
  LogCapture log(7);
  ExpectRefused(Patched(TwoTitlesBytes(), file.TypeIndicator2, ModelBytes::Text("0200")));
  EXPECT_EQ(log.Take(), ModelBytes::Position("avchdlib/AVCHD_IndexTable.h", "AAA_FIXED(\"0100\")") +
                            "      Name: Index table file.TypeIndicator2\n"
                            "  Expected: 0x30313030 \"0100\" (\"0100\")\n"
                            "    Actual: 0x30323030 \"0200\"\n");
}

TEST(IndexTable, MissingExtensionDataIsRefused) {
  const BlkIndexTableFile file = TwoTitlesRead();
  LogCapture log(7);
  ExpectRefused(Patched(TwoTitlesBytes(), file.ExtensionDataStartAddress, {0, 0, 0, 0}));
  EXPECT_NE(log.Take().find("(\"ExtensionDataStartAddress != 0\")"), std::string::npos);
}

TEST(IndexTable, FirstPlaybackReferenceBeyondTheObjectsIsRefused) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& reference = file.blkIndexes.blkFirstPlaybackTitle.FirstPlaybackTitleMobjIDRef;
  ExpectRefused(Patched(TwoTitlesBytes(), reference, {0x03, 0xE9}));  // 1001
  BlkIndexTableFile thousand;
  EXPECT_NO_THROW(ModelBytes::Read(thousand, Patched(TwoTitlesBytes(), reference, {0x03, 0xE8})));
}

TEST(IndexTable, ThousandMovieTitlesAreRefusedBeforeAnyTitleIsRead) {
  const BlkIndexTableFile file = TwoTitlesRead();
  Bytes bytes = Patched(TwoTitlesBytes(), file.blkIndexes.NumberOfMovieTitles, {0x03, 0xE8});
  bytes.resize(static_cast<std::size_t>(file.blkIndexes.NumberOfMovieTitles.BitPosition() / 8 + 2));
  LogCapture log(7);
  ExpectRefused(bytes);
  EXPECT_NE(log.Take().find("(\"(0 <= self.NumberOfMovieTitles) && (self.NumberOfMovieTitles <= 999)\")"),
            std::string::npos);
}

TEST(IndexTable, WithoutMakersPrivateDataNothingIsReadAfterTheTableOfPlayLists) {
  BlkIndexTableFile file;
  file.Initialize();
  Bytes bytes = ModelBytes::Write(file);
  bytes.insert(bytes.end(), {0xFF, 0xFF});  // not read: the extension's length does not cover it
  BlkIndexTableFile again;
  ModelBytes::Read(again, bytes);
  EXPECT_EQ(again.blkExtensionData.blkDataBlock.Children().size(), 8u);
}

TEST(IndexTable, TelevisionSystemFlagsMustNameOneSystem) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& info = file.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  // Is60, Is50, Is24 and the write protect flag are the low four bits of one byte.
  const auto flags = [&](std::uint8_t bits) { return Patched(TwoTitlesBytes(), info.Is60, {bits}); };
  LogCapture log(7);
  ExpectRefused(flags(0x0C));
  EXPECT_NE(log.Take().find("(\"!((Is60 == 1) && (Is50 == 1))\")"), std::string::npos);
  ExpectRefused(flags(0x01));
  BlkIndexTableFile only24;
  EXPECT_NO_THROW(ModelBytes::Read(only24, flags(0x02)));
}

TEST(IndexTable, NameOfLengthZeroNeedsNoCharacterSet) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& info = file.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  BlkIndexTableFile noName;
  EXPECT_NO_THROW(ModelBytes::Read(noName, Patched(TwoTitlesBytes(), info.AVCHDCharacterSet, {0x00, 0x00})));
  ExpectRefused(Patched(TwoTitlesBytes(), info.AVCHDCharacterSet, {0x00, 0x01}));
}

TEST(IndexTable, RecordDateMustBeARealDateOrNone) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& date = file.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD.RecordTimeAndDate;
  BlkIndexTableFile dated;
  EXPECT_NO_THROW(ModelBytes::Read(dated, Patched(TwoTitlesBytes(), date, {0x20, 0x12, 0x09, 0x13, 0x14, 0x05, 0x59})));
  ExpectRefused(Patched(TwoTitlesBytes(), date, {0x20, 0x12, 0x13, 0x13, 0x14, 0x05, 0x59}));
  ExpectRefused(Patched(TwoTitlesBytes(), date, {0x20, 0x1A, 0x09, 0x13, 0x14, 0x05, 0x59}));
}

TEST(IndexTable, RecordingOfAnotherMakerIsRefusedWithMakerModelException) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& info = file.blkExtensionData.blkDataBlock.blkUIAppInfoAVCHD;
  ExpectRefused<AAA::MakerModelException>(Patched(TwoTitlesBytes(), info.MakerID, {0x00, 0x01}));
  ExpectRefused<AAA::MakerModelException>(Patched(TwoTitlesBytes(), info.MakerModelCode, {0x62, 0x00}));
}

TEST(IndexTable, PrivateDataBlockNeedsTwoOrThreeKnownTags) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& privateData = file.blkExtensionData.blkDataBlock.blkMakersPrivateData.blkDataBlock;
  ExpectRefused(Patched(TwoTitlesBytes(), privateData.NumberOfData, {0x00, 0x01}));

  const std::int64_t tagPosition = privateData.blkPRO_IndexInfo.Tag_ver.BitPosition() - 8;
  Bytes bytes = TwoTitlesBytes();
  bytes[static_cast<std::size_t>(tagPosition / 8)] = 0xE2;
  LogCapture log(4);
  ExpectRefused(bytes);
  EXPECT_EQ(log.Take(), ModelBytes::Site("avchdlib/AVCHD_CommonPro.cpp", "AAA_THROW(InvalidDataException())") +
                            ": InvalidDataException()\n");
}

TEST(IndexTable, PlayListPairOfUnknownAttributeIsRefused) {
  const BlkIndexTableFile file = TwoTitlesRead();
  const auto& pair = file.blkExtensionData.blkDataBlock.blkTableOfPlayLists.blkMovieTitlePlayListPairArray[0];
  ExpectRefused(Patched(TwoTitlesBytes(), pair.PlayListAttribute, {0x03}));
}
