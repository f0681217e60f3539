// The movie playlist file: built models and their sizes, round trips, and
// the rules that refuse broken files.
#include <gtest/gtest.h>

#include "ModelBytes.h"
#include "PlayListFiles.h"
#include "Refusal.h"
#include "aaalib/AAA_Exceptions.h"

using AVCHD::MoviePlayList::BlkMoviePlayListFile;
using ModelBytes::Read;
using ModelBytes::Write;
using PlayListFiles::NewPlayList;
using Refusal::Poked;

namespace {

AAA::Bytes Rewrite(const AAA::Bytes& bytes) { return ModelBytes::Rewrite<BlkMoviePlayListFile>(bytes); }

template <class Select>
std::size_t OffsetOf(const AAA::Bytes& bytes, Select select) {
  return Refusal::OffsetOf<BlkMoviePlayListFile>(bytes, select);
}

void ExpectRefused(const AAA::Bytes& bytes, const std::string& report) {
  Refusal::ExpectRefused<BlkMoviePlayListFile, AAA::InvalidDataException>(bytes, report);
}

AAA::Bytes NewPlayListBytes(bool pro = false) {
  BlkMoviePlayListFile file = NewPlayList(pro);
  return Write(file);
}

}  // namespace

TEST(MoviePlayList, BuiltModelWritesReadsBackAndWritesIdentically) {
  for (bool pro : {false, true}) {
    const AAA::Bytes written = NewPlayListBytes(pro);
    BlkMoviePlayListFile file;
    Read(file, written);
    EXPECT_FALSE(file.IsModified());
    EXPECT_EQ(file.blkPlayList.blkPlayItemArray[1].ClipInformationFileName.ToString(), "00002");
    EXPECT_EQ(file.blkPlayListMark.blkPlayListMarkArray[1].MarkType.Value(), 2u);
    EXPECT_EQ(file.blkExtensionData.blkDataBlock.blkPlayListMarkExt.blkMarkExtensionArray[2].Pulldown.Value(), 2u);
    EXPECT_EQ(Write(file), written);
  }
}

TEST(MoviePlayList, SizesOfTheBlocksAreThoseOfTheFormat) {
  BlkMoviePlayListFile file = NewPlayList(false);
  Write(file);
  EXPECT_EQ(file.PlayListStartAddress.Value(), 58u);
  EXPECT_EQ(file.blkAppInfoPlayList.Length.Value(), 14u);
  const auto& item = file.blkPlayList.blkPlayItemArray[0];
  const auto& stn = item.blkSTNTable;
  EXPECT_EQ(stn.blkStreamEntryVideoArray[0].BitLength(), 10 * 8);
  EXPECT_EQ(stn.blkStreamEntryVideoArray[0].Length.Value(), 9u);
  EXPECT_EQ(stn.blkStreamEntryAudioArray[1].BitLength(), 10 * 8);
  for (const auto* attributes : {&stn.blkVideoStreamAttributesArray[0], &stn.blkAudioStreamAttributesArray[0],
                                 &stn.blkOBStreamAttributesArray[0], &stn.blkMBStreamAttributesArray[0]}) {
    EXPECT_EQ(attributes->Length.Value(), 5u);
  }
  EXPECT_EQ(stn.BitLength(), (16 + 5 * 16) * 8);
  EXPECT_EQ(item.BitLength(), 34 * 8 + stn.BitLength());
  EXPECT_EQ(file.blkPlayList.blkSubPathArray[0].blkSubPlayItemArray[0].Length.Value(), 28u);
  EXPECT_EQ(file.blkPlayListMark.Length.Value(), 2u + 3 * 14);
  const auto& plex = file.blkExtensionData.blkDataBlock;
  EXPECT_EQ(plex.blkPlayListMeta.BitLength(), 284 * 8);
  EXPECT_EQ(plex.blkPlayListMeta.Length.Value(), 280u);
  EXPECT_EQ(plex.blkPlayListMarkExt.blkMarkExtensionArray[0].BitLength(), 66 * 8);
  EXPECT_EQ(plex.PlayListMarkExtStartAddress.Value(), 40u + 284);
  EXPECT_EQ(plex.MakersPrivateDataStartAddress.Value(), 0u);
}

