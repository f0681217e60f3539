#include "avchdlib/AVCHD_MoviePlaylistPro.h"

#include <algorithm>

#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::MoviePlayListPro {

using Common::AVCHD_VERIFY_CHARACTERSET;
using Common::AVCHD_VERIFY_TIMEANDDATE;
using Common::TakeTag;

namespace {

constexpr std::uint32_t kCharacterSet = 0x90;

// The end of a block whose `Length` counts the bytes after itself.
std::int64_t EndOf(const AAA::FieldBase& length) { return length.BitPosition() + length.BitLength() + length * 8ll; }

bool Before(const AAA::BitReader& reader, std::int64_t endBits) {
  return static_cast<std::int64_t>(reader.BitPosition()) < endBits;
}

// Reads one block's tag, named under `owner` in the log.
std::uint32_t ReadTag(AAA::Block& owner, const char* name, AAA::BitReader& reader) {
  AAA::Field::BE tag{name, 8};
  tag.SetParent(&owner);
  tag.Read(reader);
  return tag;
}

// Keeps a block of a tag this model does not know.
void ReadUnknown(AAA::Array<Common::BlkPRO_UnknownPRO>& unknowns, std::uint32_t tag, AAA::BitReader& reader) {
  Common::BlkPRO_UnknownPRO& unknown = unknowns.Append();
  unknown.PRO_Tag_ID.SetValue(tag);
  unknown.Read(reader);
}

// A text of `count` bytes with its character set and length: unnamed and in
// the character set new texts use.
void InitializeText(AAA::FieldBase& characterSet, AAA::FieldBase& length, AAA::FieldBase& text) {
  characterSet.SetValue(kCharacterSet);
  length.SetValue(0);
  text.Fill(0);
}

}  // namespace

// Tagged sub-blocks ------------------------------------------------------------

void BlkPRO_Tagged::AddHeader() {
  Add(PRO_Tag_ID);
  Add(Fill_item);
  Add(Length);
}

void BlkPRO_Tagged::Read(AAA::BitReader& reader) {
  TakeTag(PRO_Tag_ID, tag_);
  Fill_item.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item, 0xff);
  Length.Read(reader);
  const auto& children = Children();
  for (std::size_t i = 3; i < children.size(); ++i) children[i]->Read(reader);
  VerifyContent();
  AAA_VERIFY_EQUAL(Length, AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_Tagged::Update() {
  Block::Update();
  PRO_Tag_ID.SetValue(tag_);
  Fill_item.SetValue(0xFF);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_VFR::Declare() {
  AddHeader();
  Add(VFRMode);
  Add(RecordingFrameRate);
  Add(PlayingFrameRate);
  Add(VFRState);
}

void BlkPRO_VFR::Initialize() {
  Block::Initialize();
  VFRMode.SetValue(0);
  RecordingFrameRate.SetValue(0xFF);
  PlayingFrameRate.SetValue(0xFF);
  VFRState.SetValue(0xFF);
}

void BlkPRO_3DShotInfo::Declare() {
  AddHeader();
  Add(StereoBase);
  Add(ScreenSize);
  Add(PRO_Reserved);
}

void BlkPRO_3DShotInfo::Initialize() {
  Block::Initialize();
  StereoBase.SetValue(60);
  ScreenSize.SetValue(0);
  PRO_Reserved.Fill(0xFF);
}

void BlkPRO_ShotMark::Declare() {
  AddHeader();
  Add(ShotMark);
  Add(Fill_item2);
}

void BlkPRO_ShotMark::VerifyContent() { AAA_VERIFY_EQUAL(Fill_item2, 0xffffff); }

void BlkPRO_ShotMark::Initialize() {
  Block::Initialize();
  ShotMark.SetValue(0);
}

void BlkPRO_ShotMark::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFFFFFF);
}

void BlkPRO_Access::Declare() {
  AddHeader();
  Add(CreatorCharacterSet);
  Add(CreatorLength);
  Add(Creator);
  Add(LastUpdatePersonCharacterSet);
  Add(LastUpdatePersonLength);
  Add(LastUpdatePerson);
}

void BlkPRO_Access::VerifyContent() {
  if (CreatorLength != 0) AAA_VERIFY(CreatorCharacterSet, AVCHD_VERIFY_CHARACTERSET(CreatorCharacterSet));
  if (LastUpdatePersonLength != 0) {
    AAA_VERIFY(LastUpdatePersonCharacterSet, AVCHD_VERIFY_CHARACTERSET(LastUpdatePersonCharacterSet));
  }
}

