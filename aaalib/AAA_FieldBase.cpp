#include "aaalib/AAA_FieldBase.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <mutex>
#include <span>
#include <stdexcept>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FieldRules.h"
#include "aaalib/AAA_Log.h"

namespace AAA {
namespace {
constexpr std::uint8_t kUnset = 0xAA;

// Big-endian into all of `bytes`; bytes beyond the last four become 0.
void PutNumber(std::span<std::uint8_t> bytes, std::uint32_t number) {
  std::fill(bytes.begin(), bytes.end(), 0);
  for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
    bytes[bytes.size() - 1 - i] = static_cast<std::uint8_t>(number >> (8 * i));
  }
}

// The change callbacks of all fields, each once, numbered from 1 (0 is none):
// structural fields take a few dozen, wired at every link, on any thread.
class CallbackTable {
 public:
  std::uint32_t NumberOf(ChangeCallback callback) {
    if (callback == nullptr) return 0;
    const std::lock_guard lock(mutex_);
    for (std::uint32_t number = 1; number <= count_; ++number) {
      if (callbacks_[number].load(std::memory_order_relaxed) == callback) return number;
    }
    if (count_ + 1 == callbacks_.size()) throw std::length_error("too many field change callbacks");
    callbacks_[++count_].store(callback, std::memory_order_release);
    return count_;
  }
  ChangeCallback operator[](std::uint32_t number) const { return callbacks_[number].load(std::memory_order_acquire); }

 private:
  std::mutex mutex_;
  std::uint32_t count_ = 0;
  std::array<std::atomic<ChangeCallback>, 256> callbacks_{};
};

CallbackTable& Callbacks() {
  static CallbackTable table;
  return table;
}
}  // namespace

FieldBase::FieldBase(const char* name, std::int32_t width, const FieldRules* rules)
    : Element(name), width_(width), rules_(rules) {
  value_.Resize((static_cast<std::size_t>(width) + 7) / 8, kUnset);
}

FieldBase::FieldBase(const FieldBase& other)
    : Element(other),
      value_(other.value_),
      width_(other.width_),
      position_(other.position_),
      callback_(other.callback_),
      rules_(other.rules_) {}

FieldBase& FieldBase::operator=(const FieldBase& other) {
  if (this == &other) return *this;
  Element::operator=(other);
  value_ = other.value_;
  width_ = other.width_;
  position_ = other.position_;
  rules_ = other.rules_;
  callback_ = other.callback_;
  return *this;
}

void FieldBase::Read(BitReader& reader) {
  RecordPosition(reader);
  if (width_ == 0) return;
  reader.Read(value_, static_cast<std::uint64_t>(width_));
  Changed();
  LogValue("");
  if (rules_ != nullptr) rules_->CheckRead(*this);
}

void FieldBase::RecordPosition(const BitReader& reader) {
  if (reader.BitPosition() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    AAA_THROW(InvalidDataException());
  }
  position_ = static_cast<std::int32_t>(reader.BitPosition());
}

void FieldBase::Initialize() {
  if (rules_ != nullptr) rules_->WriteInitial(*this);
}

void FieldBase::Update() {
  if (rules_ != nullptr) rules_->WriteFixed(*this);
}

void FieldBase::Write(BitWriter& writer) { writer.Write(value_.Value(), static_cast<std::uint64_t>(width_)); }

bool FieldBase::IsModified() const { return !value_.empty() && value_.Differs(); }

void FieldBase::SetWidthOnly(std::int64_t bitLength) {
  if (bitLength < 0 || bitLength > std::numeric_limits<std::int32_t>::max()) AAA_THROW(InvalidDataException());
  width_ = static_cast<std::int32_t>(bitLength);
}

void FieldBase::SetBitLength(std::int64_t bitLength) {
  SetWidthOnly(bitLength);
  value_.Resize((static_cast<std::size_t>(width_) + 7) / 8, kUnset);
}

std::string FieldBase::ToString(ByteSpan value) const {
  if (value.empty() || value.size() > 4) return {};
  return std::to_string(NumberOf(value));
}

std::string FieldBase::Hex(ByteSpan value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(value.size() * 2);
  for (std::uint8_t byte : value) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

std::uint32_t FieldBase::NumberOf(ByteSpan value) {
  if (value.empty() || value.size() > 4) return 0;
  std::uint32_t number = 0;
  for (std::uint8_t byte : value) number = (number << 8) | byte;
  return number;
}

Bytes FieldBase::BytesOf(std::uint32_t number) const {
  Bytes bytes(value_.size(), 0);
  PutNumber(bytes, number);
  return bytes;
}

void FieldBase::SetValue(std::uint32_t number) {
  PutNumber(value_.Value(), number);
  Changed();
  LogValue("= ");
}

std::uint32_t FieldBase::Increment() {
  const std::uint32_t before = Value();
  SetValue(before + 1);
  return before;
}

void FieldBase::SetBytes(ByteSpan bytes) { SetBytes(bytes.data(), std::min(bytes.size(), value_.size())); }

void FieldBase::SetBytes(const std::uint8_t* bytes, std::size_t count) {
  std::copy_n(bytes, std::min(count, value_.size()), value_.Value().begin());
  Changed();
}

void FieldBase::Fill(std::uint8_t byte) {
  std::ranges::fill(value_.Value(), byte);
  Changed();
}

void FieldBase::Assign(const FieldBase& source) {
  std::copy_n(source.value_.Value().begin(), std::min(source.value_.size(), value_.size()), value_.Value().begin());
  Changed();
}

void FieldBase::SetChangeCallback(ChangeCallback callback) { callback_ = Callbacks().NumberOf(callback); }

void FieldBase::Changed() {
  if (callback_ != 0 && Parent() != nullptr) Callbacks()[callback_](static_cast<Block&>(*Parent()));
}

void FieldBase::LogValue(const char* prefix) const {
  if (!Log::Enabled(Log::kValue)) return;
  Log::Line(Log::kValue, "    %s%s {%d,%s} = 0x%s \"%s\"\n", prefix, FullName().c_str(), width_, TypeName(),
            Hex(value_.Value()).c_str(), ToString().c_str());
}

}  // namespace AAA
