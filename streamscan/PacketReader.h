#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "streamscan/LogSink.h"
#include "streamscan/ReadAhead.h"
#include "streamscan/TransportPacket.h"

namespace StreamScan {

// Reads a stream file's source packets in large sequential blocks and hands
// them out one at a time, up to the scan limit: the file size in whole
// packets, rounded down to a multiple of 32 packets (the 6144-byte units that
// streams are kept in). Memory is a few blocks, whatever the file's size.
//
// The blocks are read on a thread of their own (ReadAhead), a few ahead of
// the packet handed out, so that a scan takes about as long as reading the
// file does. A file that shrinks during the scan ends early, after the
// blocks read before it shrank; one that cannot be read fails with
// Status::FileCannotRead.
class PacketReader {
 public:
  static constexpr std::size_t PacketsPerRead = 2048;  // 384 KiB per block
  static constexpr std::uint64_t PacketsPerUnit = 32;

  explicit PacketReader(const LogSink& log) : log_(log) {}
  ~PacketReader();
  PacketReader(const PacketReader&) = delete;
  PacketReader& operator=(const PacketReader&) = delete;

  // 0, Status::FileCannotOpen, or Status::FileCannotRead for an empty file.
  int open(const std::filesystem::path& path);
  // 0, or Status::FileCannotClose.
  int close();
  bool isOpen() const { return descriptor_ >= 0; }
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
  int descriptor_ = -1;
  std::unique_ptr<ReadAhead> ahead_;
  const std::uint8_t* blockData_ = nullptr;
  std::size_t blockPackets_ = 0;
  std::size_t blockIndex_ = 0;
  std::uint64_t scanLimit_ = 0;
  std::uint64_t packetsRead_ = 0;
  std::uint64_t fileBytes_ = 0;
};

}  // namespace StreamScan
