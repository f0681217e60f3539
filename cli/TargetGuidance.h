#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "restorelib/Restore_Mode.h"

// What to do when a restore command failed on the path it was given and the
// cause is plain from the path itself: a path that is not there, a file, a
// card given to `folder`, an AVCHD folder given to `card`, a read-only card.
// Nothing when the path gives no such clue.
std::optional<std::string> GuidanceFor(Restore::Mode mode, const std::filesystem::path& target, int errorId);
