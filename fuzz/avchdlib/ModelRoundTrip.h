#pragma once

// The check every management-file parser passes on arbitrary bytes: reading
// ends in success or an exception of the AAA family, and what reads writes
// bytes that read back and write again identically.

#include <cstdint>
#include <cstdlib>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_MemoryStream.h"

template <class Model>
AAA::Bytes WrittenModel(Model& model) {
  AAA::MemoryStream output;
  AAA::BitWriter writer(output);
  model.Write(writer);
  return output.Bytes();
}

template <class Model>
int FuzzModelRoundTrip(const std::uint8_t* data, std::size_t size) {
  Model model;
  try {
    AAA::MemoryStream input(AAA::Bytes(data, data + size));
    AAA::BitReader reader(input);
    model.Read(reader);
  } catch (const AAA::ExceptionBase&) {
    return 0;  // refused input: the expected outcome for most mutations
  }
  const AAA::Bytes written = WrittenModel(model);
  Model again;
  AAA::MemoryStream input(written);
  AAA::BitReader reader(input);
  again.Read(reader);  // an exception here escapes: a written model must read back
  if (WrittenModel(again) != written) std::abort();
  return 0;
}
