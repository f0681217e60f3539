#pragma once

// The tagged blocks of professional metadata that every management file
// shares. Each block starts with a one-byte tag; the enclosing data block
// reads the tag to choose the block type, so a block's own reading starts
// after it.

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>

#include "aaalib/AAA_Array.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_FieldRules.h"
#include "avchdlib/AVCHD_Fields.h"

// The rules of a tagged block's `Length`: the bytes after it, checked once
// the block is read and written by Update. `text` names the length as the
// format's rule for the block does.
#define AVCHD_PRO_LENGTH(text) AAA_RULES(AAA_MEASURES(&::AVCHD::Common::BytesAfter, text))
// A 16-bit `Length` after the tag and a version or fill byte.
#define AVCHD_BLKPRO_LENGTH() AVCHD_PRO_LENGTH("AVCHD_BLKPRO_BLOCK_LENGTH()")

namespace AVCHD::Common {

inline constexpr std::uint32_t kTagProfessionalMetaID = 0xE0;
inline constexpr std::uint32_t kTagContentInfo = 0x02;
inline constexpr std::uint32_t kFillItem = 0xFF;
inline constexpr std::uint32_t kProVersion = 0x10;

inline const AAA::Bytes kProfessionalMetaID = {0x00, 0x07, 0xCF, 0x88, 0xA8, 0x0E, 0x49, 0x96,
                                               0xB7, 0x8B, 0xE5, 0x60, 0x08, 0xA8, 0x20, 0xB7};

// The bytes of `owner` after its field `length`.
std::uint32_t BytesAfter(const AAA::Block& owner, const AAA::FieldBase& length);

// Reads `field` as the opaque bytes from the reader's position up to
// `endBits`; a negative width means the bytes before it overran the end.
void ReadUpTo(AAA::BitReader& reader, AAA::FieldBase& field, std::int64_t endBits);

// The end of a block whose `length` counts the bytes after itself.
inline std::int64_t EndOf(const AAA::FieldBase& length) {
  return length.BitPosition() + length.BitLength() + length * 8ll;
}

// Reads `elements` in turn: the leading fields of a block that reads the
// rest itself.
void ReadAll(AAA::BitReader& reader, std::initializer_list<AAA::Element*> elements);

// Reads the tag byte that chooses the next block, logged as `name` under `owner`.
std::uint32_t ReadTag(AAA::Block& owner, const char* name, AAA::BitReader& reader);

// The tag of a block. The enclosing block has read it to choose the block,
// so reading the block takes the tag as read; Update writes it.
class ProTag : public AAA::Field::BE {
 public:
  ProTag(const char* name, std::uint32_t tag, const AAA::FieldRules* rules = nullptr) : BE(name, 8, rules), tag_(tag) {}
  std::uint32_t Tag() const { return tag_; }
  // Whether the block takes part in its enclosing block.
  bool IsSet() const { return Value() == tag_; }
  void Set() { SetValue(tag_); }
  void Read(AAA::BitReader& reader) override;
  void Update() override { SetValue(tag_); }

 private:
  std::uint32_t tag_;
};

// The header every small tagged block starts with; a derived block declares
// its own fields after it.
class BlkPRO_Tagged : public AAA::Block {
 public:
  ProTag PRO_Tag_ID;
  AAA::Field::BE Fill_item{"Fill_item", 8, AAA_RULES(AAA_FIXED(0xff))};
  AAA::Field::BE Length{"Length", 16, AVCHD_BLKPRO_LENGTH()};

  BlkPRO_Tagged(const char* name, std::uint32_t tag) : Block(name), PRO_Tag_ID("PRO_Tag_ID", tag) {}
  std::uint32_t Tag() const { return PRO_Tag_ID.Tag(); }
  bool IsPresent() const { return PRO_Tag_ID.IsSet(); }
  // Makes the block present.
  void SetTag() { PRO_Tag_ID.Set(); }

 protected:
  template <class... Content>
  void AddWithHeader(Content&... content) {
    Add(PRO_Tag_ID, Fill_item, Length, content...);
  }
};

class BlkPRO_ContentInfo : public BlkPRO_Tagged {
 public:
  AAA::Field::Str ContentID{
      "ContentID", 24,
      AAA_RULES(AAA_ALLOWED(ContentID, (ContentID.ToString() == "3DS") || (ContentID.ToString() == "CAM")),
                AAA_INITIAL("3DS"))};
  AAA::Field::Str ChannelID{"ChannelID", 8, AAA_RULES(AAA_INITIAL("L"))};
  AVCHD::Field::Pro_Umid GlobalMaterialID{"GlobalMaterialID"};

  static constexpr std::uint32_t kTag = kTagContentInfo;

  BlkPRO_ContentInfo() : BlkPRO_Tagged("blkPRO_ContentInfo", kTag) { Link(); }

 protected:
  void Declare() override { AddWithHeader(ContentID, ChannelID, GlobalMaterialID); }
};

// Version 0x10 holds the identifier alone; 0x11 adds the content info, and
// later versions fields this model does not know, kept as read.
class BlkPRO_ProfessionalMetaID : public AAA::Block {
 public:
  ProTag Tag_ID{"Tag_ID", kTagProfessionalMetaID};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Length{"Length", 16, AVCHD_PRO_LENGTH("AVCHD_PRO_BLOCK_LENGTH1()")};
  AAA::Field::BE ProfessionalMetaID{
      "ProfessionalMetaID", 128,
      AAA_RULES((AAA::FieldRules::Fixed{
          kProfessionalMetaID, AAA_RULE(R"("\x00\x07\xcf\x88\xa8\x0e\x49\x96\xb7\x8b\xe5\x60\x08\xa8\x20\xb7")")}))};
  BlkPRO_ContentInfo blkPRO_ContentInfo;
  AAA::Field::ExtData FutureDefinedFields{"FutureDefinedFields"};

