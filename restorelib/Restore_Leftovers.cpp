#include "restorelib/Restore_Leftovers.h"

#include "aaalib/AAA_Log.h"
#include "restorelib/Restore_FileLayer.h"
#include "restorelib/Restore_Utility.h"

namespace Restore {
namespace fs = std::filesystem;

std::vector<fs::path> FindLeftovers(const AvchdFolder& folder) {
  const fs::path backup = Utility::BackupFolder(folder);
  std::vector<fs::path> leftovers;
  std::vector<fs::path> folders{folder.Path,
                                Utility::BdmvFolder(folder),
                                Utility::ClipInformationFolder(folder),
                                Utility::PlayListFolder(folder),
                                Utility::ThumbnailFolder(folder),
                                backup,
                                backup / "CLIPINF",
                                backup / "PLAYLIST"};
  if (!folder.RootPath.empty()) folders.push_back(folder.RootPath);  // where the journal of a card lies
  for (const auto& written : folders) {
    for (const auto& entry : Utility::ListFiles(written / "*")) {
      if (!FileLayer::IsTemporaryName(entry.Name)) continue;
      leftovers.push_back(written / entry.Name);
      AAA::Log::Line(AAA::Log::kHeading, "leftover of an interrupted commit: %s\n", leftovers.back().c_str());
    }
  }
  return leftovers;
}

}  // namespace Restore
