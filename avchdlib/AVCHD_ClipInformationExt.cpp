#include "avchdlib/AVCHD_ClipInformationExt.h"

namespace AVCHD::ClipInformationExt {

void BlkProgramSequence::Declare() {
  OnChange(NumberOfStreamCodingInfoExtInPs, [](AAA::Block& owner) {
    auto& self = static_cast<BlkProgramSequence&>(owner);
    AAA_VERIFY(self.NumberOfStreamCodingInfoExtInPs,
               (0 <= self.NumberOfStreamCodingInfoExtInPs) && (self.NumberOfStreamCodingInfoExtInPs <= 1));
    self.blkStreamCodingInfoExtInPsArray.Resize(self.NumberOfStreamCodingInfoExtInPs);
    self.Link();
  });
  Add(NumberOfStreamCodingInfoExtInPs, reserved, blkStreamCodingInfoExtInPsArray);
}

void BlkProgramInfoExt::Declare() {
  OnChange(NumberOfProgramSequences, [](AAA::Block& owner) {
    auto& self = static_cast<BlkProgramInfoExt&>(owner);
    AAA_VERIFY_EQUAL(self.NumberOfProgramSequences, 1);
    self.blkProgramSequenceArray.Resize(self.NumberOfProgramSequences);
    self.Link();
  });
  Add(Length, reserved, NumberOfProgramSequences, blkProgramSequenceArray);
}

void BlkClipExtensionData::Declare() {
  OnChange(MakersPrivateDataStartAddress, [](AAA::Block& owner) { owner.Link(); });
  Add(TypeIndicator, reserved1, ProgramInfoExtStartAddress, MakersPrivateDataStartAddress, reserved2, blkClipInfoExt,
      padding_word1, blkProgramInfoExt);
  if (MakersPrivateDataStartAddress != 0) Add(padding_word2, blkMakersPrivateData);
}

// The paddings before the addressed blocks are read up to their addresses.
void BlkClipExtensionData::Read(AAA::BitReader& reader) {
  for (std::size_t i = 0; Children()[i] != &padding_word1; ++i) Children()[i]->Read(reader);
  const std::int64_t blockStart = TypeIndicator.BitPosition();
  const std::int64_t paddingLength1 = Common::BitsUpTo(reader, blockStart + ProgramInfoExtStartAddress * 8ll);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkProgramInfoExt.Read(reader);
  if (MakersPrivateDataStartAddress != 0) {
    const std::int64_t paddingLength2 = Common::BitsUpTo(reader, blockStart + MakersPrivateDataStartAddress * 8ll);
    AAA_READ_PADDING(reader, padding_word2, paddingLength2);
    blkMakersPrivateData.Read(reader);
  }
}

}  // namespace AVCHD::ClipInformationExt
