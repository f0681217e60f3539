// The clip information parser on arbitrary bytes.
#include "avchdlib/AVCHD_ClipInformation.h"
#include "fuzz/avchdlib/ModelRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Larger clip information files are never read.
  if (size > AVCHD::ClipInformation::kMaxFileBytes) return 0;
  return FuzzModelRoundTrip<AVCHD::ClipInformation::BlkClipInformationFile>(data, size);
}
