#pragma once

// The thumbnail index file: the pictures of the thumbnail data file, each
// with the data block that holds it, its size and its dimensions.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"

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
  void Declare() override;
};

class BlkThumbnailIndexFile : public AAA::FileBlock {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32};
  AAA::Field::Str VersionNumber{"VersionNumber", 32};
  AAA::Field::BE reserved{"reserved", 224};
  // 0: an empty index of the header alone.
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE Reserved2{"reserved", 32};
  AAA::Field::BE NumberOfThumbnails{"NumberOfThumbnails", 16};
  AAA::Field::BE NumberOfTnBlocks{"NumberOfTnBlocks", 16};
  // Kilobytes of one block of the data file.
  AAA::Field::BE TnBlockSize{"TnBlockSize", 16};
  AAA::Field::BE Reserved3{"reserved", 144};
  AAA::Array<BlkThumbnail> blkThumbnailArray{"Thumbnail"};

  BlkThumbnailIndexFile() : FileBlock("Thumbnail Index file") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;

 private:
  // While a file is read, the bits it holds after the header's start; -1
  // otherwise.
  std::int64_t bitsLeft_ = -1;
};

}  // namespace AVCHD::Thumbnail
