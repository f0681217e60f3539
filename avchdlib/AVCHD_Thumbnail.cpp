#include "avchdlib/AVCHD_Thumbnail.h"

#include "avchdlib/AVCHD_Common.h"

namespace AVCHD::Thumbnail {

void BlkThumbnail::Declare() {
  Add(ThumbnailIndex);
  Add(RefToTnBlockId);
  Add(PictureByteSize);
  Add(HorizontalPictureSize);
  Add(VerticalPictureSize);
}

void BlkThumbnailIndexFile::Declare() {
  OnChange(Length, [](AAA::Block& owner) { owner.Link(); });
  OnChange(NumberOfThumbnails, [](AAA::Block& owner) {
    auto& self = static_cast<BlkThumbnailIndexFile&>(owner);
    AAA_VERIFY(self.NumberOfThumbnails, (0 <= self.NumberOfThumbnails) && (self.NumberOfThumbnails <= 2000));
    // Entries the rest of the file cannot hold end it early, as reading them
    // would, before they are allocated.
    if (self.bitsLeft_ >= 0 && self.NumberOfThumbnails * BlkThumbnail().BitLength() > self.bitsLeft_) {
      AAA_THROW(AAA::UnexpectedEofException());
    }
    self.blkThumbnailArray.Resize(self.NumberOfThumbnails);
    self.Link();
  });
  Add(TypeIndicator);
  Add(VersionNumber);
  Add(reserved);
  Add(Length);
  if (Length == 0) return;
  Add(Reserved2);
  Add(NumberOfThumbnails);
  Add(NumberOfTnBlocks);
  Add(TnBlockSize);
  Add(Reserved3);
  Add(blkThumbnailArray);
}

void BlkThumbnailIndexFile::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "TIDX");
  VersionNumber.Read(reader);
  AAA_VERIFY_EQUAL(VersionNumber, "0100");
  reserved.Read(reader);
  Length.Read(reader);
  if (Length == 0) return;
  Reserved2.Read(reader);
  bitsLeft_ = static_cast<std::int64_t>(reader.BitsLeft());
  struct LeftEnds {
    std::int64_t& left;
    ~LeftEnds() { left = -1; }
  } leftEnds{bitsLeft_};
  NumberOfThumbnails.Read(reader);
  NumberOfTnBlocks.Read(reader);
  AAA_VERIFY(NumberOfTnBlocks, (0 <= NumberOfTnBlocks) && (NumberOfTnBlocks <= 2000));
  TnBlockSize.Read(reader);
  AAA_VERIFY_EQUAL(TnBlockSize, 16);
  Reserved3.Read(reader);
  blkThumbnailArray.Read(reader);
  AAA_VERIFY_EQUAL(Length, (int)(reader.BitPosition() - Reserved2.BitPosition()) / 8);
}

void BlkThumbnailIndexFile::Initialize() {
  Block::Initialize();
  Length.SetValue(1);
  NumberOfThumbnails.SetValue(0);
  NumberOfTnBlocks.SetValue(0);
  TnBlockSize.SetValue(16);
}

void BlkThumbnailIndexFile::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("TIDX"));
  VersionNumber.SetBytes(Common::TextBytes("0100"));
  reserved.SetValue(0);
  if (Length == 0) return;
  Reserved2.SetValue(0);
  Reserved3.SetValue(0);
  Length.SetValue(static_cast<std::uint32_t>((BitLength() - BitOffsetOf(Reserved2)) / 8));
}

}  // namespace AVCHD::Thumbnail
