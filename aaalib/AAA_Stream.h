#pragma once

#include <cstdint>

namespace AAA {

// An abstract byte stream: what the bit reader and writer drive.
class Stream {
 public:
  enum Origin { Begin = 0, Current = 1, End = 2 };

  virtual ~Stream() = default;
  // Returns the new position from the beginning.
  virtual std::uint64_t Seek(std::int64_t offset, int origin) = 0;
  // A short count at the end of the data is not an error.
  virtual std::uint32_t Read(void* destination, std::uint32_t count) = 0;
  // Writes all `count` bytes or throws.
  virtual std::uint32_t Write(const void* source, std::uint32_t count) = 0;
  // Total size in bytes; the position is left where it was.
  virtual std::uint64_t Size() = 0;
};

}  // namespace AAA
