#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"

// What the tree holds that the tool never follows, replaces or cuts:
// symbolic links, FIFOs, devices and sockets on the way to the AVCHD folder
// and anywhere below it, and streams that have other hard links (cutting
// one would cut the other names' file too).
namespace Restore {

// One line for each ("/card/PRIVATE/AVCHD/BDMV/PLAYLIST is a symbolic link:
// left as it is"), in the order of the tree.
std::vector<std::string> SpecialEntryFindings(const AvchdFolder& folder, const std::filesystem::path& working);

}  // namespace Restore
