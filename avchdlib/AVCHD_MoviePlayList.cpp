#include "avchdlib/AVCHD_MoviePlayList.h"

namespace AVCHD::MoviePlayList {
namespace {

std::int64_t GapUpTo(const AAA::BitReader& reader, std::uint32_t address) {
  return Common::BitsUpTo(reader, address * 8ll);
}

}  // namespace

// UO mask table ------------------------------------------------------------

void BlkUOMaskTable::Declare() {
  Add(reserved0, reserved1, ChapterSearchMask, TimeSearchMask, SkipToNextPointMask, SkipBackToPreviousPointMask,
      reserved6, StopMask, PauseOnMask, reserved9, StillOffMask, ForwardPlayMask, BackwardPlayMask, ResumeMask,
      MoveUpSelectedButtonMask, MoveDownSelectedButtonMask, MoveLeftSelectedButtonMask, MoveRightSelectedButtonMask,
      SelectButtonMask, ActivateButtonMask, SelectButtonAndActivateMask, AudioStreamNumberChangeMask, reserved22,
      indefinite23, indefinite24, indefinite25, OBEnableDisableMask, OBStreamNumberChangeMask, indefinite28,
      indefinite29, indefinite30, indefinite31, reserved32, indefinite33, reserved34);
}

void BlkUOMaskTable::Initialize() {
  for (AAA::Element* child : Children()) static_cast<AAA::FieldBase*>(child)->SetValue(0);
}

// App info -----------------------------------------------------------------

// Files written here offer no random access to the playlist, whatever the
// card held.
void BlkAppInfoPlayList::Derive() { PlayListRandomAccessFlag.SetValue(0); }

// Stream entries and attributes --------------------------------------------

void BlkStreamEntry::Declare() {
  OnChange(Type, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamEntry&>(owner);
    AAA_VERIFY(self.Type, (self.Type == 1) || (self.Type == 2));
    self.Link();
  });
  Add(Length, Type);
  if (Type == 1) {
    Add(RefToStreamPIDOfMainClip, reservedMain);
  } else if (Type == 2) {
    Add(RefToSubPathID, reservedSub1, RefToStreamPIDOfSubClip, reservedSub2);
  }
}

void BlkStreamAttributes::Declare() {
  OnChange(StreamCodingType, [](AAA::Block& owner) {
    auto& self = static_cast<BlkStreamAttributes&>(owner);
    AAA_VERIFY(self.StreamCodingType, (self.StreamCodingType == 0x1b) || (self.StreamCodingType == 0x80) ||
                                          (self.StreamCodingType == 0x81) || (self.StreamCodingType == 0x90) ||
                                          (self.StreamCodingType == 0x91));
    self.Link();
  });
  DeclareCoding({&FrameRate, &reservedVideo}, {}, {&reservedOB}, {&reservedMB});
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
  Add(Length, reserved1, NumberOfVideoStreamEntries, NumberOfAudioStreamEntries, NumberOfOBStreamEntries,
      NumberOfMBStreamEntries, reserved2, blkStreamEntryVideoArray, blkVideoStreamAttributesArray,
      blkStreamEntryAudioArray, blkAudioStreamAttributesArray, blkStreamEntryOBArray, blkOBStreamAttributesArray,
      blkStreamEntryMBArray, blkMBStreamAttributesArray);
}

// Sub-paths ----------------------------------------------------------------

// The codec is written as for a play item; a sub-play item read is not held
// to it.
void BlkSubPlayItem::Derive() { ClipCodecIdentifier.SetBytes(Common::TextBytes("M2TS")); }

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
  Add(Length, reserved1, SubPathType, reserved2, NumberOfSubPlayItems, blkSubPlayItemArray);
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
  Add(Length, reserved, NumberOfPlayItems, NumberOfSubPaths, blkPlayItemArray, blkSubPathArray);
}

// Marks --------------------------------------------------------------------

void BlkPlayListMark::Declare() {
  OnChange(NumberOfPlayListMarks, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPlayListMark&>(owner);
    AAA_VERIFY(self.NumberOfPlayListMarks, (0 <= self.NumberOfPlayListMarks) && (self.NumberOfPlayListMarks <= 999));
    self.blkPlayListMarkArray.Resize(self.NumberOfPlayListMarks);
    self.Link();
  });
  Add(Length, NumberOfPlayListMarks, blkPlayListMarkArray);
}

void BlkPlayListMark::Read(AAA::BitReader& reader) {
  Length.Read(reader);
  NumberOfPlayListMarks.Read(reader);
  blkPlayListMarkArray.Read(reader);
  // The first mark is always an entry mark.
  if (!blkPlayListMarkArray.Empty()) AAA_VERIFY_EQUAL(blkPlayListMarkArray[0].MarkType, 1);
  CheckLengths();
}

// The file -----------------------------------------------------------------

void BlkMoviePlayListFile::Read(AAA::BitReader& reader) {
  for (AAA::Element* header : std::initializer_list<AAA::Element*>{
           &TypeIndicator, &TypeIndicator2, &PlayListStartAddress, &PlayListMarkStartAddress,
           &ExtensionDataStartAddress, &reserved, &blkAppInfoPlayList}) {
    header->Read(reader);
  }
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

void BlkMoviePlayListFile::Derive() {
  SetStartAddress(PlayListStartAddress, 0, blkPlayList);
  SetStartAddress(PlayListMarkStartAddress, 0, blkPlayListMark);
  SetStartAddress(ExtensionDataStartAddress, 0, blkExtensionData);
}

}  // namespace AVCHD::MoviePlayList
