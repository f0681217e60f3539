#pragma once

#include <cstdint>

#include "avchdlib/AVCHD_ClipInformation.h"

// What the steps after the clip step look up in a clip model.
namespace Restore {

// The coding of the clip's first stream of that coding type, or of the
// stream of that PID; null when the clip has none.
const AVCHD::ClipInformation::BlkStreamCodingInfo* CodingInfoOfType(
    const AVCHD::ClipInformation::BlkClipInformationFile& clip, std::uint32_t streamCodingType);
const AVCHD::ClipInformation::BlkStreamCodingInfo* CodingInfoOfPid(
    const AVCHD::ClipInformation::BlkClipInformationFile& clip, std::uint32_t pid);

// The clip's PRO clip information, or null when it has none.
AVCHD::ClipInformationPro::BlkPRO_ClipInfo* ProClipInfo(AVCHD::ClipInformation::BlkClipInformationFile& clip);
const AVCHD::ClipInformationPro::BlkPRO_ClipInfo* ProClipInfo(
    const AVCHD::ClipInformation::BlkClipInformationFile& clip);

// The recording metadata holds the ten location values.
bool HasLocation(const AVCHD::ClipInformation::BlkClipInformationFile& clip);
// Location value `index` (0 to 9: latitude reference, three latitude
// values, longitude reference, three longitude values, altitude reference,
// altitude).
std::uint32_t LocationValue(const AVCHD::ClipInformation::BlkClipInformationFile& clip, std::size_t index);

// A changed clip is stamped with the tool's maker values.
void StampClipMaker(AVCHD::ClipInformation::BlkClipInformationFile& clipInformationFile);

}  // namespace Restore
