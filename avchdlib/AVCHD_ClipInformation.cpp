#include "avchdlib/AVCHD_ClipInformation.h"

#include <algorithm>

namespace AVCHD::ClipInformation {
namespace {

const AAA::Bytes kNoNetworkInformation(9, 0);
const AAA::Bytes kNoStreamFormatName(16, 0);

bool IsDigit(std::uint8_t byte) { return '0' <= byte && byte <= '9'; }

// The bits from the reader's position up to `address` bytes after `originBits`.
std::int64_t GapUpTo(const AAA::BitReader& reader, std::int64_t originBits, std::uint32_t address) {
  return Common::BitsUpTo(reader, originBits + address * 8ll);
}

}  // namespace

// TS type info -------------------------------------------------------------

void BlkTSTypeInfoBlock::Declare() {
  Add(Length);
  Add(ValidityFlags);
  Add(FormatIdentifier);
  Add(NetworkInformation);
  Add(StreamFormatName);
}

void BlkTSTypeInfoBlock::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
  AAA_VERIFY_EQUAL(ValidityFlags, 0x80);
  AAA_VERIFY(FormatIdentifier, FormatIdentifier == 0x48444D56 || FormatIdentifier == 0x48445052);
  AAA_VERIFY_EQUAL(NetworkInformation, kNoNetworkInformation);
  AAA_VERIFY_EQUAL(StreamFormatName, kNoStreamFormatName);
}

void BlkTSTypeInfoBlock::Initialize() {
  Block::Initialize();
  FormatIdentifier.SetBytes(Common::TextBytes("HDMV"));
}

void BlkTSTypeInfoBlock::Update() {
  Block::Update();
  ValidityFlags.SetValue(0x80);
  NetworkInformation.SetBytes(kNoNetworkInformation);
  StreamFormatName.SetBytes(kNoStreamFormatName);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Clip info ----------------------------------------------------------------

void BlkClipInfo::Declare() {
  OnChange(IsCC5, [](AAA::Block& owner) { owner.Link(); });
  Add(Length);
  Add(reserved1);
  Add(ClipStreamType);
  Add(ApplicationType);
  Add(reserved2);
  Add(IsCC5);
  Add(TSRecordingRate);
  Add(NumberOfSourcePackets);
  Add(reserved3);
  Add(blkTSTypeInfoBlock);
  if (IsCC5 == 1) {
    Add(reserved4);
    Add(FollowingClipStreamType);
    Add(reserved5);
    Add(FollowingClipInformationFileName);
    Add(ClipCodecIdentifier);
    Add(reserved6);
  }
}

void BlkClipInfo::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved1.Read(reader);
  ClipStreamType.Read(reader);
  AAA_VERIFY_EQUAL(ClipStreamType, 1);
  ApplicationType.Read(reader);
  AAA_VERIFY(ApplicationType,
             (ApplicationType == 1) || (ApplicationType == 2) || (ApplicationType == 5) || (ApplicationType == 10));
  reserved2.Read(reader);
  IsCC5.Read(reader);
  if (ApplicationType == 5) AAA_VERIFY_EQUAL(IsCC5, 0U);
  TSRecordingRate.Read(reader);
  NumberOfSourcePackets.Read(reader);
  // Reported only: a stream cut short is still described by the rest.
  AAA_REPORT_FAILURE(NumberOfSourcePackets, NumberOfSourcePackets % 32 == 0);
  reserved3.Read(reader);
  blkTSTypeInfoBlock.Read(reader);
  if (IsCC5 == 1) {
    reserved4.Read(reader);
    FollowingClipStreamType.Read(reader);
    AAA_VERIFY_EQUAL(FollowingClipStreamType, 1);
    reserved5.Read(reader);
    FollowingClipInformationFileName.Read(reader);
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
    ClipCodecIdentifier.Read(reader);
    AAA_VERIFY_EQUAL(ClipCodecIdentifier, "M2TS");
    reserved6.Read(reader);
  }
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkClipInfo::Initialize() {
  Block::Initialize();
  ApplicationType.SetValue(1);
  TSRecordingRate.SetValue(3000000);
  NumberOfSourcePackets.SetValue(0);
}

void BlkClipInfo::Update() {
  Block::Update();
  for (AAA::FieldBase* reserved : {&reserved1, &reserved2, &reserved3, &reserved4, &reserved5, &reserved6}) {
    reserved->SetValue(0);
  }
  ClipStreamType.SetValue(1);
  FollowingClipStreamType.SetValue(1);
  ClipCodecIdentifier.SetBytes(Common::TextBytes("M2TS"));
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Sequence info ------------------------------------------------------------

void BlkSTCSequence::Declare() {
  Add(PCRPID);
  Add(SPNSTCStart);
  Add(PresentationStartTime);
  Add(PresentationEndTime);
}

void BlkSTCSequence::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(PCRPID, 0x1001);
}

void BlkSTCSequence::Initialize() {
  Block::Initialize();
  SPNSTCStart.SetValue(0);
  PresentationStartTime.SetValue(0);
  PresentationEndTime.SetValue(0);
}

void BlkSTCSequence::Update() {
  Block::Update();
  PCRPID.SetValue(0x1001);
}

void BlkSequenceInfo::Declare() {
  OnChange(NumberOfSTCSequences, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSequenceInfo&>(owner);
    AAA_VERIFY(self.NumberOfSTCSequences, (1 <= self.NumberOfSTCSequences) && (self.NumberOfSTCSequences <= 255));
    self.blkSTCSequenceArray.Resize(self.NumberOfSTCSequences);
    self.Link();
  });
  Add(Length);
  Add(reserved1);
  Add(One);
  Add(SPNATCStart);
  Add(NumberOfSTCSequences);
  Add(reserved2);
  Add(blkSTCSequenceArray);
}