void BlkPRO_Access::Initialize() {
  Block::Initialize();
  InitializeText(CreatorCharacterSet, CreatorLength, Creator);
  InitializeText(LastUpdatePersonCharacterSet, LastUpdatePersonLength, LastUpdatePerson);
}

void BlkPRO_Device::Declare() {
  AddHeader();
  Add(MakerID);
  Add(MakerModelCode);
  Add(SerialNoCharacterSet);
  Add(SerialNoLength);
  Add(SerialNo);
  Add(Fill_item2);
}

void BlkPRO_Device::VerifyContent() {
  if (SerialNoLength != 0) AAA_VERIFY(SerialNoCharacterSet, AVCHD_VERIFY_CHARACTERSET(SerialNoCharacterSet));
  AAA_VERIFY_EQUAL(Fill_item2, 0xffff);
}

void BlkPRO_Device::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
  InitializeText(SerialNoCharacterSet, SerialNoLength, SerialNo);
}

void BlkPRO_Device::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFFFF);
}

void BlkPRO_Shoot::Declare() {
  AddHeader();
  Add(ShooterCharacterSet);
  Add(ShooterLength);
  Add(Shooter);
  Add(StartDateTimeZone);
  Add(StartDate);
  Add(EndDateTimeZone);
  Add(EndDate);
  Add(Fill_item2);
}

void BlkPRO_Shoot::VerifyContent() {
  if (ShooterLength != 0) AAA_VERIFY(ShooterCharacterSet, AVCHD_VERIFY_CHARACTERSET(ShooterCharacterSet));
  AAA_VERIFY(StartDate, AVCHD_VERIFY_TIMEANDDATE(StartDate));
  AAA_VERIFY(EndDate, AVCHD_VERIFY_TIMEANDDATE(EndDate));
  AAA_VERIFY_EQUAL(Fill_item2, 0xffff);
}

void BlkPRO_Shoot::Initialize() {
  Block::Initialize();
  InitializeText(ShooterCharacterSet, ShooterLength, Shooter);
  StartDateTimeZone.SetValue(0xFF);
  StartDate.Fill(0);
  EndDateTimeZone.SetValue(0xFF);
  EndDate.Fill(0);
}

void BlkPRO_Shoot::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFFFF);
}

void BlkPRO_Location::Declare() {
  AddHeader();
  Add(Source);
  for (AAA::Element* gps : {&GPSLatitudeRef, &GPSLatitude1, &GPSLatitude2, &GPSLatitude3, &GPSLongitudeRef,
                            &GPSLongitude1, &GPSLongitude2, &GPSLongitude3, &GPSAltitudeRef, &GPSAltitude}) {
    Add(*gps);
  }
  Add(PlaceNameCharacterSet);
  Add(PlaceNameLength);
  Add(PlaceName);
  Add(Fill_item2);
}

void BlkPRO_Location::VerifyContent() {
  AAA_VERIFY(Source, (0 <= Source) && (Source <= 3));
  if (PlaceNameLength != 0) AAA_VERIFY(PlaceNameCharacterSet, AVCHD_VERIFY_CHARACTERSET(PlaceNameCharacterSet));
  AAA_VERIFY_EQUAL(Fill_item2, 0xff);
}

void BlkPRO_Location::Initialize() {
  Block::Initialize();
  Source.SetValue(1);
  for (AAA::FieldBase* gps : {&GPSLatitudeRef, &GPSLatitude1, &GPSLatitude2, &GPSLatitude3, &GPSLongitudeRef,
                              &GPSLongitude1, &GPSLongitude2, &GPSLongitude3, &GPSAltitudeRef, &GPSAltitude}) {
    gps->SetValue(0xFFFFFFFF);
  }
  InitializeText(PlaceNameCharacterSet, PlaceNameLength, PlaceName);
}

void BlkPRO_Location::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFF);
}

void BlkPRO_Scenario::Declare() {
  AddHeader();
  Add(ProgramNameCharacterSet);
  Add(ProgramNameLength);
  Add(ProgramName);
  Add(SceneNo);
  Add(TakeNo);
  Add(Fill_item2);
}

void BlkPRO_Scenario::VerifyContent() {
  if (ProgramNameLength != 0) {
    AAA_VERIFY(ProgramNameCharacterSet, AVCHD_VERIFY_CHARACTERSET(ProgramNameCharacterSet));
  }
  AAA_VERIFY_EQUAL(Fill_item2, 0xffff);
}

