#include "restorelib/Restore_ClipValues.h"

#include <algorithm>
#include <utility>

#include "avchdlib/AVCHD_Maker.h"

namespace Restore {

using AVCHD::AVCHD_MAKER_ID;
using AVCHD::AVCHD_MAKER_MODEL_CODE;

using AVCHD::ClipInformation::BlkClipInformationFile;
using AVCHD::ClipInformation::BlkStreamCodingInfo;

const BlkStreamCodingInfo* CodingInfoOfType(const BlkClipInformationFile& clip, std::uint32_t streamCodingType) {
  for (const auto& stream : clip.blkProgramInfo.blkStreamsInPSArray) {
    if (stream.blkStreamCodingInfo.StreamCodingType == streamCodingType) return &stream.blkStreamCodingInfo;
  }
  return nullptr;
}

const BlkStreamCodingInfo* CodingInfoOfPid(const BlkClipInformationFile& clip, std::uint32_t pid) {
  for (const auto& stream : clip.blkProgramInfo.blkStreamsInPSArray) {
    if (stream.StreamPID == pid) return &stream.blkStreamCodingInfo;
  }
  return nullptr;
}

const AVCHD::ClipInformationPro::BlkPRO_ClipInfo* ProClipInfo(const BlkClipInformationFile& clip) {
  const auto& extension = clip.blkExtensionData.blkDataBlock;
  const auto& proClipInfo = extension.blkMakersPrivateData.blkDataBlock.blkProClipInfo;
  if (extension.MakersPrivateDataStartAddress == 0 || proClipInfo.Tag_ID != AVCHD::ClipInformationPro::kTagClipInfo) {
    return nullptr;
  }
  return &proClipInfo;
}

AVCHD::ClipInformationPro::BlkPRO_ClipInfo* ProClipInfo(BlkClipInformationFile& clip) {
  return const_cast<AVCHD::ClipInformationPro::BlkPRO_ClipInfo*>(ProClipInfo(std::as_const(clip)));
}

bool HasLocation(const BlkClipInformationFile& clip) {
  return std::any_of(clip.RecordingParameterBytes.begin(), clip.RecordingParameterBytes.end(),
                     [](std::uint8_t byte) { return byte != 0xFF; });
}

std::uint32_t LocationValue(const BlkClipInformationFile& clip, std::size_t index) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | clip.RecordingParameterBytes[index * 4 + i];
  return value;
}

void StampClipMaker(BlkClipInformationFile& clipInformationFile) {
  auto& clipInfoExt = clipInformationFile.blkExtensionData.blkDataBlock.blkClipInfoExt;
  AAA_CORRECT(clipInfoExt.MakerID, AVCHD_MAKER_ID);
  AAA_CORRECT(clipInfoExt.MakerModelCode, AVCHD_MAKER_MODEL_CODE);
}

}  // namespace Restore
