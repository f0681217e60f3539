#include "avchdlib/AVCHD_MoviePlaylistPro.h"

#include "avchdlib/AVCHD_Common.h"

namespace AVCHD::MoviePlayListPro {

using Common::AVCHD_VERIFY_TIMEANDDATE;

// Texts ------------------------------------------------------------------------

void BlkPRO_Text::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  if (Length != 0) AAA::Verify(CharacterSet, Common::AVCHD_VERIFY_CHARACTERSET(CharacterSet), characterSetRule_);
}

// Unnamed, in the character set new texts use.
void BlkPRO_Text::Initialize() {
  CharacterSet.SetValue(0x90);
  Length.SetValue(0);
  Text.Fill(0);
}

// Tagged sub-blocks ------------------------------------------------------------

void BlkPRO_Shoot::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY(StartDate, AVCHD_VERIFY_TIMEANDDATE(StartDate));
  AAA_VERIFY(EndDate, AVCHD_VERIFY_TIMEANDDATE(EndDate));
}

void BlkPRO_Shoot::Initialize() {
  Block::Initialize();
  StartDateTimeZone.SetValue(0xFF);
  StartDate.Fill(0);
  EndDateTimeZone.SetValue(0xFF);
  EndDate.Fill(0);
}

// PRO marks --------------------------------------------------------------------

void BlkPRO_PlayListMark::Declare() {
  OnChange(MarkType, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_PlayListMark&>(owner);
    AAA_VERIFY(self.MarkType, (self.MarkType == 1) || (self.MarkType == 2));
    self.Link();
  });
  Add(PRO_Tag_ID, Fill_item1, Length, MarkType);
  if (MarkType == 2) Add(Fill_item2);
  if (MarkType == 1) {
    Add(GlobalClipID, StartTimeCode, StreamTimeCodeInfo, StartBinaryGroup, LastUpdateDateTimeZone, LastUpdateDate,
        Fill_item3);
  }
  for (Common::OptionalTaggedBase* sub : SubBlocks()) {
    if (BlkPRO_Tagged* present = sub->IfPresent()) Add(*present);
  }
  Add(blkPRO_UnknownPROArray);
}

void BlkPRO_PlayListMark::Read(AAA::BitReader& reader) {
  // The fields before the sub-blocks: the mark type declares the ones it chooses.
  for (std::size_t i = 0; Children()[i]->AsField() != nullptr; ++i) Children()[i]->Read(reader);
  if (MarkType == 1) AAA_VERIFY(LastUpdateDate, AVCHD_VERIFY_TIMEANDDATE(LastUpdateDate));
  const auto subBlockOfTag = [this](std::uint32_t tag) -> AAA::Block* {
    for (Common::OptionalTaggedBase* sub : SubBlocks()) {
      if (sub->Tag() == tag) return &sub->Make();
    }
    return nullptr;
  };
  Common::ReadTaggedUpTo(*this, reader, Common::EndOf(Length), subBlockOfTag, blkPRO_UnknownPROArray);
  CheckLengths();
}

void BlkPRO_PlayListMark::Initialize() {
  Block::Initialize();
  LastUpdateDate.Fill(0);
}

// Playlist info ----------------------------------------------------------------

void BlkPRO_PlayListInfo::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) { owner.Link(); });
  OnChange(NumberOfPlayListMarks, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_PlayListInfo&>(owner);
    AAA_VERIFY(self.NumberOfPlayListMarks, (0 <= self.NumberOfPlayListMarks) && (self.NumberOfPlayListMarks <= 999));
    self.blkPRO_PlayListMarkArray.Resize(self.NumberOfPlayListMarks);
    self.Link();
  });
  Add(Tag_ID, Tag_ver, Fill_item1, Length, NumberOfPlayListMarks, Fill_item2, blkPRO_PlayListMarkArray);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_PlayListInfo::Read(AAA::BitReader& reader) {
  Common::ReadAll(reader, {&Tag_ID, &Tag_ver, &Fill_item1, &Length, &NumberOfPlayListMarks, &Fill_item2,
                           &blkPRO_PlayListMarkArray});
  if (Tag_ver > 0x11) Common::ReadUpTo(reader, FutureDefinedFields, Common::EndOf(Length));
  CheckLengths();
}

void BlkPRO_PlayListInfo::Initialize() {
  Block::Initialize();
  FutureDefinedFields.SetBitLength(0);
}

// Makers private area ----------------------------------------------------------

void BlkPRO_MakersPrivateArea::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) { owner.Link(); });
  Add(Tag_ID, Tag_ver, Fill_item, Length, MakerID, MakerModelCode);
  if (blkPRO_ProfessionalMode.IsPresent()) Add(blkPRO_ProfessionalMode);
  if (blkPRO_CC5CodecInfo.IsPresent()) Add(blkPRO_CC5CodecInfo);
  Add(blkPRO_UnknownPROArray);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_MakersPrivateArea::Read(AAA::BitReader& reader) {
  Common::ReadAll(reader, {&Tag_ID, &Tag_ver, &Fill_item, &Length, &MakerID, &MakerModelCode});
  const std::int64_t end = Common::EndOf(Length);
  const Common::TaggedBlock known[] = {{blkPRO_ProfessionalMode.Tag(), &blkPRO_ProfessionalMode}};
  Common::ReadTaggedUpTo(*this, reader, end, known, blkPRO_UnknownPROArray);
  if (Tag_ver > 0x11) Common::ReadUpTo(reader, FutureDefinedFields, end);
  CheckLengths();
}

void BlkPRO_MakersPrivateArea::Initialize() {
  Block::Initialize();
  FutureDefinedFields.SetBitLength(0);
}

// Private data block -----------------------------------------------------------

void BlkPlayListPrivateDataBlock::Declare() {
  Add(NumberOfData, reserved);
  if (PRO_ProfessionalMetaID.Tag_ID.IsSet()) Add(PRO_ProfessionalMetaID);
  if (PRO_PlayListInfo.Tag_ID.IsSet()) Add(PRO_PlayListInfo);
  if (PRO_MakersPrivateArea.Tag_ID.IsSet()) Add(PRO_MakersPrivateArea);
  Add(blkPRO_UnknownArray);
}

void BlkPlayListPrivateDataBlock::Read(AAA::BitReader& reader) {
  NumberOfData.Read(reader);
  reserved.Read(reader);
  for (std::uint32_t i = 0; i < NumberOfData; ++i) {
    const std::uint32_t tag = Common::ReadTag(*this, "Tag_ID", reader);
    if (tag == Common::kTagProfessionalMetaID) {
      AAA_VERIFY(NumberOfData, (NumberOfData == 2) || (NumberOfData == 3));
      PRO_ProfessionalMetaID.Read(reader);
    } else if (tag == kTagPlayListInfo) {
      PRO_PlayListInfo.Read(reader);
    } else if (tag == kTagMakersPrivateArea) {
      PRO_MakersPrivateArea.Read(reader);
    } else {
      Common::BlkPRO_Unknown& unknown = blkPRO_UnknownArray.Append();
      unknown.Tag_ID.SetValue(tag);
      unknown.Read(reader);
    }
  }
  Link();
}

void BlkPlayListPrivateDataBlock::Initialize() {
  PRO_ProfessionalMetaID.Tag_ID.Set();
  PRO_PlayListInfo.Tag_ID.Set();
  Link();
  Block::Initialize();
}

}  // namespace AVCHD::MoviePlayListPro
