// The byte streams and the bit cursors: bit-exact reads and writes, skips,
// the end of the data and the file stream's open modes and errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "LogCapture.h"
#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FileStream.h"
#include "aaalib/AAA_MemoryStream.h"

using AAA::BitReader;
using AAA::BitWriter;
using AAA::Bytes;
using AAA::MemoryStream;

namespace {

// Counts the writes a stream receives, to show when the writer hands bytes over.
class CountingStream : public MemoryStream {
 public:
  std::uint32_t Write(const void* source, std::uint32_t count) override {
    writes.push_back(count);
    return MemoryStream::Write(source, count);
  }
  std::vector<std::uint32_t> writes;
};

std::filesystem::path TempFile(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string("velmar_bits_") + name);
}

}  // namespace

TEST(BitReader, ReadsRightAlignedValuesAcrossByteBoundaries) {
  MemoryStream stream({0x9A, 0xBC});
  BitReader reader(stream);
  Bytes value;
  reader.Read(value, 4);
  EXPECT_EQ(value, Bytes({0x09}));
  reader.Read(value, 12);
  EXPECT_EQ(value, Bytes({0x0A, 0xBC}));
  EXPECT_EQ(reader.BitPosition(), 16u);
  EXPECT_EQ(stream.Seek(0, AAA::Stream::Current), 2u);
}

TEST(BitReader, OddWidthsSpanningThreeBytes) {
  // 1 | 0110 1011 0011 1 | 01 ...: a 1-bit, a 13-bit and a 2-bit field.
  MemoryStream stream({0xB5, 0x9D});
  BitReader reader(stream);
  Bytes value;
  reader.Read(value, 1);
  EXPECT_EQ(value, Bytes({0x01}));
  reader.Read(value, 13);
  EXPECT_EQ(value, Bytes({0x0D, 0x67}));
  reader.Read(value, 2);
  EXPECT_EQ(value, Bytes({0x01}));
}

TEST(BitReader, ZeroBitsReadNothing) {
  MemoryStream stream;
  BitReader reader(stream);
  Bytes value{1, 2};
  reader.Read(value, 0);
  EXPECT_TRUE(value.empty());
  EXPECT_EQ(reader.BitPosition(), 0u);
}

TEST(BitReader, ShortDataThrowsWithThrowSiteLine) {
  MemoryStream stream({0xFF});
  BitReader reader(stream);
  Bytes value;
  reader.Read(value, 3);
  LogCapture log(4);
  EXPECT_THROW(reader.Read(value, 8), AAA::UnexpectedEofException);
  const std::string out = log.Take();
  EXPECT_TRUE(out.starts_with("aaalib/AAA_BitReader.cpp(")) << out;
  EXPECT_TRUE(out.ends_with("): UnexpectedEofException()\n")) << out;
}

TEST(BitReader, HugeLengthFromBrokenFileFailsBeforeAllocating) {
  MemoryStream stream(Bytes(16, 0));
  BitReader reader(stream);
  Bytes value;
  EXPECT_THROW(reader.Read(value, 0xFFFFFFFFull * 8), AAA::UnexpectedEofException);
}

TEST(BitReader, SkipProvesTheLastSkippedByte) {
  MemoryStream oneByte({0x00});
  BitReader beyond(oneByte);
  EXPECT_THROW(beyond.Skip(16), AAA::UnexpectedEofException);

  MemoryStream twoBytes({0x00, 0x5A});
  BitReader exact(twoBytes);
  exact.Skip(16);
  EXPECT_EQ(exact.BitPosition(), 16u);

  BitReader inside(twoBytes);
  inside.Skip(12);
  Bytes value;
  inside.Read(value, 4);
  EXPECT_EQ(value, Bytes({0x0A}));
}

