// The reader hands out a file's packets in order, and a file cut short while
// it is read ends early, after at most the blocks read ahead of the cut;
// what the file still holds is handed out as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "streamscan/PacketReader.h"
#include "streamscan/StatusCodes.h"
#include "tests/support/TempFolder.h"

namespace {

using StreamScan::PacketReader;
namespace Status = StreamScan::Status;

struct ReaderCase {
  const char* name;
  // Packets left in the file after the first block was handed out; 0 leaves
  // the file whole.
  std::uint64_t packetsAfterCut;
  // Whole blocks in the file, before a last one of 39 packets: more than
  // are read ahead make the buffers go round.
  std::uint64_t blocks = 3;
};

class PacketReading : public ::testing::TestWithParam<ReaderCase> {};

// Every packet's bytes name its number.
std::vector<std::uint8_t> NumberedPackets(std::uint64_t packets) {
  std::vector<std::uint8_t> bytes(packets * StreamScan::SourcePacketSize);
  for (std::uint64_t packet = 0; packet < packets; ++packet) {
    for (std::size_t at = 0; at < StreamScan::SourcePacketSize; at += 4) {
      const auto value = static_cast<std::uint32_t>(packet);
      std::copy_n(reinterpret_cast<const std::uint8_t*>(&value), 4, &bytes[packet * StreamScan::SourcePacketSize + at]);
    }
  }
  return bytes;
}

TEST_P(PacketReading, HandsOutEveryPacketUpToTheEndOfTheFile) {
  const ReaderCase& c = GetParam();
  TestSupport::TempFolder folder("velmar-packet-reader");
  const auto file = folder.Path() / "s.m2ts";
  const std::uint64_t packets = c.blocks * PacketReader::PacketsPerRead + 32 + 7;
  const std::vector<std::uint8_t> bytes = NumberedPackets(packets);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const StreamScan::LogSink log;
  PacketReader reader(log);
  ASSERT_EQ(reader.open(file), Status::Success);
  EXPECT_EQ(reader.scanLimit(), packets / 32 * 32);
  std::uint64_t expected = reader.scanLimit();
  // Blocks read ahead of the cut are handed out as they were read.
  std::uint64_t mostExpected = expected;
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_EQ(reader.rewind(), Status::Success);
    std::uint64_t count = 0;
    const std::uint8_t* packet = nullptr;
    while (reader.next(packet) == Status::Success && packet != nullptr) {
      std::uint32_t number = 0;
      std::copy_n(packet + 188, 4, reinterpret_cast<std::uint8_t*>(&number));
      // What lies past the cut was read before it, or while the kernel
      // zeroed the rest of the cut page: only what the file still holds is
      // certain.
      if (count < expected) {
        ASSERT_EQ(number, count);
      }
      if (++count == PacketReader::PacketsPerRead && c.packetsAfterCut != 0 && pass == 0) {
        // Cut in the middle of a packet: the part of it left is not handed out.
        std::filesystem::resize_file(file, (count + c.packetsAfterCut) * StreamScan::SourcePacketSize + 50);
        expected = count + c.packetsAfterCut;
      }
    }
    EXPECT_GE(count, expected) << pass;
    EXPECT_LE(count, mostExpected) << pass;
    EXPECT_EQ(reader.packetsRead(), count) << pass;
    mostExpected = expected;
  }
  EXPECT_EQ(reader.close(), Status::Success);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, PacketReading,
    ::testing::Values(ReaderCase{"whole", 0}, ReaderCase{"cut inside the next block", 100},
                      ReaderCase{"cut to one more packet", 1}, ReaderCase{"shorter than a block", 0, 0},
                      ReaderCase{"longer than the blocks read ahead", 0, 19},
                      ReaderCase{"cut after the blocks read ahead", 12 * PacketReader::PacketsPerRead, 19}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

}  // namespace
