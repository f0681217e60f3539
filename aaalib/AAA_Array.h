#pragma once

#include <deque>

#include "aaalib/AAA_Element.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

namespace AAA {

// A run of blocks of one type, sized by a count field of the enclosing block.
// Growing it keeps the addresses of the elements already in it, since
// parents, callbacks and the restore steps hold pointers into them. The array
// has no name: its elements carry the array member's name and are named
// directly under the enclosing block ("blkExtensionData.blkExtDataEntryArray.ExtDataType").
template <class T>
class Array : public Element {
 public:
  static constexpr std::size_t kMaxElements = 1u << 20;

  explicit Array(const char* elementName) : Element(""), elementName_(elementName) {}

  std::size_t Size() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  T& operator[](std::size_t index) { return items_[index]; }
  const T& operator[](std::size_t index) const { return items_[index]; }
  T& Back() { return items_.back(); }
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // New elements are freshly constructed (all fields unset); surplus ones are
  // dropped from the end.
  void Resize(std::size_t count) {
    // No management file can hold more elements than it has bytes; a count
    // from a broken file beyond that must not exhaust the memory.
    if (count > kMaxElements) AAA_THROW(InvalidDataException());
    while (items_.size() > count) items_.pop_back();
    while (items_.size() < count) Adopt(items_.emplace_back());
  }
  T& Append() { return Adopt(items_.emplace_back()); }
  void Erase(std::size_t index) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index)); }

  std::int32_t BitLength() const override {
    std::int64_t total = 0;
    for (const T& item : items_) total += item.BitLength();
    return static_cast<std::int32_t>(total);
  }
  void Link() override {
    for (T& item : items_) Adopt(item).Link();
  }
  void Read(BitReader& reader) override {
    for (T& item : items_) item.Read(reader);
  }
  void Write(BitWriter& writer) override {
    for (T& item : items_) item.Write(writer);
  }
  void Initialize() override {
    for (T& item : items_) item.Initialize();
  }
  void Update() override {
    for (T& item : items_) item.Update();
  }
  bool IsModified() const override {
    for (const T& item : items_) {
      if (item.IsModified()) return true;
    }
    return false;
  }

 private:
  T& Adopt(T& item) {
    item.SetName(elementName_);
    item.SetParent(Parent());
    return item;
  }

  const char* elementName_;
  std::deque<T> items_;
};

}  // namespace AAA
