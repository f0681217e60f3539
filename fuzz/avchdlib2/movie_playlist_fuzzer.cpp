// The movie playlist parser on arbitrary bytes.
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "fuzz/avchdlib/ModelRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzModelRoundTrip<AVCHD::MoviePlayList::BlkMoviePlayListFile>(data, size);
}
