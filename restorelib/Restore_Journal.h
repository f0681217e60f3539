#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "restorelib/Restore_ChangeSet.h"

// The journal of a commit: the whole change set, written durably beside the
// tree before its first change and removed after its last. A commit that a
// power cut stops leaves it behind, and the next run finishes that commit
// from it instead of repairing a tree that is half old and half new.
namespace Restore {

// Where the journal of the tree whose working folder (the card root, the
// source folder of streams, or the AVCHD folder) is `working` lies.
std::filesystem::path JournalPathFor(const std::filesystem::path& working);

// The journal names every path relative to the working folder, so that a
// card mounted elsewhere by the next run is finished where it is now.
std::vector<std::uint8_t> JournalBytes(const ChangeSet& changes, const std::filesystem::path& working);
// A journal of `records` (entries as JournalBytes writes them): its first
// line, the records and their checksum.
std::vector<std::uint8_t> SealedJournal(const std::vector<std::uint8_t>& records);
// The change set of a journal, its paths below `working`; nothing when the
// bytes are not a whole journal of this program or name a path outside.
std::optional<ChangeSet> ChangeSetOfJournal(const std::vector<std::uint8_t>& bytes,
                                            const std::filesystem::path& working);

}  // namespace Restore