TEST(MoviePlayList, StreamsOfAKindAreWrittenEntriesFirstThenAttributes) {
  const AAA::Bytes bytes = NewPlayListBytes();
  const std::size_t audio = OffsetOf(
      bytes, [](auto& f) -> auto& {
        return f.blkPlayList.blkPlayItemArray[0].blkSTNTable.blkStreamEntryAudioArray[0].Length;
      });
  EXPECT_EQ(bytes[audio + 1], 1);       // entry 1: Type 1
  EXPECT_EQ(bytes[audio + 10 + 1], 2);  // entry 2: Type 2, of a sub-path
  EXPECT_EQ(bytes[audio + 20 + 1], 0x80);
  EXPECT_EQ(bytes[audio + 26 + 1], 0x81);
}

TEST(MoviePlayList, GapsAndUnknownProBlocksReadAndWriteBackByteForByte) {
  BlkMoviePlayListFile file = NewPlayList(true);
  file.padding_word1.SetBitLength(16);
  file.padding_word2.SetBitLength(32);
  file.padding_word3.SetBitLength(48);
  auto& plex = file.blkExtensionData.blkDataBlock;
  plex.padding_word1.SetBitLength(16);
  plex.padding_word2.SetBitLength(32);
  auto& pro = plex.blkMakersPrivateData.blkDataBlock;
  auto& unknownInMark = pro.PRO_PlayListInfo.blkPRO_PlayListMarkArray[0].blkPRO_UnknownPROArray.Append();
  unknownInMark.PRO_Tag_ID.SetValue(0x30);
  unknownInMark.ext_data.SetBitLength(48);
  unknownInMark.ext_data.SetBytes(AAA::Bytes{1, 2, 3, 4, 5, 6});
  // An unknown top-level block in place of the makers private area: at most three blocks.
  pro.PRO_MakersPrivateArea.Tag_ID.SetValue(0);
  auto& unknownTop = pro.blkPRO_UnknownArray.Append();
  unknownTop.Tag_ID.SetValue(0x55);
  unknownTop.Tag_ver.SetValue(0x10);
  unknownTop.ext_data.SetBitLength(16);
  unknownTop.ext_data.SetBytes(AAA::Bytes{0xAB, 0xCD});
  const AAA::Bytes written = Write(file);
  EXPECT_EQ(file.PlayListStartAddress.Value(), 60u);
  EXPECT_EQ(pro.NumberOfData.Value(), 3u);
  EXPECT_EQ(Rewrite(written), written);
}

TEST(MoviePlayList, HeaderRulesRefuseTheFile) {
  const AAA::Bytes good = NewPlayListBytes();
  ExpectRefused(Poked(good, 0, {'M', 'P', 'L', 'X'}), "(\"MPLS\")");
  ExpectRefused(Poked(good, 11, {59}), "(\"PlayListStartAddress % 2 == 0\")");
  ExpectRefused(Poked(good, 16, {0, 0, 0, 0}), "(\"ExtensionDataStartAddress != 0\")");
  ExpectRefused(Poked(good, 11, {56}), "(\"paddingLength1 >= 0\")");
}

TEST(MoviePlayList, CountRulesRefuseAtTheCount) {
  const AAA::Bytes good = NewPlayListBytes();
  ExpectRefused(Poked(good, 58 + 6, {0, 0}), "(\"(1 <= self.NumberOfPlayItems) && (self.NumberOfPlayItems <= 999)\")");
  ExpectRefused(Poked(good, 58 + 6, {0x03, 0xE8}),
                "(\"(1 <= self.NumberOfPlayItems) && (self.NumberOfPlayItems <= 999)\")");
  const std::size_t counts = OffsetOf(
      good, [](auto& f) -> auto& { return f.blkPlayList.blkPlayItemArray[0].blkSTNTable.NumberOfVideoStreamEntries; });
  ExpectRefused(Poked(good, counts, {2}), "NumberOfVideoStreamEntries\n  Expected: 0x01 \"1\" (1)\n");
  ExpectRefused(Poked(good, counts + 1, {5}),
                "(\"(0 <= self.NumberOfAudioStreamEntries) && (self.NumberOfAudioStreamEntries <= 4)\")");
  const std::size_t marks = OffsetOf(
      good, [](auto& f) -> auto& { return f.blkExtensionData.blkDataBlock.blkPlayListMarkExt.NumberOfPlayListMarks; });
  ExpectRefused(Poked(good, marks, {0x03, 0xE8}),
                "(\"0 <= self.NumberOfPlayListMarks && self.NumberOfPlayListMarks <= 999\")");
}

