#include "avchdlib/AVCHD_IndexTableExt.h"

namespace AVCHD::IndexTableExt {

using Common::AVCHD_VERIFY_CHARACTERSET;
using Common::AVCHD_VERIFY_TIMEANDDATE;
using Common::BitsUpTo;

// User interface data --------------------------------------------------------

void BlkUIAppInfoAVCHD::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(Is60, !((Is60 == 1) && (Is50 == 1)));
  AAA_VERIFY(Is60, !((Is60 == 0) && (Is50 == 0) && (Is24 == 0)));
  AAA_VERIFY(RecordTimeAndDate, AVCHD_VERIFY_TIMEANDDATE(RecordTimeAndDate));
  if (AVCHDNameLength != 0) AAA_VERIFY(AVCHDCharacterSet, AVCHD_VERIFY_CHARACTERSET(AVCHDCharacterSet));
}

// The time zone, the date and the character set are typed fields, which take
// no rules of their own.
void BlkUIAppInfoAVCHD::Initialize() {
  Block::Initialize();
  blkTimeZone.SetValue(0xFF);
  RecordTimeAndDate.SetValue(0);
  AVCHDCharacterSet.SetValue(0x90);
}

// Table of playlists ---------------------------------------------------------

void BlkTitlePlayLists::Declare() {
  OnChange(NumberOfPlayLists, [](AAA::Block& owner) {
    auto& self = static_cast<BlkTitlePlayLists&>(owner);
    AAA_VERIFY(self.NumberOfPlayLists, (0 <= self.NumberOfPlayLists) && (self.NumberOfPlayLists <= 800));
    self.PlayListArray.Resize(self.NumberOfPlayLists);
    self.Link();
  });
  Add(Length, NumberOfPlayLists, PlayListArray);
}

void BlkTableOfPlayLists::Declare() {
  OnChange(NumberOfMovieTitlePlayListPair, [](AAA::Block& owner) {
    auto& self = static_cast<BlkTableOfPlayLists&>(owner);
    AAA_VERIFY(self.NumberOfMovieTitlePlayListPair,
               (0 <= self.NumberOfMovieTitlePlayListPair) && (self.NumberOfMovieTitlePlayListPair <= 999));
    self.blkMovieTitlePlayListPairArray.Resize(self.NumberOfMovieTitlePlayListPair);
    self.Link();
  });
  Add(Length, blkFirstPlaybackTitlePlayLists, blkMenuTitlePlayLists, NumberOfMovieTitlePlayListPair,
      blkMovieTitlePlayListPairArray);
}

// Extension data block -------------------------------------------------------

void BlkIndexExtensionData::Declare() {
  OnChange(MakersPrivateDataStartAddress, [](AAA::Block& owner) { owner.Link(); });
  Add(TypeIndicator, reserved, TableOfPlayListsStartAddress, MakersPrivateDataStartAddress, Reserved2,
      blkUIAppInfoAVCHD, padding_word1, blkTableOfPlayLists);
  if (MakersPrivateDataStartAddress != 0) Add(padding_word2, blkMakersPrivateData);
}

void BlkIndexExtensionData::Read(AAA::BitReader& reader) {
  // The header and the user interface data follow each other without a gap;
  // by index, as the makers data address re-declares the children.
  for (std::size_t i = 0; i < Children().size(); ++i) {
    Children()[i]->Read(reader);
    if (Children()[i] == &blkUIAppInfoAVCHD) break;
  }
  const std::int64_t paddingLength1 =
      BitsUpTo(reader, TypeIndicator.BitPosition() + TableOfPlayListsStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkTableOfPlayLists.Read(reader);
  if (MakersPrivateDataStartAddress == 0) return;
  const std::int64_t paddingLength2 =
      BitsUpTo(reader, TypeIndicator.BitPosition() + MakersPrivateDataStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word2, paddingLength2);
  blkMakersPrivateData.Read(reader);
}

// A new extension builds its makers private data too, so that a repair only
// has to give it an address to add it: the address, unset and so not 0 yet,
// becomes 0 only after the children, that data among them, are initialized.
void BlkIndexExtensionData::Initialize() {
  Block::Initialize();
  padding_word1.SetBitLength(0);
  padding_word2.SetBitLength(0);
  MakersPrivateDataStartAddress.SetValue(0);
}

void BlkIndexExtensionData::Derive() {
  SetStartAddress(TableOfPlayListsStartAddress, 0, blkTableOfPlayLists);
  if (MakersPrivateDataStartAddress != 0) SetStartAddress(MakersPrivateDataStartAddress, 0, blkMakersPrivateData);
}

}  // namespace AVCHD::IndexTableExt
