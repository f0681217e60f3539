#pragma once

#include <cstdint>

#include "aaalib/AAA_Field.h"
#include "avchdlib/AVCHD_Enumerations.h"

// Fields that differ from a plain number only in how their value reads as
// text (log lines, and text comparisons of the restore steps) and, for
// material numbers, in how a new value is made.
namespace AVCHD::Field {

// A field of `Width` bits whose value has a text of its own (ToString).
#define AVCHD_RENDERED_FIELD(Type, Width)                                                                      \
  class Type : public AAA::FieldBase {                                                                         \
   public:                                                                                                     \
    explicit Type(const char* name, const AAA::FieldRules* rules = nullptr) : FieldBase(name, Width, rules) {} \
    const char* TypeName() const override { return #Type; }                                                    \
    std::string ToString(AAA::ByteSpan value) const override;                                                  \
    using AAA::FieldBase::ToString;                                                                            \
  }

// Four bytes: frames (BCD, bit 6 the drop-frame flag), seconds, minutes, hours.
// "23:59:30:05 DF"; all 0xFF is "UNDEFINED".
AVCHD_RENDERED_FIELD(TimeCode, 32);

// Seven BCD bytes: year (two bytes), month, day, hour, minute, second.
// "2012.SEP.13 14:05:59"; a month outside 1..12 is "INV".
AVCHD_RENDERED_FIELD(TimeAndDate, 56);

// Bit 6 daylight saving, bit 5 negative, bits 1-4 hours, bit 0 half hour.
// "+9:00 " or "-3:30 DST"; hours 15 is "UNDEFINED".
AVCHD_RENDERED_FIELD(TimeZone, 8);

// The character set code that precedes a text in the files; 0x92 to 0x99
// are ISO 8859-2 to ISO 8859-9.
namespace CharacterSetValue {
inline constexpr std::uint32_t kUtf8 = 1, kUtf16BigEndian = 2, kShiftJis = 3, kEucKr = 4, kGb18030 = 5, kCnGb = 6,
                               kBig5 = 7, kIsdb = 0x81, kAscii = 0x90, kIso8859_1 = 0x91, kIso8859_9 = 0x99;
}
AVCHD_RENDERED_FIELD(CharacterSet, 8);

// A start binary group of professional metadata: bytes 3, 2, 1, 0 as
// "%02x:%02x:%02x:%02x"; all 0xFF is "UNDEFINED".
class Pro_BinaryGroup : public AAA::FieldBase {
 public:
  Pro_BinaryGroup() : FieldBase("StartBinaryGroup", 32) {}
  const char* TypeName() const override { return "Pro_BinaryGroup"; }
  std::string ToString(AAA::ByteSpan value) const override;
  using AAA::FieldBase::ToString;
};

// A unique material identifier (32 bytes); `Initialize` makes a new one:
// the fixed 16-byte label, then a material number from a new random
// 128-bit identifier. No callback runs and nothing is logged.
class Pro_Umid : public AAA::FieldBase {
 public:
  explicit Pro_Umid(const char* name) : FieldBase(name, 256) {}
  const char* TypeName() const override { return "Pro_Umid"; }
  void Initialize() override;
};

#undef AVCHD_RENDERED_FIELD

}  // namespace AVCHD::Field
