#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Byte-stream helpers for H.264 NAL units (Annex B start codes and
// emulation prevention).
namespace StreamScan {

// Offset of the first byte after the next 00 00 01 start code at or after
// `from`, or bytes.size() when there is none.
std::size_t findStartCode(std::span<const std::uint8_t> bytes, std::size_t from);

// Offset where the NAL unit that begins at `from` ends: the next 00 00 00 or
// 00 00 01 (trailing zeros belong to the next start code), or bytes.size().
std::size_t nalUnitEnd(std::span<const std::uint8_t> bytes, std::size_t from);

// Copies `nal` into `out` without its emulation prevention bytes (a 0x03 after
// two zero bytes). Stops when `out` is full; returns the bytes written.
std::size_t removeEmulationPrevention(std::span<const std::uint8_t> nal, std::span<std::uint8_t> out);

// Number of payload bits before the RBSP stop bit (the last set bit);
// 0 when no bit is set at all.
std::size_t rbspPayloadBits(std::span<const std::uint8_t> rbsp);

}  // namespace StreamScan
