#include "streamscan/TransportPacket.h"

#include "streamscan/StatusCodes.h"

namespace StreamScan {

namespace {

constexpr std::uint8_t SyncByte = 0x47;
constexpr std::size_t HeaderSize = 4 + 4;  // arrival time header and TS header
constexpr std::uint8_t VideoStreamId = 0xE0;
constexpr std::size_t PesFixedHeaderSize = 9;
constexpr std::size_t TimeStampSize = 5;

// The adaptation field's bytes after those its flags announce: PCR, OPCR,
// splice countdown, private data and extension.
std::uint8_t stuffingOf(const std::uint8_t* field, std::size_t length) {
  if (length == 0) return 1;  // the length byte alone pads a packet by one
  const std::uint8_t flags = field[0];
  std::size_t used = 1;
  if (flags & 0x10) used += 6;
  if (flags & 0x08) used += 6;
  if (flags & 0x04) used += 1;
  if ((flags & 0x02) && used < length) used += 1 + field[used];
  if ((flags & 0x01) && used < length) used += 1 + field[used];
  return used < length ? static_cast<std::uint8_t>(length - used) : 0;
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// A PTS or DTS: a 4-bit prefix (not checked: muxers disagree on it), then
// parts of 3, 15 and 15 bits, each followed by a marker bit that must be 1.
bool decodeTimeStamp(const std::uint8_t* p, std::uint64_t& value) {
  if ((p[0] & 1) == 0 || (p[2] & 1) == 0 || (p[4] & 1) == 0) return false;
  value = (std::uint64_t{p[0] & 0x0Eu} << 29) | (std::uint64_t{p[1]} << 22) | (std::uint64_t{p[2] & 0xFEu} << 14) |
          (std::uint64_t{p[3]} << 7) | (p[4] >> 1);
  return true;
}

}  // namespace

int decodeSourcePacket(std::span<const std::uint8_t, SourcePacketSize> bytes, TransportPacket& out) {
  const std::uint8_t* p = bytes.data();
  const std::uint32_t header = bigEndian32(p);
  out.copy_permission_indicator = static_cast<std::uint8_t>(header >> 30);
  out.arrival_time_stamp = header & 0x3FFFFFFF;
  const std::uint8_t* ts = p + 4;
  if (ts[0] != SyncByte) return Status::PacketSyntax;
  out.transport_error_indicator = (ts[1] & 0x80) != 0;
  out.payload_unit_start_indicator = (ts[1] & 0x40) != 0;
  out.transport_priority = (ts[1] & 0x20) != 0;
  out.PID = static_cast<std::uint16_t>(((ts[1] & 0x1F) << 8) | ts[2]);
  out.transport_scrambling_control = ts[3] >> 6;
  out.adaptation_field_control = (ts[3] >> 4) & 3;
  out.continuity_counter = ts[3] & 0x0F;
  out.adaptation_field_length = 0;
  out.discontinuity_indicator = false;
  out.random_access_indicator = false;
  out.elementary_stream_priority_indicator = false;
  out.stuffing_bytes = 0;
  std::size_t payloadStart = HeaderSize;
  if (out.adaptation_field_control >= 2) {
    out.adaptation_field_length = p[HeaderSize];
    payloadStart += 1 + out.adaptation_field_length;
    if (payloadStart > SourcePacketSize) return Status::PacketTooLong;
    if (out.adaptation_field_length > 0) {
      const std::uint8_t flags = p[HeaderSize + 1];
      out.discontinuity_indicator = (flags & 0x80) != 0;
      out.random_access_indicator = (flags & 0x40) != 0;
      out.elementary_stream_priority_indicator = (flags & 0x20) != 0;
    }
    if (out.hasPayload()) out.stuffing_bytes = stuffingOf(p + HeaderSize + 1, out.adaptation_field_length);
  }
  out.payload = out.hasPayload() ? bytes.subspan(payloadStart) : std::span<const std::uint8_t>{};
  return Status::Success;
}

int decodeVideoPesHeader(std::span<const std::uint8_t> payload, PesHeader& out) {
  if (payload.size() < PesFixedHeaderSize) return Status::PacketTooLong;
  const std::uint8_t* p = payload.data();
  if (p[0] != 0 || p[1] != 0 || p[2] != 1 || p[3] != VideoStreamId || (p[6] >> 6) != 2) return Status::PacketSyntax;
  out.PES_packet_length = static_cast<std::uint16_t>((p[4] << 8) | p[5]);
  const unsigned ptsDtsFlags = p[7] >> 6;
  // A video access unit without a PTS cannot be placed in time.
  if (ptsDtsFlags != 2 && ptsDtsFlags != 3) return Status::PacketSyntax;
  const std::size_t headerDataLength = p[8];
  out.payloadOffset = PesFixedHeaderSize + headerDataLength;
  const std::size_t timeStampBytes = ptsDtsFlags == 3 ? 2 * TimeStampSize : TimeStampSize;
  if (out.payloadOffset > payload.size()) return Status::PacketTooLong;
  if (headerDataLength < timeStampBytes || !decodeTimeStamp(p + PesFixedHeaderSize, out.pts))
    return Status::PacketSyntax;
  out.hasDts = ptsDtsFlags == 3;
  out.dts = 0;
  if (out.hasDts && !decodeTimeStamp(p + PesFixedHeaderSize + TimeStampSize, out.dts)) return Status::PacketSyntax;
  return Status::Success;
}

}  // namespace StreamScan
