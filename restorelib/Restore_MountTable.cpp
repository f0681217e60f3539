#include "restorelib/Restore_MountTable.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace Restore::MountTable {
namespace fs = std::filesystem;

namespace {

// "\040" and the other octal escapes of a mountinfo path.
std::string UnescapeMountPath(const std::string& text) {
  std::string path;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    if (text[i] == '\\' && i + 3 < text.size() && std::all_of(text.begin() + i + 1, text.begin() + i + 4, isOctal)) {
      path += static_cast<char>(std::stoi(text.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      path += text[i];
    }
  }
  return path;
}

bool IsBelow(const fs::path& path, const fs::path& mountPoint) {
  auto [mountEnd, pathAt] = std::mismatch(mountPoint.begin(), mountPoint.end(), path.begin(), path.end());
  (void)pathAt;
  return mountEnd == mountPoint.end() || (std::next(mountEnd) == mountPoint.end() && mountEnd->empty());
}

// "8:17" into its two numbers.
bool ParseDevice(const std::string& text, Mount& mount) {
  std::istringstream stream(text);
  char colon = 0;
  return static_cast<bool>(stream >> mount.Major >> colon >> mount.Minor) && colon == ':' && stream.peek() == EOF;
}

}  // namespace

std::vector<Mount> Read(const fs::path& mountInfo) {
  std::vector<Mount> mounts;
  std::ifstream stream(mountInfo);
  for (std::string line; std::getline(stream, line);) {
    // id parent major:minor root mount-point options [optional...] - type source super-options
    std::istringstream fields(line);
    std::vector<std::string> field;
    for (std::string word; fields >> word;) field.push_back(word);
    const auto separator = std::find(field.begin() + std::min<std::size_t>(field.size(), 6), field.end(), "-");
    Mount mount;
    if (field.size() < 6 || separator == field.end() || std::next(separator) == field.end() ||
        !ParseDevice(field[2], mount)) {
      continue;
    }
    mount.MountPoint = UnescapeMountPath(field[4]);
    mount.Type = *std::next(separator);
    mounts.push_back(std::move(mount));
  }
  return mounts;
}

std::optional<Mount> MountOf(const fs::path& path, const std::vector<Mount>& mounts) {
  std::error_code error;
  const fs::path target = fs::weakly_canonical(fs::absolute(path, error), error);
  std::optional<Mount> found;
  for (const auto& mount : mounts) {
    if (!IsBelow(target, mount.MountPoint)) continue;
    if (found && mount.MountPoint.string().size() < found->MountPoint.string().size()) continue;
    found = mount;
  }
  return found;
}

}  // namespace Restore::MountTable
