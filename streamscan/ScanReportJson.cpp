#include <string>

#include "streamscan/ScanReport.h"

namespace StreamScan {

namespace {

// Builds one JSON object member by member; the report holds only numbers,
// booleans and nulls, so no string escaping is needed beyond the path.
class JsonObject {
 public:
  JsonObject& number(const char* key, std::uint64_t value) { return raw(key, std::to_string(value)); }
  JsonObject& boolean(const char* key, bool value) { return raw(key, value ? "true" : "false"); }
  JsonObject& raw(const char* key, const std::string& json) {
    text_ += text_.empty() ? "{" : ",";
    text_ += '"';
    text_ += key;
    text_ += "\":";
    text_ += json;
    return *this;
  }
  std::string str() const { return text_.empty() ? "{}" : text_ + "}"; }

 private:
  std::string text_;
};

template <typename Items, typename Render>
std::string jsonList(const Items& items, Render render) {
  std::string out = "[";
  for (const auto& item : items) {
    if (out.size() > 1) out += ",";
    out += render(item);
  }
  return out + "]";
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\u00";
      out += "0123456789abcdef"[(c >> 4) & 0xF];
      out += "0123456789abcdef"[c & 0xF];
      continue;
    }
    out += c;
  }
  return out + "\"";
}

std::string jsonRecord(bool present, const MetadataRecord& record) {
  if (!present) return "null";
  return jsonList(record.slots, [](const MetadataSlot& slot) {
    return slot.valid ? std::to_string(slot.value) : std::string("null");
  });
}

std::string jsonVideo(const StreamSummary& summary) {
  const StreamInfo& info = summary.streams[StreamSummary::VideoSlot];
  const VideoParameters& v = summary.video;
  return JsonObject()
      .number("video_format", info.video_format)
      .number("frame_rate", info.frame_rate)
      .number("aspect_ratio", info.aspect_ratio)
      .number("horizontal_size", v.HorizontalSize)
      .number("profile_idc", v.profile_idc)
      .number("level_idc", v.level_idc)
      .boolean("constraint_set0_flag", v.constraint_set0_flag)
      .boolean("constraint_set1_flag", v.constraint_set1_flag)
      .boolean("constraint_set2_flag", v.constraint_set2_flag)
      .boolean("constraint_set3_flag", v.constraint_set3_flag)
      .boolean("attributes_from_sps", v.attributesFromSps)
      .str();
}

}  // namespace

std::string formatScanReportJson(const ScanReport& report) {
  const StreamSummary& summary = report.summary;
  const RecordingSummary& recording = summary.recording;
  std::vector<StreamInfo> present;
  for (const StreamInfo& info : summary.streams) {
    if (info.present) present.push_back(info);
  }
  const std::string records = JsonObject()
                                  .raw("first", jsonRecord(recording.haveFirstRecords, recording.firstRecord))
                                  .raw("second", jsonRecord(recording.haveFirstRecords, recording.secondRecord))
                                  .raw("latest", jsonRecord(recording.haveLatestRecord, recording.latestRecord))
                                  .str();
  return JsonObject()
             .raw("path", jsonString(report.path.string()))
             .number("status", static_cast<std::uint32_t>(report.status))
             .number("packets", summary.packets)
             .number("bytes_scanned", report.bytesScanned)
             .raw("entry_points", jsonList(report.entryPoints,
                                           [](const EntryPointRecord& e) {
                                             return JsonObject()
                                                 .number("spn", e.SPN)
                                                 .number("pts45", e.PTS45)
                                                 .number("i_end_position_offset", e.IEndPositionOffset)
                                                 .boolean("new_coarse_entry", e.NewCoarseEntry != 0)
                                                 .boolean("new_stc_sequence", e.NewSTCSequence != 0)
                                                 .number("fine_index", e.FineIndex)
                                                 .str();
                                           }))
             .raw("stc_sequences", jsonList(report.stcSequences,
                                            [](const StcSequence& s) {
                                              return JsonObject()
                                                  .number("spn_stc_start", s.SPNSTCStart)
                                                  .number("presentation_start_time", s.PresentationStartTime)
                                                  .number("presentation_end_time", s.PresentationEndTime)
                                                  .str();
                                            }))
             .raw("streams",
                  jsonList(present,
                           [](const StreamInfo& s) {
                             return JsonObject().number("pid", s.PID).number("stream_type", s.stream_type).str();
                           }))
             .raw("video", jsonVideo(summary))
             .number("pulldown", static_cast<std::uint32_t>(recording.pulldown))
             .number("time_code_mode", static_cast<std::uint32_t>(recording.timeCodeMode))
             .boolean("first_picture_idr", recording.firstPictureIdr)
             .raw("records", records)
             .str() +
         "\n";
}

}  // namespace StreamScan
