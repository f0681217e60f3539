#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One 192-byte source packet: the 4-byte arrival time header and the 188-byte
// MPEG-2 transport packet, decoded in place.
namespace StreamScan {

inline constexpr std::size_t SourcePacketSize = 192;
inline constexpr std::size_t TransportPacketSize = 188;

inline constexpr std::uint16_t PidProgramMap = 0x0100;
inline constexpr std::uint16_t PidPcr = 0x1001;
inline constexpr std::uint16_t PidVideo = 0x1011;

struct TransportPacket {
  std::uint8_t copy_permission_indicator = 0;
  std::uint32_t arrival_time_stamp = 0;
  bool transport_error_indicator = false;
  bool payload_unit_start_indicator = false;
  bool transport_priority = false;
  std::uint16_t PID = 0;
  std::uint8_t transport_scrambling_control = 0;
  std::uint8_t adaptation_field_control = 0;
  std::uint8_t continuity_counter = 0;
  std::uint8_t adaptation_field_length = 0;
  bool discontinuity_indicator = false;
  bool random_access_indicator = false;
  bool elementary_stream_priority_indicator = false;
  // Bytes of the adaptation field that carry nothing: a muxer pads a packet
  // this way only where its PES packet ends.
  std::uint8_t stuffing_bytes = 0;
  std::span<const std::uint8_t> payload;  // empty when the packet carries none

  bool hasPayload() const { return adaptation_field_control == 1 || adaptation_field_control == 3; }
};

// Decodes the headers of one source packet. Returns 0, Status::PacketSyntax for
// a sync byte other than 0x47, or Status::PacketTooLong for an adaptation
// field longer than the packet.
int decodeSourcePacket(std::span<const std::uint8_t, SourcePacketSize> bytes, TransportPacket& out);

struct PesHeader {
  std::uint16_t PES_packet_length = 0;  // bytes after the length field; 0 for a PES of open length
  std::uint64_t pts = 0;                // 33 bits, 90 kHz
  bool hasDts = false;
  std::uint64_t dts = 0;
  std::size_t payloadOffset = 0;  // first elementary stream byte in the packet payload
};

// Decodes the PES header of a video packet that starts a PES packet: start
// code, stream id 0xE0, the '10' marker, a PTS (with or without DTS) and the
// marker bits of the time stamps. Returns 0, Status::PacketSyntax or
// Status::PacketTooLong when the header does not fit in the payload.
int decodeVideoPesHeader(std::span<const std::uint8_t> payload, PesHeader& out);

}  // namespace StreamScan
