#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "aaalib/AAA_Element.h"
#include "avchdlib/AVCHD_Thumbnail.h"
#include "restorelib/Restore_Mode.h"
#include "samplegen/StreamGenerator.h"

// Builds AVCHD trees for tests in a folder of its own below the system's
// temporary folder (removed with the builder): generated streams, management
// files written by their models, thumbnail files, and damage done on purpose.
namespace TestSupport {

enum class TreeNaming {
  ShortNames,  // a card: <root>/PRIVATE/AVCHD with 8.3 upper-case names
  LongNames,   // a folder on a disk: <root>/AVCHDL with long names
};

// One thumbnail entry: index value, data block, picture bytes, width and height.
struct ThumbnailEntry {
  std::uint32_t index = 0;
  std::uint32_t block = 0;
  std::uint32_t bytes = 1000;
  std::uint32_t width = 320;
  std::uint32_t height = 240;
};

class TreeBuilder {
 public:
  explicit TreeBuilder(TreeNaming naming = TreeNaming::ShortNames);
  ~TreeBuilder();
  TreeBuilder(const TreeBuilder&) = delete;
  TreeBuilder& operator=(const TreeBuilder&) = delete;

  bool IsLongName() const { return naming_ == TreeNaming::LongNames; }
  const std::filesystem::path& Root() const { return root_; }
  // The AVCHD (or AVCHDL) folder.
  const std::filesystem::path& Avchd() const { return avchd_; }
  // What a restore run is given: the card's mount point (card mode) or the
  // AVCHDL folder (folder mode).
  const std::filesystem::path& Target() const { return IsLongName() ? avchd_ : root_; }
  Restore::Mode Mode() const { return IsLongName() ? Restore::Mode::AvchdFolder : Restore::Mode::MemoryCard; }

  std::filesystem::path StreamFile(const std::string& name) const;
  std::filesystem::path ClipInformationFile(const std::string& name) const;
  std::filesystem::path ThumbnailIndexFile() const;
  std::filesystem::path ThumbnailDataFile() const;

  // Writes stream `name` (five digits) into STREAM.
  SampleGen::GeneratedStream AddStream(const std::string& name, const SampleGen::StreamParameters& parameters);
  // Writes a model (Link, Update, write) to `path`, creating its folders.
  void WriteModel(const std::filesystem::path& path, AAA::Element& model) const;
  // The thumbnail index of `entries` (blocks of 16 KiB, `blocks` of them)
  // and a data file of `dataBytes` bytes.
  void AddThumbnails(const std::vector<ThumbnailEntry>& entries, std::uint32_t blocks, std::uint64_t dataBytes);
  static AVCHD::Thumbnail::BlkThumbnailIndexFile ThumbnailIndex(const std::vector<ThumbnailEntry>& entries,
                                                                std::uint32_t blocks);

  // Writes `bytes` as the whole content of `path`, creating its folders.
  void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) const;
  // Cuts a file to `size` bytes.
  void CutFile(const std::filesystem::path& path, std::uint64_t size) const;

 private:
  TreeNaming naming_;
  std::filesystem::path root_;
  std::filesystem::path avchd_;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

}  // namespace TestSupport
