#pragma once

#include <filesystem>
#include <utility>
#include <vector>

#include "aaalib/AAA_Element.h"
#include "aaalib/AAA_Field.h"
#include "aaalib/AAA_Verify.h"

namespace AAA {

// A block of a file format. Its fields and sub-blocks are members; `Declare`
// lists the ones that take part in the data, in file order, and may leave out
// what the current version or type does not have. A member left out is
// neither read, written, counted nor tested for changes.
//
// A derived block's constructor ends with `Link()`. Copies link themselves on
// first use, so that the children list and the callbacks point into the copy.
class Block : public Element {
 public:
  using Element::Element;
  Block(const Block& other) : Element(other) {}
  Block& operator=(const Block& other) {
    Element::operator=(other);
    linked_ = false;
    return *this;
  }

  std::int32_t BitLength() const override;
  // Wires the callbacks and re-declares the children, then links each child
  // that is new here or not linked (a copy, or an array grown since).
  void Link() final;
  bool IsLinked() const override { return linked_; }
  // Reads the children in order (a field read may re-declare the ones after
  // it), checking each field's rules as it is read, then the lengths.
  void Read(BitReader& reader) override;
  void Write(BitWriter& writer) override;
  void Initialize() override;
  // The children inner first (fields write their fixed values), then
  // `Derive`, then the lengths the fields measure.
  void Update() override;
  bool IsModified() const override;

  const std::vector<Element*>& Children() const;

 protected:
  // Wires the callbacks of the structural fields (`OnChange`) and appends the
  // children (`Add`) in file order.
  virtual void Declare() = 0;
  template <class... Children>
  void Add(Children&... children) {
    (children_.push_back(&children), ...);
  }
  // The values that rules of single fields cannot state (addresses, paddings
  // and counts between fields), derived after the children are updated and
  // before the lengths are.
  virtual void Derive() {}
  // `field` is a child this block declares: the callback runs with its parent.
  void OnChange(FieldBase& field, ChangeCallback callback) { field.SetChangeCallback(callback); }

  // Reads a padding of `bitLength` bits (use AAA_READ_PADDING, which names
  // the rule after the caller's length variable); a negative length means
  // that an addressed sub-block would begin before data already read.
  // For a block that reads its children itself: checks the lengths its
  // fields measure, as Block::Read does at its end.
  void CheckLengths() const;

  void ReadPadding(BitReader& reader, Field::Padding& padding, std::int64_t bitLength, const Rule& rule);

  // The offset in bits of the direct child `child` from this block's start.
  std::int64_t BitOffsetOf(const Element& child) const;

  // Sets `address` to the distance in bytes from `originBits` (an offset in
  // this block) to the child `target`. With `paddingBefore`, an address that
  // is not a multiple of 4 is raised to the next one by widening that padding.
  void SetStartAddress(FieldBase& address, std::int64_t originBits, const Element& target,
                       Field::Padding* paddingBefore = nullptr);

 private:
  void EnsureLinked() const;

  std::vector<Element*> children_;
  bool linked_ = false;
};

// The root of a file model: writing it first re-links and updates it, so that
// lengths, addresses, counts and paddings are recomputed from its content.
//
// A model read from a copy of its file (the file itself missing or unsound)
// names that copy: the file is then written even when no field changed.
class FileBlock : public Block {
 public:
  using Block::Block;
  void Write(BitWriter& writer) override;

  // The file the model was read from (or the copy it was read from); the
  // findings of its rules name it. A model built anew has none, and its
  // rules make no findings: they describe how it is made, not the card.
  void SetPath(std::filesystem::path path) { path_ = std::move(path); }
  const std::filesystem::path& Path() const { return path_; }
  void SetCopiedFrom(std::filesystem::path copy) { copiedFrom_ = std::move(copy); }
  const std::filesystem::path& CopiedFrom() const { return copiedFrom_; }
  // The model was read from a file (its own or a copy), not built anew.
  void SetRead() { read_ = true; }
  bool WasRead() const { return read_; }
  // The file must be written: a field changed, or it was read from a copy.
  bool NeedsWrite() const { return !copiedFrom_.empty() || IsModified(); }

 private:
  std::filesystem::path path_;
  std::filesystem::path copiedFrom_;
  bool read_ = false;
};

}  // namespace AAA

// Reads `padding` with the length held in the local variable `lengthVariable`;
// the rule's text is "<lengthVariable> >= 0".
#define AAA_READ_PADDING(reader, padding, lengthVariable) \
  ReadPadding(reader, padding, lengthVariable, AAA_RULE(#lengthVariable " >= 0"))
