#pragma once

// Damaging a model's bytes at a field and expecting the read to refuse them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "ModelBytes.h"
#include "tests/aaalib/LogCapture.h"

namespace Refusal {

// A failed rule's report with the line number left out, so that the tests do
// not change with every edit of the rule's source file.
inline std::string WithoutLines(const std::string& log) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t close; (close = log.find("):\n", from)) != std::string::npos; from = close + 3) {
    const std::size_t open = log.rfind('(', close);
    const bool digits =
        open != std::string::npos && open + 1 < close && log.find_first_not_of("0123456789", open + 1) == close;
    out.append(log, from, digits ? open - from : close - from);
    out += digits ? "(#):\n" : "):\n";
  }
  out.append(log, from, std::string::npos);
  return out;
}

// Reads `bytes` into a new `Model`, expecting `Exception` and a report that
// contains `report`.
template <class Model, class Exception>
void ExpectRefused(const AAA::Bytes& bytes, const std::string& report) {
  LogCapture log(7);
  Model model;
  EXPECT_THROW(ModelBytes::Read(model, bytes), Exception);
  EXPECT_NE(WithoutLines(log.Take()).find(report), std::string::npos) << report;
}

// The byte at which the field that `select` picks from a `Model` read from
// `bytes` starts.
template <class Model, class Select>
std::size_t OffsetOf(const AAA::Bytes& bytes, Select select) {
  Model model;
  ModelBytes::Read(model, bytes);
  return static_cast<std::size_t>(select(model).BitPosition() / 8);
}

inline AAA::Bytes Poked(AAA::Bytes bytes, std::size_t offset, std::initializer_list<std::uint8_t> values) {
  for (std::uint8_t value : values) bytes.at(offset++) = value;
  return bytes;
}

}  // namespace Refusal
