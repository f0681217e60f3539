#pragma once

#include <cstdint>
#include <vector>

#include "aaalib/AAA_Stream.h"

namespace AAA {

// A value of n bits travels as (n + 7) / 8 bytes, big-endian and
// right-aligned: the field's last bit is bit 0 of the last byte and the
// unused high bits of the first byte are 0.
using Bytes = std::vector<std::uint8_t>;

// Delivers bits from a stream, most significant bit first. The stream's byte
// position is always the bit position divided by 8, rounded up: a partly
// consumed byte is held in the cache.
class BitReader {
 public:
  explicit BitReader(Stream& stream) : stream_(stream) {}

  // Absolute offset in bits from the stream's first byte.
  std::uint64_t BitPosition() const { return position_; }

  // Reads `bitCount` bits into `value` (resized to (bitCount + 7) / 8 bytes).
  // Data ending inside the bits throws UnexpectedEofException.
  void Read(Bytes& value, std::uint64_t bitCount);

  // Moves past `bitCount` bits, proving that the last skipped byte exists.
  void Skip(std::uint64_t bitCount);

  // The bits the stream holds after the position: the most that counts read
  // here can announce.
  std::uint64_t BitsLeft() const;

 private:
  void ReadExactly(std::uint8_t* destination, std::uint64_t count);

  Stream& stream_;
  std::uint64_t position_ = 0;
  Bytes buffer_;
  std::uint8_t cached_ = 0;
};

}  // namespace AAA
