#pragma once

// The extension of the index table ("IDEX"): card-level user interface data,
// the playlists of every title and the optional professional metadata.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_IndexTablePro.h"

namespace AVCHD::IndexTableExt {

// Extra data after the user interface data; none is defined.
using Common::BlkAdditionalData;

class BlkUIAppInfoAVCHD : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  AAA::Field::BE MakerPrivateArea{"MakerPrivateArea", 256};
  AAA::Field::BE reserved{"reserved", 12};
  // Which television systems the recordings on the card belong to.
  AAA::Field::BE Is60{"Is60", 1};
  AAA::Field::BE Is50{"Is50", 1};
  AAA::Field::BE Is24{"Is24", 1};
  AAA::Field::BE AVCHDWriteProtectFlag{"AVCHDWriteProtectFlag", 1};
  AAA::Field::BE RefToMenuThumbnailIndex{"RefToMenuThumbnailIndex", 16};
  AVCHD::Field::TimeZone blkTimeZone{"blkTimeZone"};
  AVCHD::Field::TimeAndDate RecordTimeAndDate{"RecordTimeAndDate"};
  AAA::Field::BE Reserved2{"reserved", 8};
  AVCHD::Field::CharacterSet AVCHDCharacterSet{"AVCHDCharacterSet"};
  AAA::Field::BE AVCHDNameLength{"AVCHDNameLength", 8};
  AAA::Field::BE AVCHDName{"AVCHDName", 2040};
  BlkAdditionalData AdditionalData;

  BlkUIAppInfoAVCHD() : Block("blkUIAppInfoAVCHD") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayList : public AAA::Block {
 public:
  AAA::Field::Str PlayListFileName{"PlayListFileName", 40};
  AAA::Field::BE reserved{"reserved", 8};

  BlkPlayList() : Block("PlayList") { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// The playlists of the first playback or of the menu title.
class BlkTitlePlayLists : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE NumberOfPlayLists{"NumberOfPlayLists", 16};
  AAA::Array<BlkPlayList> PlayListArray{"PlayList"};

  explicit BlkTitlePlayLists(const char* name) : Block(name) { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkMovieTitlePlayListPair : public AAA::Block {
 public:
  AAA::Field::Str PlayListFileName{"PlayListFileName", 40};
  AAA::Field::BE reserved{"reserved", 6};
  AVCHD::Field::PlayListAttribute PlayListAttribute{"PlayListAttribute", 2};
  AAA::Field::BE Reserved2{"reserved", 16};
  AAA::Field::BE RefToTitleId{"RefToTitleId", 16};

  BlkMovieTitlePlayListPair() : Block("blkMovieTitlePlayListPair") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkTableOfPlayLists : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  BlkTitlePlayLists blkFirstPlaybackTitlePlayLists{"blkFirstPlaybackTitlePlayLists"};
  BlkTitlePlayLists blkMenuTitlePlayLists{"blkMenuTitlePlayLists"};
  AAA::Field::BE NumberOfMovieTitlePlayListPair{"NumberOfMovieTitlePlayListPair", 16};
  AAA::Array<BlkMovieTitlePlayListPair> blkMovieTitlePlayListPairArray{"blkMovieTitlePlayListPair"};

  BlkTableOfPlayLists() : Block("blkTableOfPlayLists") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// Its start addresses count from its own first byte.
class BlkIndexExtensionData : public AAA::Block {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32};
  AAA::Field::BE reserved{"reserved", 32};
  AAA::Field::BE TableOfPlayListsStartAddress{"TableOfPlayListsStartAddress", 32};
  // 0: no makers private data.
  AAA::Field::BE MakersPrivateDataStartAddress{"MakersPrivateDataStartAddress", 32};
  AAA::Field::BE Reserved2{"reserved", 192};
  BlkUIAppInfoAVCHD blkUIAppInfoAVCHD;
  AAA::Field::Padding padding_word1{"padding_word1"};
  BlkTableOfPlayLists blkTableOfPlayLists;
  AAA::Field::Padding padding_word2{"padding_word2"};
  Common::BlkMakersPrivateData<IndexTablePro::BlkIndexPrivateDataBlock> blkMakersPrivateData;

  BlkIndexExtensionData() : Block("blkIndexExtensionData") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::IndexTableExt
