#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace AAA {

// A value of n bits travels as (n + 7) / 8 bytes, big-endian and
// right-aligned: the field's last bit is bit 0 of the last byte and the
// unused high bits of the first byte are 0.
using Bytes = std::vector<std::uint8_t>;
// Bytes looked at where they are: a field's value, a vector, a table.
using ByteSpan = std::span<const std::uint8_t>;

// The bytes of one field value. A model holds thousands of fields, nearly
// all of them 1 to 8 bytes wide: those are kept in place, only wider ones
// on the heap, so that a field costs no allocation of its own.
class FieldBytes {
 public:
  using value_type = std::uint8_t;
  using iterator = std::uint8_t*;
  using const_iterator = const std::uint8_t*;

  FieldBytes() = default;
  FieldBytes(const FieldBytes& other) { Assign(other); }
  FieldBytes& operator=(const FieldBytes& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  ~FieldBytes() { Release(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint8_t* data() { return IsInPlace() ? storage_.inPlace : storage_.heap; }
  const std::uint8_t* data() const { return IsInPlace() ? storage_.inPlace : storage_.heap; }
  iterator begin() { return data(); }
  iterator end() { return data() + size_; }
  const_iterator begin() const { return data(); }
  const_iterator end() const { return data() + size_; }
  std::uint8_t& operator[](std::size_t index) { return data()[index]; }
  std::uint8_t operator[](std::size_t index) const { return data()[index]; }

  // `count` bytes that hold `byte`. A factory rather than a constructor, so
  // that a braced list never reads as a value of this type.
  static FieldBytes Filled(std::size_t count, std::uint8_t byte) {
    FieldBytes bytes;
    bytes.Resize(count, byte);
    return bytes;
  }
  // Takes the size and the content of `bytes`.
  void Assign(ByteSpan bytes);
  // New bytes at the end hold `byte`; the others keep their value.
  void Resize(std::size_t count, std::uint8_t byte);
  void Clear() { Resize(0, 0); }

  // A copy as a vector, for code that keeps or builds values.
  explicit operator Bytes() const { return Bytes(begin(), end()); }

  friend bool operator==(const FieldBytes& a, const FieldBytes& b) { return Equal(a, b); }
  friend bool operator==(const FieldBytes& a, const Bytes& b) { return Equal(a, b); }

 private:
  static constexpr std::size_t kInPlaceBytes = 8;
  static bool Equal(ByteSpan a, ByteSpan b);
  bool IsInPlace() const { return size_ <= kInPlaceBytes; }
  // Sets the size and, for a wide value, takes heap storage; the bytes are
  // not set. Only for a value that holds nothing.
  void Allocate(std::size_t count);
  void Swap(FieldBytes& other);
  void Release();

  std::uint32_t size_ = 0;
  union Storage {
    std::uint8_t inPlace[kInPlaceBytes];
    std::uint8_t* heap;
  } storage_{};
};

}  // namespace AAA
