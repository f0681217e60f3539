#include "avchdlib/AVCHD_CommonPro.h"

#include <algorithm>

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

namespace AVCHD::Common {

using AAA::InvalidDataException;

namespace {

// Makes the tag that the enclosing block read and assigned count as read, so
// that it is never taken for a modification.
void KeepAsRead(AAA::FieldBase& tag) {
  // Setting the width again makes the value the field's baseline.
  tag.SetBitLength(tag.BitLength());
}

}  // namespace

std::uint32_t BytesAfter(const AAA::Block& owner, const AAA::FieldBase& length) {
  std::int64_t upToAfterLength = 0;
  for (const AAA::Element* child : owner.Children()) {
    upToAfterLength += child->BitLength();
    if (child == &length) break;
  }
  return static_cast<std::uint32_t>((owner.BitLength() - upToAfterLength) / 8);
}

void ReadUpTo(AAA::BitReader& reader, AAA::FieldBase& field, std::int64_t endBits) {
  field.SetBitLength(endBits - static_cast<std::int64_t>(reader.BitPosition()));
  field.Read(reader);
}

void ReadAll(AAA::BitReader& reader, std::initializer_list<AAA::Element*> elements) {
  for (AAA::Element* element : elements) element->Read(reader);
}

std::uint32_t ReadTag(AAA::Block& owner, const char* name, AAA::BitReader& reader) {
  AAA::Field::BE tag{name, 8};
  tag.SetParent(&owner);
  tag.Read(reader);
  return tag;
}

void ProTag::Read(AAA::BitReader& /*reader*/) {
  SetValue(tag_);
  KeepAsRead(*this);
}

// Professional meta identifier ---------------------------------------------

void BlkPRO_ProfessionalMetaID::Declare() {
  OnChange(Tag_ver, [](AAA::Block& owner) {
    auto& self = static_cast<BlkPRO_ProfessionalMetaID&>(owner);
    AAA_VERIFY(self.Tag_ver, (self.Tag_ver >> 4) != 0);
    self.Link();
  });
  Add(Tag_ID, Tag_ver, Length, ProfessionalMetaID);
  if (Tag_ver > 0x10) Add(blkPRO_ContentInfo);
  if (Tag_ver > 0x11) Add(FutureDefinedFields);
}

void BlkPRO_ProfessionalMetaID::Read(AAA::BitReader& reader) {
  ReadAll(reader, {&Tag_ID, &Tag_ver, &Length, &ProfessionalMetaID});
  if (Tag_ver >= 0x11) {
    // The content info's tag byte; the content info knows its own tag.
    ReadTag(*this, "PRO_Tag_ID", reader);
    blkPRO_ContentInfo.Read(reader);
  }
  if (Tag_ver > 0x11) ReadUpTo(reader, FutureDefinedFields, EndOf(Length));
  CheckLengths();
}

// The version is set last: a new block declares its content info until then,
// so that the content info has its values for a later version.
void BlkPRO_ProfessionalMetaID::Initialize() {
  Block::Initialize();
  FutureDefinedFields.SetBitLength(0);
  Tag_ver.SetValue(kProVersion);
}

// Unknown tags -------------------------------------------------------------

void ReadKept(AAA::FieldBase& tag, AAA::FieldBase& second, AAA::FieldBase& length, AAA::FieldBase& data,
              AAA::BitReader& reader) {
  KeepAsRead(tag);
  second.Read(reader);
  length.Read(reader);
  data.SetBitLength(length * 8ll);
  data.Read(reader);
}

void BlkPRO_Unknown::Read(AAA::BitReader& reader) { ReadKept(Tag_ID, Tag_ver, Length, ext_data, reader); }

void BlkPRO_UnknownPRO::Read(AAA::BitReader& reader) {
  ReadKept(PRO_Tag_ID, Fill_item, Length, ext_data, reader);
  CheckLengths();
}

// Reading by tag -----------------------------------------------------------

namespace {

AAA::Block* KnownBlockOfTag(std::span<const TaggedBlock> known, std::uint32_t tag) {
  const auto found =
      std::find_if(known.begin(), known.end(), [tag](const TaggedBlock& each) { return each.tag == tag; });
  return found != known.end() ? found->block : nullptr;
}

}  // namespace

void ReadTaggedUpTo(AAA::Block& owner, AAA::BitReader& reader, std::int64_t endBits, const BlockOfTag& blockOfTag,
                    AAA::Array<BlkPRO_UnknownPRO>& unknowns) {
  while (static_cast<std::int64_t>(reader.BitPosition()) < endBits) {
    const std::uint32_t tag = ReadTag(owner, "PRO_Tag_ID", reader);
    if (AAA::Block* block = blockOfTag(tag)) {
      block->Read(reader);
    } else {
      BlkPRO_UnknownPRO& unknown = unknowns.Append();
      unknown.PRO_Tag_ID.SetValue(tag);
      unknown.Read(reader);
    }
  }
  owner.Link();
}

void ReadTaggedUpTo(AAA::Block& owner, AAA::BitReader& reader, std::int64_t endBits, std::span<const TaggedBlock> known,
                    AAA::Array<BlkPRO_UnknownPRO>& unknowns) {
  ReadTaggedUpTo(
      owner, reader, endBits, [known](std::uint32_t tag) { return KnownBlockOfTag(known, tag); }, unknowns);
}

void ReadDataBlocks(AAA::Block& owner, std::uint32_t count, AAA::BitReader& reader,
                    std::initializer_list<TaggedBlock> known) {
  for (std::uint32_t i = 0; i < count; ++i) {
    AAA::Block* block = KnownBlockOfTag(std::span(known.begin(), known.end()), ReadTag(owner, "Tag_ID", reader));
    if (block == nullptr) AAA_THROW(InvalidDataException());
    block->Read(reader);
  }
  owner.Link();
}

}  // namespace AVCHD::Common
