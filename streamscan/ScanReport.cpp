#include "streamscan/ScanReport.h"

#include "streamscan/StatusCodes.h"
#include "streamscan/TsScanner.h"

namespace StreamScan {

void StcSequenceBuilder::add(const EntryPointRecord& record) {
  if (record.NewSTCSequence == 0 && !sequences_.empty()) {
    sequences_.back().PresentationEndTime = record.SequenceEndTime;
    return;
  }
  // The first record carries its own sequence's end; a later opener carries
  // the end of the sequence it closes.
  std::uint32_t end = record.SequenceEndTime;
  if (!sequences_.empty()) {
    sequences_.back().PresentationEndTime = record.SequenceEndTime;
    end = record.SequenceStartTime;
  }
  sequences_.push_back({record.SPNSTCStart, record.SequenceStartTime, end});
}

std::vector<StcSequence> StcSequenceBuilder::finish(const RecordingSummary& recording) {
  if (!sequences_.empty()) sequences_.back().PresentationEndTime = recording.lastSequenceEndTime;
  return std::move(sequences_);
}

ScanReport scanStreamFile(const std::filesystem::path& path, const LogSink& log, const RecordedStream& recorded) {
  ScanReport report;
  report.path = path;
  TsScanner scanner(log);
  scanner.reset();
  report.status = scanner.open(path);
  if (report.status != Status::Success) return report;
  scanner.setRecordedStream(recorded.packets, recorded.entryPoints);
  // Like the clip step, go on without a program map: the scan reports it.
  scanner.findProgramMap();
  StcSequenceBuilder sequences;
  for (;;) {
    EntryPointRecord record;
    bool end = false;
    const std::int64_t bytes = scanner.nextEntryPoint(record, end);
    if (bytes < 0) {
      report.status = scanner.lastStatus();
      break;
    }
    report.bytesScanned += static_cast<std::uint64_t>(bytes);
    if (end) break;
    report.entryPoints.push_back(record);
    sequences.add(record);
  }
  const int closed = scanner.closeAndFetchSummary(&report.summary);
  report.haveSummary = closed == Status::Success;
  if (report.status == Status::Success) report.status = closed;
  if (report.status == Status::Success && report.entryPoints.empty()) report.status = Status::PictureNone;
  report.stcSequences = sequences.finish(report.summary.recording);
  return report;
}

}  // namespace StreamScan
