#include "streamscan/ReportFormat.h"

#include <cstdio>

#include "streamscan/FrameRate.h"
#include "streamscan/TimeCode.h"

namespace StreamScan {

std::string hexNumber(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

const char* pulldownName(int pulldown) {
  switch (pulldown) {
    case PulldownNone:
      return "none";
    case Pulldown22:
      return "2:2";
    case Pulldown32:
      return "3:2";
    default:
      return "?";
  }
}

const char* timeCodeModeName(int mode) {
  switch (mode) {
    case TimeCodeIncrement:
      return "Increment";
    case TimeCodeUnIncrement:
      return "UnIncrement";
    case TimeCodeNoTC:
      return "NoTC";
    default:
      return "none";
  }
}

std::string timeCodeText(std::uint32_t value) {
  const TimeCodeDigits d = unpackTimeCode(value);
  char text[40];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u:%02u%s", d.hours, d.minutes, d.seconds, d.frames,
                d.dropFrame ? " drop frame" : "");
  return text;
}

std::string recordingDateText(const MetadataRecord& record) {
  const std::uint32_t head = record[MetadataRecord::TimeZoneAndDate].value;
  const std::uint32_t tail = record[MetadataRecord::DateTail].value;
  char text[40];
  std::snprintf(text, sizeof text, "%02X%02X-%02X-%02X %02X:%02X:%02X", (head >> 16) & 0xFF, (head >> 8) & 0xFF,
                head & 0xFF, tail >> 24, (tail >> 16) & 0xFF, (tail >> 8) & 0xFF, tail & 0xFF);
  return text;
}

std::string seconds45Text(std::uint32_t ticks) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%03u s", ticks / 45000, ticks % 45000 / 45);
  return text;
}

}  // namespace StreamScan
