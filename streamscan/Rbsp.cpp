#include "streamscan/Rbsp.h"

namespace StreamScan {

std::size_t findStartCode(std::span<const std::uint8_t> bytes, std::size_t from) {
  for (std::size_t i = from; i + 2 < bytes.size(); ++i) {
    if (bytes[i + 2] > 1) {
      i += 2;  // no start code can end at i + 1 or i + 2 either
      continue;
    }
    if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1) return i + 3;
  }
  return bytes.size();
}

std::size_t nalUnitEnd(std::span<const std::uint8_t> bytes, std::size_t from) {
  for (std::size_t i = from; i + 2 < bytes.size(); ++i) {
    if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] <= 1) return i;
  }
  return bytes.size();
}

std::size_t removeEmulationPrevention(std::span<const std::uint8_t> nal, std::span<std::uint8_t> out) {
  std::size_t written = 0;
  unsigned zeros = 0;
  for (const std::uint8_t byte : nal) {
    if (written == out.size()) break;
    if (zeros >= 2 && byte == 0x03) {
      zeros = 0;
      continue;
    }
    zeros = byte == 0 ? zeros + 1 : 0;
    out[written++] = byte;
  }
  return written;
}

std::size_t rbspPayloadBits(std::span<const std::uint8_t> rbsp) {
  for (std::size_t i = rbsp.size(); i-- > 0;) {
    const std::uint8_t byte = rbsp[i];
    if (byte == 0) continue;
    unsigned trailing = 0;
    while (((byte >> trailing) & 1u) == 0) ++trailing;
    return i * 8 + (7 - trailing);
  }
  return 0;
}

}  // namespace StreamScan
