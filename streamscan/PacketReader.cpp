#include "streamscan/PacketReader.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "streamscan/StatusCodes.h"

namespace StreamScan {
namespace {

std::size_t PageBytes() {
  static const auto bytes = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return bytes;
}

// The mapped windows of every reader in the process. A page of a window that
// cannot be read (the file was cut, the card pulled) raises SIGBUS on first
// touch; the handler puts a page of zeros in its place and notes the first
// such page for the reader, which then answers as a read would have. Slots
// are claimed and read without locks, as a signal handler must.
struct GuardedWindow {
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<std::uintptr_t> firstFault{0};
};
constexpr std::size_t kGuardedWindows = 64;
std::array<GuardedWindow, kGuardedWindows> guardedWindows;
std::atomic<bool> slotClaimed[kGuardedWindows];
struct sigaction previousBusAction {};
std::size_t pageBytesForHandler = 4096;

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (GuardedWindow& window : guardedWindows) {
    if (address < window.begin.load() || address >= window.end.load()) continue;
    const std::uintptr_t page = address & ~(std::uintptr_t{pageBytesForHandler} - 1);
    if (::mmap(reinterpret_cast<void*>(page), pageBytesForHandler, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED,
               -1, 0) == MAP_FAILED) {
      break;
    }
    std::uintptr_t first = window.firstFault.load();
    while ((first == 0 || page < first) && !window.firstFault.compare_exchange_weak(first, page)) {
    }
    return;
  }
  // Not a page of ours: as the process would have had it.
  if ((previousBusAction.sa_flags & SA_SIGINFO) != 0 && previousBusAction.sa_sigaction != nullptr) {
    previousBusAction.sa_sigaction(signal, info, context);
  } else if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN) {
    previousBusAction.sa_handler(signal);
  } else {
    // The fault comes again on return, and ends the process as it would have.
    ::signal(SIGBUS, SIG_DFL);
  }
}

void InstallBusGuard() {
  static std::once_flag once;
  std::call_once(once, [] {
    pageBytesForHandler = PageBytes();
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previousBusAction);
  });
}

// A slot for a window, or null when all are taken (the reader then reads).
GuardedWindow* ClaimWindow(const std::uint8_t* begin, std::size_t bytes) {
  for (std::size_t i = 0; i < kGuardedWindows; ++i) {
    bool expected = false;
    if (!slotClaimed[i].compare_exchange_strong(expected, true)) continue;
    GuardedWindow& window = guardedWindows[i];
    window.firstFault.store(0);
    window.end.store(reinterpret_cast<std::uintptr_t>(begin) + bytes);
    window.begin.store(reinterpret_cast<std::uintptr_t>(begin));
    return &window;
  }
  return nullptr;
}

void ReleaseWindow(GuardedWindow* window) {
  window->begin.store(0);
  window->end.store(0);
  slotClaimed[static_cast<std::size_t>(window - guardedWindows.data())].store(false);
}

GuardedWindow* WindowAt(const std::uint8_t* begin) {
  for (GuardedWindow& window : guardedWindows) {
    if (window.begin.load() == reinterpret_cast<std::uintptr_t>(begin)) return &window;
  }
  return nullptr;
}

}  // namespace

void PacketReader::FreeBlock::operator()(std::uint8_t* block) const { std::free(block); }

int PacketReader::open(const std::filesystem::path& path) {
  close();
  // Never waits for a FIFO's writer: only a regular file is a stream.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return Status::FileCannotOpen;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return Status::FileCannotOpen;
  }
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size == 0) {
    ::close(descriptor);
    return Status::FileCannotRead;
  }
  // A file not in the page cache is read ahead generously.
  ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
  descriptor_ = descriptor;
  mapped_ = access_ == Access::Mapped;
  if (mapped_) InstallBusGuard();
  fileBytes_ = size;
  scanLimit_ = size / SourcePacketSize / PacketsPerUnit * PacketsPerUnit;
  packetsRead_ = 0;
  blockPackets_ = blockIndex_ = 0;
  return Status::Success;
}

int PacketReader::close() {
  if (descriptor_ < 0) return Status::Success;
  unmapWindow();
  const int result = ::close(descriptor_);
  descriptor_ = -1;
  block_.reset();
  blockData_ = nullptr;
  return result == 0 ? Status::Success : Status::FileCannotClose;
}

int PacketReader::rewind() {
  if (descriptor_ < 0) return Status::FileCannotRead;
  packetsRead_ = 0;
  blockPackets_ = blockIndex_ = 0;
  return Status::Success;
}

void PacketReader::unmapWindow() {
  if (window_ == nullptr) return;
  if (GuardedWindow* guard = WindowAt(window_)) ReleaseWindow(guard);
  ::munmap(window_, windowBytes_);
  window_ = nullptr;
  windowStart_ = 0;
  windowBytes_ = 0;
}

