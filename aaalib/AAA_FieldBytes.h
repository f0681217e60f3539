#pragma once

#include <algorithm>
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

// The bytes of one field value, looked at where the field keeps them: they
// compare by content and copy out into a vector.
class FieldBytes : public ByteSpan {
 public:
  using ByteSpan::ByteSpan;
  FieldBytes(ByteSpan bytes) : ByteSpan(bytes) {}  // NOLINT(google-explicit-constructor): a view of the same bytes

  explicit operator Bytes() const { return Bytes(begin(), end()); }

  friend bool operator==(FieldBytes a, FieldBytes b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }
  friend bool operator==(FieldBytes a, const Bytes& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }
};

// A field's value and its baseline (the value as last read), always of one
// size. A model holds thousands of fields, nearly all of them 1 to 4 bytes
// wide: both are kept in place for those, and a wider field keeps both in
// one allocation, so that a field costs 16 bytes and no allocation of its
// own.
class FieldValue {
 public:
  FieldValue() = default;
  FieldValue(const FieldValue& other) { Assign(other); }
  FieldValue& operator=(const FieldValue& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  ~FieldValue() { Release(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::span<std::uint8_t> Value() { return {Storage(), size_}; }
  FieldBytes Value() const { return {Storage(), size_}; }
  FieldBytes Baseline() const { return {Storage() + BaselineOffset(), size_}; }
  // The value differs from the baseline.
  bool Differs() const { return Value() != Baseline(); }

  // Both take `count` bytes: the value keeps its bytes, new ones hold
  // `byte`, and the baseline becomes the value.
  void Resize(std::size_t count, std::uint8_t byte);
  void Clear() { Resize(0, 0); }
  // The value as it stands becomes the baseline (it was just read).
  void KeepAsBaseline() { std::copy_n(Storage(), size_, Storage() + BaselineOffset()); }

 private:
  static constexpr std::size_t kInPlaceBytes = 4;
  bool IsInPlace() const { return size_ <= kInPlaceBytes; }
  std::size_t BaselineOffset() const { return IsInPlace() ? kInPlaceBytes : size_; }
  std::uint8_t* Storage() { return IsInPlace() ? storage_.inPlace : storage_.heap; }
  const std::uint8_t* Storage() const { return IsInPlace() ? storage_.inPlace : storage_.heap; }
  void Assign(const FieldValue& other);
  void Release();

  // The size last, so that an owner may place a member in the padding after it.
  union {
    std::uint8_t inPlace[2 * kInPlaceBytes];
    std::uint8_t* heap;
  } storage_{};
  std::uint32_t size_ = 0;
};

}  // namespace AAA
