#include "avchdlib/AVCHD_ClipInformationPro.h"

#include "avchdlib/AVCHD_Common.h"

namespace AVCHD::ClipInformationPro {

using Common::kTagProfessionalMetaID;

// 3D clip info -------------------------------------------------------------

void BlkPRO_3DClipInfo::Initialize() {
  SetTag();
  Fill_item.SetValue(Common::kFillItem);
  Block::Initialize();
}

// Clip info ----------------------------------------------------------------

void BlkPRO_ClipInfo::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_ClipInfo&>(owner);
    AAA_VERIFY(self.Tag_ver, (self.Tag_ver >> 4) != 0);
    self.Link();
  });
  Add(Tag_ID, Tag_ver, Length, GlobalClipID, StartTimeCode, StartBinaryGroup);
  if (Tag_ver >= 0x11 && blkPRO_3DClipInfo.IsPresent()) Add(blkPRO_3DClipInfo);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

// The 3D clip info is there when the bytes left hold one.
void BlkPRO_ClipInfo::Read(AAA::BitReader& reader) {
  Common::ReadAll(reader, {&Tag_ID, &Tag_ver, &Length, &GlobalClipID, &StartTimeCode, &StartBinaryGroup});
  const std::int64_t endBits = Common::EndOf(Length);
  if (Tag_ver >= 0x11 && Common::BitsUpTo(reader, endBits) >= 64) {
    AAA::Field::BE tag{"PRO_Tag_ID", 8};
    tag.SetParent(this);
    tag.Read(reader);
    AAA_VERIFY_EQUAL(tag, 0x05);
    blkPRO_3DClipInfo.Read(reader);
    Link();
  }
  if (Tag_ver > 0x11) Common::ReadUpTo(reader, FutureDefinedFields, endBits);
  CheckLengths();
}

void BlkPRO_ClipInfo::Initialize() {
  Block::Initialize();
  StartTimeCode.Fill(0xFF);
  StartBinaryGroup.SetValue(0);
  FutureDefinedFields.SetBitLength(0);
}

// Private data block -------------------------------------------------------

void BlkClipInfoPrivateDataBlock::Declare() {
  Add(NumberOfData, reserved);
  if (PRO_ProfessionalMetaID.Tag_ID.IsSet()) Add(PRO_ProfessionalMetaID);
  if (blkProClipInfo.Tag_ID.IsSet()) Add(blkProClipInfo);
}

void BlkClipInfoPrivateDataBlock::Read(AAA::BitReader& reader) {
  NumberOfData.Read(reader);
  AAA_VERIFY_EQUAL(NumberOfData, 2);
  reserved.Read(reader);
  Common::ReadDataBlocks(*this, NumberOfData, reader,
                         {{kTagProfessionalMetaID, &PRO_ProfessionalMetaID}, {kTagClipInfo, &blkProClipInfo}});
}

void BlkClipInfoPrivateDataBlock::Initialize() {
  PRO_ProfessionalMetaID.Tag_ID.Set();
  blkProClipInfo.Tag_ID.Set();
  Link();
  Block::Initialize();
}

void BlkClipInfoPrivateDataBlock::Derive() { NumberOfData.SetValue(static_cast<std::uint32_t>(Children().size() - 2)); }

}  // namespace AVCHD::ClipInformationPro