int PacketReader::readBlock(std::size_t bytes, std::size_t& got) {
  if (!block_) {
    // Page-aligned, as the kernel copies fastest into it.
    const std::size_t blockBytes = PacketsPerRead * SourcePacketSize;
    block_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(PageBytes(), blockBytes)));
    if (!block_) return Status::FileCannotRead;
  }
  const auto offset = static_cast<off_t>(packetsRead_ * SourcePacketSize);
  got = 0;
  while (got < bytes) {
    const ssize_t n = ::pread(descriptor_, block_.get() + got, bytes - got, offset + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Status::FileCannotRead;
    if (n == 0) break;  // A file that shrank since it was measured simply ends early.
    got += static_cast<std::size_t>(n);
  }
  blockData_ = block_.get();
  return Status::Success;
}

int PacketReader::mapBlock(std::size_t bytes, std::size_t& got) {
  const std::uint64_t start = packetsRead_ * SourcePacketSize;
  if (window_ == nullptr || start < windowStart_ || start + bytes > windowStart_ + windowBytes_) {
    unmapWindow();
    const std::uint64_t pageStart = start / PageBytes() * PageBytes();
    const std::uint64_t limit = scanLimit_ * SourcePacketSize;
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(
        start - pageStart + BlocksPerWindow * PacketsPerRead * SourcePacketSize, limit - pageStart));
    void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, descriptor_, static_cast<off_t>(pageStart));
    GuardedWindow* guard = mapping == MAP_FAILED ? nullptr : ClaimWindow(static_cast<std::uint8_t*>(mapping), length);
    if (guard == nullptr) {
      // Not mappable here, or too many windows at once: read instead.
      if (mapping != MAP_FAILED) ::munmap(mapping, length);
      mapped_ = false;
      return readBlock(bytes, got);
    }
    ::madvise(mapping, length, MADV_SEQUENTIAL);
    window_ = static_cast<std::uint8_t*>(mapping);
    windowStart_ = pageStart;
    windowBytes_ = length;
  }
  const std::uint8_t* data = window_ + (start - windowStart_);
  // Touch every page first, so that one that cannot be read is known before
  // the block is handed out.
  unsigned touched = 0;
  for (std::size_t at = 0; at < bytes; at += PageBytes())
    touched += *static_cast<const volatile std::uint8_t*>(data + at);
  touched += *static_cast<const volatile std::uint8_t*>(data + bytes - 1);
  static_cast<void>(touched);
  struct stat status {};
  if (::fstat(descriptor_, &status) != 0) return Status::FileCannotRead;
  // A file that shrank since it was measured simply ends early; a page still
  // inside the file that could not be read is a failed read.
  const auto size = static_cast<std::uint64_t>(status.st_size);
  got = static_cast<std::size_t>(size > start ? std::min<std::uint64_t>(bytes, size - start) : 0);
  const GuardedWindow* guard = WindowAt(window_);
  const std::uintptr_t fault = guard == nullptr ? 0 : guard->firstFault.load();
  if (fault != 0 && windowStart_ + (fault - reinterpret_cast<std::uintptr_t>(window_)) < size) {
    return Status::FileCannotRead;
  }
  blockData_ = data;
  return Status::Success;
}

int PacketReader::fill() {
  const std::uint64_t wanted = std::min<std::uint64_t>(PacketsPerRead, scanLimit_ - packetsRead_);
  const std::size_t bytes = static_cast<std::size_t>(wanted) * SourcePacketSize;
  if (log_) {
    char line[96];
    std::snprintf(line, sizeof line, "  read offset: 0x%016llx  size: 0x%08x (%d)\n",
                  static_cast<unsigned long long>(packetsRead_ * SourcePacketSize), static_cast<unsigned>(bytes),
                  static_cast<int>(bytes));
    log_(LogLevelValues, line);
  }
  std::size_t got = 0;
  if (const int status = mapped_ ? mapBlock(bytes, got) : readBlock(bytes, got); status != Status::Success) {
    return status;
  }
  blockPackets_ = got / SourcePacketSize;
  blockIndex_ = 0;
  return Status::Success;
}

int PacketReader::next(const std::uint8_t*& packet) {
  packet = nullptr;
  if (descriptor_ < 0) return Status::NoFileOpen;
  if (packetsRead_ >= scanLimit_) return Status::Success;
  if (blockIndex_ == blockPackets_) {
    if (const int status = fill(); status != Status::Success) return status;
    if (blockPackets_ == 0) return Status::Success;
  }
  packet = blockData_ + blockIndex_++ * SourcePacketSize;
  ++packetsRead_;
  return Status::Success;
}

}  // namespace StreamScan
