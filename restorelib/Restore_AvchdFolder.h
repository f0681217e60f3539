#pragma once

#include <filesystem>

namespace Restore {

// The AVCHD tree a restore run works on.
struct AvchdFolder {
  // true: an "AVCHDL" tree with long names; false: an "AVCHD" tree with
  // upper-case 8.3 names. Decided once, from the last component of Path.
  bool IsLongName = false;
  // The AVCHD (or AVCHDL) folder, without trailing separator.
  std::filesystem::path Path;
  // The card root (card mode) or the folder of bare streams (build mode);
  // empty when a tree is chosen directly.
  std::filesystem::path RootPath;

  // Sets Path and decides IsLongName from its last component.
  void SetPath(const std::filesystem::path& path);
};

}  // namespace Restore
