#pragma once

// The "PLEX" data block of a playlist's extension data: the maker, date and
// name of the playlist, one extension per playlist mark, and optionally the
// makers private data with the playlist's professional metadata.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_MoviePlaylistPro.h"

namespace AVCHD::MoviePlayListExt {

// Room for data of later versions; always empty here.
using Common::BlkAdditionalData;

class BlkPlayListMeta : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  AAA::Field::BE reserved1{"reserved", 32};
  AAA::Field::BE RefToMenuThumbnailIndex{"RefToMenuThumbnailIndex", 16};
  AVCHD::Field::TimeZone blkTimeZone{"blkTimeZone"};
  AVCHD::Field::TimeAndDate RecordTimeAndDate{"RecordTimeAndDate"};
  AAA::Field::BE reserved2{"reserved", 8};
  AVCHD::Field::CharacterSet PlayListCharacterSet{"PlayListCharacterSet"};
  AAA::Field::BE PlayListNameLength{"PlayListNameLength", 8};
  AAA::Field::Str PlayListName{"PlayListName", 2040};
  BlkAdditionalData AdditionalData;

  BlkPlayListMeta() : Block("blkPlayListMeta") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkMarkExtension : public AAA::Block {
 public:
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  AAA::Field::BE reserved1{"reserved", 29};
  AVCHD::Field::Pulldown Pulldown{"Pulldown", 2};
  AAA::Field::BE MarkWriteProtectFlag{"MarkWriteProtectFlag", 1};
  AAA::Field::BE RefToMarkThumbnailIndex{"RefToMarkThumbnailIndex", 16};
  AVCHD::Field::TimeZone blkTimeZone{"blkTimeZone"};
  AVCHD::Field::TimeAndDate RecordTimeAndDate{"RecordTimeAndDate"};
  AVCHD::Field::CharacterSet MarkCharacterSet{"MarkCharacterSet"};
  AAA::Field::BE MarkNameLength{"MarkNameLength", 8};
  AAA::Field::Str MarkName{"MarkName", 192};
  AAA::Field::BE MakersInformation{"MakersInformation", 128};
  AVCHD::Field::TimeCode blkTimeCode{"blkTimeCode"};
  AAA::Field::BE reserved2{"reserved", 16};

  BlkMarkExtension() : Block("blkMarkExtension") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPlayListMarkExt : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE NumberOfPlayListMarks{"NumberOfPlayListMarks", 16};
  AAA::Array<BlkMarkExtension> blkMarkExtensionArray{"blkMarkExtension"};

  BlkPlayListMarkExt() : Block("blkPlayListMarkExt") {
    NumberOfPlayListMarks.Fill(0);
    Link();
  }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

// A non-zero `MakersPrivateDataStartAddress` makes the makers private data present.
class BlkPlayListExtensionData : public AAA::Block {
 public:
  AAA::Field::Str TypeIndicator{"TypeIndicator", 32};
  AAA::Field::BE reserved1{"reserved1", 32};
  AAA::Field::BE PlayListMarkExtStartAddress{"PlayListMarkExtStartAddress", 32};
  AAA::Field::BE MakersPrivateDataStartAddress{"MakersPrivateDataStartAddress", 32};
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
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::MoviePlayListExt
