#pragma once

// The professional metadata of a clip, carried in the makers private data of
// its extension data: the meta identifier and the clip's PRO information
// (global clip identifier, start time code, and for 3D recordings the clip
// number of the pair).

#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_CommonPro.h"
#include "avchdlib/AVCHD_Fields.h"

namespace AVCHD::ClipInformationPro {

inline constexpr std::uint32_t kTagClipInfo = 0xE2;
inline constexpr std::uint32_t kTag3DClipInfo = 0x05;

class BlkPRO_3DClipInfo : public Common::BlkPRO_Tagged {
 public:
  AAA::Field::BE RecordedClipNumber{"RecordedClipNumber", 16, AAA_RULES(AAA_INITIAL(0))};
  AAA::Field::BE PRO_Reserved{"PRO_Reserved", 16, AAA_RULES(AAA_INITIAL(0xFFFF))};

  BlkPRO_3DClipInfo() : BlkPRO_Tagged("blkPRO_3DClipInfo", kTag3DClipInfo) { Link(); }
  // A new 3D clip info is present.
  void Initialize() override;

 protected:
  void Declare() override { AddWithHeader(RecordedClipNumber, PRO_Reserved); }
};

// From version 0x11 on the block may hold the 3D clip information; later
// versions may add fields this model does not know, kept as read.
class BlkPRO_ClipInfo : public AAA::Block {
 public:
  Common::ProTag Tag_ID{"Tag_ID", kTagClipInfo, AAA_RULES(AAA_INITIAL(kTagClipInfo))};
  AAA::Field::BE Tag_ver{"Tag_ver", 8, AAA_RULES(AAA_INITIAL(Common::kProVersion))};
  AAA::Field::BE Length{"Length", 16, AVCHD_PRO_LENGTH("AVCHD_PRO_BLOCK_LENGTH1()")};
  AVCHD::Field::Pro_Umid GlobalClipID{"GlobalClipID"};
  AVCHD::Field::TimeCode StartTimeCode{"StartTimeCode"};
  AVCHD::Field::Pro_BinaryGroup StartBinaryGroup;
  // Present while its tag holds 0x05.
  BlkPRO_3DClipInfo blkPRO_3DClipInfo;
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_ClipInfo() : Block("PRO_ClipInfo") { Link(); }
  // The enclosing block has read the tag.
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
};

// The data blocks are present while their tags hold their tag values; a new
// private data block holds both.
class BlkClipInfoPrivateDataBlock : public AAA::Block {
 public:
  AAA::Field::BE NumberOfData{"NumberOfData", 16};
  AAA::Field::Reserved reserved{16};
  Common::BlkPRO_ProfessionalMetaID PRO_ProfessionalMetaID;
  BlkPRO_ClipInfo blkProClipInfo;

  BlkClipInfoPrivateDataBlock() : Block("PrivateDataBlock") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
  void Derive() override;
};

}  // namespace AVCHD::ClipInformationPro
