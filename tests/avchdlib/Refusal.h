#pragma once

// Damaging a model's bytes at a field and expecting the read to refuse them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <regex>
#include <string>

#include "ModelBytes.h"
#include "tests/aaalib/LogCapture.h"

namespace Refusal {

// A failed rule's report with the line number left out, so that the tests do
// not change with every edit of the rule's source file.
inline std::string WithoutLines(const std::string& log) {
  return std::regex_replace(log, std::regex(R"(\((\d+)\):\n)"), "(#):\n");
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