void BlkSequenceInfo::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved1.Read(reader);
  One.Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
  SPNATCStart.Read(reader);
  AAA_VERIFY_EQUAL(SPNATCStart, 0U);
  NumberOfSTCSequences.Read(reader);
  reserved2.Read(reader);
  blkSTCSequenceArray.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkSequenceInfo::Update() {
  Block::Update();
  reserved1.SetValue(0);
  One.SetValue(1);
  SPNATCStart.SetValue(0);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
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
  Add(Length);
  Add(StreamCodingType);
  switch (StreamCodingType) {
    case 0x1B:
      Add(VideoFormat);
      Add(FrameRate);
      Add(AspectRatio);
      Add(reservedVideo1);
      Add(CCFlag);
      Add(reservedVideo2);
      Add(reservedVideo3);
      break;
    case 0x80:
    case 0x81:
      Add(AudioPresentationType);
      Add(SamplingFrequency);
      Add(AudioLanguageCode);
      Add(reservedAudio);
      break;
    case 0x90:
      Add(OBLanguageCode);
      Add(reservedOB);
      break;
    case 0x91:
      Add(MBLanguageCode);
      Add(reservedMB);
      break;
    default:
      break;
  }
}

void BlkStreamCodingInfo::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  StreamCodingType.Read(reader);
  // The coding type has chosen the fields that follow it.
  const auto& children = Children();
  for (std::size_t i = 2; i < children.size(); ++i) children[i]->Read(reader);
  if (StreamCodingType == 0x1B) {
    AAA_VERIFY(VideoFormat, (1 <= VideoFormat) && (VideoFormat <= 6));
    AAA_VERIFY(FrameRate, ((1 <= FrameRate) && (FrameRate <= 4)) || (FrameRate == 6) || (FrameRate == 7));
    AAA_VERIFY(AspectRatio, (AspectRatio == 2) || (AspectRatio == 3));
  } else if (StreamCodingType == 0x80 || StreamCodingType == 0x81) {
    AAA_VERIFY(AudioPresentationType,
               (AudioPresentationType == 1) || (AudioPresentationType == 3) || (AudioPresentationType == 6));
    AAA_VERIFY(SamplingFrequency, (SamplingFrequency == 1) || (SamplingFrequency == 4) || (SamplingFrequency == 5));
  }
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkStreamCodingInfo::Initialize() {
  Block::Initialize();
  StreamCodingType.SetValue(0x1B);
  CCFlag.SetValue(0);
  for (AAA::FieldBase* code : {&AudioLanguageCode, &OBLanguageCode, &MBLanguageCode}) {
    code->SetBytes(Common::TextBytes("eng"));
  }
}

