#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace StreamScan {

// Reads a file's blocks in order on a thread of its own into a few
// page-aligned buffers, so that the kernel's copy (or the card's transfer)
// of the next blocks runs beside the parsing of this one. The blocks are
// those a plain loop of reads would give: `blockBytes` each from `start`,
// the last one ending at `end`; a file that shrinks ends early.
class ReadAhead {
 public:
  ReadAhead(int descriptor, std::uint64_t start, std::uint64_t end, std::size_t blockBytes);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next block, valid until the next call: `got` bytes at `data` (fewer
  // than a block where the file ended, 0 after its end). Returns 0, or
  // Status::FileCannotRead when the read failed.
  int next(const std::uint8_t*& data, std::size_t& got);

 private:
  static constexpr std::uint64_t kBuffers = 4;
  static constexpr std::uint64_t kNoEnd = ~std::uint64_t{0};
  struct FreeBuffer {
    void operator()(std::uint8_t* bytes) const;
  };
  struct Buffer {
    std::unique_ptr<std::uint8_t, FreeBuffer> bytes;
    std::size_t got = 0;
    int status = 0;
  };

  void run();
  void readInto(Buffer& buffer, std::uint64_t offset) const;

  const int descriptor_;
  const std::uint64_t start_;
  const std::uint64_t end_;
  const std::size_t blockBytes_;
  std::array<Buffer, kBuffers> buffers_;
  // Blocks are counted from the first: the thread has filled `filled_`, the
  // parser has given back `released_`; a buffer holds block n % kBuffers.
  // Waiting on these counters spins briefly before it sleeps, so that the
  // hand-over of a block seldom costs a wake-up.
  std::atomic<std::uint64_t> filled_{0};
  std::atomic<std::uint64_t> released_{0};
  // How many blocks there are, once the thread has read its last one.
  std::atomic<std::uint64_t> blocks_{kNoEnd};
  std::atomic<bool> stop_{false};
  bool held_ = false;
  std::thread thread_;
};

}  // namespace StreamScan
