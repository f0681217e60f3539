// A tree whose folders or files are links to elsewhere, FIFOs, hard links
// of files outside it or files of random bytes named as streams: the run
// ends, says what it left as it is, and touches nothing outside the tree
// (neither content nor mode) nor the entries themselves.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <random>

#include "TempTree.h"
#include "TreeRun.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::TreeBuilder;

namespace {

struct Trap {
  const char* name;
  // Sets the trap at the returned path (below the tree), using `outside`.
  std::function<fs::path(const TreeBuilder&, const fs::path& outside)> set;
  const char* finding;  // how the run reports the entry
};

// Moves a folder of the tree outside and leaves a link to it in its place.
fs::path LinkFolderOutside(const TreeBuilder& tree, const std::string& folder, const fs::path& outside) {
  const fs::path inTree = tree.Avchd() / folder;
  fs::create_directories(inTree);
  fs::rename(inTree, outside / "moved");
  fs::create_directory_symlink(outside / "moved", inTree);
  return inTree;
}

// A megabyte of random bytes named as a stream.
fs::path RandomBytes(const TreeBuilder& tree, const fs::path& path) {
  std::mt19937 random(5);
  std::vector<std::uint8_t> bytes(1 << 20);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  tree.WriteFile(path, bytes);
  return path;
}

fs::path Fifo(const fs::path& path) {
  fs::remove(path);
  EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
  return path;
}

const Trap kTraps[] = {
    {"PlayListFolderLink",
     [](const TreeBuilder& tree, const fs::path& outside) {
       tree.WriteFile(outside / "extra/00007.MPL", {7});
       return LinkFolderOutside(tree, "BDMV/PLAYLIST", outside);
     },
     " is a symbolic link: left as it is"},
    {"ClipFolderLink",
     [](const TreeBuilder& tree, const fs::path& outside) { return LinkFolderOutside(tree, "BDMV/CLIPINF", outside); },
     " is a symbolic link: left as it is"},
    {"ThumbnailFolderLink",
     [](const TreeBuilder& tree, const fs::path& outside) { return LinkFolderOutside(tree, "AVCHDTN", outside); },
     " is a symbolic link: left as it is"},
    {"IndexLinkToAReadOnlyFile",
     [](const TreeBuilder& tree, const fs::path& outside) {
       const fs::path index = tree.Avchd() / "BDMV/INDEX.BDM";
       fs::rename(index, outside / "INDEX.BDM");
       fs::permissions(outside / "INDEX.BDM", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
       fs::create_symlink(outside / "INDEX.BDM", index);
       return index;
     },
     " is a symbolic link: left as it is"},
    {"IndexFifo", [](const TreeBuilder& tree, const fs::path&) { return Fifo(tree.Avchd() / "BDMV/INDEX.BDM"); },
     " is a FIFO: left as it is"},
    {"ClipFifo", [](const TreeBuilder& tree, const fs::path&) { return Fifo(tree.ClipInformationFile("00001")); },
     " is a FIFO: left as it is"},
    {"HardLinkedStream",
     [](const TreeBuilder& tree, const fs::path& outside) {
       fs::create_hard_link(tree.StreamFile("00001"), outside / "other-name.MTS");
       return tree.StreamFile("00001");
     },
     " has other hard links: not cut"},
    {"RandomBytesBesideTheTree",
     [](const TreeBuilder& tree, const fs::path&) { return RandomBytes(tree, tree.Root() / "00005.MTS"); },
     " is a file without a transport stream: left as it is"},
    {"RandomBytesInTheStreamFolder",
     [](const TreeBuilder& tree, const fs::path&) { return RandomBytes(tree, tree.StreamFile("00002")); },
     " is a file without a transport stream: left as it is"},
};

// Content and mode of every entry below `root`, links not followed.
std::map<std::string, std::pair<std::vector<std::uint8_t>, fs::perms>> State(const fs::path& root) {
  std::map<std::string, std::pair<std::vector<std::uint8_t>, fs::perms>> state;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto status = entry.symlink_status();
    state[entry.path().lexically_relative(root).string()] = {
        fs::is_regular_file(status) ? ReadBytes(entry.path()) : std::vector<std::uint8_t>{}, status.permissions()};
  }
  return state;
}

struct HostileTree : testing::TestWithParam<Trap> {};

TEST_P(HostileTree, IsReportedAndNothingOutsideOrTheEntryItselfChanges) {
  TreeBuilder tree;
  TempTree outside;
  tree.AddStream("00001", StreamOfGroups(3));
  {
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  const fs::path trap = GetParam().set(tree, outside.Root());
  tree.CutFile(tree.StreamFile("00001"), fs::file_size(tree.StreamFile("00001")) - 100);
  const auto before = State(outside.Root());
  const auto kind = fs::symlink_status(trap).type();
  const auto bytes = kind == fs::file_type::regular ? ReadBytes(trap) : std::vector<std::uint8_t>();

  RestoreMain run(tree.Target(), tree.Mode());
  VerifyAndCommit(run);
  const auto& findings = run.SpecialEntries();
  EXPECT_NE(std::find(findings.begin(), findings.end(), trap.string() + GetParam().finding), findings.end())
      << testing::PrintToString(findings);
  EXPECT_EQ(State(outside.Root()), before);
  EXPECT_EQ(fs::symlink_status(trap).type(), kind);
  if (kind == fs::file_type::regular) {
    EXPECT_EQ(ReadBytes(trap), bytes);  // neither moved nor cut
  }
}

INSTANTIATE_TEST_SUITE_P(Traps, HostileTree, testing::ValuesIn(kTraps),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
