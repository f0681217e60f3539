#pragma once

#include <cstdint>
#include <string>

namespace AAA {

class BitReader;
class BitWriter;
class FieldBase;

// The base of every node of a file model: fields at the leaves, blocks and
// arrays above them. All nodes share one protocol of operations.
class Element {
 public:
  // Names are literals of the format's tables, never built at run time.
  explicit Element(const char* name) : name_(name) {}
  virtual ~Element() = default;
  // A copy belongs to no parent until its new parent links it.
  Element(const Element& other) : name_(other.name_) {}
  Element& operator=(const Element& other) {
    name_ = other.name_;
    return *this;
  }

  const char* Name() const { return name_; }
  void SetName(const char* name) { name_ = name; }
  Element* Parent() const { return parent_; }
  void SetParent(Element* parent) { parent_ = parent; }

  // The parent's full name, ".", and this name; arrays have no name of their
  // own, so their elements are named directly under the enclosing block.
  std::string FullName() const;

  virtual std::int32_t BitLength() const = 0;
  // (Re)declares the children in file order and sets their parents.
  virtual void Link() = 0;
  // Whether the children are declared and know their parents: a block
  // re-declaring its children links again only those that are not, so that
  // growing an array by one element costs one element, not the whole file.
  virtual bool IsLinked() const = 0;
  virtual void Read(BitReader& reader) = 0;
  virtual void Write(BitWriter& writer) = 0;
  virtual void Initialize() = 0;
  // Recomputes derived values (lengths, addresses, counts, paddings), inner first.
  virtual void Update() = 0;
  virtual bool IsModified() const = 0;
  // The node as a field, for blocks that apply their fields' rules; null for
  // blocks and arrays.
  virtual FieldBase* AsField() { return nullptr; }
  virtual const FieldBase* AsField() const { return nullptr; }

 private:
  const char* name_;
  Element* parent_ = nullptr;
};

}  // namespace AAA
