#pragma once

// The index table file, root of a recording: the movie objects behind the
// first playback, the menu and each movie title, and in its extension the
// playlists of every title.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_IndexTableExt.h"

namespace AVCHD::IndexTable {

class BlkAppInfoBDMV : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  AAA::Field::BE indefinite{"indefinite", 1};
  AAA::Field::Reserved reserved{15};
  AAA::Field::Reserved Reserved2{256};

  BlkAppInfoBDMV() : Block("blkAppInfoBDMV") { Link(); }

 protected:
  void Declare() override { Add(Length, indefinite, reserved, Reserved2); }
  // Written as 1, but a file that holds 0 is read as it is.
  void Derive() override { indefinite.SetValue(1); }
};

// The layout of the first playback and the menu title, which differ only in
// the name of their movie object reference: object type 01, the '1' flag,
// the reference (0 to 1000, or 0xFFFF for none).
class BlkTitleObject : public AAA::Block {
 public:
  AAA::Field::Reserved reserved{1};
  AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved Reserved2{31};
  AAA::Field::BE One2{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved Reserved3{14};
  AAA::Field::Reserved Reserved4{32};

  using Block::Block;

 protected:
  void Declare() override { Add(reserved, One, Reserved2, One2, Reserved3, MobjIDRef(), Reserved4); }
  virtual AAA::FieldBase& MobjIDRef() = 0;
};

// The format states the lower bound 0 of its ranges also for unsigned fields.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wtype-limits"
class BlkFirstPlaybackTitle : public BlkTitleObject {
 public:
  AAA::Field::BE FirstPlaybackTitleMobjIDRef{
      "FirstPlaybackTitleMobjIDRef", 16,
      AAA_RULES(AAA_ALLOWED(FirstPlaybackTitleMobjIDRef,
                            ((0 <= FirstPlaybackTitleMobjIDRef) && (FirstPlaybackTitleMobjIDRef <= 1000)) ||
                                (FirstPlaybackTitleMobjIDRef == 0xffff)),
                AAA_INITIAL(0xFFFF))};
  BlkFirstPlaybackTitle() : BlkTitleObject("FirstPlaybackTitle") { Link(); }

 protected:
  AAA::FieldBase& MobjIDRef() override { return FirstPlaybackTitleMobjIDRef; }
};

class BlkMenuTitle : public BlkTitleObject {
 public:
  AAA::Field::BE MenuTitleMobjIDRef{
      "MenuTitleMobjIDRef", 16,
      AAA_RULES(AAA_ALLOWED(MenuTitleMobjIDRef, ((0 <= MenuTitleMobjIDRef) && (MenuTitleMobjIDRef <= 1000)) ||
                                                    (MenuTitleMobjIDRef == 0xffff)),
                AAA_INITIAL(0xFFFF))};
  BlkMenuTitle() : BlkTitleObject("MenuTitle") { Link(); }

 protected:
  AAA::FieldBase& MobjIDRef() override { return MenuTitleMobjIDRef; }
};

#pragma GCC diagnostic pop

class BlkMovieTitle : public AAA::Block {
 public:
  AAA::Field::Reserved reserved{1};
  AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
  AAA::Field::Reserved Reserved2{46};
  // Checked against the movie object file by the index table's repair.
  AAA::Field::BE MovieTitleMobjIDRef{"MovieTitleMobjIDRef", 16};
  AAA::Field::Reserved Reserved3{32};

  BlkMovieTitle() : Block("blkMovieTitleArray") { Link(); }

 protected:
  void Declare() override { Add(reserved, One, Reserved2, MovieTitleMobjIDRef, Reserved3); }
};

class BlkIndexes : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32, AVCHD_LENGTH()};
  BlkFirstPlaybackTitle blkFirstPlaybackTitle;
  BlkMenuTitle blkMenuTitle;
  AAA::Field::BE NumberOfMovieTitles{"NumberOfMovieTitles", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Array<BlkMovieTitle> blkMovieTitleArray{"blkMovieTitleArray"};

  BlkIndexes() : Block("blkIndexes") { Link(); }

 protected:
  void Declare() override;
};

class BlkIndexTableFile : public AAA::FileBlock {
 public:
  // Files above this size are refused before they are read.
  static constexpr std::uint64_t kMaxFileSize = 102400;

  AAA::Field::Str TypeIndicator{"TypeIndicator", 32, AAA_RULES(AAA_FIXED("INDX"))};
  AAA::Field::Str TypeIndicator2{"TypeIndicator2", 32, AAA_RULES(AAA_FIXED("0100"))};
  AVCHD_START_ADDRESS(IndexesStartAddress);
  AVCHD_EXTENSION_DATA_START_ADDRESS();
  AAA::Field::Reserved reserved{192};
  BlkAppInfoBDMV blkAppInfoBDMV;
  AAA::Field::Padding padding_word1{"padding_word"};
  BlkIndexes blkIndexes;
  AAA::Field::Padding padding_word2{"padding_word"};
  Common::BlkExtensionData<IndexTableExt::BlkIndexExtensionData> blkExtensionData;

  BlkIndexTableFile() : FileBlock("Index table file") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override {
    Add(TypeIndicator, TypeIndicator2, IndexesStartAddress, ExtensionDataStartAddress, reserved, blkAppInfoBDMV,
        padding_word1, blkIndexes, padding_word2, blkExtensionData);
  }
  void Derive() override;
};

}  // namespace AVCHD::IndexTable
