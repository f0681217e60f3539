#include "avchdlib/AVCHD_Fields.h"

#include <array>
#include <cstdio>
#include <random>

namespace AVCHD::Field {
namespace {

using AAA::ByteSpan;
using AAA::Field::EnumText;

bool AllFF(ByteSpan value) {
  for (std::uint8_t byte : value) {
    if (byte != 0xFF) return false;
  }
  return !value.empty();
}

template <class... Arguments>
std::string Format(const char* format, Arguments... arguments) {
  char text[96];
  std::snprintf(text, sizeof text, format, arguments...);
  return text;
}

}  // namespace

std::string TimeCode::ToString(ByteSpan value) const {
  if (value.size() != 4) return {};
  if (AllFF(value)) return "UNDEFINED";
  return Format("%02x:%02x:%02x:%02x %s", value[3] & 0x3F, value[2] & 0x7F, value[1] & 0x7F, value[0] & 0x3F,
                (value[0] & 0x40) ? "DF" : "NDF");
}

std::string TimeAndDate::ToString(ByteSpan value) const {
  if (value.size() != 7) return {};
  static constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  const int month = (value[2] >> 4) * 10 + (value[2] & 0x0F);
  const char* monthName = (month >= 1 && month <= 12) ? kMonths[month - 1] : "INV";
  auto high = [&value](int index) { return value[static_cast<std::size_t>(index)] >> 4; };
  auto low = [&value](int index) { return value[static_cast<std::size_t>(index)] & 0x0F; };
  return Format("%01d%01d%01d%01d.%s.%01d%01d %01d%01d:%01d%01d:%01d%01d", high(0), low(0), high(1), low(1), monthName,
                high(3), low(3), high(4), low(4), high(5), low(5), high(6), low(6));
}

std::string TimeZone::ToString(ByteSpan value) const {
  if (value.size() != 1) return {};
  const std::uint8_t zone = value[0];
  const int hours = (zone >> 1) & 0x0F;
  if (hours == 0x0F) return "UNDEFINED";
  return Format("%s%d:%s %s", (zone & 0x20) ? "-" : "+", hours, (zone & 0x01) ? "30" : "00",
                (zone & 0x40) ? "DST" : "");
}

std::string CharacterSet::ToString(ByteSpan value) const {
  namespace Set = CharacterSetValue;
  static constexpr EnumText kNamed[] = {{Set::kUtf8, "UTF-8"},
                                        {Set::kUtf16BigEndian, "UTF-16 Big Endian"},
                                        {Set::kShiftJis, "Shift JIS"},
                                        {Set::kEucKr, "EUC-KR"},
                                        {Set::kGb18030, "GB18030-2000"},
                                        {Set::kCnGb, "CN-GB"},
                                        {Set::kBig5, "BIG5"},
                                        {Set::kIsdb, "ISDB"},
                                        {Set::kAscii, "ASCII"},
                                        {Set::kIso8859_1, "ISO 8859-1"}};
  const std::uint32_t code = NumberOf(value);
  for (const EnumText& entry : kNamed) {
    if (entry.value == code) return entry.text;
  }
  if (code > Set::kIso8859_1 && code <= Set::kIso8859_9) {
    return "ISO 8859-" + std::to_string(code - Set::kIso8859_1 + 1);
  }
  return "reserved";
}

std::string Pro_BinaryGroup::ToString(ByteSpan value) const {
  if (value.size() != 4) return {};
  if (AllFF(value)) return "UNDEFINED";
  return Format("%02x:%02x:%02x:%02x", value[3], value[2], value[1], value[0]);
}

void Pro_Umid::Initialize() {
  static constexpr std::array<std::uint8_t, 16> kLabel = {0x06, 0x0A, 0x2B, 0x34, 0x01, 0x01, 0x01, 0x05,
                                                          0x01, 0x01, 0x0D, 0x23, 0x13, 0x00, 0x00, 0x00};
  // A new 128-bit identifier: 32-bit, 16-bit and 16-bit fields, then 8 bytes.
  thread_local std::mt19937_64 generator{(static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                         std::random_device{}()};
  std::array<std::uint8_t, 16> guid{};
  for (std::size_t i = 0; i < guid.size(); i += 8) {
    const std::uint64_t random = generator();
    for (std::size_t j = 0; j < 8; ++j) guid[i + j] = static_cast<std::uint8_t>(random >> (8 * j));
  }
  const auto value = value_.Value();
  std::copy(kLabel.begin(), kLabel.end(), value.begin());
  // Bytes 16-19, 20-21 and 22 take the first, second and the high byte of the
  // third field, most significant first; byte 23 is 0; then the last eight.
  std::copy(guid.begin(), guid.begin() + 7, value.begin() + 16);
  value[23] = 0;
  std::copy(guid.begin() + 8, guid.end(), value.begin() + 24);
}

}  // namespace AVCHD::Field
