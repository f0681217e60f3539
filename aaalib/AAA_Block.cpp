#include "aaalib/AAA_Block.h"

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FieldRules.h"

namespace AAA {

void Block::EnsureLinked() const {
  // Linking is logically const: it only rebuilds the list of pointers to
  // members and their parents after this block was copied.
  if (!linked_) const_cast<Block*>(this)->Link();
}

const std::vector<Element*>& Block::Children() const {
  EnsureLinked();
  return children_;
}

void Block::Link() {
  children_.clear();
  linked_ = true;
  Declare();
  // A model holds thousands of blocks, each kept for the whole run: the
  // slack that growing the list left is given back.
  if (children_.capacity() - children_.size() >= 4) children_.shrink_to_fit();
  // A child that is linked under this block already is left as it is: its
  // own changes re-link it (every field its declaration depends on has a
  // change callback that does).
  for (Element* child : children_) {
    if (child->Parent() == this && child->IsLinked()) continue;
    child->SetParent(this);
    child->Link();
  }
}

std::int32_t Block::BitLength() const {
  std::int64_t total = 0;
  for (const Element* child : Children()) total += child->BitLength();
  return static_cast<std::int32_t>(total);
}

// Children are visited by index: a count, version or type field that is read,
// initialized or updated re-declares the children after it.
void Block::Read(BitReader& reader) {
  for (std::size_t i = 0; i < Children().size(); ++i) Children()[i]->Read(reader);
  CheckLengths();
}

void Block::Write(BitWriter& writer) {
  for (Element* child : Children()) child->Write(writer);
}

void Block::Initialize() {
  for (std::size_t i = 0; i < Children().size(); ++i) Children()[i]->Initialize();
}

void Block::Update() {
  for (std::size_t i = 0; i < Children().size(); ++i) Children()[i]->Update();
  Derive();
  for (Element* child : Children()) {
    FieldBase* field = child->AsField();
    if (field != nullptr && field->Rules() != nullptr && field->Rules()->MeasuresLength()) {
      field->Rules()->WriteLength(*this, *field);
    }
  }
}

void Block::CheckLengths() const {
  for (const Element* child : Children()) {
    const FieldBase* field = child->AsField();
    if (field != nullptr && field->Rules() != nullptr) field->Rules()->CheckLength(*this, *field);
  }
}

bool Block::IsModified() const {
  for (const Element* child : Children()) {
    if (child->IsModified()) return true;
  }
  return false;
}

void Block::ReadPadding(BitReader& reader, Field::Padding& padding, std::int64_t bitLength, const Rule& rule) {
  Verify(padding, bitLength >= 0, rule);
  padding.SetBitLength(bitLength);
  padding.Read(reader);
}

std::int64_t Block::BitOffsetOf(const Element& child) const {
  std::int64_t offset = 0;
  for (const Element* each : Children()) {
    if (each == &child) return offset;
    offset += each->BitLength();
  }
  // Asking for a member that does not take part is a fault of the model.
  throw ArgumentException();
}

void Block::SetStartAddress(FieldBase& address, std::int64_t originBits, const Element& target,
                            Field::Padding* paddingBefore) {
  std::int64_t bytes = (BitOffsetOf(target) - originBits) / 8;
  if (paddingBefore != nullptr && bytes % 4 != 0) {
    paddingBefore->SetBitLength(paddingBefore->BitLength() + 32 - (bytes % 4) * 8);
    bytes += 4 - bytes % 4;
  }
  address.SetValue(static_cast<std::uint32_t>(bytes));
}

void FileBlock::Write(BitWriter& writer) {
  Link();
  Update();
  Block::Write(writer);
}

}  // namespace AAA
