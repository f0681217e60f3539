#pragma once

// The movie playlist file: the pieces of clips that make up one recording
// (play items with their stream tables, sub-paths) and its chapter marks,
// followed by the "PLEX" extension data.

#include <string>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_MoviePlaylistExt.h"
#include "avchdlib/AVCHD_StreamCoding.h"

namespace AVCHD::MoviePlayList {

// The user operations a player is told to refuse, one bit each.
class BlkUOMaskTable : public AAA::Block {
 public:
  AAA::Field::Reserved reserved0{1};
  AAA::Field::Reserved reserved1{1};
  AAA::Field::BE ChapterSearchMask{"ChapterSearchMask", 1};
  AAA::Field::BE TimeSearchMask{"TimeSearchMask", 1};
  AAA::Field::BE SkipToNextPointMask{"SkipToNextPointMask", 1};
  AAA::Field::BE SkipBackToPreviousPointMask{"SkipBackToPreviousPointMask", 1};
  AAA::Field::Reserved reserved6{1};
  AAA::Field::BE StopMask{"StopMask", 1};
  AAA::Field::BE PauseOnMask{"PauseOnMask", 1};
  AAA::Field::Reserved reserved9{1};
  AAA::Field::BE StillOffMask{"StillOffMask", 1};
  AAA::Field::BE ForwardPlayMask{"ForwardPlayMask", 1};
  AAA::Field::BE BackwardPlayMask{"BackwardPlayMask", 1};
  AAA::Field::BE ResumeMask{"ResumeMask", 1};
  AAA::Field::BE MoveUpSelectedButtonMask{"MoveUpSelectedButtonMask", 1};
  AAA::Field::BE MoveDownSelectedButtonMask{"MoveDownSelectedButtonMask", 1};
  AAA::Field::BE MoveLeftSelectedButtonMask{"MoveLeftSelectedButtonMask", 1};
  AAA::Field::BE MoveRightSelectedButtonMask{"MoveRightSelectedButtonMask", 1};
  AAA::Field::BE SelectButtonMask{"SelectButtonMask", 1};
  AAA::Field::BE ActivateButtonMask{"ActivateButtonMask", 1};
  AAA::Field::BE SelectButtonAndActivateMask{"SelectButtonAndActivateMask", 1};
  AAA::Field::BE AudioStreamNumberChangeMask{"AudioStreamNumberChangeMask", 1};
  AAA::Field::Reserved reserved22{1};
  AAA::Field::BE indefinite23{"indefinite", 1};
  AAA::Field::BE indefinite24{"indefinite", 1};
  AAA::Field::BE indefinite25{"indefinite", 1};
  AAA::Field::BE OBEnableDisableMask{"OBEnableDisableMask", 1};
  AAA::Field::BE OBStreamNumberChangeMask{"OBStreamNumberChangeMask", 1};
  AAA::Field::BE indefinite28{"indefinite", 1};
  AAA::Field::BE indefinite29{"indefinite", 1};
  AAA::Field::BE indefinite30{"indefinite", 1};
  AAA::Field::BE indefinite31{"indefinite", 1};
  AAA::Field::Reserved reserved32{1};
  AAA::Field::BE indefinite33{"indefinite", 1};
  AAA::Field::Reserved reserved34{30};

  BlkUOMaskTable() : Block("blkUOMaskTable") { Link(); }
  // Every mask and every indefinite bit starts cleared: no operation refused.
  void Initialize() override;

 protected:
  void Declare() override;
};

class BlkAppInfoPlayList : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved1{15};
  AAA::Field::BE One{"One", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved reserved2{16};
  BlkUOMaskTable blkUOMaskTable;
  AAA::Field::BE PlayListRandomAccessFlag{"PlayListRandomAccessFlag", 1};
  AAA::Field::Reserved reserved3{15};

  BlkAppInfoPlayList() : Block("blkAppInfoPlayList") { Link(); }

 protected:
  void Declare() override {
    Add(Length, reserved1, One, reserved2, blkUOMaskTable, PlayListRandomAccessFlag, reserved3);
  }
  void Derive() override;
};

// Type 1 names a stream of the play item's clip, type 2 one of a sub-path.
class BlkStreamEntry : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 8, AVCHD_LENGTH()};
  AVCHD::Field::StreamEntryType Type{"Type", 8, AAA_RULES(AAA_INITIAL(1))};
  AAA::Field::BE RefToStreamPIDOfMainClip{
      "RefToStreamPIDOfMainClip", 16,
      AAA_RULES(AAA_ALLOWED(RefToStreamPIDOfMainClip,
                            (RefToStreamPIDOfMainClip == 0x1011) || (RefToStreamPIDOfMainClip == 0x1100) ||
                                (RefToStreamPIDOfMainClip == 0x1101) || (RefToStreamPIDOfMainClip == 0x1102) ||
                                (RefToStreamPIDOfMainClip == 0x1103) || (RefToStreamPIDOfMainClip == 0x1200) ||
                                (RefToStreamPIDOfMainClip == 0x1201) || (RefToStreamPIDOfMainClip == 0x1400) ||
                                (RefToStreamPIDOfMainClip == 0x1401)))};
  AAA::Field::Reserved reservedMain{48};
  AAA::Field::BE RefToSubPathID{"RefToSubPathID", 8};
  AAA::Field::Reserved reservedSub1{8};
  AAA::Field::BE RefToStreamPIDOfSubClip{"RefToStreamPIDOfSubClip", 16};
  AAA::Field::Reserved reservedSub2{32};

  BlkStreamEntry() : Block("blkStreamEntry") { Link(); }

 protected:
  void Declare() override;
};

