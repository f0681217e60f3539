#include "avchdlib/AVCHD_Common.h"

#include <algorithm>

#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::Common {

std::uint32_t BlockLength(const AAA::Block& owner, const AAA::FieldBase& length) {
  return static_cast<std::uint32_t>((owner.BitLength() - length.BitLength()) / 8);
}

bool AVCHD_VERIFY_TIMEANDDATE(const AAA::FieldBase& timeAndDate) {
  const auto& bytes = timeAndDate.ValueBytes();
  if (bytes.size() != 7) return false;
  if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0; })) return true;
  const bool decimal =
      std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return (byte >> 4) <= 9 && (byte & 0x0F) <= 9; });
  if (!decimal) return false;
  auto number = [&bytes](std::size_t index) { return (bytes[index] >> 4) * 10 + (bytes[index] & 0x0F); };
  return number(2) >= 1 && number(2) <= 12 && number(3) >= 1 && number(3) <= 31 && number(4) <= 23 && number(5) <= 59 &&
         number(6) <= 59;
}

bool AVCHD_VERIFY_CHARACTERSET(std::uint32_t characterSet) {
  return (characterSet >= 1 && characterSet <= 7) || characterSet == 0x81 ||
         (characterSet >= 0x90 && characterSet <= 0x99);
}

void BlkAdditionalData::Declare() {
  Add(Length2);
  Add(reserved);
}

void BlkAdditionalData::Read(AAA::BitReader& reader) {
  Length2.Read(reader);
  AAA_VERIFY_EQUAL(Length2, 0U);
  reserved.SetBitLength(Length2 * 8ll);
  reserved.Read(reader);
}

void BlkAdditionalData::Initialize() { Length2.SetValue(0); }

void BlkAdditionalData::Update() {
  Block::Update();
  Length2.SetValue(0);
  reserved.SetBitLength(0);
}

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
