#include "avchdlib/AVCHD_MoviePlayList.h"

namespace AVCHD::MoviePlayList {
namespace {

// Reads the members that the type field before them has chosen.
void ReadChildrenFrom(AAA::Block& block, std::size_t first, AAA::BitReader& reader) {
  const auto& children = block.Children();
  for (std::size_t i = first; i < children.size(); ++i) children[i]->Read(reader);
}

std::int64_t GapUpTo(const AAA::BitReader& reader, std::uint32_t address) {
  return Common::BitsUpTo(reader, address * 8ll);
}

}  // namespace

// UO mask table ------------------------------------------------------------

void BlkUOMaskTable::Declare() {
  for (AAA::Element* mask : std::initializer_list<AAA::Element*>{&reserved0,
                                                                 &reserved1,
                                                                 &ChapterSearchMask,
                                                                 &TimeSearchMask,
                                                                 &SkipToNextPointMask,
                                                                 &SkipBackToPreviousPointMask,
                                                                 &reserved6,
                                                                 &StopMask,
                                                                 &PauseOnMask,
                                                                 &reserved9,
                                                                 &StillOffMask,
                                                                 &ForwardPlayMask,
                                                                 &BackwardPlayMask,
                                                                 &ResumeMask,
                                                                 &MoveUpSelectedButtonMask,
                                                                 &MoveDownSelectedButtonMask,
                                                                 &MoveLeftSelectedButtonMask,
                                                                 &MoveRightSelectedButtonMask,
                                                                 &SelectButtonMask,
                                                                 &ActivateButtonMask,
                                                                 &SelectButtonAndActivateMask,
                                                                 &AudioStreamNumberChangeMask,
                                                                 &reserved22,
                                                                 &indefinite23,
                                                                 &indefinite24,
                                                                 &indefinite25,
                                                                 &OBEnableDisableMask,
                                                                 &OBStreamNumberChangeMask,
                                                                 &indefinite28,
                                                                 &indefinite29,
                                                                 &indefinite30,
                                                                 &indefinite31,
                                                                 &reserved32,
                                                                 &indefinite33,
                                                                 &reserved34}) {
    Add(*mask);
  }
}

void BlkUOMaskTable::Initialize() {
  Block::Initialize();
  // Every named mask and every indefinite bit: all fields but the reserved ones.
  for (AAA::Element* child : Children()) static_cast<AAA::FieldBase*>(child)->SetValue(0);
}

void BlkUOMaskTable::Update() {
  Block::Update();
  for (AAA::FieldBase* reserved :
       {&reserved0, &reserved1, &reserved6, &reserved9, &reserved22, &reserved32, &reserved34}) {
    reserved->SetValue(0);
  }
}

// App info -----------------------------------------------------------------

void BlkAppInfoPlayList::Declare() {
  Add(Length);
  Add(reserved1);
  Add(One);
  Add(reserved2);
  Add(blkUOMaskTable);
  Add(PlayListRandomAccessFlag);
  Add(reserved3);
}

void BlkAppInfoPlayList::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkAppInfoPlayList::Update() {
  Block::Update();
  reserved1.SetValue(0);
  One.SetValue(1);
  reserved2.SetValue(0);
  PlayListRandomAccessFlag.SetValue(0);
  reserved3.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Stream entries and attributes --------------------------------------------

void BlkStreamEntry::Declare() {
  OnChange(Type, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamEntry&>(owner);
    AAA_VERIFY(self.Type, (self.Type == 1) || (self.Type == 2));
    self.Link();
  });
  Add(Length);
  Add(Type);
  if (Type == 1) {
    Add(RefToStreamPIDOfMainClip);
    Add(reservedMain);
  } else if (Type == 2) {
    Add(RefToSubPathID);
    Add(reservedSub1);
    Add(RefToStreamPIDOfSubClip);
    Add(reservedSub2);
  }
}

void BlkStreamEntry::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  Type.Read(reader);
  ReadChildrenFrom(*this, 2, reader);
  if (Type == 1) {
    // clang-format off: the rule's text is logged as written
    AAA_VERIFY(RefToStreamPIDOfMainClip,
               (RefToStreamPIDOfMainClip == 0x1011) || (RefToStreamPIDOfMainClip == 0x1100) ||
                   (RefToStreamPIDOfMainClip == 0x1101) || (RefToStreamPIDOfMainClip == 0x1102) ||
                   (RefToStreamPIDOfMainClip == 0x1103) || (RefToStreamPIDOfMainClip == 0x1200) ||
                   (RefToStreamPIDOfMainClip == 0x1201) || (RefToStreamPIDOfMainClip == 0x1400) ||
                   (RefToStreamPIDOfMainClip == 0x1401));
    // clang-format on
  }
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkStreamEntry::Initialize() {
  Block::Initialize();
  Type.SetValue(1);
}

void BlkStreamEntry::Update() {
  Block::Update();
  reservedMain.SetValue(0);
  reservedSub1.SetValue(0);
  reservedSub2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

void BlkStreamAttributes::Declare() {
  OnChange(StreamCodingType, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamAttributes&>(owner);
    AAA_VERIFY(self.StreamCodingType, (self.StreamCodingType == 0x1b) || (self.StreamCodingType == 0x80) ||
                                          (self.StreamCodingType == 0x81) || (self.StreamCodingType == 0x90) ||
                                          (self.StreamCodingType == 0x91));
    self.Link();
  });
  Add(Length);
  Add(StreamCodingType);
  switch (StreamCodingType) {
    case 0x1B:
      Add(VideoFormat);
      Add(FrameRate);
      Add(reservedVideo);
      break;
    case 0x80:
    case 0x81:
      Add(AudioPresentationType);
      Add(SamplingFrequency);
      Add(AudioLanguageCode);
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

void BlkStreamAttributes::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  StreamCodingType.Read(reader);
  ReadChildrenFrom(*this, 2, reader);
  if (StreamCodingType == 0x1B) {
    AAA_VERIFY(VideoFormat, (1 <= VideoFormat) && (VideoFormat <= 6));
    AAA_VERIFY(FrameRate, (FrameRate == 1) || (FrameRate == 2) || (FrameRate == 3) || (FrameRate == 4) ||
                              (FrameRate == 6) || (FrameRate == 7));
  } else if (StreamCodingType == 0x80 || StreamCodingType == 0x81) {
    AAA_VERIFY(AudioPresentationType,
               (AudioPresentationType == 1) || (AudioPresentationType == 3) || (AudioPresentationType == 6));
    AAA_VERIFY(SamplingFrequency, (SamplingFrequency == 1) || (SamplingFrequency == 4) || (SamplingFrequency == 5));
  }
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkStreamAttributes::Initialize() {
  Block::Initialize();
  for (AAA::FieldBase* code : {&AudioLanguageCode, &OBLanguageCode, &MBLanguageCode}) {
    code->SetBytes(Common::TextBytes("eng"));
  }
}

void BlkStreamAttributes::Update() {
  Block::Update();
  reservedVideo.SetValue(0);
  reservedOB.SetValue(0);
  reservedMB.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// STN table ----------------------------------------------------------------

namespace {

// Sizes the entries and the attributes of one kind of stream to its count.
template <class Self>
void SizeStreams(Self& self, const AAA::FieldBase& count, AAA::Array<BlkStreamEntry>& entries,
                 AAA::Array<BlkStreamAttributes>& attributes) {
  entries.Resize(count);
  attributes.Resize(count);
  self.Link();
}

}  // namespace

BlkSTNTable::BlkSTNTable() : Block("blkSTNTable") {
  for (AAA::FieldBase* count :
       {&NumberOfVideoStreamEntries, &NumberOfAudioStreamEntries, &NumberOfOBStreamEntries, &NumberOfMBStreamEntries}) {
    count->Fill(0);
  }
  Link();
}

void BlkSTNTable::Declare() {
  OnChange(NumberOfVideoStreamEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSTNTable&>(owner);
    AAA_VERIFY_EQUAL(self.NumberOfVideoStreamEntries, 1);
    SizeStreams(self, self.NumberOfVideoStreamEntries, self.blkStreamEntryVideoArray,
                self.blkVideoStreamAttributesArray);
  });
  OnChange(NumberOfAudioStreamEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSTNTable&>(owner);
    AAA_VERIFY(self.NumberOfAudioStreamEntries,
               (0 <= self.NumberOfAudioStreamEntries) && (self.NumberOfAudioStreamEntries <= 4));
    SizeStreams(self, self.NumberOfAudioStreamEntries, self.blkStreamEntryAudioArray,
                self.blkAudioStreamAttributesArray);
  });
  OnChange(NumberOfOBStreamEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSTNTable&>(owner);
    AAA_VERIFY(self.NumberOfOBStreamEntries,
               (0 <= self.NumberOfOBStreamEntries) && (self.NumberOfOBStreamEntries <= 2));
    SizeStreams(self, self.NumberOfOBStreamEntries, self.blkStreamEntryOBArray, self.blkOBStreamAttributesArray);
  });
  OnChange(NumberOfMBStreamEntries, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSTNTable&>(owner);
    AAA_VERIFY(self.NumberOfMBStreamEntries,
               (0 <= self.NumberOfMBStreamEntries) && (self.NumberOfMBStreamEntries <= 2));
    SizeStreams(self, self.NumberOfMBStreamEntries, self.blkStreamEntryMBArray, self.blkMBStreamAttributesArray);
  });
  Add(Length);
  Add(reserved1);
  Add(NumberOfVideoStreamEntries);
  Add(NumberOfAudioStreamEntries);
  Add(NumberOfOBStreamEntries);
  Add(NumberOfMBStreamEntries);
  Add(reserved2);
  Add(blkStreamEntryVideoArray);
  Add(blkVideoStreamAttributesArray);
  Add(blkStreamEntryAudioArray);
  Add(blkAudioStreamAttributesArray);
  Add(blkStreamEntryOBArray);
  Add(blkOBStreamAttributesArray);
  Add(blkStreamEntryMBArray);
  Add(blkMBStreamAttributesArray);
}

