#include "aaalib/AAA_FieldBytes.h"

#include <utility>

namespace AAA {

void FieldValue::Resize(std::size_t count, std::uint8_t byte) {
  FieldValue made;
  made.size_ = static_cast<std::uint32_t>(count);
  if (!made.IsInPlace()) made.storage_.heap = new std::uint8_t[2 * count];
  const std::size_t kept = std::min<std::size_t>(count, size_);
  std::copy_n(Storage(), kept, made.Storage());
  std::fill(made.Storage() + kept, made.Storage() + count, byte);
  made.KeepAsBaseline();
  std::swap(size_, made.size_);
  std::swap(storage_, made.storage_);
}

void FieldValue::Assign(const FieldValue& other) {
  FieldValue made;
  made.size_ = other.size_;
  if (!made.IsInPlace()) made.storage_.heap = new std::uint8_t[2 * made.size_];
  // The value and the baseline, where the value's size puts them.
  std::copy_n(other.Storage(), other.IsInPlace() ? 2 * kInPlaceBytes : 2 * std::size_t{other.size_}, made.Storage());
  std::swap(size_, made.size_);
  std::swap(storage_, made.storage_);
}

void FieldValue::Release() {
  if (!IsInPlace()) delete[] storage_.heap;
  size_ = 0;
}

}  // namespace AAA