// The attributes of one stream, with the playlist's own members of the video
// and bitmap kinds.
class BlkStreamAttributes : public Common::BlkStreamCoding {
 public:
  // Video (0x1B)
  AVCHD::Field::FrameRate FrameRate{
      "FrameRate", 4,
      AAA_RULES(AAA_ALLOWED(FrameRate, (FrameRate == 1) || (FrameRate == 2) || (FrameRate == 3) || (FrameRate == 4) ||
                                           (FrameRate == 6) || (FrameRate == 7)))};
  AAA::Field::Reserved reservedVideo{24};
  // Overlay bitmap (0x90)
  AAA::Field::Reserved reservedOB{8};
  // Menu bitmap (0x91)
  AAA::Field::Reserved reservedMB{8};

  BlkStreamAttributes() : BlkStreamCoding("blkStreamAttributes") { Link(); }

 protected:
  void Declare() override;
};

// Each count sizes both the entries and the attributes of its kind; the
// file holds all entries of a kind, then all their attributes.
class BlkSTNTable : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved1{16};
  AAA::Field::BE NumberOfVideoStreamEntries{"NumberOfVideoStreamEntries", 8};
  AAA::Field::BE NumberOfAudioStreamEntries{"NumberOfAudioStreamEntries", 8};
  AAA::Field::BE NumberOfOBStreamEntries{"NumberOfOBStreamEntries", 8};
  AAA::Field::BE NumberOfMBStreamEntries{"NumberOfMBStreamEntries", 8};
  AAA::Field::Reserved reserved2{64};
  AAA::Array<BlkStreamEntry> blkStreamEntryVideoArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkVideoStreamAttributesArray{"blkStreamAttributes"};
  AAA::Array<BlkStreamEntry> blkStreamEntryAudioArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkAudioStreamAttributesArray{"blkStreamAttributes"};
  AAA::Array<BlkStreamEntry> blkStreamEntryOBArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkOBStreamAttributesArray{"blkStreamAttributes"};
  AAA::Array<BlkStreamEntry> blkStreamEntryMBArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkMBStreamAttributesArray{"blkStreamAttributes"};

  BlkSTNTable();

 protected:
  void Declare() override;
};

class BlkPlayItem : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16, AVCHD_LENGTH()};
  AAA::Field::Str ClipInformationFileName{"ClipInformationFileName", 40, AAA_RULES(AAA_INITIAL("00000"))};
  AAA::Field::Str ClipCodecIdentifier{"ClipCodecIdentifier", 32, AAA_RULES(AAA_FIXED("M2TS"))};
  AAA::Field::Reserved reserved1{12};
  AAA::Field::BE ConnectionCondition{
      "ConnectionCondition", 4,
      AAA_RULES(AAA_ALLOWED(ConnectionCondition,
                            (ConnectionCondition == 1) || (ConnectionCondition == 5) || (ConnectionCondition == 6)),
                AAA_INITIAL(1))};
  AAA::Field::BE RefToSTCID{"RefToSTCID", 8};
  AAA::Field::BE INTime{"INTime", 32};
  AAA::Field::BE OUTTime{"OUTTime", 32};
  BlkUOMaskTable blkUOMaskTable;
  AAA::Field::BE PlayItemRandomAccessFlag{"PlayItemRandomAccessFlag", 1, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::Reserved reserved2{7};
  AVCHD::Field::StillMode StillMode{
      "StillMode", 8,
      AAA_RULES(AAA_ALLOWED(StillMode, (StillMode == 0x00) || (StillMode == 0x01) || (StillMode == 0x02)),
                AAA_INITIAL(0))};
  AAA::Field::BE StillTime{"StillTime", 16, AAA_RULES(AAA_INITIAL(0))};
  BlkSTNTable blkSTNTable;

  BlkPlayItem() : Block("blkPlayItem") { Link(); }

 protected:
  void Declare() override {
    Add(Length, ClipInformationFileName, ClipCodecIdentifier, reserved1, ConnectionCondition, RefToSTCID, INTime,
        OUTTime, blkUOMaskTable, PlayItemRandomAccessFlag, reserved2, StillMode, StillTime, blkSTNTable);
  }
};