void BlkPRO_Scenario::Initialize() {
  Block::Initialize();
  InitializeText(ProgramNameCharacterSet, ProgramNameLength, ProgramName);
  SceneNo.SetValue(0xFFFF);
  TakeNo.SetValue(0xFFFF);
}

void BlkPRO_Scenario::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFFFF);
}

void BlkPRO_News::Declare() {
  AddHeader();
  Add(ReporterCharacterSet);
  Add(ReporterLength);
  Add(Reporter);
  Add(PurposeCharacterSet);
  Add(PurposeLength);
  Add(Purpose);
  Add(ObjectCharacterSet);
  Add(ObjectLength);
  Add(Object);
  Add(Fill_item2);
}

void BlkPRO_News::VerifyContent() {
  if (ReporterLength != 0) AAA_VERIFY(ReporterCharacterSet, AVCHD_VERIFY_CHARACTERSET(ReporterCharacterSet));
  if (PurposeLength != 0) AAA_VERIFY(PurposeCharacterSet, AVCHD_VERIFY_CHARACTERSET(PurposeCharacterSet));
  if (ObjectLength != 0) AAA_VERIFY(ObjectCharacterSet, AVCHD_VERIFY_CHARACTERSET(ObjectCharacterSet));
  AAA_VERIFY_EQUAL(Fill_item2, 0xffff);
}

void BlkPRO_News::Initialize() {
  Block::Initialize();
  InitializeText(ReporterCharacterSet, ReporterLength, Reporter);
  InitializeText(PurposeCharacterSet, PurposeLength, Purpose);
  InitializeText(ObjectCharacterSet, ObjectLength, Object);
}

void BlkPRO_News::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFFFF);
}

void BlkPRO_Memo::Declare() {
  AddHeader();
  Add(PersonCharacterSet);
  Add(PersonLength);
  Add(Person);
  Add(TextCharacterSet);
  Add(TextLength);
  Add(Text);
}

void BlkPRO_Memo::VerifyContent() {
  if (PersonLength != 0) AAA_VERIFY(PersonCharacterSet, AVCHD_VERIFY_CHARACTERSET(PersonCharacterSet));
  if (TextLength != 0) AAA_VERIFY(TextCharacterSet, AVCHD_VERIFY_CHARACTERSET(TextCharacterSet));
}

void BlkPRO_Memo::Initialize() {
  Block::Initialize();
  InitializeText(PersonCharacterSet, PersonLength, Person);
  InitializeText(TextCharacterSet, TextLength, Text);
}

void BlkPRO_ProfessionalMode::Declare() {
  AddHeader();
  Add(ProfessionalModeFlag);
  Add(Fill_item2);
}

void BlkPRO_ProfessionalMode::VerifyContent() {
  AAA_VERIFY(ProfessionalModeFlag, (ProfessionalModeFlag == 0x00) || (ProfessionalModeFlag == 0x01));
  AAA_VERIFY_EQUAL(Fill_item2, 0xffffff);
}

void BlkPRO_ProfessionalMode::Initialize() {
  Block::Initialize();
  ProfessionalModeFlag.SetValue(1);
}

void BlkPRO_ProfessionalMode::Update() {
  BlkPRO_Tagged::Update();
  Fill_item2.SetValue(0xFFFFFF);
}

void BlkPRO_CC5CodecInfo::Declare() {
  AddHeader();
  Add(CC5CodecInfo);
}

// PRO marks --------------------------------------------------------------------

