#pragma once

#include <filesystem>
#include <vector>

#include "restorelib/Restore_AvchdFolder.h"

namespace Restore {

// The temporaries that a commit cut short left in the folders it writes
// (BDMV, CLIPINF, PLAYLIST, AVCHDTN and their BACKUP copies, and the
// working folder that holds the journal). The file each
// stood for is still whole under its own name: they are only removed.
std::vector<std::filesystem::path> FindLeftovers(const AvchdFolder& folder);

}  // namespace Restore
