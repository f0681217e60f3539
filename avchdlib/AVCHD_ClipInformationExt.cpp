#include "avchdlib/AVCHD_ClipInformationExt.h"

#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::ClipInformationExt {

// Clip info extension ------------------------------------------------------

void BlkClipInfoExt::Declare() {
  Add(Length);
  Add(MakerID);
  Add(MakerModelCode);
}

void BlkClipInfoExt::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkClipInfoExt::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
}

void BlkClipInfoExt::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Program info extension ---------------------------------------------------

void BlkStreamCodingInfoExt::Declare() {
  Add(Length);
  Add(StreamCodingType);
  Add(HorizontalSize);
  Add(profile_idc);
  Add(constraint_set0_flag);
  Add(constraint_set1_flag);
  Add(constraint_set2_flag);
  Add(constraint_set3_flag);
  Add(reserved1);
  Add(level_idc);
  Add(reserved2);
}

void BlkStreamCodingInfoExt::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(StreamCodingType, 0x1B);
  AAA_VERIFY(HorizontalSize, (1 <= HorizontalSize) && (HorizontalSize <= 4));
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkStreamCodingInfoExt::Update() {
  Block::Update();
  StreamCodingType.SetValue(0x1B);
  reserved1.SetValue(0);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

void BlkStreamCodingInfoExtInPs::Declare() {
  Add(StreamPID);
  Add(blkStreamCodingInfoExt);
}

void BlkStreamCodingInfoExtInPs::Read(AAA::BitReader& reader) {
  StreamPID.Read(reader);
  AAA_VERIFY_EQUAL(StreamPID, 0x1011);
  blkStreamCodingInfoExt.Read(reader);
}

void BlkStreamCodingInfoExtInPs::Update() {
  Block::Update();
  StreamPID.SetValue(0x1011);
}

void BlkProgramSequence::Declare() {
  OnChange(NumberOfStreamCodingInfoExtInPs, [](AAA::Block& owner) {
    auto& self = static_cast<BlkProgramSequence&>(owner);
    AAA_VERIFY(self.NumberOfStreamCodingInfoExtInPs,
               (0 <= self.NumberOfStreamCodingInfoExtInPs) && (self.NumberOfStreamCodingInfoExtInPs <= 1));
    self.blkStreamCodingInfoExtInPsArray.Resize(self.NumberOfStreamCodingInfoExtInPs);
    self.Link();
  });
  Add(NumberOfStreamCodingInfoExtInPs);
  Add(reserved);
  Add(blkStreamCodingInfoExtInPsArray);
}

void BlkProgramSequence::Read(AAA::BitReader& reader) {
  NumberOfStreamCodingInfoExtInPs.Read(reader);
  reserved.Read(reader);
  blkStreamCodingInfoExtInPsArray.Read(reader);
}

void BlkProgramSequence::Update() {
  Block::Update();
  reserved.SetValue(0);
}

void BlkProgramInfoExt::Declare() {
  OnChange(NumberOfProgramSequences, [](AAA::Block& owner) {
    auto& self = static_cast<BlkProgramInfoExt&>(owner);
    AAA_VERIFY_EQUAL(self.NumberOfProgramSequences, 1);
    self.blkProgramSequenceArray.Resize(self.NumberOfProgramSequences);
    self.Link();
  });
  Add(Length);
  Add(reserved);
  Add(NumberOfProgramSequences);
  Add(blkProgramSequenceArray);
}

void BlkProgramInfoExt::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved.Read(reader);
  NumberOfProgramSequences.Read(reader);
  blkProgramSequenceArray.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkProgramInfoExt::Update() {
  Block::Update();
  reserved.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// CLEX ---------------------------------------------------------------------

void BlkClipExtensionData::Declare() {
  OnChange(MakersPrivateDataStartAddress, [](AAA::Block& owner) { owner.Link(); });
  Add(TypeIndicator);
  Add(reserved1);
  Add(ProgramInfoExtStartAddress);
  Add(MakersPrivateDataStartAddress);
  Add(reserved2);
  Add(blkClipInfoExt);
  Add(padding_word1);
  Add(blkProgramInfoExt);
  if (MakersPrivateDataStartAddress != 0) {
    Add(padding_word2);
    Add(blkMakersPrivateData);
  }
}

void BlkClipExtensionData::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "CLEX");
  const std::int64_t blockStart = TypeIndicator.BitPosition();
  reserved1.Read(reader);
  ProgramInfoExtStartAddress.Read(reader);
  AAA_VERIFY(ProgramInfoExtStartAddress, ProgramInfoExtStartAddress % 2 == 0);
  MakersPrivateDataStartAddress.Read(reader);
  AAA_VERIFY(MakersPrivateDataStartAddress, MakersPrivateDataStartAddress % 2 == 0);
  reserved2.Read(reader);
  blkClipInfoExt.Read(reader);
  const std::int64_t paddingLength1 = Common::BitsUpTo(reader, blockStart + ProgramInfoExtStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkProgramInfoExt.Read(reader);
  if (MakersPrivateDataStartAddress != 0) {
    const std::int64_t paddingLength2 = Common::BitsUpTo(reader, blockStart + MakersPrivateDataStartAddress * 8ll);
    AAA_READ_PADDING(reader, padding_word2, paddingLength2);
    blkMakersPrivateData.Read(reader);
  }
}

void BlkClipExtensionData::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("CLEX"));
  reserved1.SetValue(0);
  SetStartAddress(ProgramInfoExtStartAddress, 0, blkProgramInfoExt);
  if (MakersPrivateDataStartAddress != 0) SetStartAddress(MakersPrivateDataStartAddress, 0, blkMakersPrivateData);
  reserved2.SetValue(0);
}

}  // namespace AVCHD::ClipInformationExt
