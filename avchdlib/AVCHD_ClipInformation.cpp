#include "avchdlib/AVCHD_ClipInformation.h"

#include <algorithm>

namespace AVCHD::ClipInformation {
namespace {

bool IsDigit(std::uint8_t byte) { return '0' <= byte && byte <= '9'; }

// The bits from the reader's position up to `address` bytes after `originBits`.
std::int64_t GapUpTo(const AAA::BitReader& reader, std::int64_t originBits, std::uint32_t address) {
  return Common::BitsUpTo(reader, originBits + address * 8ll);
}

}  // namespace

// Clip info ----------------------------------------------------------------

void BlkClipInfo::Declare() {
  OnChange(IsCC5, [](AAA::Block& owner) { owner.Link(); });
  Add(Length, reserved1, ClipStreamType, ApplicationType, reserved2, IsCC5, TSRecordingRate, NumberOfSourcePackets,
      reserved3, blkTSTypeInfoBlock);
  if (IsCC5 == 1) {
    Add(reserved4, FollowingClipStreamType, reserved5, FollowingClipInformationFileName, ClipCodecIdentifier,
        reserved6);
  }
}

void BlkClipInfo::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  if (ApplicationType == 5) AAA_VERIFY_EQUAL(IsCC5, 0U);
  if (IsCC5 == 1) {
    const auto& name = FollowingClipInformationFileName.ValueBytes();
    AAA::Verify(FollowingClipInformationFileName, std::all_of(name.begin(), name.end(), IsDigit),
                AAA_RULE("(('0' <= FollowingClipInformationFileName.Data[0]) && "
                         "(FollowingClipInformationFileName.Data[0] <= '9')) && "
                         "(('0' <= FollowingClipInformationFileName.Data[1]) && "
                         "(FollowingClipInformationFileName.Data[1] <= '9')) && "
                         "(('0' <= FollowingClipInformationFileName.Data[2]) && "
                         "(FollowingClipInformationFileName.Data[2] <= '9')) && "
                         "(('0' <= FollowingClipInformationFileName.Data[3]) && "
                         "(FollowingClipInformationFileName.Data[3] <= '9')) && "
                         "(('0' <= FollowingClipInformationFileName.Data[4]) && "
                         "(FollowingClipInformationFileName.Data[4] <= '9'))"));
  }
}

// Sequence info ------------------------------------------------------------

void BlkSequenceInfo::Declare() {
  OnChange(NumberOfSTCSequences, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSequenceInfo&>(owner);
    AAA_VERIFY(self.NumberOfSTCSequences, (1 <= self.NumberOfSTCSequences) && (self.NumberOfSTCSequences <= 255));
    self.blkSTCSequenceArray.Resize(self.NumberOfSTCSequences);
    self.Link();
  });
  Add(Length, reserved1, One, SPNATCStart, NumberOfSTCSequences, reserved2, blkSTCSequenceArray);
}

// Program info -------------------------------------------------------------

void BlkStreamCodingInfo::Declare() {
  OnChange(StreamCodingType, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamCodingInfo&>(owner);
    AAA_VERIFY(self.StreamCodingType, self.StreamCodingType == 0x1b || self.StreamCodingType == 0x80 ||
                                          self.StreamCodingType == 0x81 || self.StreamCodingType == 0x90 ||
                                          self.StreamCodingType == 0x91);
    self.Link();
  });
  DeclareCoding({&FrameRate, &AspectRatio, &reservedVideo1, &CCFlag, &reservedVideo2, &reservedVideo3},
                {&reservedAudio}, {&reservedOB}, {&reservedMB});
}