void BlkStreamCodingInfo::Update() {
  Block::Update();
  for (AAA::FieldBase* reserved :
       {&reservedVideo1, &reservedVideo2, &reservedVideo3, &reservedAudio, &reservedOB, &reservedMB}) {
    reserved->SetValue(0);
  }
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

void BlkStreamsInPS::Declare() {
  Add(StreamPID);
  Add(blkStreamCodingInfo);
}

void BlkProgramInfo::Declare() {
  OnChange(NumberOfStreamsInPS, [](AAA::Block& owner) {
    auto& self = static_cast<BlkProgramInfo&>(owner);
    AAA_VERIFY(self.NumberOfStreamsInPS, (1 <= self.NumberOfStreamsInPS) && (self.NumberOfStreamsInPS <= 9));
    self.blkStreamsInPSArray.Resize(self.NumberOfStreamsInPS);
    self.Link();
  });
  Add(Length);
  Add(reserved1);
  Add(One);
  Add(SPNProgramSequenceStart);
  Add(ProgramMapPID);
  Add(NumberOfStreamsInPS);
  Add(reserved2);
  Add(blkStreamsInPSArray);
}

void BlkProgramInfo::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved1.Read(reader);
  One.Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
  SPNProgramSequenceStart.Read(reader);
  AAA_VERIFY_EQUAL(SPNProgramSequenceStart, 0U);
  ProgramMapPID.Read(reader);
  AAA_VERIFY_EQUAL(ProgramMapPID, 0x0100);
  NumberOfStreamsInPS.Read(reader);
  reserved2.Read(reader);
  blkStreamsInPSArray.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkProgramInfo::Update() {
  Block::Update();
  reserved1.SetValue(0);
  One.SetValue(1);
  SPNProgramSequenceStart.SetValue(0);
  ProgramMapPID.SetValue(0x0100);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// EP map -------------------------------------------------------------------

void BlkEPCoarseEntry::Declare() {
  Add(RefToEPFineID);
  Add(PTSEPCoarse);
  Add(SPNEPCoarse);
}

void BlkEPFineEntry::Declare() {
  Add(ReservedEPFine);
  Add(IEndPositionOffset);
  Add(PTSEPFine);
  Add(SPNEPFine);
}

void BlkEPFineEntry::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(ReservedEPFine, 0U);
  AAA_VERIFY(IEndPositionOffset, (1 <= IEndPositionOffset) && (IEndPositionOffset <= 7));
}

void BlkEPFineEntry::Update() {
  Block::Update();
  ReservedEPFine.SetValue(0);
}

void BlkEPMapForOneStreamPID::Declare() {
  Add(padding_word1);
  Add(EPFineTableStartAddress);
  Add(blkEPCoarseEntryArray);
  Add(padding_word2);
  Add(blkEPFineEntryArray);
  Add(padding_word3);
}

void BlkEPMapForOneStreamPID::ReadTables(AAA::BitReader& reader, std::uint32_t cpiBytes) {
  EPFineTableStartAddress.Read(reader);
  AAA::Verify(EPFineTableStartAddress, EPFineTableStartAddress < cpiBytes,
              AAA_RULE("EPFineTableStartAddress < _Length"));
  blkEPCoarseEntryArray.Read(reader);
  const std::int64_t paddingLength = GapUpTo(reader, EPFineTableStartAddress.BitPosition(), EPFineTableStartAddress);
  AAA_READ_PADDING(reader, padding_word2, paddingLength);
  blkEPFineEntryArray.Read(reader);
}

void BlkEPMapForOneStreamPID::Update() {
  Block::Update();
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
  Add(StreamPID);
  Add(reserved);
  Add(EPStreamType);
  Add(NumberOfEPCoarseEntries);
  Add(NumberOfEPFineEntries);
  Add(EPMapForOneStreamPIDStartAddress);
}

void BlkStreamPIDEntry::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(StreamPID, 0x1011);
  AAA_VERIFY_EQUAL(EPStreamType, 1);
  AAA_VERIFY(EPMapForOneStreamPIDStartAddress, EPMapForOneStreamPIDStartAddress % 2 == 0);
}

