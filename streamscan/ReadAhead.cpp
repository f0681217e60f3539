#include "streamscan/ReadAhead.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "streamscan/StatusCodes.h"

namespace StreamScan {
namespace {

constexpr auto kSpinTime = std::chrono::microseconds(100);
const bool kCoresToSpare = std::thread::hardware_concurrency() > 1;

void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

void ReadAhead::FreeBuffer::operator()(std::uint8_t* bytes) const { std::free(bytes); }

ReadAhead::ReadAhead(int descriptor, std::uint64_t start, std::uint64_t end, std::size_t blockBytes)
    : descriptor_(descriptor), start_(start), end_(end), blockBytes_(blockBytes) {
  // Page-aligned, as the kernel copies fastest into it.
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t bytes = (blockBytes + page - 1) / page * page;
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
  // A block takes the thread about as long to read as the parser to parse:
  // on a machine with a core for each, waiting a little for it is cheaper
  // than sleeping and being woken.
  if (kCoresToSpare) {
    const auto until = std::chrono::steady_clock::now() + kSpinTime;
    while (filled_.load() <= block && block < blocks_.load() && std::chrono::steady_clock::now() < until) {
      for (int pause = 0; pause < 64; ++pause) Pause();
    }
  }
  for (std::uint64_t filled = filled_.load(); filled <= block; filled = filled_.load()) {
    if (block >= blocks_.load()) return Status::Success;
    filled_.wait(filled);
  }
  held_ = true;
  const Buffer& buffer = buffers_[block % kBuffers];
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
    for (std::uint64_t released = released_.load(); block - released >= kBuffers; released = released_.load()) {
      if (stop_.load()) return;
      released_.wait(released);
    }
    if (stop_.load()) return;
    Buffer& buffer = buffers_[block % kBuffers];
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
