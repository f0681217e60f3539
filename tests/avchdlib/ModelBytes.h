#pragma once

// Reading a model from bytes and writing it back, as the tests of every file
// format do.

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <string>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Element.h"
#include "aaalib/AAA_MemoryStream.h"

namespace ModelBytes {

// Concatenates fixture pieces, each commented with the fields it holds.
inline AAA::Bytes Join(std::initializer_list<AAA::Bytes> pieces) {
  AAA::Bytes joined;
  for (const AAA::Bytes& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
  return joined;
}

inline AAA::Bytes Text(const std::string& text) { return AAA::Bytes(text.begin(), text.end()); }
inline AAA::Bytes Zeros(std::size_t count) { return AAA::Bytes(count, 0); }

template <class Model>
void Read(Model& model, const AAA::Bytes& bytes) {
  AAA::MemoryStream stream(bytes);
  AAA::BitReader reader(stream);
  model.Read(reader);
}

// Updates and writes any element; a file model's own Write does the same.
inline AAA::Bytes Write(AAA::Element& model) {
  model.Link();
  model.Update();
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  model.Write(writer);
  return stream.Bytes();
}

// Reads `bytes` into a new model and writes it back.
template <class Model>
AAA::Bytes Rewrite(const AAA::Bytes& bytes) {
  Model model;
  Read(model, bytes);
  return Write(model);
}

// A new model as Initialize builds it, written; the bytes must read back with
// every rule and write again to the same bytes.
template <class Model>
AAA::Bytes InitializedFileRoundTrips() {
  Model model;
  model.Initialize();
  const AAA::Bytes written = Write(model);
  EXPECT_EQ(Rewrite<Model>(written), written);
  return written;
}

// "avchdlib/X.h(line)" for the first line of the source file that holds
// `text`: where the log says a rule failed or an exception was thrown.
inline std::string Site(const char* file, const std::string& text) {
  std::ifstream source(std::string(VELMAR_SOURCE_DIR) + "/" + file);
  std::string line;
  for (int number = 1; std::getline(source, line); ++number) {
    if (line.find(text) != std::string::npos) return std::string(file) + "(" + std::to_string(number) + ")";
  }
  ADD_FAILURE() << text << " is not in " << file;
  return {};
}

// The first line of a failed rule's report.
inline std::string Position(const char* file, const std::string& text) { return Site(file, text) + ":\n"; }

}  // namespace ModelBytes
