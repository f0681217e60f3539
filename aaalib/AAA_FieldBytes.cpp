#include "aaalib/AAA_FieldBytes.h"

#include <algorithm>
#include <utility>

namespace AAA {

// The new content is made beside the old one, so that `bytes` may be a part
// of this value.
void FieldBytes::Assign(ByteSpan bytes) {
  FieldBytes made;
  made.Allocate(bytes.size());
  std::copy(bytes.begin(), bytes.end(), made.data());
  Swap(made);
}

void FieldBytes::Resize(std::size_t count, std::uint8_t byte) {
  if (count == size_) return;
  FieldBytes made;
  made.Allocate(count);
  const std::size_t kept = std::min<std::size_t>(count, size_);
  std::copy_n(data(), kept, made.data());
  std::fill(made.data() + kept, made.end(), byte);
  Swap(made);
}

bool FieldBytes::Equal(ByteSpan a, ByteSpan b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

void FieldBytes::Allocate(std::size_t count) {
  size_ = static_cast<std::uint32_t>(count);
  if (!IsInPlace()) storage_.heap = new std::uint8_t[count];
}

void FieldBytes::Swap(FieldBytes& other) {
  std::swap(size_, other.size_);
  std::swap(storage_, other.storage_);
}

void FieldBytes::Release() {
  if (!IsInPlace()) delete[] storage_.heap;
  size_ = 0;
}

}  // namespace AAA
