#pragma once

// The tagged blocks of professional metadata that every management file
// shares. Each block starts with a one-byte tag; the enclosing data block
// reads the tag to choose the block type, so a block's own reading starts
// after it.

#include "aaalib/AAA_Block.h"
#include "avchdlib/AVCHD_Fields.h"

// The length a tagged block's 16-bit `Length` must hold: the bytes after the
// tag, the version or fill byte and `Length` itself.
#define AVCHD_PRO_BLOCK_LENGTH1() (static_cast<std::uint32_t>((BitLength() - 8 - 8 - 16) / 8))
#define AVCHD_BLKPRO_BLOCK_LENGTH() (static_cast<std::uint32_t>((BitLength() - 32) / 8))

namespace AVCHD::Common {

inline constexpr std::uint32_t kTagProfessionalMetaID = 0xE0;
inline constexpr std::uint32_t kTagContentInfo = 0x02;
inline constexpr std::uint32_t kFillItem = 0xFF;
inline constexpr std::uint32_t kProVersion = 0x10;

// Makes the tag that the enclosing block read and assigned count as read, so
// that it is never taken for a modification.
void KeepAsRead(AAA::FieldBase& tag);
// Assigns a block's own tag, as read.
void TakeTag(AAA::FieldBase& tag, std::uint32_t value);

// Reads `field` as the opaque bytes from the reader's position up to
// `endBits`; a negative width means the bytes before it overran the end.
void ReadUpTo(AAA::BitReader& reader, AAA::FieldBase& field, std::int64_t endBits);

class BlkPRO_ContentInfo : public AAA::Block {
 public:
  AAA::Field::BE PRO_Tag_ID{"PRO_Tag_ID", 8};
  AAA::Field::BE Fill_item{"Fill_item", 8};
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::Str ContentID{"ContentID", 24};
  AAA::Field::Str ChannelID{"ChannelID", 8};
  AVCHD::Field::Pro_Umid GlobalMaterialID{"GlobalMaterialID"};

  BlkPRO_ContentInfo() : Block("blkPRO_ContentInfo") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// Version 0x10 holds the identifier alone; 0x11 adds the content info, and
// later versions fields this model does not know, kept as read.
class BlkPRO_ProfessionalMetaID : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::BE ProfessionalMetaID{"ProfessionalMetaID", 128};
  BlkPRO_ContentInfo blkPRO_ContentInfo;
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_ProfessionalMetaID() : Block("PRO_ProfessionalMetaID") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;
  void Update() override;

 protected:
  void Declare() override;
};

// A professional-metadata block of a tag this model does not know: kept as
// read, so that a rewrite does not lose a maker's metadata.
class BlkPRO_Unknown : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::ExtData ext_data{"ext_data"};

  BlkPRO_Unknown() : Block("PRO_Unknown") { Link(); }
  // The enclosing block has assigned the tag.
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

// A block of an unknown tag inside a PRO area: kept as read.
class BlkPRO_UnknownPRO : public AAA::Block {
 public:
  AAA::Field::BE PRO_Tag_ID{"PRO_Tag_ID", 8};
  AAA::Field::BE Fill_item{"Fill_item", 8};
  AAA::Field::BE Length{"Length", 16};
  AAA::Field::ExtData ext_data{"ext_data"};

  BlkPRO_UnknownPRO() : Block("blkPRO_UnknownPRO") { Link(); }
  // The enclosing block has assigned the tag.
  void Read(AAA::BitReader& reader) override;
  void Update() override;

 protected:
  void Declare() override;
};

}  // namespace AVCHD::Common
