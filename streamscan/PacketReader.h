#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "streamscan/LogSink.h"
#include "streamscan/TransportPacket.h"

namespace StreamScan {

// Reads a stream file's source packets in large sequential blocks and hands
// them out one at a time, up to the scan limit: the file size in whole
// packets, rounded down to a multiple of 32 packets (the 6144-byte units that
// streams are kept in). Memory is one block or one window, whatever the
// file's size.
//
// A file in the page cache is read through a mapping, a window of 16 blocks
// at a time with sequential advice, so that its pages are parsed where they
// lie instead of being copied first; a file that cannot be mapped is read
// into one page-aligned block. Either way a file that shrinks during the scan
// simply ends early, and one whose pages cannot be read fails with
// Status::FileCannotRead, as a read would: the pages of each block are
// touched before the block is handed out, under a guard that turns a fault
// into a page of zeros and a note instead of the end of the process.
class PacketReader {
 public:
  static constexpr std::size_t PacketsPerRead = 2048;  // 384 KiB per block
  static constexpr std::size_t BlocksPerWindow = 16;   // 6 MiB mapped at a time
  static constexpr std::uint64_t PacketsPerUnit = 32;

  enum class Access { Mapped, Read };

  // `access` Read never maps the file (the reading that a mapping falls
  // back to).
  explicit PacketReader(const LogSink& log, Access access = Access::Mapped) : log_(log), access_(access) {}
  ~PacketReader() { close(); }
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
  struct FreeBlock {
    void operator()(std::uint8_t* block) const;
  };

  int fill();
  int readBlock(std::size_t bytes, std::size_t& got);
  int mapBlock(std::size_t bytes, std::size_t& got);
  void unmapWindow();

  const LogSink& log_;
  Access access_;
  int descriptor_ = -1;
  bool mapped_ = false;
  std::unique_ptr<std::uint8_t, FreeBlock> block_;
  // The mapped window: `windowBytes_` bytes of the file from `windowStart_`.
  std::uint8_t* window_ = nullptr;
  std::uint64_t windowStart_ = 0;
  std::size_t windowBytes_ = 0;
  const std::uint8_t* blockData_ = nullptr;
  std::size_t blockPackets_ = 0;
  std::size_t blockIndex_ = 0;
  std::uint64_t scanLimit_ = 0;
  std::uint64_t packetsRead_ = 0;
  std::uint64_t fileBytes_ = 0;
};

}  // namespace StreamScan
