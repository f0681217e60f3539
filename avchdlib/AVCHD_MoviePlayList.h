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

namespace AVCHD::MoviePlayList {

// The user operations a player is told to refuse, one bit each.
class BlkUOMaskTable : public AAA::Block {
 public:
  AAA::Field::BE reserved0{"reserved", 1};
  AAA::Field::BE reserved1{"reserved", 1};
  AAA::Field::BE ChapterSearchMask{"ChapterSearchMask", 1};
  AAA::Field::BE TimeSearchMask{"TimeSearchMask", 1};
  AAA::Field::BE SkipToNextPointMask{"SkipToNextPointMask", 1};
  AAA::Field::BE SkipBackToPreviousPointMask{"SkipBackToPreviousPointMask", 1};
  AAA::Field::BE reserved6{"reserved", 1};
  AAA::Field::BE StopMask{"StopMask", 1};
  AAA::Field::BE PauseOnMask{"PauseOnMask", 1};
  AAA::Field::BE reserved9{"reserved", 1};
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
  AAA::Field::BE reserved22{"reserved", 1};
  AAA::Field::BE indefinite23{"indefinite", 1};
  AAA::Field::BE indefinite24{"indefinite", 1};
  AAA::Field::BE indefinite25{"indefinite", 1};
  AAA::Field::BE OBEnableDisableMask{"OBEnableDisableMask", 1};
  AAA::Field::BE OBStreamNumberChangeMask{"OBStreamNumberChangeMask", 1};
  AAA::Field::BE indefinite28{"indefinite", 1};
  AAA::Field::BE indefinite29{"indefinite", 1};
  AAA::Field::BE indefinite30{"indefinite", 1};
  AAA::Field::BE indefinite31{"indefinite", 1};
  AAA::Field::BE reserved32{"reserved", 1};
  AAA::Field::BE indefinite33{"indefinite", 1};
  AAA::Field::BE reserved34{"reserved", 30};

  BlkUOMaskTable() : Block("blkUOMaskTable") { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkAppInfoPlayList : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE reserved1{"reserved", 15};
  AAA::Field::BE One{"One", 1};
  AAA::Field::BE reserved2{"reserved", 16};
  BlkUOMaskTable blkUOMaskTable;
  AAA::Field::BE PlayListRandomAccessFlag{"PlayListRandomAccessFlag", 1};
  AAA::Field::BE reserved3{"reserved", 15};

  BlkAppInfoPlayList() : Block("blkAppInfoPlayList") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

// Type 1 names a stream of the play item's clip, type 2 one of a sub-path.
class BlkStreamEntry : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 8};
  AVCHD::Field::StreamEntryType Type{"Type", 8};
  AAA::Field::BE RefToStreamPIDOfMainClip{"RefToStreamPIDOfMainClip", 16};
  AAA::Field::BE reservedMain{"reserved", 48};
  AAA::Field::BE RefToSubPathID{"RefToSubPathID", 8};
  AAA::Field::BE reservedSub1{"reserved", 8};
  AAA::Field::BE RefToStreamPIDOfSubClip{"RefToStreamPIDOfSubClip", 16};
  AAA::Field::BE reservedSub2{"reserved", 32};

  BlkStreamEntry() : Block("blkStreamEntry") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// The fields after `StreamCodingType` follow the coding type.
class BlkStreamAttributes : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 8};
  AVCHD::Field::StreamCodingType StreamCodingType;
  // Video (0x1B)
  AVCHD::Field::VideoFormat VideoFormat{"VideoFormat", 4};
  AVCHD::Field::FrameRate FrameRate{"FrameRate", 4};
  AAA::Field::BE reservedVideo{"reserved", 24};
  // Audio (0x80, 0x81)
  AVCHD::Field::AudioPresentationType AudioPresentationType{"AudioPresentationType", 4};
  AVCHD::Field::SamplingFrequency SamplingFrequency{"SamplingFrequency", 4};
  AAA::Field::Str AudioLanguageCode{"AudioLanguageCode", 24};
  // Overlay bitmap (0x90)
  AAA::Field::Str OBLanguageCode{"OBLanguageCode", 24};
  AAA::Field::BE reservedOB{"reserved", 8};
  // Menu bitmap (0x91)
  AAA::Field::Str MBLanguageCode{"MBLanguageCode", 24};
  AAA::Field::BE reservedMB{"reserved", 8};