TEST(MoviePlayList, ManyPlayItemsAndMarkExtensionsUpToTheLimitRead) {
  BlkMoviePlayListFile file = NewPlayList(false);
  file.blkPlayList.NumberOfPlayItems.SetValue(999);
  for (std::uint32_t i = 2; i < 999; ++i) PlayListFiles::FillPlayItem(file.blkPlayList.blkPlayItemArray[i], 3);
  auto& extensions = file.blkExtensionData.blkDataBlock.blkPlayListMarkExt;
  extensions.NumberOfPlayListMarks.SetValue(999);
  for (std::uint32_t i = 3; i < 999; ++i) {
    extensions.blkMarkExtensionArray[i].Initialize();
    extensions.blkMarkExtensionArray[i].Pulldown.SetValue(0);
  }
  const AAA::Bytes written = Write(file);
  EXPECT_EQ(Rewrite(written), written);
}

TEST(MoviePlayList, StreamRulesRefuseTheFile) {
  const AAA::Bytes good = NewPlayListBytes();
  const std::size_t video = OffsetOf(
      good, [](auto& f) -> auto& {
        return f.blkPlayList.blkPlayItemArray[0].blkSTNTable.blkStreamEntryVideoArray[0].RefToStreamPIDOfMainClip;
      });
  ExpectRefused(Poked(good, video, {0x10, 0x12}), "(RefToStreamPIDOfMainClip == 0x1401)\")");
  ExpectRefused(Poked(good, video - 1, {3}), "(\"(self.Type == 1) || (self.Type == 2)\")");
  const std::size_t attributes = OffsetOf(
      good, [](auto& f) -> auto& {
        return f.blkPlayList.blkPlayItemArray[0].blkSTNTable.blkVideoStreamAttributesArray[0].StreamCodingType;
      });
  ExpectRefused(Poked(good, attributes, {0x02}), "(self.StreamCodingType == 0x91)\")");
  ExpectRefused(Poked(good, attributes + 1, {0x74}), "(\"(1 <= VideoFormat) && (VideoFormat <= 6)\")");
  ExpectRefused(Poked(good, attributes + 1, {0x45}), "(FrameRate == 7)\")");
}

TEST(MoviePlayList, PlayItemRulesAcceptTheConnectionsOfTheFormatOnly) {
  const AAA::Bytes good = NewPlayListBytes();
  const std::size_t item = 68;
  for (std::uint8_t condition : {5, 6}) {
    const AAA::Bytes connected = Poked(good, item + 12, {condition});
    EXPECT_EQ(Rewrite(connected), connected);
  }
  ExpectRefused(Poked(good, item + 12, {2}), "(ConnectionCondition == 6)\")");
  ExpectRefused(Poked(good, item + 31, {3}), "(StillMode == 0x02)\")");
  ExpectRefused(Poked(good, item + 7, {'X'}), "(\"M2TS\")");
}

TEST(MoviePlayList, SubPathRulesRefuseTheFile) {
  const AAA::Bytes good = NewPlayListBytes();
  const std::size_t type = OffsetOf(
      good, [](auto& f) -> auto& { return f.blkPlayList.blkSubPathArray[0].SubPathType; });
  ExpectRefused(Poked(good, type, {4}), "SubPathType\n  Expected: 0x03 \"External Menu Bitmap stream\" (3)\n");
  ExpectRefused(Poked(good, type + 4, {2}),
                "(\"(0 <= self.NumberOfSubPlayItems) && (self.NumberOfSubPlayItems <= 1)\")");
}

TEST(MoviePlayList, MarkRulesRefuseTheFile) {
  const AAA::Bytes good = NewPlayListBytes();
  const std::size_t mark = OffsetOf(
      good, [](auto& f) -> auto& { return f.blkPlayListMark.blkPlayListMarkArray[0].reserved; });
  ExpectRefused(Poked(good, mark + 1, {2}), "blkPlayListMark.PlayListMark.MarkType\n  Expected: 0x01");
  ExpectRefused(Poked(good, mark + 1, {3}), "(\"(MarkType == 1) || (MarkType == 2)\")");
  ExpectRefused(Poked(good, mark + 8, {0xFF, 0xFE}), "(0xffff)");
  ExpectRefused(Poked(good, mark + 13, {1}), "Duration\n  Expected: 0x00000000 \"0\" (0U)");
}
