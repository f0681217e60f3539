#pragma once

#include <cstdint>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_Stream.h"

namespace AAA {

// Assembles bits into bytes and hands whole bytes to a stream: one stream
// write per run of fields that ends on a byte boundary.
class BitWriter {
 public:
  explicit BitWriter(Stream& stream) : stream_(stream) {}

  // Writes the low `bitCount` bits of the right-aligned `value`.
  void Write(ByteSpan value, std::uint64_t bitCount) { WriteBits(value, bitCount); }
  void Write(const Bytes& value, std::uint64_t bitCount) { WriteBits(value, bitCount); }

  // Moves past `bitCount` bits without writing them: in a rewritten file
  // they keep their old content, and past the end of the data they become
  // zero bytes, so that a file ending in a skipped stretch has its full length.
  void Skip(std::uint64_t bitCount);

 private:
  void WriteBits(ByteSpan value, std::uint64_t bitCount);
  void FlushPending();

  Stream& stream_;
  std::uint64_t pendingBits_ = 0;
  Bytes pending_;
};

}  // namespace AAA
