#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "streamscan/LogSink.h"
#include "streamscan/TransportPacket.h"

namespace StreamScan {

// Reads a stream file's source packets in large sequential blocks and hands
// them out one at a time, up to the scan limit: the file size in whole
// packets, rounded down to a multiple of 32 packets (the 6144-byte units that
// streams are kept in). Memory is one block, whatever the file's size.
class PacketReader {
 public:
  static constexpr std::size_t PacketsPerRead = 2048;  // 384 KiB per read
  static constexpr std::uint64_t PacketsPerUnit = 32;

  explicit PacketReader(const LogSink& log) : log_(log) {}
  ~PacketReader() { close(); }
  PacketReader(const PacketReader&) = delete;
  PacketReader& operator=(const PacketReader&) = delete;

  // 0, Status::FileCannotOpen, or Status::FileCannotRead for an empty file.
  int open(const std::filesystem::path& path);
  // 0, or Status::FileCannotClose.
  int close();
  bool isOpen() const { return file_ != nullptr; }
  // Back to the first packet. 0 or Status::FileCannotRead.
  int rewind();

  // Points `packet` at the next packet, or at null once the scan limit or the
  // end of the file is reached. Returns 0 or Status::FileCannotRead. The
  // packet stays valid until the next call.
  int next(const std::uint8_t*& packet);

  std::uint64_t packetsRead() const { return packetsRead_; }
  std::uint64_t scanLimit() const { return scanLimit_; }
  // The size of the file when it was opened.
  std::uint64_t fileBytes() const { return fileBytes_; }

 private:
  int fill();

  const LogSink& log_;
  std::FILE* file_ = nullptr;
  std::vector<std::uint8_t> block_;
  std::size_t blockPackets_ = 0;
  std::size_t blockIndex_ = 0;
  std::uint64_t scanLimit_ = 0;
  std::uint64_t packetsRead_ = 0;
  std::uint64_t fileBytes_ = 0;
};

}  // namespace StreamScan
