#pragma once

#include <algorithm>
#include <vector>

#include "aaalib/AAA_ArrayIterator.h"
#include "aaalib/AAA_Element.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

namespace AAA {

// A run of blocks of one type, sized by a count field of the enclosing block. Each element is allocated on its own:
// growing the array keeps the addresses of the elements in it (parents, callbacks and the restore steps hold them),
// and an empty one holds no memory. The array has no name: its elements carry the array member's name and are named
// directly under the enclosing block ("blkIndex.blkEntryArray.Id").
template <class T>
class Array : public Element {
 public:
  static constexpr std::size_t kMaxElements = 1u << 20;

  explicit Array(const char* elementName) : Element(""), elementName_(elementName) {}
  // A copy's elements belong to no parent until the copy is linked.
  Array(const Array& other) : Element(other), elementName_(other.elementName_) { CopyItems(other); }
  Array& operator=(const Array& other) {
    Element::operator=(other);
    elementName_ = other.elementName_;
    CopyItems(other);
    adopted_ = 0;
    return *this;
  }

  std::size_t Size() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  T& operator[](std::size_t index) { return *items_[index]; }
  const T& operator[](std::size_t index) const { return *items_[index]; }
  T& Back() { return *items_.back(); }
  ArrayIterator<T> begin() { return ArrayIterator<T>(items_.data()); }
  ArrayIterator<T> end() { return ArrayIterator<T>(items_.data() + items_.size()); }
  ArrayIterator<const T> begin() const { return ArrayIterator<const T>(items_.data()); }
  ArrayIterator<const T> end() const { return ArrayIterator<const T>(items_.data() + items_.size()); }

  // New elements are freshly constructed (all fields unset); surplus ones are
  // dropped from the end.
  void Resize(std::size_t count) {
    // No management file can hold more elements than it has bytes; a count
    // from a broken file beyond that must not exhaust the memory.
    if (count > kMaxElements) AAA_THROW(InvalidDataException());
    while (items_.size() > count) items_.pop_back();
    adopted_ = std::min(adopted_, items_.size());
    if (count > items_.capacity()) items_.reserve(std::max(count, 2 * items_.capacity()));
    while (items_.size() < count) Append();
  }
  T& Append() { return Adopt(*items_.emplace_back(std::make_unique<T>())); }
  // The elements after `index` move down, keeping their addresses; they are
  // linked again.
  void Erase(std::size_t index) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    adopted_ = std::min(adopted_, index);
  }

  std::int32_t BitLength() const override {
    std::int64_t total = 0;
    for (const T& item : *this) total += item.BitLength();
    return static_cast<std::int32_t>(total);
  }
  // Links the elements added since the last link; all of them when the
  // array has a new parent.
  void Link() override {
    if (adoptedBy_ != Parent()) adopted_ = 0;
    adoptedBy_ = Parent();
    for (; adopted_ < items_.size(); ++adopted_) {
      T& item = *items_[adopted_];
      item.SetName(elementName_);
      item.SetParent(Parent());
      item.Link();
    }
  }
  bool IsLinked() const override { return adoptedBy_ == Parent() && adopted_ == items_.size(); }
  void Read(BitReader& reader) override {
    for (T& item : *this) item.Read(reader);
  }
  void Write(BitWriter& writer) override {
    for (T& item : *this) item.Write(writer);
  }
  void Initialize() override {
    for (T& item : *this) item.Initialize();
  }
  void Update() override {
    for (T& item : *this) item.Update();
  }
  bool IsModified() const override {
    for (const T& item : *this) {
      if (item.IsModified()) return true;
    }
    return false;
  }

 private:
  // A new element linked itself when it was made; it only needs its name
  // and parent.
  T& Adopt(T& item) {
    item.SetName(elementName_);
    item.SetParent(Parent());
    if (adoptedBy_ == Parent() && adopted_ + 1 == items_.size()) ++adopted_;
    return item;
  }

  void CopyItems(const Array& other) {
    std::vector<std::unique_ptr<T>> copies;
    copies.reserve(other.items_.size());
    for (const T& item : other) copies.push_back(std::make_unique<T>(item));
    items_ = std::move(copies);
  }

  const char* elementName_;
  std::vector<std::unique_ptr<T>> items_;
  // items_[0, adopted_) are linked under adoptedBy_.
  std::size_t adopted_ = 0;
  Element* adoptedBy_ = nullptr;
};

}  // namespace AAA
