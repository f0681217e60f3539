#pragma once

#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <type_traits>

namespace AAA {

// Walks the elements of an Array (T, or const T) through the pointers that
// own them, as if they lay side by side.
template <class T>
class ArrayIterator {
 public:
  using Owner = std::unique_ptr<std::remove_const_t<T>>;
  using iterator_category = std::random_access_iterator_tag;
  using value_type = std::remove_const_t<T>;
  using difference_type = std::ptrdiff_t;
  using pointer = T*;
  using reference = T&;

  ArrayIterator() = default;
  explicit ArrayIterator(const Owner* at) : at_(at) {}

  T& operator*() const { return **at_; }
  T* operator->() const { return at_->get(); }
  T& operator[](difference_type n) const { return *at_[n]; }
  ArrayIterator& operator++() {
    ++at_;
    return *this;
  }
  ArrayIterator operator++(int) { return ArrayIterator(at_++); }
  ArrayIterator& operator--() {
    --at_;
    return *this;
  }
  ArrayIterator operator--(int) { return ArrayIterator(at_--); }
  ArrayIterator& operator+=(difference_type n) {
    at_ += n;
    return *this;
  }
  ArrayIterator& operator-=(difference_type n) {
    at_ -= n;
    return *this;
  }
  friend ArrayIterator operator+(ArrayIterator it, difference_type n) { return it += n; }
  friend ArrayIterator operator+(difference_type n, ArrayIterator it) { return it += n; }
  friend ArrayIterator operator-(ArrayIterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(const ArrayIterator& a, const ArrayIterator& b) { return a.at_ - b.at_; }
  friend bool operator==(const ArrayIterator& a, const ArrayIterator& b) { return a.at_ == b.at_; }
  friend auto operator<=>(const ArrayIterator& a, const ArrayIterator& b) { return a.at_ <=> b.at_; }

 private:
  const Owner* at_ = nullptr;
};

}  // namespace AAA
