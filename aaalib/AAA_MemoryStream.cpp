#include "aaalib/AAA_MemoryStream.h"

#include <algorithm>
#include <cstring>

#include "aaalib/AAA_Exceptions.h"

namespace AAA {

std::uint64_t MemoryStream::Seek(std::int64_t offset, int origin) {
  const std::int64_t base = origin == Begin     ? 0
                            : origin == Current ? static_cast<std::int64_t>(position_)
                                                : static_cast<std::int64_t>(bytes_.size());
  // Like a file: a position before the start is an invalid argument, one
  // past the end is allowed (a later write fills the gap with zeros).
  if (offset < -base) throw ArgumentException();
  position_ = static_cast<std::uint64_t>(base + offset);
  return position_;
}

std::uint32_t MemoryStream::Read(void* destination, std::uint32_t count) {
  if (position_ >= bytes_.size()) return 0;
  const auto available = static_cast<std::uint64_t>(bytes_.size()) - position_;
  const auto got = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, available));
  std::memcpy(destination, bytes_.data() + position_, got);
  position_ += got;
  return got;
}

std::uint32_t MemoryStream::Write(const void* source, std::uint32_t count) {
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count, 0);
  if (count > 0) std::memcpy(bytes_.data() + position_, source, count);
  position_ += count;
  return count;
}

}  // namespace AAA
