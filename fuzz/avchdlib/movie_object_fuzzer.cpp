// The movie object parser on arbitrary bytes.
#include "avchdlib/AVCHD_MovieObject.h"
#include "fuzz/avchdlib/ModelRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzModelRoundTrip<AVCHD::MovieObject::BlkMovieObjectFile>(data, size);
}
