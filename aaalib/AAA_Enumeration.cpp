#include "aaalib/AAA_Enumeration.h"

namespace AAA::Field {

std::string Enumeration::ToString(ByteSpan value) const {
  const std::uint32_t number = NumberOf(value);
  for (const EnumText& entry : Table()) {
    if (entry.value == number) return entry.text;
  }
  return "reserved";
}

}  // namespace AAA::Field
