#include "aaalib/AAA_BitReader.h"

#include <algorithm>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

namespace AAA {
namespace {
constexpr std::uint64_t kLargeRead = 65536;
}  // namespace

void BitReader::ReadExactly(std::uint8_t* destination, std::uint64_t count) {
  // Stream reads take 32-bit counts; the largest field of any format is far
  // below that, but a count from a broken file must never wrap.
  while (count > 0) {
    const auto chunk = static_cast<std::uint32_t>(count > 0x40000000u ? 0x40000000u : count);
    if (stream_.Read(destination, chunk) != chunk) AAA_THROW(UnexpectedEofException());
    destination += chunk;
    count -= chunk;
  }
}

std::uint64_t BitReader::BitsLeft() const {
  const std::uint64_t size = stream_.Size() * 8;
  return size > position_ ? size - position_ : 0;
}

// A read that fails leaves the value empty.
void BitReader::Read(FieldValue& value, std::uint64_t bitCount) {
  value.Clear();
  const ByteSpan bits = ReadBits(bitCount);
  value.Resize(bits.size(), 0);
  std::ranges::copy(bits, value.Value().begin());
  value.KeepAsBaseline();
}

void BitReader::Read(Bytes& value, std::uint64_t bitCount) {
  value.clear();
  const ByteSpan bits = ReadBits(bitCount);
  value.assign(bits.begin(), bits.end());
}

ByteSpan BitReader::ReadBits(std::uint64_t bitCount) {
  if (bitCount == 0) return {};
  const unsigned consumed = position_ % 8;
  const std::uint64_t span = (consumed + bitCount + 7) / 8;
  // Large reads (opaque data sized by a length field) must find their bytes
  // before anything is allocated for them: a length read from a broken file
  // must not ask for gigabytes. Small fields skip the size query.
  if (span > kLargeRead) {
    const std::uint64_t streamPosition = (position_ + 7) / 8;
    const std::uint64_t size = stream_.Size();
    const std::uint64_t available = (size > streamPosition ? size - streamPosition : 0) + (consumed > 0 ? 1 : 0);
    if (span > available) AAA_THROW(UnexpectedEofException());
  }

  buffer_.resize(span);
  if (consumed == 0) {
    ReadExactly(buffer_.data(), span);
  } else {
    buffer_[0] = cached_;
    if (span > 1) ReadExactly(buffer_.data() + 1, span - 1);
  }
  const unsigned end = (position_ + bitCount) % 8;
  if (end != 0) cached_ = buffer_.back();

  buffer_[0] &= static_cast<std::uint8_t>(0xFF >> consumed);
  if (end != 0) {
    const unsigned shift = 8 - end;
    for (std::size_t i = buffer_.size(); i-- > 0;) {
      const unsigned carried = i > 0 ? static_cast<unsigned>(buffer_[i - 1]) << (8 - shift) : 0;
      buffer_[i] = static_cast<std::uint8_t>((buffer_[i] >> shift) | carried);
    }
  }
  const std::size_t valueBytes = (bitCount + 7) / 8;
  position_ += bitCount;
  return ByteSpan(buffer_).last(valueBytes);
}

void BitReader::Skip(std::uint64_t bitCount) {
  if (bitCount == 0) return;
  position_ += bitCount;
  const std::uint64_t byte = position_ / 8;
  std::uint8_t proof = 0;
  if (byte > 0) {
    stream_.Seek(static_cast<std::int64_t>(byte - 1), Stream::Begin);
    if (stream_.Read(&proof, 1) != 1) AAA_THROW(UnexpectedEofException());
  } else {
    stream_.Seek(0, Stream::Begin);
  }
  if (position_ % 8 != 0 && stream_.Read(&cached_, 1) != 1) AAA_THROW(UnexpectedEofException());
}

}  // namespace AAA
