#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include "restorelib/Restore_RestoreMain.h"

namespace Restore {

// Makes the run of a chosen tree as the front end wants it: its volume
// queries, its purpose, its backup.
using RunFactory = std::function<std::unique_ptr<RestoreMain>(const std::filesystem::path& target, Mode mode)>;

// The steps that keep the two trees of a 3D recording a pair. Both front
// ends drive them in this order, and only ask for the trees and show what
// happens: OpenPartner for the other eye; its verification; "verify 3D
// Main" of the first tree with it; then, when BothReachable, the check that
// the partner is still the tree that was checked and both commits in
// CommitOrder; otherwise (one card reader) the partner's commit, the first
// card inserted again and opened with OpenPartner against the partner, and
// the first's commit.
namespace PairWorkflow {

// The run of the tree at `target`, checked by "verify 3D relation" to be the
// other eye of `other`; in the build mode the check is left to "verify 3D Main", as
// the tree is built by the verification. ResultState -1 with ErrorString
// when the run cannot work on the target or the tree is not the other eye.
std::unique_ptr<RestoreMain> OpenPartner(const RunFactory& create, const std::filesystem::path& target, Mode mode,
                                         RestoreMain& other);

// Both trees can be written one after the other as they are now (two card
// readers, two folders): their paths differ and the first tree is still
// there. Otherwise the two cards share one reader; a card swapped in one
// reader may also come back under another mount point, which is no second
// reader either.
bool BothReachable(const RestoreMain& first, const RestoreMain& partner);

// The order of the commits of two reachable trees: in the card mode the
// card chosen last first, the order that one reader imposes; folders in
// the order they were chosen.
std::pair<RestoreMain*, RestoreMain*> CommitOrder(RestoreMain& first, RestoreMain& partner, Mode mode);

// Right before both are written: the tree at the partner's folder must
// still be the other eye of `first`, so that one changed since the check is
// not written over. Null when it is; otherwise the run that says why. The build mode
// has nothing to check: the partner's tree is made by its own commit.
std::unique_ptr<RestoreMain> CheckStillPartner(const RunFactory& create, const RestoreMain& partner, RestoreMain& first,
                                               Mode mode);

}  // namespace PairWorkflow
}  // namespace Restore
