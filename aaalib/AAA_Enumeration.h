#pragma once

#include <cstdint>
#include <span>

#include "aaalib/AAA_Field.h"

namespace AAA::Field {

// One value of an enumeration and its text.
struct EnumText {
  std::uint32_t value;
  const char* text;
};

// A field whose value names one entry of a table; values not in the table
// read as "reserved". The enumeration's class name is its type name. Type
// name and table belong to the class, not to each field of it.
class Enumeration : public FieldBase {
 public:
  using FieldBase::FieldBase;
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;

 protected:
  virtual std::span<const EnumText> Table() const = 0;
};

}  // namespace AAA::Field