void BlkPRO_PlayListMark::Declare() {
  OnChange(MarkType, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_PlayListMark&>(owner);
    AAA_VERIFY(self.MarkType, (self.MarkType == 1) || (self.MarkType == 2));
    self.Link();
  });
  Add(PRO_Tag_ID);
  Add(Fill_item1);
  Add(Length);
  Add(MarkType);
  if (MarkType == 2) Add(Fill_item2);
  if (MarkType == 1) {
    Add(GlobalClipID);
    Add(StartTimeCode);
    Add(StreamTimeCodeInfo);
    Add(StartBinaryGroup);
    Add(LastUpdateDateTimeZone);
    Add(LastUpdateDate);
    Add(Fill_item3);
  }
  if (blkPRO_VFR.IsPresent()) Add(blkPRO_VFR);
  if (blkPRO_ContentInfo.PRO_Tag_ID == Common::kTagContentInfo) Add(blkPRO_ContentInfo);
  for (BlkPRO_Tagged* sub :
       {static_cast<BlkPRO_Tagged*>(&blkPRO_3DShotInfo), static_cast<BlkPRO_Tagged*>(&blkPRO_ShotMark),
        static_cast<BlkPRO_Tagged*>(&blkPRO_Access), static_cast<BlkPRO_Tagged*>(&blkPRO_Device),
        static_cast<BlkPRO_Tagged*>(&blkPRO_Shoot), static_cast<BlkPRO_Tagged*>(&blkPRO_Location),
        static_cast<BlkPRO_Tagged*>(&blkPRO_Scenario), static_cast<BlkPRO_Tagged*>(&blkPRO_News),
        static_cast<BlkPRO_Tagged*>(&blkPRO_Memo)}) {
    if (sub->IsPresent()) Add(*sub);
  }
  Add(blkPRO_UnknownPROArray);
}

void BlkPRO_PlayListMark::Read(AAA::BitReader& reader) {
  PRO_Tag_ID.Read(reader);
  AAA_VERIFY_EQUAL(PRO_Tag_ID, 0x40);
  Fill_item1.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item1, 0xff);
  Length.Read(reader);
  MarkType.Read(reader);
  if (MarkType == 2) Fill_item2.Read(reader);
  if (MarkType == 1) {
    for (AAA::FieldBase* field :
         {static_cast<AAA::FieldBase*>(&GlobalClipID), static_cast<AAA::FieldBase*>(&StartTimeCode),
          static_cast<AAA::FieldBase*>(&StreamTimeCodeInfo), static_cast<AAA::FieldBase*>(&StartBinaryGroup),
          static_cast<AAA::FieldBase*>(&LastUpdateDateTimeZone), static_cast<AAA::FieldBase*>(&LastUpdateDate),
          static_cast<AAA::FieldBase*>(&Fill_item3)}) {
      field->Read(reader);
    }
  }
  AAA_VERIFY(MarkType, (MarkType == 0x01) || (MarkType == 0x02));
  if (MarkType == 2) AAA_VERIFY_EQUAL(Fill_item2, 0xffffff);
  if (MarkType == 1) {
    AAA_VERIFY(LastUpdateDate, AVCHD_VERIFY_TIMEANDDATE(LastUpdateDate));
    AAA_VERIFY_EQUAL(Fill_item3, 0xffff);
  }
  BlkPRO_Tagged* const tagged[] = {&blkPRO_VFR,   &blkPRO_3DShotInfo, &blkPRO_ShotMark, &blkPRO_Access, &blkPRO_Device,
                                   &blkPRO_Shoot, &blkPRO_Location,   &blkPRO_Scenario, &blkPRO_News,   &blkPRO_Memo};
  const std::int64_t end = EndOf(Length);
  while (Before(reader, end)) {
    const std::uint32_t tag = ReadTag(*this, "PRO_Tag_ID", reader);
    const auto known = std::find_if(std::begin(tagged), std::end(tagged),
                                    [tag](const BlkPRO_Tagged* sub) { return sub->Tag() == tag; });
    if (tag == Common::kTagContentInfo) {
      blkPRO_ContentInfo.Read(reader);
    } else if (known != std::end(tagged)) {
      (*known)->Read(reader);
    } else {
      ReadUnknown(blkPRO_UnknownPROArray, tag, reader);
    }
  }
  Link();
  AAA_VERIFY_EQUAL(Length, AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_PlayListMark::Initialize() {
  Block::Initialize();
  LastUpdateDate.Fill(0);
}

void BlkPRO_PlayListMark::Update() {
  Block::Update();
  PRO_Tag_ID.SetValue(kTagPlayListMark);
  Fill_item1.SetValue(0xFF);
  Fill_item2.SetValue(0xFFFFFF);
  Fill_item3.SetValue(0xFFFF);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
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
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Fill_item1);
  Add(Length);
  Add(NumberOfPlayListMarks);
  Add(Fill_item2);
  Add(blkPRO_PlayListMarkArray);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_PlayListInfo::Read(AAA::BitReader& reader) {
  TakeTag(Tag_ID, kTagPlayListInfo);
  Tag_ver.Read(reader);
  AAA_VERIFY(Tag_ver, (Tag_ver >> 4) != 0);
  Fill_item1.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item1, 0xffff);
  Length.Read(reader);
  NumberOfPlayListMarks.Read(reader);
  Fill_item2.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item2, 0xffff);
  blkPRO_PlayListMarkArray.Read(reader);
  if (Tag_ver > 0x11) Common::ReadUpTo(reader, FutureDefinedFields, EndOf(Length));
  AAA_VERIFY_EQUAL(Length, AVCHD_PRO_BLOCK_LENGTH2());
}

