#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace StreamScan {

// Big-endian bit reader over an RBSP (emulation prevention bytes already
// removed). Reading past the limit never touches memory outside the span: it
// yields zeros and latches failed(), so a parser can read a whole syntax
// structure and check once at the end.
class BitCursor {
 public:
  explicit BitCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes), limit_(bytes.size() * 8) {}

  // Narrows the readable bits, e.g. to stop before the RBSP stop bit.
  void limitTo(std::size_t bitCount) {
    if (bitCount < limit_) limit_ = bitCount;
  }

  std::uint32_t bits(unsigned count) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) value = (value << 1) | bit();
    return value;
  }

  bool flag() { return bit() != 0; }

  // Unsigned Exp-Golomb code; more than 31 leading zeros cannot be a 32-bit value.
  std::uint32_t ue() {
    unsigned leadingZeros = 0;
    while (bit() == 0) {
      if (failed_ || ++leadingZeros > 31) {
        failed_ = true;
        return 0;
      }
    }
    const std::uint64_t value = (std::uint64_t{1} << leadingZeros) - 1 + bits(leadingZeros);
    return static_cast<std::uint32_t>(value);
  }

  std::int32_t se() {
    const std::uint32_t code = ue();
    const auto magnitude = static_cast<std::int32_t>((static_cast<std::uint64_t>(code) + 1) / 2);
    return (code & 1) ? magnitude : -magnitude;
  }

  void skip(std::size_t count) {
    if (count > limit_ - position_) {
      position_ = limit_;
      failed_ = true;
      return;
    }
    position_ += count;
  }

  bool failed() const { return failed_; }
  std::size_t position() const { return position_; }
  std::size_t remaining() const { return limit_ - position_; }

 private:
  std::uint32_t bit() {
    if (position_ >= limit_) {
      failed_ = true;
      return 0;
    }
    const std::uint32_t value = (bytes_[position_ / 8] >> (7 - position_ % 8)) & 1u;
    ++position_;
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t limit_;
  std::size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace StreamScan
