#include "aaalib/AAA_FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

namespace AAA {
namespace {

struct Mode {
  const char* stdio;
  int flags;
};

Mode ModeOf(int openMode, int access) {
  if (openMode == FileStream::Create && access == FileStream::ReadWrite) return {"wb", O_WRONLY | O_CREAT | O_TRUNC};
  if (openMode == FileStream::OpenExisting && access == FileStream::ReadOnly) return {"rb", O_RDONLY};
  if (openMode == FileStream::OpenExisting && access == FileStream::ReadWrite) return {"r+b", O_RDWR};
  return {nullptr, 0};
}

}  // namespace

FileStream::FileStream(const std::filesystem::path& path, int openMode, int access) {
  const Mode mode = ModeOf(openMode, access);
  if (mode.stdio == nullptr || path.empty()) AAA_THROW(ArgumentException());
  Log::Line(Log::kHeading, "open: %s\n", path.c_str());
  // Never waits for a FIFO's writer; what is not a regular file cannot
  // hold a file of a format.
  const int descriptor = ::open(path.c_str(), mode.flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (descriptor < 0) ThrowFromErrorNumber(errno);
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    AAA_THROW(InvalidDataException());
  }
  file_ = ::fdopen(descriptor, mode.stdio);
  if (file_ == nullptr) {
    const int error = errno;
    ::close(descriptor);
    ThrowFromErrorNumber(error);
  }
}

FileStream::~FileStream() {
  if (file_ != nullptr) std::fclose(file_);
}

std::uint64_t FileStream::Seek(std::int64_t offset, int origin) {
  static_assert(sizeof(off_t) == 8, "stream files pass 4 GiB: build with 64-bit file offsets");
  const int whence = origin == Begin ? SEEK_SET : origin == Current ? SEEK_CUR : SEEK_END;
  errno = 0;
  if (fseeko(file_, static_cast<off_t>(offset), whence) != 0) ThrowFromErrorNumber(errno);
  const off_t position = ftello(file_);
  if (position < 0) ThrowFromErrorNumber(errno);
  return static_cast<std::uint64_t>(position);
}

std::uint32_t FileStream::Read(void* destination, std::uint32_t count) {
  errno = 0;
  const std::size_t got = std::fread(destination, 1, count, file_);
  if (got < count && std::ferror(file_)) ThrowFromErrorNumber(errno);
  return static_cast<std::uint32_t>(got);
}

std::uint32_t FileStream::Write(const void* source, std::uint32_t count) {
  errno = 0;
  const std::size_t written = std::fwrite(source, 1, count, file_);
  // A buffered write may only fail when it reaches the medium: flush so that
  // a full card is reported by the write that filled it.
  if (written < count || std::fflush(file_) != 0) ThrowFromErrorNumber(errno);
  return count;
}

std::uint64_t FileStream::Size() {
  const std::uint64_t position = Seek(0, Current);
  const std::uint64_t size = Seek(0, End);
  Seek(static_cast<std::int64_t>(position), Begin);
  return size;
}

}  // namespace AAA
