#include "cli/TargetGuidance.h"

#include "aaalib/AAA_Exceptions.h"
#include "restorelib/Restore_RestoreMain.h"
#include "restorelib/Restore_Utility.h"

namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool IsAvchdFolder(const fs::path& path) {
  const std::string name = path.filename().string();
  return (Restore::Utility::EqualsIgnoringCase(name, "AVCHD") ||
          Restore::Utility::EqualsIgnoringCase(name, "AVCHDL")) &&
         IsFolder(Restore::Utility::AsOnDisk(path, "BDMV"));
}

bool HoldsCardTree(const fs::path& path) {
  const fs::path tree = Restore::Utility::AsOnDisk(path, "PRIVATE");
  return IsFolder(Restore::Utility::AsOnDisk(tree, "AVCHD")) || IsFolder(Restore::Utility::AsOnDisk(tree, "AVCHDL"));
}

}  // namespace

std::optional<std::string> GuidanceFor(Restore::Mode mode, const fs::path& target, int errorId) {
  const std::string path = target.string();
  std::error_code error;
  const auto status = fs::status(target, error);
  if (errorId == AAA::MessageId::WriteProtect)
    return path + " is read-only: unlock the card's switch to repair it (a check, --check, works as it is)";
  if (!fs::exists(status))
    return path + " does not exist: give the mount point of the card, an AVCHD folder or a folder of stream files";
  if (!fs::is_directory(status)) return path + " is a file, not a folder: give the folder that holds the recordings";
  if (mode == Restore::Mode::MemoryCard && IsAvchdFolder(target))
    return path + " looks like an AVCHD folder: use `velmar-restore folder`";
  if (mode == Restore::Mode::MemoryCard && !HoldsCardTree(target) && errorId == AAA::MessageId::FileNotFound)
    return "no AVCHD tree under " + path + ": is this the card?";
  if (mode == Restore::Mode::AvchdFolder && HoldsCardTree(target))
    return path + " looks like the root of a card: use `velmar-restore card`";
  if (mode == Restore::Mode::AvchdFolder && !IsAvchdFolder(target))
    return path + " is no AVCHD folder (one holds BDMV): give the AVCHD or AVCHDL folder";
  return std::nullopt;
}
