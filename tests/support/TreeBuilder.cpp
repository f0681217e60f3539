#include "tests/support/TreeBuilder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_MemoryStream.h"

namespace TestSupport {
namespace fs = std::filesystem;

TreeBuilder::TreeBuilder(TreeNaming naming) : naming_(naming) {
  std::string pattern = (fs::temp_directory_path() / "velmar-tree-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  avchd_ = IsLongName() ? root_ / "AVCHDL" : root_ / "PRIVATE" / "AVCHD";
  fs::create_directories(avchd_ / "BDMV" / "STREAM");
}

TreeBuilder::~TreeBuilder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path TreeBuilder::StreamFile(const std::string& name) const {
  return avchd_ / "BDMV" / "STREAM" / (name + (IsLongName() ? ".m2ts" : ".MTS"));
}

fs::path TreeBuilder::ClipInformationFile(const std::string& name) const {
  return avchd_ / "BDMV" / "CLIPINF" / (name + (IsLongName() ? ".clpi" : ".CPI"));
}

fs::path TreeBuilder::ThumbnailIndexFile() const {
  return avchd_ / "AVCHDTN" / (IsLongName() ? "thumbnail.tidx" : "THUMB.TID");
}

fs::path TreeBuilder::ThumbnailDataFile() const {
  return avchd_ / "AVCHDTN" / (IsLongName() ? "thumbnail.tdt2" : "THUMB.TDT");
}

SampleGen::GeneratedStream TreeBuilder::AddStream(const std::string& name,
                                                  const SampleGen::StreamParameters& parameters) {
  return SampleGen::writeStream(parameters, StreamFile(name));
}

void TreeBuilder::WriteModel(const fs::path& path, AAA::Element& model) const {
  AAA::MemoryStream stream;
  AAA::BitWriter writer(stream);
  model.Write(writer);
  WriteFile(path, stream.Bytes());
}

AVCHD::Thumbnail::BlkThumbnailIndexFile TreeBuilder::ThumbnailIndex(const std::vector<ThumbnailEntry>& entries,
                                                                    std::uint32_t blocks) {
  AVCHD::Thumbnail::BlkThumbnailIndexFile index;
  index.Initialize();
  index.NumberOfThumbnails.SetValue(static_cast<std::uint32_t>(entries.size()));
  index.NumberOfTnBlocks.SetValue(blocks);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    auto& thumbnail = index.blkThumbnailArray[i];
    thumbnail.ThumbnailIndex.SetValue(entries[i].index);
    thumbnail.RefToTnBlockId.SetValue(entries[i].block);
    thumbnail.PictureByteSize.SetValue(entries[i].bytes);
    thumbnail.HorizontalPictureSize.SetValue(entries[i].width);
    thumbnail.VerticalPictureSize.SetValue(entries[i].height);
  }
  return index;
}

void TreeBuilder::AddThumbnails(const std::vector<ThumbnailEntry>& entries, std::uint32_t blocks,
                                std::uint64_t dataBytes) {
  auto index = ThumbnailIndex(entries, blocks);
  WriteModel(ThumbnailIndexFile(), index);
  WriteFile(ThumbnailDataFile(), std::vector<std::uint8_t>(dataBytes, 0x5A));
}

void TreeBuilder::WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) const {
  fs::create_directories(path.parent_path());
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!stream) throw std::runtime_error("cannot write " + path.string());
}

void TreeBuilder::CutFile(const fs::path& path, std::uint64_t size) const { fs::resize_file(path, size); }

std::vector<std::uint8_t> ReadFileBytes(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

}  // namespace TestSupport
