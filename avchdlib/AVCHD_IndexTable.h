#pragma once

// The index table file, root of a recording: the movie objects behind the
// first playback, the menu and each movie title, and in its extension the
// playlists of every title.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Common.h"
#include "avchdlib/AVCHD_IndexTableExt.h"

namespace AVCHD::IndexTable {

class BlkAppInfoBDMV : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE indefinite{"indefinite", 1};
  AAA::Field::BE reserved{"reserved", 15};
  AAA::Field::BE Reserved2{"reserved", 256};

  BlkAppInfoBDMV() : Block("blkAppInfoBDMV") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

// The layout of the first playback and the menu title, which differ only in
// the name of their movie object reference: object type 01, the '1' flag,
// the reference (0 to 1000, or 0xFFFF for none).
class BlkTitleObject : public AAA::Block {
 public:
  AAA::Field::BE reserved{"reserved", 1};
  AAA::Field::BE One{"'1'", 1};
  AAA::Field::BE Reserved2{"reserved", 31};
  AAA::Field::BE One2{"'1'", 1};
  AAA::Field::BE Reserved3{"reserved", 14};
  AAA::Field::BE Reserved4{"reserved", 32};

  using Block::Block;
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
  virtual AAA::FieldBase& MobjIDRef() = 0;
  virtual void VerifyMobjIDRef() const = 0;
};

class BlkFirstPlaybackTitle : public BlkTitleObject {
 public:
  AAA::Field::BE FirstPlaybackTitleMobjIDRef{"FirstPlaybackTitleMobjIDRef", 16};
  BlkFirstPlaybackTitle() : BlkTitleObject("FirstPlaybackTitle") { Link(); }

 protected:
  AAA::FieldBase& MobjIDRef() override { return FirstPlaybackTitleMobjIDRef; }
  void VerifyMobjIDRef() const override;
};

class BlkMenuTitle : public BlkTitleObject {
 public:
  AAA::Field::BE MenuTitleMobjIDRef{"MenuTitleMobjIDRef", 16};
  BlkMenuTitle() : BlkTitleObject("MenuTitle") { Link(); }

 protected:
  AAA::FieldBase& MobjIDRef() override { return MenuTitleMobjIDRef; }
  void VerifyMobjIDRef() const override;
};

class BlkMovieTitle : public AAA::Block {
 public:
  AAA::Field::BE reserved{"reserved", 1};
  AAA::Field::BE One{"'1'", 1};
  AAA::Field::BE Reserved2{"reserved", 46};
  // Checked against the movie object file by the index table's repair.
  AAA::Field::BE MovieTitleMobjIDRef{"MovieTitleMobjIDRef", 16};
  AAA::Field::BE Reserved3{"reserved", 32};

  BlkMovieTitle() : Block("blkMovieTitleArray") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkIndexes : public AAA::Block {
 public:
  AAA::Field::BE Length{"Length", 32};
  BlkFirstPlaybackTitle blkFirstPlaybackTitle;
  BlkMenuTitle blkMenuTitle;
  AAA::Field::BE NumberOfMovieTitles{"NumberOfMovieTitles", 16};
  AAA::Array<BlkMovieTitle> blkMovieTitleArray{"blkMovieTitleArray"};

  BlkIndexes() : Block("blkIndexes") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkIndexTableFile : public AAA::FileBlock {
 public:
  // Files above this size are refused before they are read.
  static constexpr std::uint64_t kMaxFileSize = 102400;

  AAA::Field::Str TypeIndicator{"TypeIndicator", 32};
  AAA::Field::Str TypeIndicator2{"TypeIndicator2", 32};
  AAA::Field::BE IndexesStartAddress{"IndexesStartAddress", 32};
  AAA::Field::BE ExtensionDataStartAddress{"ExtensionDataStartAddress", 32};
  AAA::Field::BE reserved{"reserved", 192};
  BlkAppInfoBDMV blkAppInfoBDMV;
  AAA::Field::Padding padding_word1{"padding_word"};
  BlkIndexes blkIndexes;
  AAA::Field::Padding padding_word2{"padding_word"};
  Common::BlkExtensionData<IndexTableExt::BlkIndexExtensionData> blkExtensionData;

  BlkIndexTableFile() : FileBlock("Index table file") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::IndexTable