void BlkStreamPIDEntry::Update() {
  Block::Update();
  StreamPID.SetValue(0x1011);
  reserved.SetValue(0);
  EPStreamType.SetValue(1);
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
  Add(reserved);
  Add(NumberOfStreamPIDEntries);
  Add(blkStreamPIDEntryArray);
  Add(blkEPMapForOneStreamPIDArray);
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

void BlkEPMap::Update() {
  Block::Update();
  reserved.SetValue(0);
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
    Add(reserved);
    Add(CPIType);
    Add(blkEPMap);
  }
}

void BlkCPI::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  if (Length != 0) {
    reserved.Read(reader);
    CPIType.Read(reader);
    blkEPMap.ReadMap(reader, Length);
    AAA_VERIFY_EQUAL(CPIType, 1);
  }
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkCPI::Update() {
  Block::Update();
  reserved.SetValue(0);
  CPIType.SetValue(1);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

void BlkClipMark::Declare() { Add(Length); }

void BlkClipMark::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkClipMark::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// The file -----------------------------------------------------------------

BlkClipInformationFile::BlkClipInformationFile() : FileBlock("Clip information file") {
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
  Link();
}

void BlkClipInformationFile::Declare() {
  Add(TypeIndicator);
  Add(TypeIndicator2);
  Add(SequenceInfoStartAddress);
  Add(ProgramInfoStartAddress);
  Add(CPIStartAddress);
  Add(ClipMarkStartAddress);
  Add(ExtensionDataStartAddress);
  Add(reserved);
  Add(blkClipInfo);
  Add(padding_word1);
  Add(blkSequenceInfo);
  Add(padding_word2);
  Add(blkProgramInfo);
  Add(padding_word3);
  Add(blkCPI);
  Add(padding_word4);
  Add(blkClipMark);
  Add(padding_word5);
  Add(blkExtensionData);
}

void BlkClipInformationFile::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "HDMV");
  TypeIndicator2.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator2, "0100");
  SequenceInfoStartAddress.Read(reader);
  AAA_VERIFY(SequenceInfoStartAddress, SequenceInfoStartAddress % 2 == 0);
  ProgramInfoStartAddress.Read(reader);
  AAA_VERIFY(ProgramInfoStartAddress, ProgramInfoStartAddress % 2 == 0);
  CPIStartAddress.Read(reader);
  AAA_VERIFY(CPIStartAddress, CPIStartAddress % 2 == 0);
  ClipMarkStartAddress.Read(reader);
  AAA_VERIFY(ClipMarkStartAddress, ClipMarkStartAddress % 2 == 0);
  ExtensionDataStartAddress.Read(reader);
  AAA_VERIFY(ExtensionDataStartAddress, ExtensionDataStartAddress % 2 == 0);
  AAA_VERIFY(ExtensionDataStartAddress, ExtensionDataStartAddress != 0);
  reserved.Read(reader);
  blkClipInfo.Read(reader);
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

void BlkClipInformationFile::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("HDMV"));
  TypeIndicator2.SetBytes(Common::TextBytes("0100"));
  // The six fields of a continued clip take the place of this gap, so that
  // the sequence info starts at the same byte in both forms.
  if (blkClipInfo.IsCC5 == 0) padding_word1.SetBitLength(128);
  SetStartAddress(SequenceInfoStartAddress, 0, blkSequenceInfo);
  SetStartAddress(ProgramInfoStartAddress, 0, blkProgramInfo);
  SetStartAddress(CPIStartAddress, 0, blkCPI);
  SetStartAddress(ClipMarkStartAddress, 0, blkClipMark);
  SetStartAddress(ExtensionDataStartAddress, 0, blkExtensionData);
  reserved.SetValue(0);
}

}  // namespace AVCHD::ClipInformation