class BlkSubPlayItem : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16, AVCHD_LENGTH()};
  AAA::Field::Str ClipInformationFileName{"ClipInformationFileName", 40, AAA_RULES(AAA_INITIAL("00000"))};
  AAA::Field::Str ClipCodecIdentifier{"ClipCodecIdentifier", 32};
  AAA::Field::Reserved reserved1{30};
  AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved reserved2{1};
  AAA::Field::BE RefToSTCID{"RefToSTCID", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE SubPlayItemINTime{"SubPlayItemINTime", 32, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE SubPlayItemOUTTime{"SubPlayItemOUTTime", 32, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::Reserved reserved3{48};

  BlkSubPlayItem() : Block("blkSubPlayItem") { Link(); }

 protected:
  void Declare() override {
    Add(Length, ClipInformationFileName, ClipCodecIdentifier, reserved1, One, reserved2, RefToSTCID, SubPlayItemINTime,
        SubPlayItemOUTTime, reserved3);
  }
  void Derive() override;
};

class BlkSubPath : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved1{8};
  AVCHD::Field::SubPathType SubPathType{"SubPathType", 8, AAA_RULES(AAA_FIXED(3))};
  AAA::Field::Reserved reserved2{24};
  AAA::Field::BE NumberOfSubPlayItems{"NumberOfSubPlayItems", 8};
  AAA::Array<BlkSubPlayItem> blkSubPlayItemArray{"blkSubPlayItem"};

  // A new sub-path holds one sub-play item.
  BlkSubPath() : Block("blkSubPath") {
    NumberOfSubPlayItems.Fill(1);
    blkSubPlayItemArray.Resize(1);
    Link();
  }

 protected:
  void Declare() override;
};

class BlkPlayList : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::Reserved reserved{16};
  AAA::Field::BE NumberOfPlayItems{"NumberOfPlayItems", 16};
  AAA::Field::BE NumberOfSubPaths{"NumberOfSubPaths", 16};
  AAA::Array<BlkPlayItem> blkPlayItemArray{"blkPlayItem"};
  AAA::Array<BlkSubPath> blkSubPathArray{"blkSubPath"};

  BlkPlayList() : Block("blkPlayList") {
    NumberOfPlayItems.Fill(0);
    NumberOfSubPaths.Fill(0);
    Link();
  }

 protected:
  void Declare() override;
};

class BlkPlayListMarkEntry : public AAA::Block {
 public:
  AAA::Field::Reserved reserved{8};
  AVCHD::Field::MarkType MarkType{"MarkType", 8,
                                  AAA_RULES(AAA_ALLOWED(MarkType, (MarkType == 1) || (MarkType == 2)), AAA_INITIAL(1))};
  AAA::Field::BE RefToPlayItemID{"RefToPlayItemID", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE MarkTimeStamp{"MarkTimeStamp", 32, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE EntryESPID{"EntryESPID", 16, AAA_RULES(AAA_FIXED(0xffff))};
  AAA::Field::BE Duration{"Duration", 32, AAA_RULES(AAA_FIXED(0U))};

  BlkPlayListMarkEntry() : Block("PlayListMark") { Link(); }

 protected:
  void Declare() override { Add(reserved, MarkType, RefToPlayItemID, MarkTimeStamp, EntryESPID, Duration); }
};

class BlkPlayListMark : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE NumberOfPlayListMarks{"NumberOfPlayListMarks", 16};
  AAA::Array<BlkPlayListMarkEntry> blkPlayListMarkArray{"PlayListMark"};

  BlkPlayListMark() : Block("blkPlayListMark") {
    NumberOfPlayListMarks.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;
};

class BlkMoviePlayListFile : public AAA::FileBlock {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("MPLS"))};
  AAA::Field::Str TypeIndicator2{"TypeIndicator2", 32, AAA_RULES(AAA_FIXED("0100"))};
  AVCHD_START_ADDRESS(PlayListStartAddress);
  AVCHD_START_ADDRESS(PlayListMarkStartAddress);
  AVCHD_EXTENSION_DATA_START_ADDRESS();
  AAA::Field::Reserved reserved{160};
  BlkAppInfoPlayList blkAppInfoPlayList;
  AAA::Field::Padding padding_word1{"padding_word"};
  BlkPlayList blkPlayList;
  AAA::Field::Padding padding_word2{"padding_word"};
  BlkPlayListMark blkPlayListMark;
  AAA::Field::Padding padding_word3{"padding_word"};
  Common::BlkExtensionData<MoviePlayListExt::BlkPlayListExtensionData> blkExtensionData;

  // Kept beside the file for the restore steps, never read or written.
  bool IndexFlag = false;    // a title of the index table names this playlist
  bool CreatedHere = false;  // built by this run, not read from the card
  std::string BaseName;      // the five digits of the file name, "00001"
  bool SkipMark = false;     // left out of every lookup, decision and commit

  BlkMoviePlayListFile() : FileBlock("Movie PlayList file") { Link(); }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override {
    Add(TypeIndicator, TypeIndicator2, PlayListStartAddress, PlayListMarkStartAddress, ExtensionDataStartAddress,
        reserved, blkAppInfoPlayList, padding_word1, blkPlayList, padding_word2, blkPlayListMark, padding_word3,
        blkExtensionData);
  }
  void Derive() override;
};

}  // namespace AVCHD::MoviePlayList