  BlkPRO_ProfessionalMetaID() : Block("PRO_ProfessionalMetaID") { Link(); }
  void Read(AAA::BitReader& reader) override;
  void Initialize() override;

 protected:
  void Declare() override;
};

// A professional-metadata block of a tag this model does not know: kept as
// read, so that a rewrite does not lose a maker's metadata.
class BlkPRO_Unknown : public AAA::Block {
 public:
  AAA::Field::BE Tag_ID{"Tag_ID", 8};
  AAA::Field::BE Tag_ver{"Tag_ver", 8};
  AAA::Field::BE Length{"Length", 16, AVCHD_BLKPRO_LENGTH()};
  AAA::Field::ExtData ext_data{"ext_data"};

  BlkPRO_Unknown() : Block("PRO_Unknown") { Link(); }
  // The enclosing block has assigned the tag.
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override { Add(Tag_ID, Tag_ver, Length, ext_data); }
};

// A block of an unknown tag inside a PRO area: kept as read.
class BlkPRO_UnknownPRO : public AAA::Block {
 public:
  AAA::Field::BE PRO_Tag_ID{"PRO_Tag_ID", 8};
  AAA::Field::BE Fill_item{"Fill_item", 8, AAA_RULES(AAA_FIXED(0xff))};
  AAA::Field::BE Length{"Length", 16, AVCHD_BLKPRO_LENGTH()};
  AAA::Field::ExtData ext_data{"ext_data"};

  BlkPRO_UnknownPRO() : Block("blkPRO_UnknownPRO") { Link(); }
  // The enclosing block has assigned the tag.
  void Read(AAA::BitReader& reader) override;

 protected:
  void Declare() override { Add(PRO_Tag_ID, Fill_item, Length, ext_data); }
};

// Reads a block kept as read: after the tag the enclosing block has
// assigned, a byte and the length of the data.
void ReadKept(AAA::FieldBase& tag, AAA::FieldBase& second, AAA::FieldBase& length, AAA::FieldBase& data,
              AAA::BitReader& reader);

// A tagged sub-block that its block holds only when it is read or set: an
// absent one costs a pointer rather than its fields. What does not depend
// on the block's type, so that a block can go through its optional blocks.
class OptionalTaggedBase {
 public:
  virtual ~OptionalTaggedBase() = default;
  virtual std::uint32_t Tag() const = 0;
  // The block, made anew (nothing set, not present) when there was none.
  virtual BlkPRO_Tagged& Make() = 0;
  // The block while it takes part in the enclosing block, or null.
  BlkPRO_Tagged* IfPresent() { return made_ != nullptr && made_->IsPresent() ? made_.get() : nullptr; }
  const BlkPRO_Tagged* IfPresent() const { return made_ != nullptr && made_->IsPresent() ? made_.get() : nullptr; }

 protected:
  std::unique_ptr<BlkPRO_Tagged> made_;
};

// A sub-block of type T (which names its tag `kTag`): `->` and `*` make it
// when it is first used; `Present()` only looks.
template <class T>
class OptionalTagged final : public OptionalTaggedBase {
 public:
  OptionalTagged() = default;
  OptionalTagged(const OptionalTagged& other) { CopyFrom(other); }
  OptionalTagged& operator=(const OptionalTagged& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }

  std::uint32_t Tag() const override { return T::kTag; }
  T& Make() override {
    if (made_ == nullptr) made_ = std::make_unique<T>();
    return static_cast<T&>(*made_);
  }
  T& operator*() { return Make(); }
  T* operator->() { return &Make(); }
  const T* Present() const { return static_cast<const T*>(IfPresent()); }
  T* Present() { return static_cast<T*>(IfPresent()); }

 private:
  void CopyFrom(const OptionalTagged& other) {
    made_ = other.made_ != nullptr ? std::make_unique<T>(static_cast<const T&>(*other.made_)) : nullptr;
  }
};

// A block that a tag chooses.
struct TaggedBlock {
  std::uint32_t tag;
  AAA::Block* block;
};

// The block that reads a tag, or null for a tag the enclosing block does
// not know.
using BlockOfTag = std::function<AAA::Block*(std::uint32_t tag)>;

// Reads the tagged blocks of a PRO area up to `endBits`: a tag that
// `blockOfTag` knows reads that block, any other tag a block kept in
// `unknowns`.
void ReadTaggedUpTo(AAA::Block& owner, AAA::BitReader& reader, std::int64_t endBits, const BlockOfTag& blockOfTag,
                    AAA::Array<BlkPRO_UnknownPRO>& unknowns);
// The same with the blocks of `known`.
void ReadTaggedUpTo(AAA::Block& owner, AAA::BitReader& reader, std::int64_t endBits, std::span<const TaggedBlock> known,
                    AAA::Array<BlkPRO_UnknownPRO>& unknowns);

// Reads the `count` data blocks of a private data block, each after the tag
// that chooses it; a tag of none of `known` is refused.
void ReadDataBlocks(AAA::Block& owner, std::uint32_t count, AAA::BitReader& reader,
                    std::initializer_list<TaggedBlock> known);

}  // namespace AVCHD::Common
