#include "avchdlib/AVCHD_IndexTable.h"

namespace AVCHD::IndexTable {

using Common::BitsUpTo;

void BlkIndexes::Declare() {
  OnChange(NumberOfMovieTitles, [](AAA::Block& owner) {
    auto& self = static_cast<BlkIndexes&>(owner);
    AAA_VERIFY(self.NumberOfMovieTitles, (0 <= self.NumberOfMovieTitles) && (self.NumberOfMovieTitles <= 999));
    self.blkMovieTitleArray.Resize(self.NumberOfMovieTitles);
    self.Link();
  });
  Add(Length, blkFirstPlaybackTitle, blkMenuTitle, NumberOfMovieTitles, blkMovieTitleArray);
}

void BlkIndexTableFile::Read(AAA::BitReader& reader) {
  // The header and the application info follow each other without a gap.
  for (Element* child : Children()) {
    child->Read(reader);
    if (child == &blkAppInfoBDMV) break;
  }
  const std::int64_t paddingLength1 = BitsUpTo(reader, IndexesStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkIndexes.Read(reader);
  const std::int64_t paddingLength2 = BitsUpTo(reader, ExtensionDataStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word2, paddingLength2);
  blkExtensionData.Read(reader);
}

void BlkIndexTableFile::Initialize() {
  Block::Initialize();
  padding_word1.SetBitLength(0);
  padding_word2.SetBitLength(0);
}

void BlkIndexTableFile::Derive() {
  SetStartAddress(IndexesStartAddress, 0, blkIndexes);
  SetStartAddress(ExtensionDataStartAddress, 0, blkExtensionData);
}

}  // namespace AVCHD::IndexTable
