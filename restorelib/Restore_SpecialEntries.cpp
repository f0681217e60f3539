#include "restorelib/Restore_SpecialEntries.h"

#include <sys/stat.h>

#include "restorelib/Restore_Beneath.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {
namespace fs = std::filesystem;

namespace {

// Deeper than any AVCHD tree goes: a tree of folders made to be endless is
// not walked for ever.
constexpr int kMaxDepth = 8;

void FindBelow(const fs::path& folder, const fs::path& streamFolder, int depth, std::vector<std::string>& findings) {
  if (depth > kMaxDepth) return;
  for (const auto& entry : FileLayer::ListFolder(folder)) {
    const fs::path path = folder / entry.Name;
    if (const char* kind = FileLayer::SpecialKindOf(entry.Mode)) {
      findings.push_back(FileLayer::LeftAsItIs(path, kind));
    } else if (S_ISDIR(entry.Mode)) {
      FindBelow(path, streamFolder, depth + 1, findings);
    } else if (folder == streamFolder && entry.Links > 1) {
      findings.push_back(path.string() + " has other hard links: not cut");
    }
  }
}

}  // namespace

std::vector<std::string> SpecialEntryFindings(const AvchdFolder& folder, const fs::path& working) {
  std::vector<std::string> findings;
  // Bare streams beside the tree.
  if (working != folder.Path) {
    for (const auto& entry : FileLayer::ListFolder(working)) {
      const char* kind = FileLayer::SpecialKindOf(entry.Mode);
      if (kind != nullptr && Utility::IsNumberedFileName(entry.Name))
        findings.push_back(FileLayer::LeftAsItIs(working / entry.Name, kind));
    }
  }
  // The folders between the working folder and the AVCHD folder.
  fs::path reached = working;
  for (const auto& part : folder.Path.lexically_relative(working)) {
    if (part == ".") break;
    struct stat status {};
    if (::lstat((reached / part).c_str(), &status) != 0) break;
    if (const char* kind = FileLayer::SpecialKindOf(status.st_mode)) {
      findings.push_back(FileLayer::LeftAsItIs(reached / part, kind));
      return findings;
    }
    reached /= part;
  }
  FindBelow(folder.Path, Utility::StreamFolder(folder), 0, findings);
  return findings;
}

}  // namespace Restore
