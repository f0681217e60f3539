#include "aaalib/AAA_BitWriter.h"

#include <algorithm>

namespace AAA {

void BitWriter::WriteBits(ByteSpan value, std::uint64_t bitCount) {
  if (bitCount == 0) return;
  if (pendingBits_ == 0 && bitCount % 8 == 0 && value.size() == bitCount / 8) {
    // Whole bytes on a byte boundary (names, identifiers, opaque data).
    pending_.assign(value.begin(), value.end());
    pendingBits_ = bitCount;
    FlushPending();
    return;
  }
  pending_.resize((pendingBits_ + bitCount + 7) / 8, 0);
  // Walk the value's bits from its last (least significant) bit backwards;
  // bit i of the field (0 = last) lands at pending bit pendingBits_ + bitCount - 1 - i.
  const std::size_t valueBytes = value.size();
  for (std::uint64_t i = 0; i < bitCount; ++i) {
    const std::uint64_t sourceByte = i / 8;
    if (sourceByte >= valueBytes) break;  // missing high bytes read as 0
    const bool bit = (value[valueBytes - 1 - sourceByte] >> (i % 8)) & 1;
    if (!bit) continue;
    const std::uint64_t target = pendingBits_ + bitCount - 1 - i;
    pending_[target / 8] |= static_cast<std::uint8_t>(0x80 >> (target % 8));
  }
  pendingBits_ += bitCount;
  if (pendingBits_ % 8 == 0) FlushPending();
}

void BitWriter::FlushPending() {
  std::size_t offset = 0;
  while (offset < pending_.size()) {
    const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(pending_.size() - offset, 0x40000000u));
    stream_.Write(pending_.data() + offset, chunk);
    offset += chunk;
  }
  pending_.clear();
  pendingBits_ = 0;
}

void BitWriter::Skip(std::uint64_t bitCount) {
  if (bitCount == 0) return;
  const std::uint64_t partial = pendingBits_ % 8;
  if (!pending_.empty()) FlushPending();
  const std::uint64_t skipBytes = (partial + bitCount) / 8;
  const std::uint64_t from = stream_.Seek(0, Stream::Current);
  const std::uint64_t to = from + skipBytes;
  const std::uint64_t size = stream_.Size();
  if (to <= size) {
    stream_.Seek(static_cast<std::int64_t>(to), Stream::Begin);
  } else {
    // Past the end there is no old content to keep: write the zeros now
    // rather than leave the file short when nothing follows.
    stream_.Seek(static_cast<std::int64_t>(std::max(from, size)), Stream::Begin);
    const Bytes zeros(std::min<std::uint64_t>(to - std::max(from, size), 65536), 0);
    for (std::uint64_t left = to - std::max(from, size); left > 0;) {
      const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, zeros.size()));
      stream_.Write(zeros.data(), chunk);
      left -= chunk;
    }
  }
  pendingBits_ = bitCount % 8;
  if (pendingBits_ != 0) pending_.assign(1, 0);
}

}  // namespace AAA