void BlkProgramInfo::Declare() {
  OnChange(NumberOfStreamsInPS, [](AAA::Block& owner) {
    auto& self = static_cast<BlkProgramInfo&>(owner);
    AAA_VERIFY(self.NumberOfStreamsInPS, (1 <= self.NumberOfStreamsInPS) && (self.NumberOfStreamsInPS <= 9));
    self.blkStreamsInPSArray.Resize(self.NumberOfStreamsInPS);
    self.Link();
  });
  Add(Length, reserved1, One, SPNProgramSequenceStart, ProgramMapPID, NumberOfStreamsInPS, reserved2,
      blkStreamsInPSArray);
}

// EP map -------------------------------------------------------------------

void BlkEPMapForOneStreamPID::ReadTables(AAA::BitReader& reader, std::uint32_t cpiBytes) {
  EPFineTableStartAddress.Read(reader);
  AAA::Verify(EPFineTableStartAddress, EPFineTableStartAddress < cpiBytes,
              AAA_RULE("EPFineTableStartAddress < _Length"));
  blkEPCoarseEntryArray.Read(reader);
  const std::int64_t paddingLength = GapUpTo(reader, EPFineTableStartAddress.BitPosition(), EPFineTableStartAddress);
  AAA_READ_PADDING(reader, padding_word2, paddingLength);
  blkEPFineEntryArray.Read(reader);
}

void BlkEPMapForOneStreamPID::Derive() {
  SetStartAddress(EPFineTableStartAddress, BitOffsetOf(EPFineTableStartAddress), blkEPFineEntryArray);
}

void BlkStreamPIDEntry::Declare() {
  OnChange(NumberOfEPCoarseEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamPIDEntry&>(owner);
    AAA_VERIFY(self.NumberOfEPCoarseEntries,
               (1 <= self.NumberOfEPCoarseEntries) && (self.NumberOfEPCoarseEntries <= 24576));
    if (auto* map = dynamic_cast<BlkEPMap*>(self.Parent())) map->SizeTables(self, self.NumberOfEPCoarseEntries);
  });
  OnChange(NumberOfEPFineEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamPIDEntry&>(owner);
    AAA_VERIFY(self.NumberOfEPFineEntries, (1 <= self.NumberOfEPFineEntries) && (self.NumberOfEPFineEntries <= 180000));
    if (auto* map = dynamic_cast<BlkEPMap*>(self.Parent())) map->SizeTables(self, self.NumberOfEPFineEntries);
  });
  Add(StreamPID, reserved, EPStreamType, NumberOfEPCoarseEntries, NumberOfEPFineEntries,
      EPMapForOneStreamPIDStartAddress);
}

void BlkEPMap::Declare() {
  OnChange(NumberOfStreamPIDEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkEPMap&>(owner);
    self.blkEPMapForOneStreamPIDArray.Resize(self.NumberOfStreamPIDEntries);
    self.blkStreamPIDEntryArray.Resize(self.NumberOfStreamPIDEntries);
    // Whether the CPI block holds this map at all depends on the count.
    if (self.Parent() != nullptr) {
      self.Parent()->Link();
    } else {
      self.Link();
    }
  });
  Add(reserved, NumberOfStreamPIDEntries, blkStreamPIDEntryArray, blkEPMapForOneStreamPIDArray);
}

void BlkEPMap::SizeTables(const BlkStreamPIDEntry& entry, const AAA::FieldBase& count) {
  std::size_t index = 0;
  while (index < blkStreamPIDEntryArray.Size() && &blkStreamPIDEntryArray[index] != &entry) ++index;
  if (index >= blkEPMapForOneStreamPIDArray.Size()) return;
  if (tableBitsLimit_ >= 0) {
    std::int64_t tableBits = entry.NumberOfEPCoarseEntries * 64ll + entry.NumberOfEPFineEntries * 32ll;
    for (std::size_t other = 0; other < blkEPMapForOneStreamPIDArray.Size(); ++other) {
      const BlkEPMapForOneStreamPID& tables = blkEPMapForOneStreamPIDArray[other];
      if (other != index) {
        tableBits += static_cast<std::int64_t>(tables.blkEPCoarseEntryArray.Size()) * 64 +
                     static_cast<std::int64_t>(tables.blkEPFineEntryArray.Size()) * 32;
      }
    }
    const std::int64_t cpiBits = tableBitsLimit_;
    AAA_VERIFY(count, tableBits <= cpiBits);
    // Tables the rest of the file cannot hold end it early, as reading them
    // would, before they are allocated.
    if (tableBits > tableBitsLeft_) AAA_THROW(AAA::UnexpectedEofException());
  }
  BlkEPMapForOneStreamPID& tables = blkEPMapForOneStreamPIDArray[index];
  tables.blkEPCoarseEntryArray.Resize(entry.NumberOfEPCoarseEntries);
  tables.blkEPFineEntryArray.Resize(entry.NumberOfEPFineEntries);
  tables.Link();
}

