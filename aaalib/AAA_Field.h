#pragma once

#include "aaalib/AAA_FieldBase.h"

// The field kinds every format uses. A format's typed fields, with their
// own text renderings, derive from these in the format's own namespace.
namespace AAA::Field {

// A big-endian number of 1 to 32 bits, or a run of bytes handled as such
// (reserved areas, identifiers, navigation commands).
class BE : public FieldBase {
 public:
  BE(const char* name, std::int32_t width, const FieldRules* rules = nullptr) : FieldBase(name, width, rules) {}
  const char* TypeName() const override { return "BE"; }
};

// Reserved bits: read as they are, never checked, written as zeros.
class Reserved : public BE {
 public:
  explicit Reserved(std::int32_t width) : BE("reserved", width) {}
  void Update() override { SetValue(0); }
};

// Characters, one per byte.
class Str : public FieldBase {
 public:
  Str(const char* name, std::int32_t width, const FieldRules* rules = nullptr) : FieldBase(name, width, rules) {}
  const char* TypeName() const override { return "Str"; }
  std::string ToString(ByteSpan value) const override;
  using FieldBase::ToString;
};

// Bits that are passed over: the width is set at run time; no value is kept,
// reading skips and writing skips (a rewritten file keeps what was there,
// a new file gets zeros).
class Padding : public FieldBase {
 public:
  explicit Padding(const char* name) : FieldBase(name, 0) {}
  const char* TypeName() const override { return "Padding"; }
  void SetBitLength(std::int64_t bitLength) override { SetWidthOnly(bitLength); }
  void Read(BitReader& reader) override;
  void Write(BitWriter& writer) override;
};

// Opaque data whose size is known only at run time (a block a reader does
// not interpret): kept as read and written back as is.
class ExtData : public FieldBase {
 public:
  explicit ExtData(const char* name) : FieldBase(name, 0) {}
  const char* TypeName() const override { return "ExtData"; }
  void SetBitLength(std::int64_t bitLength) override { SetWidthOnly(bitLength); }
  void Read(BitReader& reader) override;
  void Write(BitWriter& writer) override;
};

}  // namespace AAA::Field
