#pragma once

// The extension of the index table ("IDEX"): card-level user interface data,
// the playlists of every title and the optional professional metadata.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_IndexTablePro.h"
#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::IndexTableExt {

// Extra data after the user interface data; none is defined.
using Common::BlkAdditionalData;

class BlkUIAppInfoAVCHD : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  AAA::Field::BE MakerPrivateArea{"MakerPrivateArea", 256, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::Reserved reserved{12};
  // Which television systems the recordings on the card belong to. A card
  // needs one to be valid: a new one has the 59.94 Hz system of the title
  // extension's new entries.
  AAA::Field::BE Is60{"Is60", 1, AAA_RULES(AAA_INITIAL(1))};
  AAA::Field::BE Is50{"Is50", 1, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE Is24{"Is24", 1, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE AVCHDWriteProtectFlag{"AVCHDWriteProtectFlag", 1, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE RefToMenuThumbnailIndex{"RefToMenuThumbnailIndex", 16, AAA_RULES(AAA_INITIAL(0xFFFF))};
  AVCHD::Field::TimeZone blkTimeZone{"blkTimeZone"};
  AVCHD::Field::TimeAndDate RecordTimeAndDate{"RecordTimeAndDate"};
  AAA::Field::Reserved Reserved2{8};
  AVCHD::Field::CharacterSet AVCHDCharacterSet{"AVCHDCharacterSet"};
  AAA::Field::BE AVCHDNameLength{"AVCHDNameLength", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE AVCHDName{"AVCHDName", 2040, AAA_RULES(AAA_INITIAL(0))};
  BlkAdditionalData AdditionalData;

  BlkUIAppInfoAVCHD() : Block("blkUIAppInfoAVCHD") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override {
    Add(Length, MakerID, MakerModelCode, MakerPrivateArea, reserved, Is60, Is50, Is24, AVCHDWriteProtectFlag,
        RefToMenuThumbnailIndex, blkTimeZone, RecordTimeAndDate, Reserved2, AVCHDCharacterSet, AVCHDNameLength,
        AVCHDName, AdditionalData);
  }
};

class BlkPlayList : public AAA::Block {
 public:
  AAA::Field::Str PlayListFileName{"PlayListFileName", 40, AAA_RULES(AAA_INITIAL("00000"))};
  AAA::Field::Reserved reserved{8};

  BlkPlayList() : Block("PlayList") { Link(); }

 protected:
  void Declare() override { Add(PlayListFileName, reserved); }
};

// The playlists of the first playback or of the menu title.
class BlkTitlePlayLists : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE NumberOfPlayLists{"NumberOfPlayLists", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Array<BlkPlayList> PlayListArray{"PlayList"};

  explicit BlkTitlePlayLists(const char* name) : Block(name) { Link(); }

 protected:
  void Declare() override;
};

class BlkMovieTitlePlayListPair : public AAA::Block {
 public:
  AAA::Field::Str PlayListFileName{"PlayListFileName", 40, AAA_RULES(AAA_INITIAL("00000"))};
  AAA::Field::Reserved reserved{6};
  AVCHD::Field::PlayListAttribute PlayListAttribute{
      "PlayListAttribute", 2,
      AAA_RULES(AAA_ALLOWED(PlayListAttribute, (PlayListAttribute == 1) || (PlayListAttribute == 2)), AAA_INITIAL(1))};
  AAA::Field::Reserved Reserved2{16};
  AAA::Field::BE RefToTitleId{"RefToTitleId", 16, AAA_RULES(AAA_INITIAL(0))};

  BlkMovieTitlePlayListPair() : Block("blkMovieTitlePlayListPair") { Link(); }

 protected:
  void Declare() override { Add(PlayListFileName, reserved, PlayListAttribute, Reserved2, RefToTitleId); }
};

class BlkTableOfPlayLists : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  BlkTitlePlayLists blkFirstPlaybackTitlePlayLists{"blkFirstPlaybackTitlePlayLists"};
  BlkTitlePlayLists blkMenuTitlePlayLists{"blkMenuTitlePlayLists"};
  AAA::Field::BE NumberOfMovieTitlePlayListPair{"NumberOfMovieTitlePlayListPair", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Array<BlkMovieTitlePlayListPair> blkMovieTitlePlayListPairArray{"blkMovieTitlePlayListPair"};

  BlkTableOfPlayLists() : Block("blkTableOfPlayLists") { Link(); }

 protected:
  void Declare() override;
};

// Its start addresses count from its own first byte.
class BlkIndexExtensionData : public AAA::Block {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("IDEX"))};
  AAA::Field::Reserved reserved{32};
  AVCHD_START_ADDRESS(TableOfPlayListsStartAddress);
  // 0: no makers private data.
  AVCHD_START_ADDRESS(MakersPrivateDataStartAddress);
  AAA::Field::Reserved Reserved2{192};
  BlkUIAppInfoAVCHD blkUIAppInfoAVCHD;
  AAA::Field::Padding padding_word1{"padding_word1"};
  BlkTableOfPlayLists blkTableOfPlayLists;
  AAA::Field::Padding padding_word2{"padding_word2"};
  Common::BlkMakersPrivateData<IndexTablePro::BlkIndexPrivateDataBlock> blkMakersPrivateData;

  BlkIndexExtensionData() : Block("blkIndexExtensionData") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
  void Derive() override;
};

}  // namespace AVCHD::IndexTableExt
