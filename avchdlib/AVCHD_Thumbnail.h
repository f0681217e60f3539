#pragma once

// The thumbnail index file: the pictures of the thumbnail data file, each
// with the data block that holds it, its size and its dimensions.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"

namespace AVCHD::Thumbnail {

class BlkThumbnail : public AAA::Block {
 public:
  AAA::Field::BE ThumbnailIndex{"ThumbnailIndex", 16};
  AAA::Field::BE RefToTnBlockId{"RefToTnBlockId", 16};
  AAA::Field::BE PictureByteSize{"PictureByteSize", 32};
  AAA::Field::BE HorizontalPictureSize{"HorizontalPictureSize", 16};
  AAA::Field::BE VerticalPictureSize{"VerticalPictureSize", 16};
  // Set by the restore steps when a playlist or mark refers to this entry;
  // not part of the file.
  bool Used = false;

  BlkThumbnail() : Block("Thumbnail") { Link(); }

 protected:
  void Declare() override {
    Add(ThumbnailIndex, RefToTnBlockId, PictureByteSize, HorizontalPictureSize, VerticalPictureSize);
  }
};

// The format states the lower bound 0 of its ranges also for unsigned fields.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wtype-limits"
class BlkThumbnailIndexFile : public AAA::FileBlock {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("TIDX"))};
  AAA::Field::Str VersionNumber{"VersionNumber", 32, AAA_RULES(AAA_FIXED("0100"))};
  AAA::Field::Reserved reserved{224};
  // 0: an empty index of the header alone.
  AAA::Field::BE Length{
      "Length", 32,
      AAA_RULES(AAA_MEASURES(&IndexLength, "(int)(reader.BitPosition() - Reserved2.BitPosition()) / 8"),
                AAA_INITIAL(1))};
  AAA::Field::Reserved Reserved2{32};
  AAA::Field::BE NumberOfThumbnails{"NumberOfThumbnails", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE NumberOfTnBlocks{
      "NumberOfTnBlocks", 16,
      AAA_RULES(AAA_ALLOWED(NumberOfTnBlocks, (0 <= NumberOfTnBlocks) && (NumberOfTnBlocks <= 2000)), AAA_INITIAL(0))};
  // Kilobytes of one block of the data file.
  AAA::Field::BE TnBlockSize{"TnBlockSize", 16, AAA_RULES(AAA_FIXED(16), AAA_INITIAL(16))};
  AAA::Field::Reserved Reserved3{144};
  AAA::Array<BlkThumbnail> blkThumbnailArray{"Thumbnail"};

  BlkThumbnailIndexFile() : FileBlock("Thumbnail Index file") { Link(); }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;

 private:
  // The bytes that follow `Length`; an empty index keeps its 0.
  static std::uint32_t IndexLength(const AAA::Block& owner, const AAA::FieldBase& length);

  // While a file is read, the bit position of its end; -1 otherwise.
  std::int64_t endBits_ = -1;
};

#pragma GCC diagnostic pop

}  // namespace AVCHD::Thumbnail
