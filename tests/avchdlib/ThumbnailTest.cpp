// The thumbnail index file.
#include <gtest/gtest.h>

#include "ModelBytes.h"
#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_Thumbnail.h"
#include "tests/aaalib/LogCapture.h"

using AAA::Bytes;
using AVCHD::Thumbnail::BlkThumbnailIndexFile;
using ModelBytes::Join;
using ModelBytes::Text;
using ModelBytes::Zeros;

namespace {

// An index of `count` thumbnails, entry i: index i, block i, 1000 + i bytes, 160 x 90.
BlkThumbnailIndexFile IndexOf(std::uint32_t count) {
  BlkThumbnailIndexFile index;
  index.Initialize();
  index.NumberOfThumbnails.SetValue(count);
  index.NumberOfTnBlocks.SetValue(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    auto& thumbnail = index.blkThumbnailArray[i];
    thumbnail.ThumbnailIndex.SetValue(i);
    thumbnail.RefToTnBlockId.SetValue(i);
    thumbnail.PictureByteSize.SetValue(1000 + i);
    thumbnail.HorizontalPictureSize.SetValue(160);
    thumbnail.VerticalPictureSize.SetValue(90);
  }
  return index;
}

// Header with Length, then Reserved2, the two counts, block size 16 and 18 reserved bytes.
Bytes HandMadeIndex(std::uint8_t length, std::uint16_t thumbnails, std::uint16_t blocks, std::uint8_t blockSize = 16) {
  return Join({Text("TIDX0100"),
               Zeros(28),
               {0, 0, 0, length},
               Zeros(4),
               {static_cast<std::uint8_t>(thumbnails >> 8), static_cast<std::uint8_t>(thumbnails),
                static_cast<std::uint8_t>(blocks >> 8), static_cast<std::uint8_t>(blocks), 0, blockSize},
               Zeros(18)});
}

const Bytes kEntry = {0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x00, 0xA0, 0x00, 0x5A};

void ExpectRefused(const Bytes& bytes) {
  BlkThumbnailIndexFile index;
  EXPECT_THROW(ModelBytes::Read(index, bytes), AAA::InvalidDataException);
}

}  // namespace

TEST(ThumbnailIndex, InitializedIndexIsHeaderAndEmptyListAndRoundTrips) {
  const Bytes written = ModelBytes::InitializedFileRoundTrips<BlkThumbnailIndexFile>();
  EXPECT_EQ(written, HandMadeIndex(28, 0, 0));
}

TEST(ThumbnailIndex, ThreeThumbnailsGiveLengthSixtyFour) {
  BlkThumbnailIndexFile index = IndexOf(3);
  const Bytes written = ModelBytes::Write(index);
  EXPECT_EQ(index.Length.Value(), 64u);
  EXPECT_EQ(written.size(), 104u);
  BlkThumbnailIndexFile again;
  ModelBytes::Read(again, written);
  EXPECT_EQ(again.blkThumbnailArray[2].PictureByteSize.Value(), 1002u);
  EXPECT_FALSE(again.blkThumbnailArray[2].Used);
  EXPECT_EQ(ModelBytes::Write(again), written);
}

TEST(ThumbnailIndex, HandMadeIndexWritesBackByteForByte) {
  const Bytes bytes = Join({HandMadeIndex(40, 1, 1), kEntry});
  EXPECT_EQ(ModelBytes::Rewrite<BlkThumbnailIndexFile>(bytes), bytes);
}

TEST(ThumbnailIndex, LengthZeroIsAValidEmptyIndexOfTheHeaderAlone) {
  const Bytes header = Join({Text("TIDX0100"), Zeros(32)});
  BlkThumbnailIndexFile index;
  ModelBytes::Read(index, header);
  EXPECT_EQ(index.Children().size(), 4u);
  EXPECT_EQ(ModelBytes::Write(index), header);
}

TEST(ThumbnailIndex, OtherTypeOrVersionIsRefusedWithTheRuleInTheLog) {
  Bytes bytes = HandMadeIndex(28, 0, 0);
  bytes[0] = 'X';
  LogCapture log(7);
  ExpectRefused(bytes);
  EXPECT_EQ(log.Take(), ModelBytes::Position("avchdlib/AVCHD_Thumbnail.h", "AAA_FIXED(\"TIDX\")") +
                            "      Name: Thumbnail Index file.TypeIndicator\n"
                            "  Expected: 0x54494458 \"TIDX\" (\"TIDX\")\n"
                            "    Actual: 0x58494458 \"XIDX\"\n");
  bytes = HandMadeIndex(28, 0, 0);
  bytes[5] = '2';
  ExpectRefused(bytes);
}

TEST(ThumbnailIndex, CountsAreBoundedBeforeTheEntriesAreRead) {
  BlkThumbnailIndexFile most;
  Bytes full = HandMadeIndex(0, 2000, 2000);
  const std::uint32_t length = 28 + 2000 * 12;
  full[38] = static_cast<std::uint8_t>(length >> 8);
  full[39] = static_cast<std::uint8_t>(length);
  for (int i = 0; i < 2000; ++i) full.insert(full.end(), kEntry.begin(), kEntry.end());
  EXPECT_NO_THROW(ModelBytes::Read(most, full));
  EXPECT_EQ(most.blkThumbnailArray.Size(), 2000u);

  LogCapture log(7);
  ExpectRefused(HandMadeIndex(28, 2001, 0));  // no entries follow: refused by the count, not the end of data
  EXPECT_NE(log.Take().find("(\"(0 <= self.NumberOfThumbnails) && (self.NumberOfThumbnails <= 2000)\")"),
            std::string::npos);
  ExpectRefused(HandMadeIndex(28, 0, 2001));
}

TEST(ThumbnailIndex, BlockSizeOtherThanSixteenIsRefused) { ExpectRefused(HandMadeIndex(28, 0, 0, 32)); }

TEST(ThumbnailIndex, LengthShortOfTheContentIsRefusedAfterTheLastEntry) {
  LogCapture log(7);
  ExpectRefused(Join({HandMadeIndex(36, 1, 1), kEntry}));
  EXPECT_NE(
      log.Take().find("  Expected: 0x00000028 \"40\" ((int)(reader.BitPosition() - Reserved2.BitPosition()) / 8)\n"
                      "    Actual: 0x00000024 \"36\"\n"),
      std::string::npos);
}