void BlkPRO_PlayListInfo::Initialize() {
  Block::Initialize();
  Tag_ver.SetValue(Common::kProVersion);
  NumberOfPlayListMarks.SetValue(0);
  FutureDefinedFields.SetBitLength(0);
}

void BlkPRO_PlayListInfo::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagPlayListInfo);
  Fill_item1.SetValue(0xFFFF);
  Fill_item2.SetValue(0xFFFF);
  Length.SetValue(AVCHD_PRO_BLOCK_LENGTH2());
}

// Makers private area ----------------------------------------------------------

void BlkPRO_MakersPrivateArea::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) { owner.Link(); });
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Fill_item);
  Add(Length);
  Add(MakerID);
  Add(MakerModelCode);
  if (blkPRO_ProfessionalMode.IsPresent()) Add(blkPRO_ProfessionalMode);
  if (blkPRO_CC5CodecInfo.IsPresent()) Add(blkPRO_CC5CodecInfo);
  Add(blkPRO_UnknownPROArray);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_MakersPrivateArea::Read(AAA::BitReader& reader) {
  TakeTag(Tag_ID, kTagMakersPrivateArea);
  Tag_ver.Read(reader);
  AAA_VERIFY(Tag_ver, (Tag_ver >> 4) != 0);
  Fill_item.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item, 0xffff);
  Length.Read(reader);
  MakerID.Read(reader);
  MakerModelCode.Read(reader);
  const std::int64_t end = EndOf(Length);
  while (Before(reader, end)) {
    const std::uint32_t tag = ReadTag(*this, "PRO_Tag_ID", reader);
    if (tag == blkPRO_ProfessionalMode.Tag()) {
      blkPRO_ProfessionalMode.Read(reader);
    } else {
      ReadUnknown(blkPRO_UnknownPROArray, tag, reader);
    }
  }
  if (Tag_ver > 0x11) Common::ReadUpTo(reader, FutureDefinedFields, end);
  Link();
  AAA_VERIFY_EQUAL(Length, AVCHD_PRO_BLOCK_LENGTH2());
}

void BlkPRO_MakersPrivateArea::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
  FutureDefinedFields.SetBitLength(0);
}

void BlkPRO_MakersPrivateArea::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagMakersPrivateArea);
  Tag_ver.SetValue(Common::kProVersion);
  Fill_item.SetValue(0xFFFF);
  Length.SetValue(AVCHD_PRO_BLOCK_LENGTH2());
}

// Private data block -----------------------------------------------------------

void BlkPlayListPrivateDataBlock::Declare() {
  Add(NumberOfData);
  Add(reserved);
  if (PRO_ProfessionalMetaID.Tag_ID == Common::kTagProfessionalMetaID) Add(PRO_ProfessionalMetaID);
  if (PRO_PlayListInfo.Tag_ID == kTagPlayListInfo) Add(PRO_PlayListInfo);
  if (PRO_MakersPrivateArea.Tag_ID == kTagMakersPrivateArea) Add(PRO_MakersPrivateArea);
  Add(blkPRO_UnknownArray);
}

void BlkPlayListPrivateDataBlock::Read(AAA::BitReader& reader) {
  NumberOfData.Read(reader);
  reserved.Read(reader);
  for (std::uint32_t i = 0; i < NumberOfData; ++i) {
    const std::uint32_t tag = ReadTag(*this, "Tag_ID", reader);
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
  PRO_ProfessionalMetaID.Tag_ID.SetValue(Common::kTagProfessionalMetaID);
  PRO_PlayListInfo.Tag_ID.SetValue(kTagPlayListInfo);
  Link();
  Block::Initialize();
}

void BlkPlayListPrivateDataBlock::Update() {
  Block::Update();
  // The blocks present and the unknown ones, as written.
  NumberOfData.SetValue(static_cast<std::uint32_t>(Children().size() - 3 + blkPRO_UnknownArray.Size()));
  reserved.SetValue(0);
}

}  // namespace AVCHD::MoviePlayListPro
