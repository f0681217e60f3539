#include "streamscan/PacketReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>

#include "streamscan/StatusCodes.h"

namespace StreamScan {

PacketReader::~PacketReader() { close(); }

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
  fileBytes_ = size;
  scanLimit_ = size / SourcePacketSize / PacketsPerUnit * PacketsPerUnit;
  packetsRead_ = 0;
  blockPackets_ = blockIndex_ = 0;
  return Status::Success;
}

int PacketReader::close() {
  if (descriptor_ < 0) return Status::Success;
  // The thread stops before the file it reads is closed.
  ahead_.reset();
  const int result = ::close(descriptor_);
  descriptor_ = -1;
  blockData_ = nullptr;
  return result == 0 ? Status::Success : Status::FileCannotClose;
}

int PacketReader::rewind() {
  if (descriptor_ < 0) return Status::FileCannotRead;
  packetsRead_ = 0;
  blockPackets_ = blockIndex_ = 0;
  ahead_.reset();
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
  if (!ahead_) {
    try {
      ahead_ = std::make_unique<ReadAhead>(descriptor_, packetsRead_ * SourcePacketSize, scanLimit_ * SourcePacketSize,
                                           PacketsPerRead * SourcePacketSize);
    } catch (const std::exception&) {
      // No thread or no memory for the buffers: the file cannot be read now.
      return Status::FileCannotRead;
    }
  }
  std::size_t got = 0;
  if (const int status = ahead_->next(blockData_, got); status != Status::Success) return status;
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
