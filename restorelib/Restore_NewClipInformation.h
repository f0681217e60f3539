#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "avchdlib/AVCHD_ClipInformation.h"

namespace Restore {

// Told the bytes the scan has read after each entry point; the clip step
// advances its progress and answers the cancel request here.
using ScanProgress = std::function<void(std::uint64_t bytes)>;

// A stream as a clip information file counts it.
struct RecordedStream {
  std::uint64_t SourcePackets = 0;
  std::uint64_t EntryPoints = 0;
};

// What a stream calls for in its clip information, built from a scan of it.
struct NewClipInformation {
  // Offset after the last complete group the scan took.
  std::uint64_t BytesScanned = 0;
  // One line for each damaged stretch the scan skipped ("/card/.../00003.MTS:
  // bytes 600192 to 600384 (1.20 s to 1.24 s) are damaged: skipped").
  std::vector<std::string> DamagedStretches;
  // Seconds at the end of a stream cut short that the clip leaves out: the
  // pictures of a group the cut broke.
  double SecondsLeftOut = 0;
};

// Scans `stream` and builds `newClipInformationFile` from it: STC sequences,
// EP map, program info, coding info extension, PRO blocks and the per-clip
// values. `recorded` is the stream as the card's own clip information
// describes it (zeros when there is none): a stream of exactly that many
// source packets, whose entry points it counts up to the last group, was not
// cut and keeps its last group. A
// broken stream throws InvalidStreamException (112), a stream that cannot be
// opened the exception of its system error, a program without video
// InvalidDataException (109).
NewClipInformation BuildNewClipInformationFile(AVCHD::ClipInformation::BlkClipInformationFile& newClipInformationFile,
                                               const std::filesystem::path& stream, const std::string& clipName,
                                               const ScanProgress& progress = {}, const RecordedStream& recorded = {});

}  // namespace Restore