TEST(BitWriter, HandsOverBytesWhenTheyAreComplete) {
  CountingStream stream;
  BitWriter writer(stream);
  writer.Write({0x01}, 1);
  writer.Write({0x7F}, 7);
  EXPECT_EQ(stream.writes, std::vector<std::uint32_t>({1}));
  writer.Write({0x5A}, 8);
  EXPECT_EQ(stream.writes, std::vector<std::uint32_t>({1, 1}));
  EXPECT_EQ(stream.Bytes(), Bytes({0xFF, 0x5A}));
}

TEST(BitWriter, WritesOnlyTheLowBitsOfAValue) {
  MemoryStream stream;
  BitWriter writer(stream);
  writer.Write({0x1F}, 4);
  writer.Write({0x00}, 4);
  writer.Write({0x0A, 0xBC}, 12);
  writer.Write({0x0D}, 4);
  EXPECT_EQ(stream.Bytes(), Bytes({0xF0, 0xAB, 0xCD}));
}

TEST(BitWriter, SkippedStretchAtTheEndStillGivesTheFullLength) {
  MemoryStream stream;
  BitWriter writer(stream);
  writer.Write({0x12}, 8);
  writer.Skip(24);
  EXPECT_EQ(stream.Bytes(), Bytes({0x12, 0x00, 0x00, 0x00}));
}

TEST(BitWriter, SkipKeepsOldContentInsideTheData) {
  MemoryStream stream({0x01, 0x02, 0x03});
  BitWriter writer(stream);
  writer.Write({0xAA}, 8);
  writer.Skip(8);
  writer.Write({0xCC}, 8);
  EXPECT_EQ(stream.Bytes(), Bytes({0xAA, 0x02, 0xCC}));
}

TEST(FileStream, RefusesImpossibleOpenRequests) {
  LogCapture log(4);
  EXPECT_THROW(AAA::FileStream(TempFile("x"), AAA::FileStream::Create, AAA::FileStream::ReadOnly),
               AAA::ArgumentException);
  EXPECT_THROW(AAA::FileStream("", AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly), AAA::ArgumentException);
  const std::string out = log.Take();
  EXPECT_NE(out.find("aaalib/AAA_FileStream.cpp("), std::string::npos);
  EXPECT_NE(out.find("): ArgumentException()\n"), std::string::npos);
}

TEST(FileStream, MissingFileIsFileNotFound) {
  EXPECT_THROW(AAA::FileStream(TempFile("missing/none"), AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly),
               AAA::FileNotFoundException);
}

TEST(FileStream, LogsEveryOpenAtLevelSix) {
  const auto path = TempFile("open");
  LogCapture log(7);
  AAA::FileStream stream(path, AAA::FileStream::Create, AAA::FileStream::ReadWrite);
  EXPECT_EQ(log.Take(), "open: " + path.string() + "\n");
}

TEST(FileStream, SizeLeavesThePositionAlone) {
  const auto path = TempFile("size");
  std::ofstream(path, std::ios::binary) << "abcdef";
  AAA::FileStream stream(path, AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
  char two[2];
  stream.Read(two, 2);
  EXPECT_EQ(stream.Size(), 6u);
  stream.Read(two, 2);
  EXPECT_EQ(std::string(two, 2), "cd");
  char rest[8];
  EXPECT_EQ(stream.Read(rest, 8), 2u);  // a short read at the end is not an error
}

TEST(FileStream, WriteToReadOnlyHandleIsIoError) {
  const auto path = TempFile("readonly");
  std::ofstream(path, std::ios::binary) << "x";
  AAA::FileStream stream(path, AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
  const char byte = 'y';
  EXPECT_THROW(stream.Write(&byte, 1), AAA::IOException);
}

TEST(FileStream, SeekBeforeTheStartIsInvalidArgument) {
  const auto path = TempFile("seek");
  AAA::FileStream stream(path, AAA::FileStream::Create, AAA::FileStream::ReadWrite);
  EXPECT_THROW(stream.Seek(-10, AAA::Stream::Begin), AAA::ArgumentException);
}
