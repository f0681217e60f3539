#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

// Source packet output for the stream generator: 4-byte arrival time header,
// transport packet header, adaptation field with stuffing, PES and PSI
// packetization; writes to a file or memory and stops at a cut byte.
namespace SampleGen {

struct Adaptation {
  bool discontinuity = false;
  std::optional<std::uint64_t> pcr;  // 27 MHz
};

class TsPacketWriter {
 public:
  static constexpr std::size_t PacketSize = 192;
  static constexpr std::size_t PayloadSize = 184;

  // Writes to `file` when given, else collects the bytes in memory.
  TsPacketWriter(std::FILE* file, std::uint64_t cutAtByte) : file_(file), cutAtByte_(cutAtByte) {}

  std::uint64_t packetCount() const { return packets_; }
  std::uint64_t bytesWritten() const { return written_; }
  std::vector<std::uint8_t>& memory() { return memory_; }

  // One packet carrying `payload` (at most what fits beside the adaptation
  // field); short payloads are padded with adaptation field stuffing.
  // Returns the number of payload bytes taken.
  std::size_t packet(std::uint16_t pid, bool unitStart, std::span<const std::uint8_t> payload,
                     const Adaptation& adaptation);
  std::size_t packet(std::uint16_t pid, bool unitStart, std::span<const std::uint8_t> payload) {
    return packet(pid, unitStart, payload, Adaptation{});
  }

  // A packet with only an adaptation field carrying a PCR.
  void pcrPacket(std::uint16_t pid, std::uint64_t pcr, bool discontinuity);

  // A PES packet split over as many packets as it needs; returns the packet
  // number of its first packet. `afterFirst` runs once the first packet is out.
  template <typename AfterFirst>
  std::uint64_t pes(std::uint16_t pid, std::span<const std::uint8_t> pesBytes, AfterFirst afterFirst) {
    const std::uint64_t first = packets_;
    std::size_t done = packet(pid, true, pesBytes);
    afterFirst();
    while (done < pesBytes.size()) done += packet(pid, false, pesBytes.subspan(done));
    return first;
  }

  // A PSI section (pointer field first), CRC appended, in one packet.
  void section(std::uint16_t pid, std::vector<std::uint8_t> section);

  void nullPacket();

 private:
  void emit(const std::array<std::uint8_t, PacketSize>& bytes);

  std::FILE* file_;
  std::uint64_t cutAtByte_;
  std::vector<std::uint8_t> memory_;
  std::uint64_t packets_ = 0;
  std::uint64_t written_ = 0;
  std::array<std::uint8_t, 0x2000> continuity_{};
};

// MPEG-2 CRC-32 of PSI sections.
std::uint32_t mpegCrc32(std::span<const std::uint8_t> bytes);

// A PES header for stream `streamId` with a PTS and, when given, a DTS.
std::vector<std::uint8_t> pesHeader(std::uint8_t streamId, std::uint64_t pts, std::optional<std::uint64_t> dts,
                                    std::size_t payloadLength);

}  // namespace SampleGen