void BlkSTNTable::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved1.Read(reader);
  NumberOfVideoStreamEntries.Read(reader);
  NumberOfAudioStreamEntries.Read(reader);
  NumberOfOBStreamEntries.Read(reader);
  NumberOfMBStreamEntries.Read(reader);
  ReadChildrenFrom(*this, 6, reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkSTNTable::Update() {
  Block::Update();
  reserved1.SetValue(0);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Play items ---------------------------------------------------------------

void BlkPlayItem::Declare() {
  Add(Length);
  Add(ClipInformationFileName);
  Add(ClipCodecIdentifier);
  Add(reserved1);
  Add(ConnectionCondition);
  Add(RefToSTCID);
  Add(INTime);
  Add(OUTTime);
  Add(blkUOMaskTable);
  Add(PlayItemRandomAccessFlag);
  Add(reserved2);
  Add(StillMode);
  Add(StillTime);
  Add(blkSTNTable);
}

void BlkPlayItem::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(ClipCodecIdentifier, "M2TS");
  AAA_VERIFY(ConnectionCondition,
             (ConnectionCondition == 1) || (ConnectionCondition == 5) || (ConnectionCondition == 6));
  AAA_VERIFY(StillMode, (StillMode == 0x00) || (StillMode == 0x01) || (StillMode == 0x02));
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkPlayItem::Initialize() {
  Block::Initialize();
  ClipInformationFileName.SetBytes(Common::TextBytes("00000"));
  ConnectionCondition.SetValue(1);
  PlayItemRandomAccessFlag.SetValue(0);
  StillMode.SetValue(0);
  StillTime.SetValue(0);
}

void BlkPlayItem::Update() {
  Block::Update();
  ClipCodecIdentifier.SetBytes(Common::TextBytes("M2TS"));
  reserved1.SetValue(0);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Sub-paths ----------------------------------------------------------------

void BlkSubPlayItem::Declare() {
  Add(Length);
  Add(ClipInformationFileName);
  Add(ClipCodecIdentifier);
  Add(reserved1);
  Add(One);
  Add(reserved2);
  Add(RefToSTCID);
  Add(SubPlayItemINTime);
  Add(SubPlayItemOUTTime);
  Add(reserved3);
}

void BlkSubPlayItem::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY_EQUAL(One, 1);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkSubPlayItem::Initialize() {
  Block::Initialize();
  ClipInformationFileName.SetBytes(Common::TextBytes("00000"));
  RefToSTCID.SetValue(0);
  SubPlayItemINTime.SetValue(0);
  SubPlayItemOUTTime.SetValue(0);
}

void BlkSubPlayItem::Update() {
  Block::Update();
  ClipCodecIdentifier.SetBytes(Common::TextBytes("M2TS"));
  reserved1.SetValue(0);
  One.SetValue(1);
  reserved2.SetValue(0);
  reserved3.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

void BlkSubPath::Declare() {
  OnChange(NumberOfSubPlayItems, [](AAA::Block& owner) {
    auto& self = static_cast<BlkSubPath&>(owner);
    if (self.SubPathType == 3) {
      AAA_VERIFY(self.NumberOfSubPlayItems, (0 <= self.NumberOfSubPlayItems) && (self.NumberOfSubPlayItems <= 1));
    } else {
      AAA_VERIFY(self.NumberOfSubPlayItems, (0 <= self.NumberOfSubPlayItems) && (self.NumberOfSubPlayItems <= 255));
    }
    self.blkSubPlayItemArray.Resize(self.NumberOfSubPlayItems);
    self.Link();
  });
  Add(Length);
  Add(reserved1);
  Add(SubPathType);
  Add(reserved2);
  Add(NumberOfSubPlayItems);
  Add(blkSubPlayItemArray);
}

void BlkSubPath::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved1.Read(reader);
  SubPathType.Read(reader);
  reserved2.Read(reader);
  NumberOfSubPlayItems.Read(reader);
  blkSubPlayItemArray.Read(reader);
  AAA_VERIFY_EQUAL(SubPathType, 3);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkSubPath::Update() {
  Block::Update();
  reserved1.SetValue(0);
  SubPathType.SetValue(3);
  reserved2.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Play list ----------------------------------------------------------------

void BlkPlayList::Declare() {
  OnChange(NumberOfPlayItems, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPlayList&>(owner);
    AAA_VERIFY(self.NumberOfPlayItems, (1 <= self.NumberOfPlayItems) && (self.NumberOfPlayItems <= 999));
    self.blkPlayItemArray.Resize(self.NumberOfPlayItems);
    self.Link();
  });
  OnChange(NumberOfSubPaths, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPlayList&>(owner);
    AAA_VERIFY(self.NumberOfSubPaths, (0 <= self.NumberOfSubPaths) && (self.NumberOfSubPaths <= 255));
    self.blkSubPathArray.Resize(self.NumberOfSubPaths);
    self.Link();
  });
  Add(Length);
  Add(reserved);
  Add(NumberOfPlayItems);
  Add(NumberOfSubPaths);
  Add(blkPlayItemArray);
  Add(blkSubPathArray);
}

void BlkPlayList::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  reserved.Read(reader);
  NumberOfPlayItems.Read(reader);
  NumberOfSubPaths.Read(reader);
  blkPlayItemArray.Read(reader);
  blkSubPathArray.Read(reader);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkPlayList::Update() {
  Block::Update();
  reserved.SetValue(0);
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// Marks --------------------------------------------------------------------

void BlkPlayListMarkEntry::Declare() {
  Add(reserved);
  Add(MarkType);
  Add(RefToPlayItemID);
  Add(MarkTimeStamp);
  Add(EntryESPID);
  Add(Duration);
}

void BlkPlayListMarkEntry::Read(AAA::BitReader& reader) {
  Block::Read(reader);
  AAA_VERIFY(MarkType, (MarkType == 1) || (MarkType == 2));
  AAA_VERIFY_EQUAL(EntryESPID, 0xffff);
  AAA_VERIFY_EQUAL(Duration, 0U);
}

void BlkPlayListMarkEntry::Initialize() {
  Block::Initialize();
  MarkType.SetValue(1);
  RefToPlayItemID.SetValue(0);
  MarkTimeStamp.SetValue(0);
}

void BlkPlayListMarkEntry::Update() {
  Block::Update();
  reserved.SetValue(0);
  EntryESPID.SetValue(0xFFFF);
  Duration.SetValue(0);
}

void BlkPlayListMark::Declare() {
  OnChange(NumberOfPlayListMarks, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPlayListMark&>(owner);
    AAA_VERIFY(self.NumberOfPlayListMarks, (0 <= self.NumberOfPlayListMarks) && (self.NumberOfPlayListMarks <= 999));
    self.blkPlayListMarkArray.Resize(self.NumberOfPlayListMarks);
    self.Link();
  });
  Add(Length);
  Add(NumberOfPlayListMarks);
  Add(blkPlayListMarkArray);
}

void BlkPlayListMark::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  NumberOfPlayListMarks.Read(reader);
  blkPlayListMarkArray.Read(reader);
  // The first mark is always an entry mark.
  if (!blkPlayListMarkArray.Empty()) AAA_VERIFY_EQUAL(blkPlayListMarkArray[0].MarkType, 1);
  AAA_VERIFY_EQUAL(Length, AVCHD_BLOCK_LENGTH());
}

void BlkPlayListMark::Update() {
  Block::Update();
  Length.SetValue(AVCHD_BLOCK_LENGTH());
}

// The file -----------------------------------------------------------------

void BlkMoviePlayListFile::Declare() {
  Add(TypeIndicator);
  Add(TypeIndicator2);
  Add(PlayListStartAddress);
  Add(PlayListMarkStartAddress);
  Add(ExtensionDataStartAddress);
  Add(reserved);
  Add(blkAppInfoPlayList);
  Add(padding_word1);
  Add(blkPlayList);
  Add(padding_word2);
  Add(blkPlayListMark);
  Add(padding_word3);
  Add(blkExtensionData);
}

void BlkMoviePlayListFile::Read(AAA::BitReader& reader) {
  TypeIndicator.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator, "MPLS");
  TypeIndicator2.Read(reader);
  AAA_VERIFY_EQUAL(TypeIndicator2, "0100");
  PlayListStartAddress.Read(reader);
  AAA_VERIFY(PlayListStartAddress, PlayListStartAddress % 2 == 0);
  PlayListMarkStartAddress.Read(reader);
  AAA_VERIFY(PlayListMarkStartAddress, PlayListMarkStartAddress % 2 == 0);
  ExtensionDataStartAddress.Read(reader);
  AAA_VERIFY(ExtensionDataStartAddress, ExtensionDataStartAddress % 2 == 0);
  AAA_VERIFY(ExtensionDataStartAddress, ExtensionDataStartAddress != 0);
  reserved.Read(reader);
  blkAppInfoPlayList.Read(reader);
  const std::int64_t paddingLength1 = GapUpTo(reader, PlayListStartAddress);
  AAA_READ_PADDING(reader, padding_word1, paddingLength1);
  blkPlayList.Read(reader);
  const std::int64_t paddingLength2 = GapUpTo(reader, PlayListMarkStartAddress);
  AAA_READ_PADDING(reader, padding_word2, paddingLength2);
  blkPlayListMark.Read(reader);
  const std::int64_t paddingLength3 = GapUpTo(reader, ExtensionDataStartAddress);
  AAA_READ_PADDING(reader, padding_word3, paddingLength3);
  blkExtensionData.Read(reader);
}

void BlkMoviePlayListFile::Update() {
  Block::Update();
  TypeIndicator.SetBytes(Common::TextBytes("MPLS"));
  TypeIndicator2.SetBytes(Common::TextBytes("0100"));
  SetStartAddress(PlayListStartAddress, 0, blkPlayList);
  SetStartAddress(PlayListMarkStartAddress, 0, blkPlayListMark);
  SetStartAddress(ExtensionDataStartAddress, 0, blkExtensionData);
  reserved.SetValue(0);
}

}  // namespace AVCHD::MoviePlayList
