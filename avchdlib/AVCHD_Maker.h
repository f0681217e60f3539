#pragma once

#include <cstdint>

#include "aaalib/AAA_FieldBase.h"

// The maker configuration: the recordings this tool accepts, and the values it
// stamps into the files it writes. The names are the ones the rule texts of
// the diagnostic log show.
namespace AVCHD {

// The maker identifier of every supported recording.
inline constexpr std::uint16_t AVCHD_MAKER_ID = 0x5E11;
// The model code written into new models.
inline constexpr std::uint16_t AVCHD_MAKER_MODEL_CODE = 0x2C01;

// The time zone stamped beside the time of a repair: none recorded.
inline constexpr std::uint8_t AVCHD_DEFAULT_TIME_ZONE = 0xFF;

// The accepted model codes: the default code alone and two families of 256.
constexpr bool AVCHD_VERIFY_MAKER_MODEL_CODE(std::uint32_t code) {
  return code == AVCHD_MAKER_MODEL_CODE || (code >= 0x6100 && code <= 0x61FF) || (code >= 0x7300 && code <= 0x73FF);
}

// Refuses a recording of another maker or of an unsupported model with
// MakerModelException, after reporting the failed rule.
void VerifyMakerAndModel(const AAA::FieldBase& MakerID, const AAA::FieldBase& MakerModelCode);
// Reads the two fields and verifies them before any field after them is
// checked: another maker's recording is refused as such, whatever else it holds.
inline void ReadMakerAndModel(AAA::BitReader& reader, AAA::FieldBase& MakerID, AAA::FieldBase& MakerModelCode) {
  MakerID.Read(reader);
  MakerModelCode.Read(reader);
  VerifyMakerAndModel(MakerID, MakerModelCode);
}

}  // namespace AVCHD
