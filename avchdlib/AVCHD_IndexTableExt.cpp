#include "avchdlib/AVCHD_IndexTableExt.h"

#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::IndexTableExt {

using Common::AVCHD_VERIFY_CHARACTERSET;
using Common::AVCHD_VERIFY_TIMEANDDATE;
using Common::BitsUpTo;

// Additional data -----------------------------------------------------------

// User interface data --------------------------------------------------------

void BlkUIAppInfoAVCHD::Declare() {
  Add(Length);
  Add(MakerID);
  Add(MakerModelCode);
  Add(MakerPrivateArea);
  Add(reserved);
  Add(Is60);
  Add(Is50);
  Add(Is24);
  Add(AVCHDWriteProtectFlag);
  Add(RefToMenuThumbnailIndex);
  Add(blkTimeZone);
  Add(RecordTimeAndDate);
  Add(Reserved2);
  Add(AVCHDCharacterSet);
  Add(AVCHDNameLength);
  Add(AVCHDName);
  Add(AdditionalData);
}

void BlkUIAppInfoAVCHD::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(Is60, !((Is60 == 1) && (Is50 == 1)));
  AAA_VERIFY(Is60, !((Is60 == 0) && (Is50 == 0) && (Is24 == 0)));
  AAA_VERIFY(RecordTimeAndDate, AVCHD_VERIFY_TIMEANDDATE(RecordTimeAndDate));
  if (AVCHDNameLength != 0) AAA_VERIFY(AVCHDCharacterSet, AVCHD_VERIFY_CHARACTERSET(AVCHDCharacterSet));
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkUIAppInfoAVCHD::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
  MakerPrivateArea.SetValue(0);
  // A card needs one television system to be valid: the 59.94 Hz system of
  // the title extension's new entries.
  Is60.SetValue(1);
  Is50.SetValue(0);
  Is24.SetValue(0);
  AVCHDWriteProtectFlag.SetValue(0);
  RefToMenuThumbnailIndex.SetValue(0xFFFF);
  blkTimeZone.SetValue(0xFF);
  RecordTimeAndDate.SetValue(0);
  AVCHDCharacterSet.SetValue(0x90);
  AVCHDNameLength.SetValue(0);
  AVCHDName.SetValue(0);
}

void BlkUIAppInfoAVCHD::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
  reserved.SetValue(0);
  Reserved2.SetValue(0);
}

// Table of playlists ---------------------------------------------------------

void BlkPlayList::Declare() {
  Add(PlayListFileName);
  Add(reserved);
}

void BlkPlayList::Initialize() {
  Block::Initialize();
  PlayListFileName.SetBytes(Common::TextBytes("00000"));
}

void BlkPlayList::Update() {
  Block::Update();
  reserved.SetValue(0);
}

void BlkTitlePlayLists::Declare() {
  OnChange(NumberOfPlayLists, [](AAA::Block& owner) {
    auto& self = static_cast<BlkTitlePlayLists&>(owner);
    AAA_VERIFY(self.NumberOfPlayLists, (0 <= self.NumberOfPlayLists) && (self.NumberOfPlayLists <= 800));
    self.PlayListArray.Resize(self.NumberOfPlayLists);
    self.Link();
  });
  Add(Length);
  Add(NumberOfPlayLists);
  Add(PlayListArray);
}

void BlkTitlePlayLists::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkTitlePlayLists::Initialize() {
  NumberOfPlayLists.SetValue(0);
  Block::Initialize();
}

void BlkTitlePlayLists::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

void BlkMovieTitlePlayListPair::Declare() {
  Add(PlayListFileName);
  Add(reserved);
  Add(PlayListAttribute);
  Add(Reserved2);
  Add(RefToTitleId);
}

void BlkMovieTitlePlayListPair::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY(PlayListAttribute, (PlayListAttribute == 1) || (PlayListAttribute == 2));
}

void BlkMovieTitlePlayListPair::Initialize() {
  Block::Initialize();
  PlayListFileName.SetBytes(Common::TextBytes("00000"));
  PlayListAttribute.SetValue(1);
  RefToTitleId.SetValue(0);
}

void BlkMovieTitlePlayListPair::Update() {
  Block::Update();
  reserved.SetValue(0);
  Reserved2.SetValue(0);
}

void BlkTableOfPlayLists::Declare() {
  OnChange(NumberOfMovieTitlePlayListPair, [](AAA::Block& owner) {
    auto& self = static_cast<BlkTableOfPlayLists&>(owner);
    AAA_VERIFY(self.NumberOfMovieTitlePlayListPair,
               (0 <= self.NumberOfMovieTitlePlayListPair) && (self.NumberOfMovieTitlePlayListPair <= 999));
    self.blkMovieTitlePlayListPairArray.Resize(self.NumberOfMovieTitlePlayListPair);
    self.Link();
  });
  Add(Length);
  Add(blkFirstPlaybackTitlePlayLists);
  Add(blkMenuTitlePlayLists);
  Add(NumberOfMovieTitlePlayListPair);
  Add(blkMovieTitlePlayListPairArray);
}

void BlkTableOfPlayLists::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkTableOfPlayLists::Initialize() {
  NumberOfMovieTitlePlayListPair.SetValue(0);
  Block::Initialize();
}

void BlkTableOfPlayLists::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Extension data block -------------------------------------------------------

void BlkIndexExtensionData::Declare() {
  OnChange(MakersPrivateDataStartAddress, [](AAA::Block& owner) { owner.Link(); });
  Add(TypeIndicator);
  Add(reserved);
  Add(TableOfPlayListsStartAddress);
  Add(MakersPrivateDataStartAddress);
  Add(Reserved2);
  Add(blkUIAppInfoAVCHD);
  Add(padding_word1);
  Add(blkTableOfPlayLists);
  if (MakersPrivateDataStartAddress == 0) return;
  Add(padding_word2);
  Add(blkMakersPrivateData);
}

void BlkIndexExtensionData::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "IDEX");
  reserved.Read(reader);
  TableOfPlayListsStartAddress.Read(reader);
  AAA_VERIFY(TableOfPlayListsStartAddress, TableOfPlayListsStartAddress % 2 == 0);
  MakersPrivateDataStartAddress.Read(reader);
  AAA_VERIFY(MakersPrivateDataStartAddress, MakersPrivateDataStartAddress % 2 == 0);
  Reserved2.Read(reader);
  blkUIAppInfoAVCHD.Read(reader);
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

void BlkIndexExtensionData::Initialize() {
  // The makers private data is built too, so that a repair only has to
  // give it an address to add it.
  Block::Initialize();
  padding_word1.SetBitLength(0);
  padding_word2.SetBitLength(0);
  MakersPrivateDataStartAddress.SetValue(0);
}

void BlkIndexExtensionData::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("IDEX"));
  reserved.SetValue(0);
  SetStartAddress(TableOfPlayListsStartAddress, 0, blkTableOfPlayLists);
  if (MakersPrivateDataStartAddress != 0) SetStartAddress(MakersPrivateDataStartAddress, 0, blkMakersPrivateData);
  Reserved2.SetValue(0);
}

}  // namespace AVCHD::IndexTableExt
