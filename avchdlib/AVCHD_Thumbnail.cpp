#include "avchdlib/AVCHD_Thumbnail.h"

namespace AVCHD::Thumbnail {

void BlkThumbnailIndexFile::Declare() {
  OnChange(Length, [](AAA::Block& owner) { owner.Link(); });
  OnChange(NumberOfThumbnails, [](AAA::Block& owner) {
    auto& self = static_cast<BlkThumbnailIndexFile&>(owner);
    AAA_VERIFY(self.NumberOfThumbnails, (0 <= self.NumberOfThumbnails) && (self.NumberOfThumbnails <= 2000));
    // Entries the rest of the file cannot hold end it early, as reading them
    // would, before they are allocated.
    if (self.endBits_ >= 0 &&
        self.NumberOfThumbnails * BlkThumbnail().BitLength() > self.endBits_ - self.NumberOfThumbnails.BitPosition()) {
      AAA_THROW(AAA::UnexpectedEofException());
    }
    self.blkThumbnailArray.Resize(self.NumberOfThumbnails);
    self.Link();
  });
  Add(TypeIndicator, VersionNumber, reserved, Length);
  if (Length != 0) Add(Reserved2, NumberOfThumbnails, NumberOfTnBlocks, TnBlockSize, Reserved3, blkThumbnailArray);
}

void BlkThumbnailIndexFile::Read(AAA::BitReader& reader) {
  endBits_ = static_cast<std::int64_t>(reader.BitPosition() + reader.BitsLeft());
  struct EndForgotten {
    std::int64_t& end;
    ~EndForgotten() { end = -1; }
  } endForgotten{endBits_};
  Block::Read(reader);
}

std::uint32_t BlkThumbnailIndexFile::IndexLength(const AAA::Block& owner, const AAA::FieldBase& length) {
  if (length == 0) return 0;
  const auto& file = static_cast<const BlkThumbnailIndexFile&>(owner);
  return static_cast<std::uint32_t>((file.BitLength() - file.BitOffsetOf(file.Reserved2)) / 8);
}

}  // namespace AVCHD::Thumbnail
