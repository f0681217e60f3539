#pragma once

#include <cstdint>
#include <span>

#include "aaalib/AAA_Field.h"

// Fields that differ from a plain number only in how their value reads as
// text (log lines, and text comparisons of the restore steps) and, for
// material numbers, in how a new value is made.
namespace AAA::Field {

// Four bytes: frames (BCD, bit 6 the drop-frame flag), seconds, minutes, hours.
// "23:59:30:05 DF"; all 0xFF is "UNDEFINED".
class TimeCode : public FieldBase {
 public:
  explicit TimeCode(const char* name) : FieldBase(name, 32) {}
  const char* TypeName() const override { return "TimeCode"; }
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;
};

// Seven BCD bytes: year (two bytes), month, day, hour, minute, second.
// "2012.SEP.13 14:05:59"; a month outside 1..12 is "INV".
class TimeAndDate : public FieldBase {
 public:
  explicit TimeAndDate(const char* name) : FieldBase(name, 56) {}
  const char* TypeName() const override { return "TimeAndDate"; }
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;
};

// Bit 6 daylight saving, bit 5 negative, bits 1-4 hours, bit 0 half hour.
// "+9:00 " or "-3:30 DST"; hours 15 is "UNDEFINED".
class TimeZone : public FieldBase {
 public:
  explicit TimeZone(const char* name) : FieldBase(name, 8) {}
  const char* TypeName() const override { return "TimeZone"; }
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;
};

// The character set code that precedes a text in the files.
class CharacterSet : public FieldBase {
 public:
  explicit CharacterSet(const char* name) : FieldBase(name, 8) {}
  const char* TypeName() const override { return "CharacterSet"; }
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;
};

// A start binary group of professional metadata: bytes 3, 2, 1, 0 as
// "%02x:%02x:%02x:%02x"; all 0xFF is "UNDEFINED".
class Pro_BinaryGroup : public FieldBase {
 public:
  Pro_BinaryGroup() : FieldBase("StartBinaryGroup", 32) {}
  const char* TypeName() const override { return "Pro_BinaryGroup"; }
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;
};

// A unique material identifier (32 bytes); `Initialize` makes a new one:
// the fixed 16-byte label, then a material number from a new random
// 128-bit identifier. No callback runs and nothing is logged.
class Pro_Umid : public FieldBase {
 public:
  explicit Pro_Umid(const char* name) : FieldBase(name, 256) {}
  const char* TypeName() const override { return "Pro_Umid"; }
  void Initialize() override;
};

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

#define AAA_ENUMERATION(Type)                                                                                          \
  class Type : public Enumeration {                                                                                    \
   public:                                                                                                             \
    static const EnumText kTable[];                                                                                    \
    static const std::size_t kTableSize;                                                                               \
    Type(const char* name, std::int32_t width, const FieldRules* rules = nullptr) : Enumeration(name, width, rules) {} \
    const char* TypeName() const override { return #Type; }                                                            \
                                                                                                                       \
   protected:                                                                                                          \
    std::span<const EnumText> Table() const override { return {kTable, kTableSize}; }                                  \
  }

AAA_ENUMERATION(StillMode);
AAA_ENUMERATION(StreamEntryType);
AAA_ENUMERATION(SubPathType);
AAA_ENUMERATION(MarkType);
AAA_ENUMERATION(ApplicationType);
AAA_ENUMERATION(VideoFormat);
AAA_ENUMERATION(FrameRate);
AAA_ENUMERATION(AspectRatio);
AAA_ENUMERATION(AudioPresentationType);
AAA_ENUMERATION(SamplingFrequency);
AAA_ENUMERATION(CPIType);
AAA_ENUMERATION(IEndPositionOffset);
AAA_ENUMERATION(PlayListAttribute);
AAA_ENUMERATION(Pulldown);
AAA_ENUMERATION(HorizontalSize);
AAA_ENUMERATION(Pro_TimeCodeInfo);
AAA_ENUMERATION(Pro_VFRMode);
AAA_ENUMERATION(Pro_VFRState);
AAA_ENUMERATION(Pro_Source);
AAA_ENUMERATION(Pro_ProModeFlag);

#undef AAA_ENUMERATION

// Always 8 bits and always named "StreamCodingType".
class StreamCodingType : public Enumeration {
 public:
  static const EnumText kTable[];
  static const std::size_t kTableSize;
  explicit StreamCodingType(const FieldRules* rules = nullptr) : Enumeration("StreamCodingType", 8, rules) {}
  const char* TypeName() const override { return "StreamCodingType"; }

 protected:
  std::span<const EnumText> Table() const override { return {kTable, kTableSize}; }
};

}  // namespace AAA::Field
