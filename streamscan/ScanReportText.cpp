#include <cstdio>
#include <string>

#include "streamscan/ReportFormat.h"
#include "streamscan/ScanReport.h"
#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

template <typename... Args>
void appendf(std::string& out, const char* format, Args... args) {
  char line[256];
  std::snprintf(line, sizeof line, format, args...);
  out += line;
}

const char* yesNo(bool value) { return value ? "yes" : "no"; }

void appendStreams(std::string& out, const StreamSummary& summary) {
  out += "Streams:\n";
  for (unsigned slot = 0; slot < summary.streams.size(); ++slot) {
    const StreamInfo& s = summary.streams[slot];
    if (!s.present) continue;
    appendf(out, "  PID 0x%04X  stream type 0x%02X", s.PID, s.stream_type);
    if (slot == StreamSummary::VideoSlot)
      appendf(out, "  video: format %u, frame rate %u, aspect ratio %u%s\n", s.video_format, s.frame_rate,
              s.aspect_ratio, summary.video.attributesFromSps ? " (from the sequence parameter set)" : "");
    else if (slot <= 4)
      appendf(out, "  audio: presentation type %u, sampling frequency %u\n", s.audio_presentation_type,
              s.sampling_frequency);
    else
      out += "  graphics\n";
  }
}

void appendVideo(std::string& out, const StreamSummary& summary) {
  const VideoParameters& v = summary.video;
  static const char* const widths[] = {"?", "1920", "1440", "1280", "720"};
  appendf(out, "Video: width class %u (%s), profile_idc %u, level_idc %u, constraint_set0..3 %d%d%d%d\n",
          v.HorizontalSize, widths[v.HorizontalSize <= 4 ? v.HorizontalSize : 0], v.profile_idc, v.level_idc,
          v.constraint_set0_flag, v.constraint_set1_flag, v.constraint_set2_flag, v.constraint_set3_flag);
  const RecordingSummary& r = summary.recording;
  appendf(out, "Pulldown: %d (%s)\nTime code mode: %d (%s)\nFirst entry picture is IDR: %s\n", r.pulldown,
          pulldownName(r.pulldown), r.timeCodeMode, timeCodeModeName(r.timeCodeMode), yesNo(r.firstPictureIdr));
}

void appendEntryPoints(std::string& out, const ScanReport& report) {
  appendf(out, "Entry points: %zu\n", report.entryPoints.size());
  if (report.entryPoints.empty()) return;
  out += "  fine        SPN       PTS45  I-size  coarse  STC\n";
  for (const EntryPointRecord& e : report.entryPoints)
    appendf(out, "  %4u %10u  0x%08X  %6u  %6s  %s\n", e.FineIndex, e.SPN, e.PTS45, e.IEndPositionOffset,
            yesNo(e.NewCoarseEntry != 0), e.NewSTCSequence != 0 ? "new" : "");
}

void appendStcSequences(std::string& out, const ScanReport& report) {
  appendf(out, "STC sequences: %zu\n", report.stcSequences.size());
  for (const StcSequence& s : report.stcSequences)
    appendf(out, "  SPNSTCStart %u: 0x%08X .. 0x%08X (%s .. %s)\n", s.SPNSTCStart, s.PresentationStartTime,
            s.PresentationEndTime, seconds45Text(s.PresentationStartTime).c_str(),
            seconds45Text(s.PresentationEndTime).c_str());
}

void appendRecord(std::string& out, const char* name, bool present, const MetadataRecord& r) {
  if (!present) {
    appendf(out, "  %s: none\n", name);
    return;
  }
  appendf(out, "  %s:\n", name);
  const auto& tc = r[MetadataRecord::TimeCode];
  appendf(out, "    time code: %s\n", tc.valid ? timeCodeText(tc.value).c_str() : "none");
  appendf(out, "    binary group: %s\n",
          r[MetadataRecord::BinaryGroup].valid ? hexNumber(r[MetadataRecord::BinaryGroup].value, 8).c_str() : "none");
  if (r[MetadataRecord::TimeZoneAndDate].valid && r[MetadataRecord::DateTail].valid)
    appendf(out, "    recorded: %s, time zone 0x%02X\n", recordingDateText(r).c_str(),
            r[MetadataRecord::TimeZoneAndDate].value >> 24);
  else
    out += "    recorded: none\n";
  out += "    recording parameters:";
  for (unsigned slot = MetadataRecord::FirstRecordingParameter; slot <= MetadataRecord::LastRecordingParameter;
       ++slot) {
    out += ' ';
    out += r[slot].valid ? hexNumber(r[slot].value, 8) : std::string("-");
  }
  out += "\n";
  const auto& maker = r[MetadataRecord::MakerValue];
  const auto& channel = r[MetadataRecord::Channel3d];
  appendf(out, "    maker value: %s, 3D channel: %s\n", maker.valid ? hexNumber(maker.value, 8).c_str() : "none",
          channel.valid ? hexNumber(channel.value, 8).c_str() : "none");
}

}  // namespace

std::string formatScanReport(const ScanReport& report) {
  std::string out;
  appendf(out, "Stream: %s\n", report.path.string().c_str());
  if (report.status == Status::Success)
    out += "Scan: complete\n";
  else
    appendf(out, "Scan: failed with %s\n", describeStatus(report.status).c_str());
  const StreamSummary& summary = report.summary;
  appendf(out, "Source packets: %llu (%llu bytes scanned)\n", static_cast<unsigned long long>(summary.packets),
          static_cast<unsigned long long>(report.bytesScanned));
  appendStreams(out, summary);
  appendVideo(out, summary);
  appendEntryPoints(out, report);
  appendStcSequences(out, report);
  out += "Metadata records:\n";
  const RecordingSummary& r = summary.recording;
  appendRecord(out, "first picture", r.haveFirstRecords, r.firstRecord);
  appendRecord(out, "first I picture", r.haveFirstRecords, r.secondRecord);
  appendRecord(out, "latest group", r.haveLatestRecord, r.latestRecord);
  return out;
}

}  // namespace StreamScan
