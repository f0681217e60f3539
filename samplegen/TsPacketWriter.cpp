#include "samplegen/TsPacketWriter.h"

#include <algorithm>

namespace SampleGen {

namespace {

constexpr std::size_t TsHeaderSize = 4;
constexpr std::uint32_t ArrivalTicksPerPacket = 2000;

void putTimeStamp(std::vector<std::uint8_t>& out, unsigned prefix, std::uint64_t value) {
  out.push_back(static_cast<std::uint8_t>((prefix << 4) | ((value >> 29) & 0x0E) | 1));
  out.push_back(static_cast<std::uint8_t>(value >> 22));
  out.push_back(static_cast<std::uint8_t>(((value >> 14) & 0xFE) | 1));
  out.push_back(static_cast<std::uint8_t>(value >> 7));
  out.push_back(static_cast<std::uint8_t>(((value << 1) & 0xFE) | 1));
}

}  // namespace

std::uint32_t mpegCrc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (const std::uint8_t byte : bytes) {
    crc ^= std::uint32_t{byte} << 24;
    for (int i = 0; i < 8; ++i) crc = (crc & 0x80000000) ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
  }
  return crc;
}

std::vector<std::uint8_t> pesHeader(std::uint8_t streamId, std::uint64_t pts, std::optional<std::uint64_t> dts,
                                    std::size_t payloadLength) {
  const std::size_t headerData = dts ? 10 : 5;
  // Video PES packets leave their length open, as camcorders write them.
  const std::size_t length = streamId == 0xE0 ? 0 : 3 + headerData + payloadLength;
  std::vector<std::uint8_t> out{0,
                                0,
                                1,
                                streamId,
                                static_cast<std::uint8_t>(length >> 8),
                                static_cast<std::uint8_t>(length),
                                0x84,
                                static_cast<std::uint8_t>(dts ? 0xC0 : 0x80),
                                static_cast<std::uint8_t>(headerData)};
  putTimeStamp(out, dts ? 3 : 2, pts);
  if (dts) putTimeStamp(out, 1, *dts);
  return out;
}

std::size_t TsPacketWriter::packet(std::uint16_t pid, bool unitStart, std::span<const std::uint8_t> payload,
                                   const Adaptation& adaptation) {
  std::array<std::uint8_t, PacketSize> p{};
  const std::uint32_t ats = static_cast<std::uint32_t>(packets_ * ArrivalTicksPerPacket) & 0x3FFFFFFF;
  p[0] = static_cast<std::uint8_t>(ats >> 24);
  p[1] = static_cast<std::uint8_t>(ats >> 16);
  p[2] = static_cast<std::uint8_t>(ats >> 8);
  p[3] = static_cast<std::uint8_t>(ats);
  std::uint8_t* ts = p.data() + 4;
  ts[0] = 0x47;
  ts[1] = static_cast<std::uint8_t>((unitStart ? 0x40 : 0) | (pid >> 8));
  ts[2] = static_cast<std::uint8_t>(pid);
  // Adaptation field: flags byte, optional PCR, then stuffing up to the payload.
  std::size_t fieldBody = (adaptation.discontinuity || adaptation.pcr) ? 1 + (adaptation.pcr ? 6 : 0) : 0;
  const std::size_t room = PayloadSize - (fieldBody > 0 ? 1 + fieldBody : 0);
  const std::size_t taken = std::min(payload.size(), room);
  const bool needField = fieldBody > 0 || taken < PayloadSize;
  const std::size_t fieldLength = needField ? PayloadSize - taken - 1 : 0;
  const std::uint8_t control = taken > 0 ? (needField ? 0x30 : 0x10) : 0x20;
  std::uint8_t& cc = continuity_[pid];
  ts[3] = static_cast<std::uint8_t>(control | (taken > 0 ? cc++ & 0x0F : cc & 0x0F));
  std::uint8_t* at = ts + TsHeaderSize;
  if (needField) {
    *at++ = static_cast<std::uint8_t>(fieldLength);
    if (fieldLength > 0) {
      std::fill(at, at + fieldLength, 0xFF);
      at[0] = static_cast<std::uint8_t>((adaptation.discontinuity ? 0x80 : 0) | (adaptation.pcr ? 0x10 : 0));
      if (adaptation.pcr) {
        const std::uint64_t base = *adaptation.pcr / 300;
        const std::uint64_t extension = *adaptation.pcr % 300;
        at[1] = static_cast<std::uint8_t>(base >> 25);
        at[2] = static_cast<std::uint8_t>(base >> 17);
        at[3] = static_cast<std::uint8_t>(base >> 9);
        at[4] = static_cast<std::uint8_t>(base >> 1);
        at[5] = static_cast<std::uint8_t>(((base & 1) << 7) | 0x7E | (extension >> 8));
        at[6] = static_cast<std::uint8_t>(extension);
      }
      at += fieldLength;
    }
  }
  std::copy_n(payload.begin(), taken, at);
  emit(p);
  return taken;
}

void TsPacketWriter::pcrPacket(std::uint16_t pid, std::uint64_t pcr, bool discontinuity) {
  packet(pid, false, {}, Adaptation{discontinuity, pcr});
}

void TsPacketWriter::section(std::uint16_t pid, std::vector<std::uint8_t> section) {
  const std::uint32_t crc = mpegCrc32(section);
  for (int shift = 24; shift >= 0; shift -= 8) section.push_back(static_cast<std::uint8_t>(crc >> shift));
  std::vector<std::uint8_t> payload{0};  // pointer_field
  payload.insert(payload.end(), section.begin(), section.end());
  payload.resize(PayloadSize, 0xFF);
  packet(pid, true, payload);
}

void TsPacketWriter::nullPacket() {
  const std::vector<std::uint8_t> stuffing(PayloadSize, 0xFF);
  packet(0x1FFF, false, stuffing);
}

void TsPacketWriter::emit(const std::array<std::uint8_t, PacketSize>& bytes) {
  ++packets_;
  if (written_ >= cutAtByte_) return;
  const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(PacketSize, cutAtByte_ - written_));
  if (file_ != nullptr)
    std::fwrite(bytes.data(), 1, count, file_);
  else
    memory_.insert(memory_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
  written_ += count;
}

}  // namespace SampleGen