  BlkStreamAttributes() : Block("blkStreamAttributes") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// Each count sizes both the entries and the attributes of its kind; the
// file holds all entries of a kind, then all their attributes.
class BlkSTNTable : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::BE reserved1{"reserved", 16};
  AAA::Field::BE NumberOfVideoStreamEntries{"NumberOfVideoStreamEntries", 8};
  AAA::Field::BE NumberOfAudioStreamEntries{"NumberOfAudioStreamEntries", 8};
  AAA::Field::BE NumberOfOBStreamEntries{"NumberOfOBStreamEntries", 8};
  AAA::Field::BE NumberOfMBStreamEntries{"NumberOfMBStreamEntries", 8};
  AAA::Field::BE reserved2{"reserved", 64};
  AAA::Array<BlkStreamEntry> blkStreamEntryVideoArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkVideoStreamAttributesArray{"blkStreamAttributes"};
  AAA::Array<BlkStreamEntry> blkStreamEntryAudioArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkAudioStreamAttributesArray{"blkStreamAttributes"};
  AAA::Array<BlkStreamEntry> blkStreamEntryOBArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkOBStreamAttributesArray{"blkStreamAttributes"};
  AAA::Array<BlkStreamEntry> blkStreamEntryMBArray{"blkStreamEntry"};
  AAA::Array<BlkStreamAttributes> blkMBStreamAttributesArray{"blkStreamAttributes"};

  BlkSTNTable();
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayItem : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::Str ClipInformationFileName{"ClipInformationFileName", 40};
  AAA::Field::Str ClipCodecIdentifier{"ClipCodecIdentifier", 32};
  AAA::Field::BE reserved1{"reserved", 12};
  AAA::Field::BE ConnectionCondition{"ConnectionCondition", 4};
  AAA::Field::BE RefToSTCID{"RefToSTCID", 8};
  AAA::Field::BE INTime{"INTime", 32};
  AAA::Field::BE OUTTime{"OUTTime", 32};
  BlkUOMaskTable blkUOMaskTable;
  AAA::Field::BE PlayItemRandomAccessFlag{"PlayItemRandomAccessFlag", 1};
  AAA::Field::BE reserved2{"reserved", 7};
  AVCHD::Field::StillMode StillMode{"StillMode", 8};
  AAA::Field::BE StillTime{"StillTime", 16};
  BlkSTNTable blkSTNTable;

  BlkPlayItem() : Block("blkPlayItem") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkSubPlayItem : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::Str ClipInformationFileName{"ClipInformationFileName", 40};
  AAA::Field::Str ClipCodecIdentifier{"ClipCodecIdentifier", 32};
  AAA::Field::BE reserved1{"reserved", 30};
  AAA::Field::BE One{"'1'", 1};
  AAA::Field::BE reserved2{"reserved", 1};
  AAA::Field::BE RefToSTCID{"RefToSTCID", 8};
  AAA::Field::BE SubPlayItemINTime{"SubPlayItemINTime", 32};
  AAA::Field::BE SubPlayItemOUTTime{"SubPlayItemOUTTime", 32};
  AAA::Field::BE reserved3{"reserved", 48};

  BlkSubPlayItem() : Block("blkSubPlayItem") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkSubPath : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE reserved1{"reserved", 8};
  AVCHD::Field::SubPathType SubPathType{"SubPathType", 8};
  AAA::Field::BE reserved2{"reserved", 24};
  AAA::Field::BE NumberOfSubPlayItems{"NumberOfSubPlayItems", 8};
  AAA::Array<BlkSubPlayItem> blkSubPlayItemArray{"blkSubPlayItem"};

  // A new sub-path holds one sub-play item.
  BlkSubPath() : Block("blkSubPath") {
    NumberOfSubPlayItems.Fill(1);
    blkSubPlayItemArray.Resize(1);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayList : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE reserved{"reserved", 16};
  AAA::Field::BE NumberOfPlayItems{"NumberOfPlayItems", 16};
  AAA::Field::BE NumberOfSubPaths{"NumberOfSubPaths", 16};
  AAA::Array<BlkPlayItem> blkPlayItemArray{"blkPlayItem"};
  AAA::Array<BlkSubPath> blkSubPathArray{"blkSubPath"};

  BlkPlayList() : Block("blkPlayList") {
    NumberOfPlayItems.Fill(0);
    NumberOfSubPaths.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayListMarkEntry : public AAA::Block {
 public:
  AAA::Field::BE reserved{"reserved", 8};
  AVCHD::Field::MarkType MarkType{"MarkType", 8};
  AAA::Field::BE RefToPlayItemID{"RefToPlayItemID", 16};
  AAA::Field::BE MarkTimeStamp{"MarkTimeStamp", 32};
  AAA::Field::BE EntryESPID{"EntryESPID", 16};
  AAA::Field::BE Duration{"Duration", 32};

  BlkPlayListMarkEntry() : Block("PlayListMark") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayListMark : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE NumberOfPlayListMarks{"NumberOfPlayListMarks", 16};
  AAA::Array<BlkPlayListMarkEntry> blkPlayListMarkArray{"PlayListMark"};

  BlkPlayListMark() : Block("blkPlayListMark") {
    NumberOfPlayListMarks.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkMoviePlayListFile : public AAA::FileBlock {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32};
  AAA::Field::Str TypeIndicator2{"TypeIndicator2", 32};
  AAA::Field::BE PlayListStartAddress{"PlayListStartAddress", 32};
  AAA::Field::BE PlayListMarkStartAddress{"PlayListMarkStartAddress", 32};
  AAA::Field::BE ExtensionDataStartAddress{"ExtensionDataStartAddress", 32};
  AAA::Field::BE reserved{"reserved", 160};
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
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::MoviePlayList
