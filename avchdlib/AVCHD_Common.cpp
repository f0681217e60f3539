#include "avchdlib/AVCHD_Common.h"

#include <algorithm>

namespace AVCHD::Common {

std::uint32_t BlockLength(const AAA::Block& owner, const AAA::FieldBase& length) {
  return static_cast<std::uint32_t>((owner.BitLength() - length.BitLength()) / 8);
}

bool AVCHD_VERIFY_TIMEANDDATE(const AAA::FieldBase& timeAndDate) {
  const auto& bytes = timeAndDate.ValueBytes();
  if (bytes.size() != 7) return false;
  if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0; })) return true;
  const bool decimal =
      std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return (byte >> 4) <= 9 && (byte & 0x0F) <= 9; });
  if (!decimal) return false;
  auto number = [&bytes](std::size_t index) { return (bytes[index] >> 4) * 10 + (bytes[index] & 0x0F); };
  return number(2) >= 1 && number(2) <= 12 && number(3) >= 1 && number(3) <= 31 && number(4) <= 23 && number(5) <= 59 &&
         number(6) <= 59;
}

bool AVCHD_VERIFY_CHARACTERSET(std::uint32_t characterSet) {
  return (characterSet >= 1 && characterSet <= 7) || characterSet == 0x81 ||
         (characterSet >= 0x90 && characterSet <= 0x99);
}

void BlkDataBlockFrame::Read(AAA::BitReader& reader) {
  // The fields up to the entries, then the data block at the address they give.
  for (std::size_t i = 0; Children()[i] != &padding_word1; ++i) Children()[i]->Read(reader);
  CheckEntry();
  ReadLeadingPadding(reader, BitsUpTo(reader, Length.BitPosition() + DataBlockStartAddress * 8ll));
  DataBlock().Read(reader);
  ReadTrailingPadding(reader, BitsUpTo(reader, DataBlockStartAddress.BitPosition() + Length * 8ll));
  CheckLengths();
}

void BlkDataBlockFrame::PlaceDataBlock(AAA::FieldBase& entryAddress, AAA::FieldBase& entryLength,
                                       AAA::Field::Padding* alignedBy, bool evenLength) {
  SetStartAddress(DataBlockStartAddress, 0, DataBlock(), alignedBy);
  entryAddress.SetValue(DataBlockStartAddress);
  const auto dataBytes = static_cast<std::uint32_t>(DataBlock().BitLength() / 8);
  padding_word2.SetBitLength(evenLength ? dataBytes % 2 * 8 : 0);
  entryLength.SetValue(dataBytes + static_cast<std::uint32_t>(padding_word2.BitLength() / 8));
}

}  // namespace AVCHD::Common
