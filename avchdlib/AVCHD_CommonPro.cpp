#include "avchdlib/AVCHD_CommonPro.h"

#include "avchdlib/AVCHD_Common.h"

namespace AVCHD::Common {
namespace {

const AAA::Bytes kProfessionalMetaID = {0x00, 0x07, 0xCF, 0x88, 0xA8, 0x0E, 0x49, 0x96,
                                        0xB7, 0x8B, 0xE5, 0x60, 0x08, 0xA8, 0x20, 0xB7};

}  // namespace

void KeepAsRead(AAA::FieldBase& tag) {
  // Setting the width again makes the value the field's baseline.
  tag.SetBitLength(tag.BitLength());
}

void TakeTag(AAA::FieldBase& tag, std::uint32_t value) {
  tag.SetValue(value);
  KeepAsRead(tag);
}

void ReadUpTo(AAA::BitReader& reader, AAA::FieldBase& field, std::int64_t endBits) {
  field.SetBitLength(endBits - static_cast<std::int64_t>(reader.BitPosition()));
  field.Read(reader);
}

// Content info -------------------------------------------------------------

void BlkPRO_ContentInfo::Declare() {
  Add(PRO_Tag_ID);
  Add(Fill_item);
  Add(Length);
  Add(ContentID);
  Add(ChannelID);
  Add(GlobalMaterialID);
}

void BlkPRO_ContentInfo::Read(AAA::BitReader& reader) {
  TakeTag(PRO_Tag_ID, kTagContentInfo);
  Fill_item.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item, 0xff);
  Length.Read(reader);
  ContentID.Read(reader);
  AAA_VERIFY(ContentID, (ContentID.ToString() == "3DS") || (ContentID.ToString() == "CAM"));
  ChannelID.Read(reader);
  GlobalMaterialID.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_ContentInfo::Initialize() {
  Block::Initialize();
  ContentID.SetBytes(TextBytes("3DS"));
  ChannelID.SetBytes(TextBytes("L"));
}

void BlkPRO_ContentInfo::Update() {
  Block::Update();
  PRO_Tag_ID.SetValue(kTagContentInfo);
  Fill_item.SetValue(kFillItem);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

// Professional meta identifier ---------------------------------------------

void BlkPRO_ProfessionalMetaID::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_ProfessionalMetaID&>(owner);
    AAA_VERIFY(self.Tag_ver, (self.Tag_ver >> 4) != 0);
    self.Link();
  });
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Length);
  Add(ProfessionalMetaID);
  if (Tag_ver > 0x10) Add(blkPRO_ContentInfo);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_ProfessionalMetaID::Read(AAA::BitReader& reader) {
  TakeTag(Tag_ID, kTagProfessionalMetaID);
  Tag_ver.Read(reader);
  Length.Read(reader);
  ProfessionalMetaID.Read(reader);
  if (Tag_ver >= 0x11) {
    // The content info's tag byte; the content info knows its own tag.
    AAA::Field::BE tag{"PRO_Tag_ID", 8};
    tag.SetParent(this);
    tag.Read(reader);
    blkPRO_ContentInfo.Read(reader);
  }
  if (Tag_ver > 0x11) ReadUpTo(reader, FutureDefinedFields, ProfessionalMetaID.BitPosition() + Length * 8ll);
  AAA_VERIFY_EQUAL(Length, AVCHD_PRO_BLOCK_LENGTH1());
  AAA::VerifyEqual(ProfessionalMetaID, kProfessionalMetaID,
                   AAA_RULE(R"("\x00\x07\xcf\x88\xa8\x0e\x49\x96\xb7\x8b\xe5\x60\x08\xa8\x20\xb7")"));
}

void BlkPRO_ProfessionalMetaID::Initialize() {
  Block::Initialize();
  FutureDefinedFields.SetBitLength(0);
  Tag_ver.SetValue(kProVersion);
}

void BlkPRO_ProfessionalMetaID::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagProfessionalMetaID);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
  ProfessionalMetaID.SetBytes(kProfessionalMetaID);
}

// Unknown tags -------------------------------------------------------------

void BlkPRO_Unknown::Declare() {
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Length);
  Add(ext_data);
}

void BlkPRO_Unknown::Read(AAA::BitReader& reader) {
  KeepAsRead(Tag_ID);
  Tag_ver.Read(reader);
  Length.Read(reader);
  ext_data.SetBitLength(Length * 8ll);
  ext_data.Read(reader);
}

void BlkPRO_Unknown::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_UnknownPRO::Declare() {
  Add(PRO_Tag_ID);
  Add(Fill_item);
  Add(Length);
  Add(ext_data);
}

void BlkPRO_UnknownPRO::Read(AAA::BitReader& reader) {
  KeepAsRead(PRO_Tag_ID);
  Fill_item.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item, 0xff);
  Length.Read(reader);
  ext_data.SetBitLength(Length * 8ll);
  ext_data.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_UnknownPRO::Update() {
  Block::Update();
  Fill_item.SetValue(kFillItem);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

}  // namespace AVCHD::Common
