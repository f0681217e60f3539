#include "avchdlib/AVCHD_MoviePlaylistExt.h"

#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::MoviePlayListExt {

using Common::AVCHD_VERIFY_CHARACTERSET;
using Common::AVCHD_VERIFY_TIMEANDDATE;

// Playlist meta --------------------------------------------------------------

void BlkPlayListMeta::Declare() {
  Add(Length);
  Add(MakerID);
  Add(MakerModelCode);
  Add(reserved1);
  Add(RefToMenuThumbnailIndex);
  Add(blkTimeZone);
  Add(RecordTimeAndDate);
  Add(reserved2);
  Add(PlayListCharacterSet);
  Add(PlayListNameLength);
  Add(PlayListName);
  Add(AdditionalData);
}

void BlkPlayListMeta::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(RecordTimeAndDate, AVCHD_VERIFY_TIMEANDDATE(RecordTimeAndDate));
  if (PlayListNameLength != 0) AAA_VERIFY(PlayListCharacterSet, AVCHD_VERIFY_CHARACTERSET(PlayListCharacterSet));
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkPlayListMeta::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
  RefToMenuThumbnailIndex.SetValue(0xFFFF);
  blkTimeZone.SetValue(0xFF);
  RecordTimeAndDate.Fill(0);
  PlayListCharacterSet.SetValue(0x90);
  PlayListNameLength.SetValue(0);
  PlayListName.Fill(0);
}

void BlkPlayListMeta::Update() {
  Block::Update();
  reserved1.SetValue(0);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Mark extensions ------------------------------------------------------------

void BlkMarkExtension::Declare() {
  Add(MakerID);
  Add(MakerModelCode);
  Add(reserved1);
  Add(Pulldown);
  Add(MarkWriteProtectFlag);
  Add(RefToMarkThumbnailIndex);
  Add(blkTimeZone);
  Add(RecordTimeAndDate);
  Add(MarkCharacterSet);
  Add(MarkNameLength);
  Add(MarkName);
  Add(MakersInformation);
  Add(blkTimeCode);
  Add(reserved2);
}

void BlkMarkExtension::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(Pulldown, ((0 <= Pulldown) && (Pulldown <= 3)));
  AAA_VERIFY(RecordTimeAndDate, AVCHD_VERIFY_TIMEANDDATE(RecordTimeAndDate));
  if (MarkNameLength != 0) AAA_VERIFY(MarkCharacterSet, AVCHD_VERIFY_CHARACTERSET(MarkCharacterSet));
}

void BlkMarkExtension::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
  MarkWriteProtectFlag.SetValue(0);
  RefToMarkThumbnailIndex.SetValue(0xFFFF);
  blkTimeZone.SetValue(0xFF);
  RecordTimeAndDate.Fill(0);
  MarkCharacterSet.SetValue(0x90);
  MarkNameLength.SetValue(0);
  // An unnamed mark: no bytes of the name are left unset.
  MarkName.Fill(0);
  MakersInformation.SetValue(0);
  blkTimeCode.Fill(0xFF);
}

void BlkMarkExtension::Update() {
  Block::Update();
  reserved1.SetValue(0);
  reserved2.SetValue(0);
}

void BlkPlayListMarkExt::Declare() {
  OnChange(NumberOfPlayListMarks, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPlayListMarkExt&>(owner);
    AAA_VERIFY(self.NumberOfPlayListMarks, 0 <= self.NumberOfPlayListMarks && self.NumberOfPlayListMarks <= 999);
    self.blkMarkExtensionArray.Resize(self.NumberOfPlayListMarks);
    self.Link();
  });
  Add(Length);
  Add(NumberOfPlayListMarks);
  Add(blkMarkExtensionArray);
}

void BlkPlayListMarkExt::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  NumberOfPlayListMarks.Read(reader);
  blkMarkExtensionArray.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkPlayListMarkExt::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// PLEX -------------------------------------------------------------------------

void BlkPlayListExtensionData::Declare() {
  OnChange(MakersPrivateDataStartAddress, [](AAA::Block& owner) { owner.Link(); });
  Add(TypeIndicator);
  Add(reserved1);
  Add(PlayListMarkExtStartAddress);
  Add(MakersPrivateDataStartAddress);
  Add(reserved2);
  Add(blkPlayListMeta);
  Add(padding_word1);
  Add(blkPlayListMarkExt);
  if (MakersPrivateDataStartAddress != 0) {
    Add(padding_word2);
    Add(blkMakersPrivateData);
  }
}

void BlkPlayListExtensionData::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "PLEX");
  const std::int64_t blockStart = TypeIndicator.BitPosition();
  reserved1.Read(reader);
  PlayListMarkExtStartAddress.Read(reader);
  AAA_VERIFY(PlayListMarkExtStartAddress, PlayListMarkExtStartAddress % 2 == 0);
  MakersPrivateDataStartAddress.Read(reader);
  AAA_VERIFY(MakersPrivateDataStartAddress, MakersPrivateDataStartAddress % 2 == 0);
  reserved2.Read(reader);
  blkPlayListMeta.Read(reader);
  const std::int64_t paddingLength1 = Common::BitsUpTo(reader, blockStart + PlayListMarkExtStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkPlayListMarkExt.Read(reader);
  if (MakersPrivateDataStartAddress != 0) {
    const std::int64_t paddingLength2 = Common::BitsUpTo(reader, blockStart + MakersPrivateDataStartAddress * 8ll);
    AAA_READ_PADDING(reader, padding_word2, paddingLength2);
    blkMakersPrivateData.Read(reader);
  }
}

void BlkPlayListExtensionData::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("PLEX"));
  reserved1.SetValue(0);
  SetStartAddress(PlayListMarkExtStartAddress, 0, blkPlayListMarkExt);
  if (MakersPrivateDataStartAddress != 0) SetStartAddress(MakersPrivateDataStartAddress, 0, blkMakersPrivateData);
  reserved2.SetValue(0);
}

}  // namespace AVCHD::MoviePlayListExt
