#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "avchdlib/AVCHD_ClipInformation.h"

namespace Restore {

// Told the bytes the scan has read after each entry point; the clip step
// advances its progress and answers the cancel request here.
using ScanProgress = std::function<void(std::uint64_t bytes)>;

// What a stream calls for in its clip information, built from a scan of it.
struct NewClipInformation {
  // Offset after the last complete group the scan took.
  std::uint64_t BytesScanned = 0;
};

// Scans `stream` and builds `newClipInformationFile` from it: STC sequences,
// EP map, program info, coding info extension, PRO blocks and the per-clip
// values. A broken stream throws InvalidStreamException (112), a stream
// that cannot be opened the exception of its system error, a program
// without video InvalidDataException (109).
NewClipInformation BuildNewClipInformationFile(AVCHD::ClipInformation::BlkClipInformationFile& newClipInformationFile,
                                               const std::filesystem::path& stream, const std::string& clipName,
                                               const ScanProgress& progress = {});

}  // namespace Restore
