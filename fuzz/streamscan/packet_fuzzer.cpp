// Packet headers, program map sections and PES headers from arbitrary bytes:
// every input is cut into 192-byte source packets and each decoder is run on
// whatever the packet holds.
#include <cstdint>
#include <span>

#include "streamscan/ProgramMap.h"
#include "streamscan/TransportPacket.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace StreamScan;
  const std::span<const std::uint8_t> bytes(data, size);
  for (std::size_t at = 0; at + SourcePacketSize <= size; at += SourcePacketSize) {
    const std::span<const std::uint8_t, SourcePacketSize> packet(data + at, SourcePacketSize);
    TransportPacket decoded;
    if (decodeSourcePacket(packet, decoded) != 0) continue;
    ProgramMap map;
    decodeProgramMap(decoded.payload, map);
    PesHeader pes;
    decodeVideoPesHeader(decoded.payload, pes);
  }
  // The decoders also take payloads of any length, not only whole packets.
  ProgramMap map;
  decodeProgramMap(bytes, map);
  PesHeader pes;
  decodeVideoPesHeader(bytes, pes);
  return 0;
}
