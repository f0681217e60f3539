#include "avchdlib/AVCHD_Common.h"

#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::Common {

void BlkExtDataEntry::Declare() {
  Add(ExtDataType);
  Add(ExtDataVersion);
  Add(ExtDataStartAddress);
  Add(ExtDataLength);
}

void BlkExtDataEntry::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(ExtDataType, AVCHD_EXT_DATA_TYPE);
  AAA_VERIFY(ExtDataVersion, ExtDataVersion == AVCHD_EXT_DATA_VERSION || ExtDataVersion == AVCHD_EXT_DATA_VERSION_EX);
  AAA_VERIFY(ExtDataStartAddress, ExtDataStartAddress % 4 == 0);
}

void BlkExtDataEntry::Initialize() {
  Block::Initialize();
  ExtDataVersion.SetValue(AVCHD_EXT_DATA_VERSION);
}

void BlkExtDataEntry::Update() {
  Block::Update();
  ExtDataType.SetValue(AVCHD_EXT_DATA_TYPE);
}

void BlkMakerEntry::Declare() {
  Add(MakerID);
  Add(MakerModelCode);
  Add(MpdStartAddress);
  Add(MpdLength);
}

void BlkMakerEntry::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
  AAA_VERIFY(MpdLength, MpdLength != 0);
}

void BlkMakerEntry::Initialize() {
  Block::Initialize();
  MakerID.SetValue(AVCHD_MAKER_ID);
  MakerModelCode.SetValue(AVCHD_MAKER_MODEL_CODE);
}

}  // namespace AVCHD::Common
