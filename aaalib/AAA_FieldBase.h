#pragma once

#include <cstdint>
#include <string>

#include "aaalib/AAA_BitReader.h"
#include "aaalib/AAA_Element.h"

namespace AAA {

class Block;
class FieldRules;

// Run after every change of a field's value, with the block that declares
// it (its parent): count fields resize their arrays this way, version and
// type fields re-declare their block's children.
using ChangeCallback = void (*)(Block& owner);

// A bit field: its value is (width + 7) / 8 bytes, big-endian and
// right-aligned. The baseline is the value as last read; the field is
// modified while the two differ.
class FieldBase : public Element {
 public:
  // A new field holds 0xAA bytes, equal to its baseline, never read. Its
  // rules (AAA_RULES) are checked as it is read and give the values Update
  // and Initialize write.
  FieldBase(const char* name, std::int32_t width, const FieldRules* rules = nullptr);
  // The copy keeps the callback, which runs once the copy's block has
  // linked it.
  FieldBase(const FieldBase& other);
  FieldBase& operator=(const FieldBase& other);

  std::int32_t BitLength() const override { return width_; }
  void Link() override {}
  bool IsLinked() const override { return true; }
  void Read(BitReader& reader) override;
  void Write(BitWriter& writer) override;
  void Initialize() override;
  void Update() override;
  bool IsModified() const override;
  const FieldRules* Rules() const { return rules_; }
  FieldBase* AsField() override { return this; }
  const FieldBase* AsField() const override { return this; }

  // Changes the width; the value keeps its bytes, grows with 0xAA bytes and
  // becomes the baseline. A width outside 0..2^31-1 (a length read from a
  // broken file) throws InvalidDataException.
  virtual void SetBitLength(std::int64_t bitLength);

  // The value as text. Typed fields override the rendering of given bytes,
  // which also renders the expected value of a failed rule.
  std::string ToString() const { return ToString(value_.Value()); }
  virtual std::string ToString(ByteSpan value) const;

  // The kind of field as the log names it ("BE", "Str"): one per
  // class, so that no field has to keep it.
  virtual const char* TypeName() const = 0;
  FieldBytes ValueBytes() const { return value_.Value(); }
  // The value as last read (as built, for a field never read).
  FieldBytes BaselineBytes() const { return value_.Baseline(); }
  std::int64_t BitPosition() const { return position_; }

  // The value as a number for widths of 1 to 32 bits; 0 for wider fields.
  std::uint32_t Value() const { return NumberOf(value_.Value()); }
  // Lets rules read like the format's own conditions ("Length % 4 == 0").
  operator std::uint32_t() const { return Value(); }

  // Stores the number big-endian (bytes beyond the last four become 0), runs
  // the callback and logs the new value with the prefix "= ".
  void SetValue(std::uint32_t number);
  std::uint32_t Increment();
  void SetBytes(ByteSpan bytes);
  void SetBytes(const Bytes& bytes) { SetBytes(ByteSpan(bytes)); }
  void SetBytes(const std::uint8_t* bytes, std::size_t count);
  void Fill(std::uint8_t byte);
  void Assign(const FieldBase& source);

  void SetChangeCallback(ChangeCallback callback);

  // The number as this field's bytes: big-endian into the field's byte count.
  Bytes BytesOf(std::uint32_t number) const;
  static std::uint32_t NumberOf(ByteSpan value);
  // Two lower-case hex digits a byte, as every log line prints values.
  static std::string Hex(ByteSpan value);

 protected:
  void Changed();
  void LogValue(const char* prefix) const;
  // A model is read from a management file of at most a few megabytes, so
  // that a position takes 32 bits; a larger one is refused.
  void RecordPosition(const BitReader& reader);
  void SetWidthOnly(std::int64_t bitLength);

  // A model holds tens of thousands of fields, so a field packs its members:
  // the width goes into the padding after the value, and the callback is
  // kept as its number among all callbacks (see SetChangeCallback).
  [[no_unique_address]] FieldValue value_;

 private:
  std::int32_t width_;
  std::int32_t position_ = -1;
  std::uint32_t callback_ = 0;
  const FieldRules* rules_;
};

}  // namespace AAA
