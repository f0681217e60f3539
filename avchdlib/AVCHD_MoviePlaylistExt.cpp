#include "avchdlib/AVCHD_MoviePlaylistExt.h"

namespace AVCHD::MoviePlayListExt {

using Common::AVCHD_VERIFY_CHARACTERSET;
using Common::AVCHD_VERIFY_TIMEANDDATE;

// Playlist meta --------------------------------------------------------------

// The maker is checked before the other rules and the length: a recording of
// another maker is refused as such, whatever else is wrong with it.
void BlkPlayListMeta::Read(AAA::BitReader& reader) {
  for (AAA::Element* child : Children()) child->Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(RecordTimeAndDate, AVCHD_VERIFY_TIMEANDDATE(RecordTimeAndDate));
  if (PlayListNameLength != 0) AAA_VERIFY(PlayListCharacterSet, AVCHD_VERIFY_CHARACTERSET(PlayListCharacterSet));
  CheckLengths();
}

// An unnamed playlist without a time zone or a recording time.
void BlkPlayListMeta::Initialize() {
  Block::Initialize();
  blkTimeZone.SetValue(0xFF);
  RecordTimeAndDate.Fill(0);
  PlayListCharacterSet.SetValue(0x90);
  PlayListName.Fill(0);
}

// Mark extensions ------------------------------------------------------------

void BlkMarkExtension::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(Pulldown, ((0 <= Pulldown) && (Pulldown <= 3)));
  AAA_VERIFY(RecordTimeAndDate, AVCHD_VERIFY_TIMEANDDATE(RecordTimeAndDate));
  if (MarkNameLength != 0) AAA_VERIFY(MarkCharacterSet, AVCHD_VERIFY_CHARACTERSET(MarkCharacterSet));
}

// An unnamed mark (no bytes of the name left unset) without a time zone, a
// recording time or a time code.
void BlkMarkExtension::Initialize() {
  Block::Initialize();
  blkTimeZone.SetValue(0xFF);
  RecordTimeAndDate.Fill(0);
  MarkCharacterSet.SetValue(0x90);
  MarkName.Fill(0);
  blkTimeCode.Fill(0xFF);
}

void BlkPlayListMarkExt::Declare() {
  OnChange(NumberOfPlayListMarks, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPlayListMarkExt&>(owner);
    AAA_VERIFY(self.NumberOfPlayListMarks, 0 <= self.NumberOfPlayListMarks && self.NumberOfPlayListMarks <= 999);
    self.blkMarkExtensionArray.Resize(self.NumberOfPlayListMarks);
    self.Link();
  });
  Add(Length, NumberOfPlayListMarks, blkMarkExtensionArray);
}

// PLEX -------------------------------------------------------------------------

void BlkPlayListExtensionData::Declare() {
  OnChange(MakersPrivateDataStartAddress, [](AAA::Block& owner) { owner.Link(); });
  Add(TypeIndicator, reserved1, PlayListMarkExtStartAddress, MakersPrivateDataStartAddress, reserved2, blkPlayListMeta,
      padding_word1, blkPlayListMarkExt);
  if (MakersPrivateDataStartAddress != 0) Add(padding_word2, blkMakersPrivateData);
}

void BlkPlayListExtensionData::Read(AAA::BitReader& reader) {
  for (AAA::Element* header :
       std::initializer_list<AAA::Element*>{&TypeIndicator, &reserved1, &PlayListMarkExtStartAddress,
                                            &MakersPrivateDataStartAddress, &reserved2, &blkPlayListMeta}) {
    header->Read(reader);
  }
  const std::int64_t blockStart = TypeIndicator.BitPosition();
  const std::int64_t paddingLength1 = Common::BitsUpTo(reader, blockStart + PlayListMarkExtStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkPlayListMarkExt.Read(reader);
  if (MakersPrivateDataStartAddress != 0) {
    const std::int64_t paddingLength2 = Common::BitsUpTo(reader, blockStart + MakersPrivateDataStartAddress * 8ll);
    AAA_READ_PADDING(reader, padding_word2, paddingLength2);
    blkMakersPrivateData.Read(reader);
  }
}

// The reserved words carry their own names here, so they are cleared by hand.
void BlkPlayListExtensionData::Derive() {
  reserved1.SetValue(0);
  SetStartAddress(PlayListMarkExtStartAddress, 0, blkPlayListMarkExt);
  if (MakersPrivateDataStartAddress != 0) SetStartAddress(MakersPrivateDataStartAddress, 0, blkMakersPrivateData);
  reserved2.SetValue(0);
}

}  // namespace AVCHD::MoviePlayListExt
