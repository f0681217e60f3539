#include "avchdlib/AVCHD_IndexTable.h"

namespace AVCHD::IndexTable {

using Common::BitsUpTo;

void BlkAppInfoBDMV::Declare() {
  Add(Length);
  Add(indefinite);
  Add(reserved);
  Add(Reserved2);
}

void BlkAppInfoBDMV::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkAppInfoBDMV::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
  indefinite.SetValue(1);
  reserved.SetValue(0);
  Reserved2.SetValue(0);
}

// Titles ---------------------------------------------------------------------

void BlkTitleObject::Declare() {
  Add(reserved);
  Add(One);
  Add(Reserved2);
  Add(One2);
  Add(Reserved3);
  Add(MobjIDRef());
  Add(Reserved4);
}

void BlkTitleObject::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
  AAA_VERIFY_EQUAL(One2, 1);
  VerifyMobjIDRef();
}

void BlkTitleObject::Initialize() {
  Block::Initialize();
  MobjIDRef().SetValue(0xFFFF);
}

void BlkTitleObject::Update() {
  Block::Update();
  for (AAA::FieldBase* zero : {&reserved, &Reserved2, &Reserved3, &Reserved4}) zero->SetValue(0);
  One.SetValue(1);
  One2.SetValue(1);
}

void BlkFirstPlaybackTitle::VerifyMobjIDRef() const {
  AAA_VERIFY(FirstPlaybackTitleMobjIDRef,
             ((0 <= FirstPlaybackTitleMobjIDRef) && (FirstPlaybackTitleMobjIDRef <= 1000)) ||
                 (FirstPlaybackTitleMobjIDRef == 0xffff));
}

void BlkMenuTitle::VerifyMobjIDRef() const {
  AAA_VERIFY(MenuTitleMobjIDRef,
             ((0 <= MenuTitleMobjIDRef) && (MenuTitleMobjIDRef <= 1000)) || (MenuTitleMobjIDRef == 0xffff));
}

void BlkMovieTitle::Declare() {
  Add(reserved);
  Add(One);
  Add(Reserved2);
  Add(MovieTitleMobjIDRef);
  Add(Reserved3);
}

void BlkMovieTitle::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
}

void BlkMovieTitle::Update() {
  Block::Update();
  for (AAA::FieldBase* zero : {&reserved, &Reserved2, &Reserved3}) zero->SetValue(0);
  One.SetValue(1);
}

void BlkIndexes::Declare() {
  OnChange(NumberOfMovieTitles, [](AAA::Block& owner) {
    auto& self = static_cast<BlkIndexes&>(owner);
    AAA_VERIFY(self.NumberOfMovieTitles, (0 <= self.NumberOfMovieTitles) && (self.NumberOfMovieTitles <= 999));
    self.blkMovieTitleArray.Resize(self.NumberOfMovieTitles);
    self.Link();
  });
  Add(Length);
  Add(blkFirstPlaybackTitle);
  Add(blkMenuTitle);
  Add(NumberOfMovieTitles);
  Add(blkMovieTitleArray);
}

void BlkIndexes::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkIndexes::Initialize() {
  NumberOfMovieTitles.SetValue(0);
  Block::Initialize();
}

void BlkIndexes::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// File -----------------------------------------------------------------------

void BlkIndexTableFile::Declare() {
  Add(TypeIndicator);
  Add(TypeIndicator2);
  Add(IndexesStartAddress);
  Add(ExtensionDataStartAddress);
  Add(reserved);
  Add(blkAppInfoBDMV);
  Add(padding_word1);
  Add(blkIndexes);
  Add(padding_word2);
  Add(blkExtensionData);
}

void BlkIndexTableFile::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "INDX");
  TypeIndicator2.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator2, "0100");
  IndexesStartAddress.Read(reader);
  AAA_VERIFY(IndexesStartAddress, IndexesStartAddress % 2 == 0);
  ExtensionDataStartAddress.Read(reader);
  AAA_VERIFY(ExtensionDataStartAddress, ExtensionDataStartAddress % 2 == 0);
  AAA_VERIFY(ExtensionDataStartAddress, ExtensionDataStartAddress != 0);
  reserved.Read(reader);
  blkAppInfoBDMV.Read(reader);
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

void BlkIndexTableFile::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("INDX"));
  TypeIndicator2.SetBytes(Common::TextBytes("0100"));
  SetStartAddress(IndexesStartAddress, 0, blkIndexes);
  SetStartAddress(ExtensionDataStartAddress, 0, blkExtensionData);
  reserved.SetValue(0);
}

}  // namespace AVCHD::IndexTable
