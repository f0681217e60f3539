// The framework's reading path (counts, versions, paddings, lengths) on
// arbitrary bytes, through the small format of the framework's tests; a read
// model must also write back.
#include <cstdint>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_MemoryStream.h"
#include "tests/aaalib/SampleFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  AAA::MemoryStream input(AAA::Bytes(data, data + size));
  AAA::BitReader reader(input);
  Sample::BlkSampleFile file;
  try {
    file.Read(reader);
  } catch (const AAA::ExceptionBase&) {
    return 0;  // refused input: the expected outcome for most mutations
  }
  AAA::MemoryStream output;
  AAA::BitWriter writer(output);
  file.Write(writer);
  return 0;
}
