#include "aaalib/AAA_Element.h"

namespace AAA {

std::string Element::FullName() const {
  if (parent_ == nullptr) return name_;
  std::string parentName = parent_->FullName();
  if (parentName.empty()) return name_;
  if (*name_ == '\0') return parentName;
  return parentName + "." + name_;
}

}  // namespace AAA