void BlkEPMap::ReadMap(AAA::BitReader& reader, const AAA::FieldBase& cpiLength) {
  const std::uint32_t cpiBytes = cpiLength;
  const std::int64_t cpiEndBits = cpiLength.BitPosition() + cpiLength.BitLength() + cpiBytes * 8ll;
  // The tables of a broken file must not take more memory than its CPI
  // block could hold, nor than the rest of the file: the CPI length of a
  // broken file may announce far more than the file holds.
  tableBitsLimit_ = std::min(cpiBytes, kMaxFileBytes) * 8ll;
  tableBitsLeft_ = static_cast<std::int64_t>(reader.BitsLeft());
  struct LimitEnds {
    std::int64_t& limit;
    ~LimitEnds() { limit = -1; }
  } limitEnds{tableBitsLimit_};
  const std::int64_t mapStart = static_cast<std::int64_t>(reader.BitPosition());
  reserved.Read(reader);
  NumberOfStreamPIDEntries.Read(reader);
  blkStreamPIDEntryArray.Read(reader);
  for (std::size_t i = 0; i < blkEPMapForOneStreamPIDArray.Size(); ++i) {
    BlkEPMapForOneStreamPID& tables = blkEPMapForOneStreamPIDArray[i];
    const std::uint32_t address = blkStreamPIDEntryArray[i].EPMapForOneStreamPIDStartAddress;
    if (i == 0) {
      const std::int64_t paddingLength = GapUpTo(reader, mapStart, address);
      AAA::Verify(tables.padding_word1, paddingLength < static_cast<std::int64_t>(cpiBytes) * 8,
                  AAA_RULE("paddingLength < (int)_Length * 8"));
      AAA_READ_PADDING(reader, tables.padding_word1, paddingLength);
    } else {
      const std::int64_t paddingLength2 = GapUpTo(reader, mapStart, address);
      AAA_READ_PADDING(reader, tables.padding_word1, paddingLength2);
    }
    tables.ReadTables(reader, cpiBytes);
  }
  // What the CPI block holds after the last table is kept with that table; a
  // table running past the CPI's end is left to the CPI's length rule.
  const std::int64_t trailing = Common::BitsUpTo(reader, cpiEndBits);
  if (!blkEPMapForOneStreamPIDArray.Empty() && trailing > 0) {
    AAA::Field::Padding& padding = blkEPMapForOneStreamPIDArray.Back().padding_word3;
    padding.SetBitLength(trailing);
    padding.Read(reader);
  }
}

void BlkEPMap::Derive() {
  std::int64_t tablesStart = BitOffsetOf(blkEPMapForOneStreamPIDArray);
  for (std::size_t i = 0; i < blkEPMapForOneStreamPIDArray.Size() && i < blkStreamPIDEntryArray.Size(); ++i) {
    const BlkEPMapForOneStreamPID& tables = blkEPMapForOneStreamPIDArray[i];
    blkStreamPIDEntryArray[i].EPMapForOneStreamPIDStartAddress.SetValue(
        static_cast<std::uint32_t>((tablesStart + tables.padding_word1.BitLength()) / 8));
    tablesStart += tables.BitLength();
  }
}

