#include "streamscan/ReadAhead.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "streamscan/StatusCodes.h"

namespace StreamScan {
void ReadAhead::FreeBuffer::operator()(std::uint8_t* bytes) const { std::free(bytes); }

ReadAhead::ReadAhead(int descriptor, std::uint64_t start, std::uint64_t end, std::size_t blockBytes)
    : descriptor_(descriptor), start_(start), end_(end), blockBytes_(blockBytes) {
  // Page-aligned, as the kernel copies fastest into it, and no more of them
  // than the file fills: a short clip's stream needs one of its size.
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::uint64_t fileBytes = std::max<std::uint64_t>(end > start ? end - start : 0, 1);
  const auto blockFilled = static_cast<std::size_t>(std::min<std::uint64_t>(blockBytes, fileBytes));
  const std::size_t bytes = (blockFilled + page - 1) / page * page;
  buffers_.resize(static_cast<std::size_t>(std::min((fileBytes + blockBytes - 1) / blockBytes, kBuffers)));
  for (Buffer& buffer : buffers_) buffer.bytes.reset(static_cast<std::uint8_t*>(std::aligned_alloc(page, bytes)));
  thread_ = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
  stop_.store(true);
  released_.fetch_add(1);
  released_.notify_one();
  thread_.join();
}

int ReadAhead::next(const std::uint8_t*& data, std::size_t& got) {
  if (held_) {
    released_.fetch_add(1);
    released_.notify_one();
    held_ = false;
  }
  data = nullptr;
  got = 0;
  const std::uint64_t block = released_.load();
  for (std::uint64_t filled = filled_.load(); filled <= block; filled = filled_.load()) {
    if (block >= blocks_.load()) return Status::Success;
    filled_.wait(filled);
  }
  held_ = true;
  const Buffer& buffer = buffers_[block % buffers_.size()];
  data = buffer.bytes.get();
  got = buffer.got;
  return buffer.status;
}

void ReadAhead::readInto(Buffer& buffer, std::uint64_t offset) const {
  buffer.got = 0;
  buffer.status = Status::Success;
  if (!buffer.bytes) {
    buffer.status = Status::FileCannotRead;
    return;
  }
  const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(blockBytes_, end_ - offset));
  while (buffer.got < bytes) {
    const ssize_t n = ::pread(descriptor_, buffer.bytes.get() + buffer.got, bytes - buffer.got,
                              static_cast<off_t>(offset + buffer.got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      buffer.status = Status::FileCannotRead;
      return;
    }
    if (n == 0) return;  // A file that shrank since it was measured simply ends early.
    buffer.got += static_cast<std::size_t>(n);
  }
}

void ReadAhead::run() {
  std::uint64_t offset = start_;
  for (std::uint64_t block = 0;; ++block) {
    // Waits for a free buffer: the parser holds one, and reads ahead of it fill the others.
    for (std::uint64_t released = released_.load(); block - released >= buffers_.size(); released = released_.load()) {
      if (stop_.load()) return;
      released_.wait(released);
    }
    if (stop_.load()) return;
    Buffer& buffer = buffers_[block % buffers_.size()];
    readInto(buffer, offset);
    offset += buffer.got;
    const bool last = buffer.status != Status::Success || offset >= end_ || buffer.got < blockBytes_;
    if (last) blocks_.store(block + 1);
    filled_.store(block + 1);
    filled_.notify_one();
    if (last) return;
  }
}

}  // namespace StreamScan
