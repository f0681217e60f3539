#include "avchdlib/AVCHD_ClipInformationPro.h"

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "avchdlib/AVCHD_Common.h"

namespace AVCHD::ClipInformationPro {

using AAA::InvalidDataException;
using Common::kFillItem;
using Common::kProVersion;
using Common::kTagProfessionalMetaID;
using Common::TakeTag;

// 3D clip info -------------------------------------------------------------

void BlkPRO_3DClipInfo::Declare() {
  Add(PRO_Tag_ID);
  Add(Fill_item);
  Add(Length);
  Add(RecordedClipNumber);
  Add(PRO_Reserved);
}

void BlkPRO_3DClipInfo::Read(AAA::BitReader& reader) {
  TakeTag(PRO_Tag_ID, kTag3DClipInfo);
  Fill_item.Read(reader);
  AAA_VERIFY_EQUAL(Fill_item, 0xff);
  Length.Read(reader);
  RecordedClipNumber.Read(reader);
  PRO_Reserved.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLKPRO_BLOCK_LENGTH());
}

void BlkPRO_3DClipInfo::Initialize() {
  Block::Initialize();
  PRO_Tag_ID.SetValue(kTag3DClipInfo);
  Fill_item.SetValue(kFillItem);
  RecordedClipNumber.SetValue(0);
  PRO_Reserved.SetValue(0xFFFF);
}

void BlkPRO_3DClipInfo::Update() {
  Block::Update();
  PRO_Tag_ID.SetValue(kTag3DClipInfo);
  Fill_item.SetValue(kFillItem);
  Length.SetValue(AVCHD_BLKPRO_BLOCK_LENGTH());
}

// Clip info ----------------------------------------------------------------

void BlkPRO_ClipInfo::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_ClipInfo&>(owner);
    AAA_VERIFY(self.Tag_ver, (self.Tag_ver >> 4) != 0);
    self.Link();
  });
  Add(Tag_ID);
  Add(Tag_ver);
  Add(Length);
  Add(GlobalClipID);
  Add(StartTimeCode);
  Add(StartBinaryGroup);
  if (Tag_ver >= 0x11 && blkPRO_3DClipInfo.PRO_Tag_ID == kTag3DClipInfo) Add(blkPRO_3DClipInfo);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_ClipInfo::Read(AAA::BitReader& reader) {
  TakeTag(Tag_ID, kTagClipInfo);
  Tag_ver.Read(reader);
  Length.Read(reader);
  const std::int64_t endBits = Length.BitPosition() + Length.BitLength() + Length * 8ll;
  GlobalClipID.Read(reader);
  StartTimeCode.Read(reader);
  StartBinaryGroup.Read(reader);
  if (Tag_ver >= 0x11 && Common::BitsUpTo(reader, endBits) >= 64) {
    AAA::Field::BE tag{"PRO_Tag_ID", 8};
    tag.SetParent(this);
    tag.Read(reader);
    AAA_VERIFY_EQUAL(tag, 0x05);
    blkPRO_3DClipInfo.Read(reader);
    Link();
  }
  if (Tag_ver > 0x11) Common::ReadUpTo(reader, FutureDefinedFields, endBits);
  AAA_VERIFY_EQUAL(Length, AVCHD_PRO_BLOCK_LENGTH1());
}

void BlkPRO_ClipInfo::Initialize() {
  Block::Initialize();
  Tag_ID.SetValue(kTagClipInfo);
  Tag_ver.SetValue(kProVersion);
  StartTimeCode.Fill(0xFF);
  StartBinaryGroup.SetValue(0);
  FutureDefinedFields.SetBitLength(0);
}

void BlkPRO_ClipInfo::Update() {
  Block::Update();
  Tag_ID.SetValue(kTagClipInfo);
  Length.SetValue(AVCHD_PRO_BLOCK_LENGTH1());
}

// Private data block -------------------------------------------------------

void BlkClipInfoPrivateDataBlock::Declare() {
  Add(NumberOfData);
  Add(reserved);
  if (PRO_ProfessionalMetaID.Tag_ID == kTagProfessionalMetaID) Add(PRO_ProfessionalMetaID);
  if (blkProClipInfo.Tag_ID == kTagClipInfo) Add(blkProClipInfo);
}

void BlkClipInfoPrivateDataBlock::Read(AAA::BitReader& reader) {
  NumberOfData.Read(reader);
  AAA_VERIFY_EQUAL(NumberOfData, 2);
  reserved.Read(reader);
  for (std::uint32_t i = 0; i < NumberOfData; ++i) {
    AAA::Field::BE tag{"Tag_ID", 8};
    tag.SetParent(this);
    tag.Read(reader);
    if (tag == kTagProfessionalMetaID) {
      PRO_ProfessionalMetaID.Read(reader);
    } else if (tag == kTagClipInfo) {
      blkProClipInfo.Read(reader);
    } else {
      AAA_THROW(InvalidDataException());
    }
  }
  Link();
}

void BlkClipInfoPrivateDataBlock::Initialize() {
  PRO_ProfessionalMetaID.Tag_ID.SetValue(kTagProfessionalMetaID);
  blkProClipInfo.Tag_ID.SetValue(kTagClipInfo);
  Link();
  Block::Initialize();
}

void BlkClipInfoPrivateDataBlock::Update() {
  Block::Update();
  const bool hasMetaID = PRO_ProfessionalMetaID.Tag_ID == kTagProfessionalMetaID;
  const bool hasClipInfo = blkProClipInfo.Tag_ID == kTagClipInfo;
  NumberOfData.SetValue((hasMetaID ? 1 : 0) + (hasClipInfo ? 1 : 0));
  reserved.SetValue(0);
}

}  // namespace AVCHD::ClipInformationPro
