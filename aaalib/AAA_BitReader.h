#pragma once

#include <cstdint>

#include "aaalib/AAA_FieldBytes.h"
#include "aaalib/AAA_Stream.h"

namespace AAA {

// Delivers bits from a stream, most significant bit first. The stream's byte
// position is always the bit position divided by 8, rounded up: a partly
// consumed byte is held in the cache.
class BitReader {
 public:
  explicit BitReader(Stream& stream) : stream_(stream) {}

  // Absolute offset in bits from the stream's first byte.
  std::uint64_t BitPosition() const { return position_; }

  // Reads `bitCount` bits into `value` (resized to (bitCount + 7) / 8 bytes);
  // a field's value read becomes its baseline. Data ending inside the bits
  // throws UnexpectedEofException.
  void Read(FieldValue& value, std::uint64_t bitCount);
  void Read(Bytes& value, std::uint64_t bitCount);

  // Moves past `bitCount` bits, proving that the last skipped byte exists.
  void Skip(std::uint64_t bitCount);

  // The bits the stream holds after the position: the most that counts read
  // here can announce.
  std::uint64_t BitsLeft() const;

 private:
  void ReadExactly(std::uint8_t* destination, std::uint64_t count);
  // Reads the bits into the end of `buffer_`; returns the value's bytes there.
  ByteSpan ReadBits(std::uint64_t bitCount);

  Stream& stream_;
  std::uint64_t position_ = 0;
  Bytes buffer_;
  std::uint8_t cached_ = 0;
};

}  // namespace AAA
