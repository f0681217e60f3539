#pragma once

// What the commands read of a backup's manifest.json (written by
// Restore::WriteBackup). The manifest lies in a folder anyone may have
// changed, so its bytes may be anything.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace BackupManifest {

struct Manifest {
  std::string Tree;       // the working folder of the tree the backup is of
  std::string Time;       // when the backup was made; empty when it names none
  std::size_t Entries{};  // how many changes it saved
};

// The manifest in `text`; nothing when it is not one.
inline std::optional<Manifest> Parse(std::string_view text) {
  const auto json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object()) return std::nullopt;
  const auto tree = json.find("tree");
  const auto entries = json.find("entries");
  if (tree == json.end() || !tree->is_string() || entries == json.end() || !entries->is_array()) return std::nullopt;
  Manifest manifest{tree->get<std::string>(), {}, entries->size()};
  const auto time = json.find("time");
  if (time != json.end() && time->is_string()) manifest.Time = time->get<std::string>();
  return manifest;
}

}  // namespace BackupManifest
