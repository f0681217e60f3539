#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "streamscan/EntryPoint.h"
#include "streamscan/LogSink.h"
#include "streamscan/StreamSummary.h"

namespace StreamScan {

// One STC sequence as the clip information lists it.
struct StcSequence {
  std::uint32_t SPNSTCStart = 0;
  std::uint32_t PresentationStartTime = 0;  // 45 kHz
  std::uint32_t PresentationEndTime = 0;    // 45 kHz

  bool operator==(const StcSequence&) const = default;
};

// Forms the STC sequences from the entry points in order: a record with
// NewSTCSequence opens one (and closes the one before with its
// SequenceEndTime); later records bring the end time up to date.
class StcSequenceBuilder {
 public:
  void add(const EntryPointRecord& record);
  // The sequences, the last one closed with the summary's end time.
  std::vector<StcSequence> finish(const RecordingSummary& recording);

 private:
  std::vector<StcSequence> sequences_;
};

// Everything one complete scan found, as the clip step would drive it.
struct ScanReport {
  std::filesystem::path path;
  int status = 0;  // 0, or the code that stopped the scan
  std::uint64_t bytesScanned = 0;
  std::vector<EntryPointRecord> entryPoints;
  std::vector<StcSequence> stcSequences;
  bool haveSummary = false;
  StreamSummary summary;
};

// What a clip information file says of a stream (TsScanner::setRecordedStream).
struct RecordedStream {
  std::uint64_t packets = 0;
  std::uint64_t entryPoints = 0;
};

// Reset, open, program map, entry points to the end, close and summary.
ScanReport scanStreamFile(const std::filesystem::path& path, const LogSink& log = {},
                          const RecordedStream& recorded = {});

// What a user reads to learn what a stream holds.
std::string formatScanReport(const ScanReport& report);

// The same as one JSON document (keys status, packets, bytes_scanned,
// entry_points, stc_sequences, streams, video, pulldown, time_code_mode,
// first_picture_idr, records).
std::string formatScanReportJson(const ScanReport& report);

}  // namespace StreamScan
