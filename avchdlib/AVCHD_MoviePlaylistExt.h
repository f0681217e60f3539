#pragma once

// The "PLEX" data block of a playlist's extension data: the maker, date and
// name of the playlist, one extension per playlist mark, and optionally the
// makers private data with the playlist's professional metadata.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_Maker.h"
#include "avchdlib/AVCHD_MoviePlaylistPro.h"

namespace AVCHD::MoviePlayListExt {

// Room for data of later versions; always empty here.
using Common::BlkAdditionalData;

class BlkPlayListMeta : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  AAA::Field::Reserved reserved1{32};
  AAA::Field::BE RefToMenuThumbnailIndex{"RefToMenuThumbnailIndex", 16, AAA_RULES(AAA_INITIAL(0xFFFF))};
  AVCHD::Field::TimeZone blkTimeZone{"blkTimeZone"};
  AVCHD::Field::TimeAndDate RecordTimeAndDate{"RecordTimeAndDate"};
  AAA::Field::Reserved reserved2{8};
  AVCHD::Field::CharacterSet PlayListCharacterSet{"PlayListCharacterSet"};
  AAA::Field::BE PlayListNameLength{"PlayListNameLength", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::Str PlayListName{"PlayListName", 2040};
  BlkAdditionalData AdditionalData;

  BlkPlayListMeta() : Block("blkPlayListMeta") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override {
    Add(Length, MakerID, MakerModelCode, reserved1, RefToMenuThumbnailIndex, blkTimeZone, RecordTimeAndDate, reserved2,
        PlayListCharacterSet, PlayListNameLength, PlayListName, AdditionalData);
  }
};

class BlkMarkExtension : public AAA::Block {
 public:
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  AAA::Field::Reserved reserved1{29};
  AVCHD::Field::Pulldown Pulldown{"Pulldown", 2};
  AAA::Field::BE MarkWriteProtectFlag{"MarkWriteProtectFlag", 1, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE RefToMarkThumbnailIndex{"RefToMarkThumbnailIndex", 16, AAA_RULES(AAA_INITIAL(0xFFFF))};
  AVCHD::Field::TimeZone blkTimeZone{"blkTimeZone"};
  AVCHD::Field::TimeAndDate RecordTimeAndDate{"RecordTimeAndDate"};
  AVCHD::Field::CharacterSet MarkCharacterSet{"MarkCharacterSet"};
  AAA::Field::BE MarkNameLength{"MarkNameLength", 8, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::Str MarkName{"MarkName", 192};
  AAA::Field::BE MakersInformation{"MakersInformation", 128, AAA_RULES(AAA_INITIAL(0))};
  AVCHD::Field::TimeCode blkTimeCode{"blkTimeCode"};
  AAA::Field::Reserved reserved2{16};

  BlkMarkExtension() : Block("blkMarkExtension") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override {
    Add(MakerID, MakerModelCode, reserved1, Pulldown, MarkWriteProtectFlag, RefToMarkThumbnailIndex, blkTimeZone,
        RecordTimeAndDate, MarkCharacterSet, MarkNameLength, MarkName, MakersInformation, blkTimeCode, reserved2);
  }
};

class BlkPlayListMarkExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE NumberOfPlayListMarks{"NumberOfPlayListMarks", 16};
  AAA::Array<BlkMarkExtension> blkMarkExtensionArray{"blkMarkExtension"};

  BlkPlayListMarkExt() : Block("blkPlayListMarkExt") {
    NumberOfPlayListMarks.Fill(0);
    Link();
  }

 protected:
  void Declare() override;
};

// A non-zero `MakersPrivateDataStartAddress` makes the makers private data present.
class BlkPlayListExtensionData : public AAA::Block {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("PLEX"))};
  AAA::Field::BE reserved1{"reserved1", 32};
  AVCHD_START_ADDRESS(PlayListMarkExtStartAddress);
  AVCHD_START_ADDRESS(MakersPrivateDataStartAddress);
  AAA::Field::BE reserved2{"reserved2", 192};
  BlkPlayListMeta blkPlayListMeta;
  AAA::Field::Padding padding_word1{"padding_word1"};
  BlkPlayListMarkExt blkPlayListMarkExt;
  AAA::Field::Padding padding_word2{"padding_word2"};
  Common::BlkMakersPrivateData<MoviePlayListPro::BlkPlayListPrivateDataBlock> blkMakersPrivateData;

  BlkPlayListExtensionData() : Block("blkPlayListExtensionData") {
    MakersPrivateDataStartAddress.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override;
  void Derive() override;
};

}  // namespace AVCHD::MoviePlayListExt
