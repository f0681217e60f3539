#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_MovieObject.h"
#include "restorelib/Restore_ChangeSet.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Utility.h"

// A folder of its own below the system's temporary folder, removed with
// everything in it when the test ends.
class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmar-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    root_ = pattern;
  }
  ~TempTree() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::filesystem::path& Root() const { return root_; }

  // Writes a file of `size` bytes (a repeating pattern with the sync byte of
  // a 192-byte source packet, so that it passes for a stream), creating its
  // folders.
  std::filesystem::path File(const std::filesystem::path& relative, std::uint64_t size) const {
    std::vector<std::uint8_t> bytes(size);
    for (std::uint64_t i = 0; i < size; ++i) bytes[i] = i % 192 == 4 ? 0x47 : static_cast<std::uint8_t>(i * 7 + 1);
    return File(relative, bytes);
  }
  std::filesystem::path File(const std::filesystem::path& relative, const std::vector<std::uint8_t>& bytes) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  std::filesystem::path Folder(const std::filesystem::path& relative) const {
    std::filesystem::create_directories(root_ / relative);
    return root_ / relative;
  }

 private:
  std::filesystem::path root_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// Every file and folder below `root` with its content ("/" for folders), to
// compare a tree byte for byte before and after.
inline std::map<std::string, std::vector<std::uint8_t>> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::vector<std::uint8_t>> tree;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const auto relative = std::filesystem::relative(entry.path(), root).string();
    tree[relative] = entry.is_directory() ? std::vector<std::uint8_t>{'/'} : ReadBytes(entry.path());
  }
  return tree;
}

// Volume answers of an ordinary writable disk that is not of the FAT family.
inline Restore::Utility::VolumeQueries FakeVolume(std::uint64_t magic = 0xEF53) {
  Restore::Utility::VolumeQueries volume;
  volume.FileSystemMagic = [magic](const std::filesystem::path&) { return std::optional<std::uint64_t>(magic); };
  volume.IsMountReadOnly = [](const std::filesystem::path&) { return false; };
  volume.IsWritableForUser = [](const std::filesystem::path&) { return true; };
  volume.DeviceOf = [](const std::filesystem::path&) { return std::optional<Restore::Platform::DeviceNumber>(); };
  volume.DeviceFileSystemType = [](Restore::Platform::DeviceNumber) { return std::optional<std::string>(); };
  return volume;
}

// Makes the changes that one step adds to a commit, as the commit makes them,
// with the journal in the test's own folder `working`.
template <class Step>
void CommitStep(Step& step, const std::filesystem::path& working) {
  Restore::ChangeSet changes;
  step.AddChanges(changes);
  Restore::ApplyChanges(changes, working, FakeVolume());
}

// The message of the AAA exception that `action` throws; empty when none.
template <typename Action>
std::string MessageOf(Action action) {
  try {
    action();
  } catch (const AAA::ExceptionBase& caught) {
    return caught.Message();
  }
  return {};
}

// The movie object and index table of a tree without recordings: no
// movie object, no title, the 59.94 Hz system.
inline void WriteEmptyManagementFiles(const std::filesystem::path& avchd) {
  Restore::AvchdFolder folder;
  folder.SetPath(avchd);
  std::filesystem::create_directories(Restore::Utility::BdmvFolder(folder));
  AVCHD::MovieObject::BlkMovieObjectFile movieObject;
  movieObject.Initialize();
  Restore::FileLayer::ReplaceFile(Restore::Utility::MovieObjectFile(folder), Restore::Utility::ModelBytes(movieObject));
  AVCHD::IndexTable::BlkIndexTableFile indexTable;
  indexTable.Initialize();
  Restore::FileLayer::ReplaceFile(Restore::Utility::IndexTableFile(folder), Restore::Utility::ModelBytes(indexTable));
}
