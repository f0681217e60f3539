#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "aaalib/AAA_FieldBase.h"

// The verification primitives. Every rule is written once, through the
// macros below, which capture its text as written, the source file and the
// line; the text is part of the diagnostic output.
//
//   AAA_VERIFY(field, condition)        strict: report and throw InvalidDataException
//   AAA_VERIFY_EQUAL(field, expected)   strict comparison
//   AAA_CHECK(field, expected)          report a difference and leave it (returns false)
//   AAA_CORRECT(field, expected)        report a difference and assign the expected value
//   AAA_REPORT_FAILURE(field, cond)     report a false condition (returns it); a correction follows
//
// An expected value is a number, a byte string or another field.
//
// Each report is also kept as a finding while a FindingRecorder is in place
// on the reporting thread.

namespace AAA {

struct Rule {
  const char* text;
  const char* file;  // null: compare only, report nothing
  int line;
};

using Expected = std::variant<std::uint32_t, Bytes, const FieldBase*>;

// The expected value as the field's bytes (a number is stored big-endian into
// the field's byte count).
Bytes ExpectedBytes(const FieldBase& field, const Expected& expected);

// A rule that failed, or a value corrected, as the verification met it.
struct RuleFinding {
  // The file of the model the field belongs to; empty when the model names none.
  std::string File;
  std::string Field;  // the full name
  std::string Rule;   // the rule's text, as the log prints it
  std::string Found;
  // What the rule expects; empty for a condition.
  std::string Expected;
  // The value a correction set.
  std::optional<std::string> Set;
};

// Keeps every rule reported on this thread in `findings` while it lives.
class FindingRecorder {
 public:
  explicit FindingRecorder(std::vector<RuleFinding>& findings);
  ~FindingRecorder();
  FindingRecorder(const FindingRecorder&) = delete;
  FindingRecorder& operator=(const FindingRecorder&) = delete;

 private:
  std::vector<RuleFinding>* previous_;
};

bool Check(const FieldBase& field, const Expected& expected, const Rule& rule);
void VerifyEqual(const FieldBase& field, const Expected& expected, const Rule& rule);
bool ReportFailure(const FieldBase& field, const Rule& rule);
void Verify(const FieldBase& field, bool condition, const Rule& rule);
// Gives the field the expected value (a number through SetValue, so that it is logged).
void SetExpected(FieldBase& field, const Expected& expected);
// Returns true when the value was already as expected.
bool Correct(FieldBase& field, const Expected& expected, const Rule& rule);

// Adapters so that a rule can name a number, bytes or a field as expected value.
inline Expected ExpectedOf(std::uint32_t number) { return number; }
// Any other integer literal (a plain 0 would otherwise also be a null text).
template <std::integral Number>
Expected ExpectedOf(Number number) {
  return static_cast<std::uint32_t>(number);
}
inline Expected ExpectedOf(const Bytes& bytes) { return bytes; }
inline Expected ExpectedOf(const FieldBase& field) { return &field; }
// A text constant (a type indicator such as "MOBJ"), without its terminator.
inline Expected ExpectedOf(const char* text) { return Bytes(text, text + std::char_traits<char>::length(text)); }

}  // namespace AAA

#define AAA_RULE(text) (::AAA::Rule{(text), __FILE__, __LINE__})
#define AAA_VERIFY(field, condition) ::AAA::Verify((field), static_cast<bool>(condition), AAA_RULE(#condition))
#define AAA_VERIFY_EQUAL(field, expected) ::AAA::VerifyEqual((field), ::AAA::ExpectedOf(expected), AAA_RULE(#expected))
#define AAA_CHECK(field, expected) ::AAA::Check((field), ::AAA::ExpectedOf(expected), AAA_RULE(#expected))
#define AAA_CORRECT(field, expected) ::AAA::Correct((field), ::AAA::ExpectedOf(expected), AAA_RULE(#expected))
#define AAA_REPORT_FAILURE(field, condition) \
  (static_cast<bool>(condition) || ::AAA::ReportFailure((field), AAA_RULE(#condition)))
