#pragma once

#include <cstdint>
#include <vector>

#include "aaalib/AAA_Stream.h"

namespace AAA {

// A stream over bytes held in memory: models are read from and written to it
// when a file's bytes are already at hand (tests, fuzzing, comparisons).
class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::uint64_t Seek(std::int64_t offset, int origin) override;
  std::uint32_t Read(void* destination, std::uint32_t count) override;
  std::uint32_t Write(const void* source, std::uint32_t count) override;
  std::uint64_t Size() override { return bytes_.size(); }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t position_ = 0;
};

}  // namespace AAA
