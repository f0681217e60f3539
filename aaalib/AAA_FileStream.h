#pragma once

#include <cstdio>
#include <filesystem>

#include "aaalib/AAA_Stream.h"

namespace AAA {

// A file opened through the C library, 64-bit offsets throughout (stream
// files pass 4 GiB). No buffering of its own; closed by the destructor.
class FileStream : public Stream {
 public:
  enum OpenMode { Create = 0, OpenExisting = 1 };
  enum Access { ReadOnly = 0, ReadWrite = 2 };

  // Create+ReadWrite ("wb": a new or rewritten file), OpenExisting+ReadOnly
  // ("rb") and OpenExisting+ReadWrite ("r+b"); anything else, or an empty
  // path, throws ArgumentException. Failures of the open map the error number.
  FileStream(const std::filesystem::path& path, int openMode, int access);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  std::uint64_t Seek(std::int64_t offset, int origin) override;
  std::uint32_t Read(void* destination, std::uint32_t count) override;
  std::uint32_t Write(const void* source, std::uint32_t count) override;
  std::uint64_t Size() override;

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace AAA
