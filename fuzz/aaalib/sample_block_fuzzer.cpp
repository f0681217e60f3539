// The framework's reading path (counts, versions, paddings, lengths) on
// arbitrary bytes, through the small format of the framework's tests; a read
// model must also write back and read again to the same bytes.
#include "fuzz/avchdlib/ModelRoundTrip.h"
#include "tests/aaalib/SampleFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzModelRoundTrip<Sample::BlkSampleFile>(data, size);
}
