#pragma once

// The professional metadata of the index table: the data block of its makers
// private data, with one tagged block of each kind.

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_CommonPro.h"
#include "avchdlib/AVCHD_Fields.h"
#include "avchdlib/AVCHD_Maker.h"

namespace AVCHD::IndexTablePro {

inline constexpr std::uint32_t kTagIndexInfo = 0xE1;
inline constexpr std::uint32_t kTagMakersPrivateArea = 0xF1;
inline constexpr std::uint32_t kTagMovieTitleExtensionInfo = 0x82;

class BlkPRO_IndexInfo : public AAA::Block {
 public:
  Common::ProTag Tag_ID{"Tag_ID", kTagIndexInfo};
  AAA::Field::BE Tag_ver{"Tag_ver", 8,
                         AAA_RULES(AAA_ALLOWED(Tag_ver, (Tag_ver >> 4) != 0), AAA_INITIAL(Common::kProVersion))};
  AAA::Field::BE Length{"Length", 16, AVCHD_PRO_LENGTH("AVCHD_PRO_BLOCK_LENGTH1()")};
  AVCHD::Field::TimeCode LastTimeCode{"LastTimeCode"};
  // Fields of later versions, kept as read.
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_IndexInfo() : Block("PRO_IndexInfo") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override { Add(Tag_ID, Tag_ver, Length, LastTimeCode, FutureDefinedFields); }
};

// The video format and frame rate of one movie title, by the values of the
// enumerations of the same names: a new one is 1080p at 59.94.
class BlkMovieTitleExtData : public AAA::Block {
 public:
  AAA::Field::BE VideoFormat{"VideoFormat", 4, AAA_RULES(AAA_INITIAL(6))};
  AAA::Field::BE FrameRate{"FrameRate", 4, AAA_RULES(AAA_INITIAL(7))};
  AAA::Field::BE Reserved{"Reserved", 24, AAA_RULES(AAA_INITIAL(0))};

  BlkMovieTitleExtData() : Block("MovieTitleExtData") { Link(); }

 protected:
  void Declare() override { Add(VideoFormat, FrameRate, Reserved); }
  void Derive() override { Reserved.SetValue(0); }
};

class BlkPro_MovieTitleExtensionInfo : public AAA::Block {
 public:
  Common::ProTag Tag_ID{"Tag_ID", kTagMovieTitleExtensionInfo};
  AAA::Field::BE Fill_item1{"Fill_item1", 8, AAA_RULES(AAA_FIXED(0xff))};
  // The format states the length by its parts, the bytes after it.
  // clang-format off
  AAA::Field::BE Length{"Length", 16, AVCHD_PRO_LENGTH("(MovieTitleExtDataSize.BitLength() + NumberOfMovieTitlePlayListPair.BitLength() + 32*NumberOfMovieTitlePlayListPair) / 8")};
  // clang-format on
  AAA::Field::BE MovieTitleExtDataSize{"MovieTitleExtDataSize", 16, AAA_RULES(AAA_FIXED(0x0004))};
  AAA::Field::BE NumberOfMovieTitlePlayListPair{"NumberOfMovieTitlePlayListPair", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Array<BlkMovieTitleExtData> blkMovieTitleExtDataArray{"MovieTitleExtData"};

  BlkPro_MovieTitleExtensionInfo() : Block("blkPro_MovieTitleExtensionInfo") { Link(); }

 protected:
  void Declare() override;
};

class BlkPRO_MakersPrivateArea : public AAA::Block {
 public:
  Common::ProTag Tag_ID{"Tag_ID", kTagMakersPrivateArea};
  AAA::Field::BE Tag_ver{"Tag_ver", 8,
                         AAA_RULES(AAA_ALLOWED(Tag_ver, (Tag_ver >> 4) != 0), AAA_INITIAL(Common::kProVersion))};
  AAA::Field::BE Fill_item1{"Fill_item1", 16, AAA_RULES(AAA_FIXED(0xffff))};
  AAA::Field::BE Length{"Length", 32, AVCHD_PRO_LENGTH("AVCHD_PRO_BLOCK_LENGTH2()")};
  AAA::Field::BE MakerID{"MakerID", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_ID))};
  AAA::Field::BE MakerModelCode{"MakerModelCode", 16, AAA_RULES(AAA_INITIAL(AVCHD_MAKER_MODEL_CODE))};
  // Present when its tag was read.
  BlkPro_MovieTitleExtensionInfo blkPro_MovieTitleExtensionInfo;
  AAA::Array<Common::BlkPRO_UnknownPRO> blkPRO_UnknownPROArray{"blkPRO_UnknownPRO"};

  BlkPRO_MakersPrivateArea() : Block("PRO_MakersPrivateArea") { Link(); }
  // The length is not checked: the tagged blocks run up to the end it gives.
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
  // This model's version and maker, whatever the file held.
  void Derive() override;
};

// Two or three tagged blocks; a block takes part when its tag is set.
class BlkIndexPrivateDataBlock : public AAA::Block {
 public:
  AAA::Field::BE NumberOfData{"NumberOfData", 16,
                              AAA_RULES(AAA_ALLOWED(NumberOfData, NumberOfData == 2 || NumberOfData == 3))};
  AAA::Field::Reserved reserved{16};
  Common::BlkPRO_ProfessionalMetaID blkPRO_ProfessionalMetaID;
  BlkPRO_IndexInfo blkPRO_IndexInfo;
  BlkPRO_MakersPrivateArea blkPRO_MakersPrivateArea;

  BlkIndexPrivateDataBlock() : Block("PrivateDataBlock") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
  void Derive() override;
};

}  // namespace AVCHD::IndexTablePro
