#include "avchdlib/AVCHD_FileKinds.h"

#include <cstring>

#include "avchdlib/AVCHD_ClipInformation.h"
#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_MovieObject.h"
#include "avchdlib/AVCHD_MoviePlayList.h"
#include "avchdlib/AVCHD_Thumbnail.h"

namespace AVCHD {
namespace {

template <class Model>
std::unique_ptr<AAA::FileBlock> Make() {
  return std::make_unique<Model>();
}

const FileKind kFileKinds[] = {
    {"INDX", "index table", Make<IndexTable::BlkIndexTableFile>},
    {"MOBJ", "movie object", Make<MovieObject::BlkMovieObjectFile>},
    {"TIDX", "thumbnail index", Make<Thumbnail::BlkThumbnailIndexFile>},
    {"MPLS", "movie playlist", Make<MoviePlayList::BlkMoviePlayListFile>},
    {"HDMV", "clip information", Make<ClipInformation::BlkClipInformationFile>},
};

}  // namespace

std::span<const FileKind> FileKinds() { return kFileKinds; }

const FileKind* FindFileKind(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return nullptr;
  for (const FileKind& kind : kFileKinds) {
    if (std::memcmp(kind.typeIndicator, bytes.data(), 4) == 0) return &kind;
  }
  return nullptr;
}

}  // namespace AVCHD
