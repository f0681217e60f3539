#pragma once

// The professional metadata of the index table: the data block of its makers
// private data, with one tagged block of each kind.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_CommonPro.h"
#include "avchdlib/AVCHD_Fields.h"

namespace AVCHD::IndexTablePro {

inline constexpr std::uint32_t kTagIndexInfo = 0xE1;
inline constexpr std::uint32_t kTagMakersPrivateArea = 0xF1;
inline constexpr std::uint32_t kTagMovieTitleExtensionInfo = 0x82;

class BlkPRO_IndexInfo : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Length{"Length", 16};
  AVCHD::Field::TimeCode LastTimeCode{"LastTimeCode"};
  // Fields of later versions, kept as read.
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_IndexInfo() : Block("PRO_IndexInfo") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// The video format and frame rate of one movie title, by the values of the
// enumerations of the same names.
class BlkMovieTitleExtData : public AAA::Block {
 public:
  AAA::Field::BE VideoFormat{"VideoFormat", 4};
  AAA::Field::BE FrameRate{"FrameRate", 4};
  AAA::Field::BE Reserved{"Reserved", 24};

  BlkMovieTitleExtData() : Block("MovieTitleExtData") { Link(); }
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPro_MovieTitleExtensionInfo : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Fill_item1{"Fill_item1", 8};
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::BE MovieTitleExtDataSize{"MovieTitleExtDataSize", 16};
  AAA::Field::BE NumberOfMovieTitlePlayListPair{"NumberOfMovieTitlePlayListPair", 16};
  AAA::Array<BlkMovieTitleExtData> blkMovieTitleExtDataArray{"MovieTitleExtData"};

  BlkPro_MovieTitleExtensionInfo() : Block("blkPro_MovieTitleExtensionInfo") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

class BlkPRO_MakersPrivateArea : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Fill_item1{"Fill_item1", 16};
  AAA::Field::BE Length{"Length", 32};
  AAA::Field::BE MakerID{"MakerID", 16};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16};
  // Present when its tag was read.
  BlkPro_MovieTitleExtensionInfo blkPro_MovieTitleExtensionInfo;
  AAA::Array<Common::BlkPRO_UnknownPRO> blkPRO_UnknownPROArray{"blkPRO_UnknownPRO"};

  BlkPRO_MakersPrivateArea() : Block("PRO_MakersPrivateArea") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// Two or three tagged blocks; a block takes part when its tag is set.
class BlkIndexPrivateDataBlock : public AAA::Block {
 public:
  AAA::Field::BE NumberOfData{"NumberOfData", 16};
  AAA::Field::BE reserved{"reserved", 16};
  Common::BlkPRO_ProfessionalMetaID blkPRO_ProfessionalMetaID;
  BlkPRO_IndexInfo blkPRO_IndexInfo;
  BlkPRO_MakersPrivateArea blkPRO_MakersPrivateArea;

  BlkIndexPrivateDataBlock() : Block("PrivateDataBlock") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::IndexTablePro