// CPI and clip mark --------------------------------------------------------

void BlkCPI::Declare() {
  // The map belongs to this block even while it takes no part, so that a
  // change of its number of streams can relink this block.
  blkEPMap.SetParent(this);
  Add(Length);
  if (blkEPMap.NumberOfStreamPIDEntries == 1) {
    Add(reserved, CPIType, blkEPMap);
  }
}

void BlkCPI::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  if (Length != 0) {
    reserved.Read(reader);
    CPIType.Read(reader);
    blkEPMap.ReadMap(reader, Length);
  }
  CheckLengths();
}

// The file -----------------------------------------------------------------

ClipStreamValues::ClipStreamValues() {
  RecordingParameterBytes.fill(0xFF);
  Refered.Fill(0);
  LastTimeCode.Fill(0xFF);
  Pulldown.Fill(0);
  TimeZone1.Fill(0xFF);
  TimeZone2.Fill(0xFF);
  TimeAndDate1.Fill(0);
  TimeAndDate2.Fill(0);
  StreamTimeCodeInfo.Fill(0);
  StartTimeCode1.Fill(0xFF);
  StartTimeCode2.Fill(0xFF);
  StartBinaryGroup.Fill(0);
}

BlkClipInformationFile::BlkClipInformationFile() : FileBlock("Clip information file") { Link(); }

void BlkClipInformationFile::Declare() {
  Add(TypeIndicator, TypeIndicator2, SequenceInfoStartAddress, ProgramInfoStartAddress, CPIStartAddress,
      ClipMarkStartAddress, ExtensionDataStartAddress, reserved, blkClipInfo, padding_word1, blkSequenceInfo,
      padding_word2, blkProgramInfo, padding_word3, blkCPI, padding_word4, blkClipMark, padding_word5,
      blkExtensionData);
}

void BlkClipInformationFile::Read(AAA::BitReader& reader) {
  // The header and the clip info follow each other without a gap.
  for (Element* child : Children()) {
    child->Read(reader);
    if (child == &blkClipInfo) break;
  }
  const std::int64_t paddingLength1 = GapUpTo(reader, 0, SequenceInfoStartAddress);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkSequenceInfo.Read(reader);
  const std::int64_t paddingLength2 = GapUpTo(reader, 0, ProgramInfoStartAddress);
  AAA_READ_PADDING(reader, padding_word2, paddingLength2);
  blkProgramInfo.Read(reader);
  const std::int64_t paddingLength3 = GapUpTo(reader, 0, CPIStartAddress);
  AAA_READ_PADDING(reader, padding_word3, paddingLength3);
  blkCPI.Read(reader);
  const std::int64_t paddingLength4 = GapUpTo(reader, 0, ClipMarkStartAddress);
  AAA_READ_PADDING(reader, padding_word4, paddingLength4);
  blkClipMark.Read(reader);
  const std::int64_t paddingLength5 = GapUpTo(reader, 0, ExtensionDataStartAddress);
  AAA_READ_PADDING(reader, padding_word5, paddingLength5);
  blkExtensionData.Read(reader);
}

void BlkClipInformationFile::Derive() {
  // The six fields of a continued clip take the place of this gap, so that
  // the sequence info starts at the same byte in both forms.
  if (blkClipInfo.IsCC5 == 0) padding_word1.SetBitLength(128);
  SetStartAddress(SequenceInfoStartAddress, 0, blkSequenceInfo);
  SetStartAddress(ProgramInfoStartAddress, 0, blkProgramInfo);
  SetStartAddress(CPIStartAddress, 0, blkCPI);
  SetStartAddress(ClipMarkStartAddress, 0, blkClipMark);
  SetStartAddress(ExtensionDataStartAddress, 0, blkExtensionData);
}

}  // namespace AVCHD::ClipInformation
