#include "aaalib/AAA_Field.h"

#include "aaalib/AAA_BitWriter.h"

namespace AAA::Field {

std::string Str::ToString(ByteSpan value) const { return std::string(value.begin(), value.end()); }

void Padding::Read(BitReader& reader) {
  RecordPosition(reader);
  if (BitLength() == 0) return;
  reader.Skip(static_cast<std::uint64_t>(BitLength()));
  LogValue("");
}

void Padding::Write(BitWriter& writer) { writer.Skip(static_cast<std::uint64_t>(BitLength())); }

void ExtData::Read(BitReader& reader) {
  // The bytes are read rather than skipped so that they are written back.
  RecordPosition(reader);
  if (BitLength() == 0) {
    value_.Clear();
    return;
  }
  reader.Read(value_, static_cast<std::uint64_t>(BitLength() / 8) * 8);
  LogValue("");
}

void ExtData::Write(BitWriter& writer) {
  const auto byteCount = static_cast<std::size_t>(BitLength() / 8);
  if (BitLength() != 0 && value_.size() == byteCount) {
    writer.Write(value_.Value(), static_cast<std::uint64_t>(BitLength()));
  } else {
    writer.Skip(static_cast<std::uint64_t>(BitLength()));
  }
}

}  // namespace AAA::Field
