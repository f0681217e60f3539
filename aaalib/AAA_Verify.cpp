#include "aaalib/AAA_Verify.h"

#include <algorithm>

#include "aaalib/AAA_Block.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"

namespace AAA {
namespace {

thread_local std::vector<RuleFinding>* findings = nullptr;

// The file of the model `field` belongs to: empty for a model built anew.
std::string FileOf(const FieldBase& field) {
  const Element* root = &field;
  while (root->Parent() != nullptr) root = root->Parent();
  const auto* file = dynamic_cast<const FileBlock*>(root);
  return file != nullptr ? file->Path().string() : std::string();
}

void Record(const FieldBase& field, const Rule& rule, std::string expected) {
  if (findings == nullptr) return;
  std::string file = FileOf(field);
  if (!file.empty())
    findings->push_back({std::move(file), field.FullName(), rule.text, field.ToString(), std::move(expected), {}});
}

void ReportPosition(const FieldBase& field, const Rule& rule) {
  Log::Line(Log::kHeading, "%s(%d):\n", rule.file, rule.line);
  Log::Line(Log::kHeading, "      Name: %s\n", field.FullName().c_str());
}

void ReportActual(const FieldBase& field) {
  Log::Line(Log::kHeading, "    Actual: 0x%s \"%s\"\n", FieldBase::Hex(field.ValueBytes()).c_str(),
            field.ToString().c_str());
}

void ReportMismatch(const FieldBase& field, const Bytes& expected, const Rule& rule) {
  Record(field, rule, field.ToString(expected));
  if (!Log::Enabled(Log::kHeading)) return;
  ReportPosition(field, rule);
  Log::Line(Log::kHeading, "  Expected: 0x%s \"%s\" (%s)\n", FieldBase::Hex(expected).c_str(),
            field.ToString(expected).c_str(), rule.text);
  ReportActual(field);
}

// Whether the field holds the expected value, without building its bytes: a
// number is compared as the field's bytes would hold it.
bool Holds(const FieldBase& field, const Expected& expected) {
  const ByteSpan value(field.ValueBytes().data(), field.ValueBytes().size());
  if (const auto* number = std::get_if<std::uint32_t>(&expected)) {
    if (value.size() > 4) return field.ValueBytes() == field.BytesOf(*number);
    const std::uint32_t mask = value.size() == 4 ? 0xFFFFFFFFu : (1u << (8 * value.size())) - 1;
    return FieldBase::NumberOf(value) == (*number & mask);
  }
  if (const auto* bytes = std::get_if<Bytes>(&expected)) return std::ranges::equal(value, *bytes);
  return field.ValueBytes() == std::get<const FieldBase*>(expected)->ValueBytes();
}

}  // namespace

FindingRecorder::FindingRecorder(std::vector<RuleFinding>& kept) : previous_(findings) { findings = &kept; }
FindingRecorder::~FindingRecorder() { findings = previous_; }

Bytes ExpectedBytes(const FieldBase& field, const Expected& expected) {
  if (const auto* number = std::get_if<std::uint32_t>(&expected)) return field.BytesOf(*number);
  if (const auto* bytes = std::get_if<Bytes>(&expected)) return *bytes;
  return Bytes(std::get<const FieldBase*>(expected)->ValueBytes());
}

bool Check(const FieldBase& field, const Expected& expected, const Rule& rule) {
  if (Holds(field, expected)) return true;
  if (rule.file != nullptr) {
    const Bytes wanted = ExpectedBytes(field, expected);
    ReportMismatch(field, wanted, rule);
  }
  return false;
}

void VerifyEqual(const FieldBase& field, const Expected& expected, const Rule& rule) {
  if (!Check(field, expected, rule)) throw InvalidDataException();
}

bool ReportFailure(const FieldBase& field, const Rule& rule) {
  Record(field, rule, {});
  if (Log::Enabled(Log::kHeading)) {
    ReportPosition(field, rule);
    Log::Line(Log::kHeading, "  Expected: true (\"%s\")\n", rule.text);
    ReportActual(field);
  }
  return false;
}

void Verify(const FieldBase& field, bool condition, const Rule& rule) {
  if (!condition && !ReportFailure(field, rule)) throw InvalidDataException();
}

void SetExpected(FieldBase& field, const Expected& expected) {
  if (const auto* number = std::get_if<std::uint32_t>(&expected)) {
    field.SetValue(*number);
  } else if (const auto* bytes = std::get_if<Bytes>(&expected)) {
    field.SetBytes(*bytes);
  } else {
    field.Assign(*std::get<const FieldBase*>(expected));
  }
}

bool Correct(FieldBase& field, const Expected& expected, const Rule& rule) {
  const std::size_t recorded = findings != nullptr ? findings->size() : 0;
  if (Check(field, expected, rule)) return true;
  SetExpected(field, expected);
  if (findings != nullptr && findings->size() > recorded) findings->back().Set = field.ToString();
  return false;
}

}  // namespace AAA
