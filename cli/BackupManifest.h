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

// The bytes that `hex` spells in pairs of hexadecimal digits; nothing when
// it spells none.
inline std::optional<std::string> BytesOfHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

// The manifest in `text`; nothing when it is not one. The tree's path is
// read from "tree_bytes" when the manifest has it (a path that is not
// UTF-8, which "tree" shows with U+FFFD in place of the bytes).
inline std::optional<Manifest> Parse(std::string_view text) {
  const auto json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object()) return std::nullopt;
  const auto tree = json.find("tree");
  const auto entries = json.find("entries");
  if (tree == json.end() || !tree->is_string() || entries == json.end() || !entries->is_array()) return std::nullopt;
  Manifest manifest{tree->get<std::string>(), {}, entries->size()};
  const auto treeBytes = json.find("tree_bytes");
  if (treeBytes != json.end() && treeBytes->is_string()) {
    const auto bytes = BytesOfHex(treeBytes->get<std::string>());
    if (!bytes) return std::nullopt;
    manifest.Tree = *bytes;
  }
  const auto time = json.find("time");
  if (time != json.end() && time->is_string()) manifest.Time = time->get<std::string>();
  return manifest;
}

}  // namespace BackupManifest
