#include "streamscan/PacketReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "streamscan/StatusCodes.h"

namespace StreamScan {

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
  file_ = ::fdopen(descriptor, "rb");
  if (file_ == nullptr) {
    ::close(descriptor);
    return Status::FileCannotOpen;
  }
  // Reads go straight into our block; stdio's own buffer would only add a copy.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  block_.resize(PacketsPerRead * SourcePacketSize);
  fileBytes_ = size;
  scanLimit_ = size / SourcePacketSize / PacketsPerUnit * PacketsPerUnit;
  packetsRead_ = 0;
  blockPackets_ = blockIndex_ = 0;
  return Status::Success;
}

int PacketReader::close() {
  if (file_ == nullptr) return Status::Success;
  const int result = std::fclose(file_);
  file_ = nullptr;
  std::vector<std::uint8_t>().swap(block_);
  return result == 0 ? Status::Success : Status::FileCannotClose;
}

int PacketReader::rewind() {
  if (file_ == nullptr || std::fseek(file_, 0, SEEK_SET) != 0) return Status::FileCannotRead;
  packetsRead_ = 0;
  blockPackets_ = blockIndex_ = 0;
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
  const std::size_t got = std::fread(block_.data(), 1, bytes, file_);
  if (got < bytes && std::ferror(file_)) return Status::FileCannotRead;
  // A file that shrank since it was measured simply ends early.
  blockPackets_ = got / SourcePacketSize;
  blockIndex_ = 0;
  return Status::Success;
}

int PacketReader::next(const std::uint8_t*& packet) {
  packet = nullptr;
  if (file_ == nullptr) return Status::NoFileOpen;
  if (packetsRead_ >= scanLimit_) return Status::Success;
  if (blockIndex_ == blockPackets_) {
    if (const int status = fill(); status != Status::Success) return status;
    if (blockPackets_ == 0) return Status::Success;
  }
  packet = block_.data() + blockIndex_++ * SourcePacketSize;
  ++packetsRead_;
  return Status::Success;
}

}  // namespace StreamScan
