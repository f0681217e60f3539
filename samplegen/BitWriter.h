#pragma once

#include <cstdint>
#include <vector>

namespace SampleGen {

// Big-endian bit writer with the H.264 Exp-Golomb codes, for building
// parameter sets and SEI payloads bit by bit.
class BitWriter {
 public:
  void bits(std::uint64_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) bit(static_cast<unsigned>((value >> i) & 1u));
  }
  void flag(bool value) { bit(value ? 1 : 0); }
  void ue(std::uint32_t value) {
    const std::uint64_t code = std::uint64_t{value} + 1;
    unsigned length = 0;
    while ((code >> length) > 1) ++length;
    bits(0, length);
    bits(code, length + 1);
  }
  void se(std::int32_t value) {
    ue(value > 0 ? static_cast<std::uint32_t>(2 * std::int64_t{value} - 1)
                 : static_cast<std::uint32_t>(-2 * std::int64_t{value}));
  }
  // rbsp_trailing_bits(): a one bit, then zeros to the byte boundary.
  void trailingBits() {
    bit(1);
    while (used_ != 0) bit(0);
  }
  bool byteAligned() const { return used_ == 0; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  void bit(unsigned value) {
    if (used_ == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<std::uint8_t>(value << (7 - used_));
    used_ = (used_ + 1) % 8;
  }

  std::vector<std::uint8_t> bytes_;
  unsigned used_ = 0;
};

}  // namespace SampleGen
