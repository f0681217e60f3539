// The commit under power cuts and failing media: for every repair scenario,
// the commit is cut at each of its operations in turn (keeping, then losing
// what was not yet synced), and failed at each with ENOSPC, EIO and EROFS. A cut
// leaves every file old or new and whole, and a new run finishes the
// repair; a failure leaves the tree exactly as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "FaultInjector.h"
#include "TempTree.h"
#include "TreeRun.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_Backup.h"
#include "restorelib/Restore_Journal.h"
#include "tests/support/Recording3d.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;
using Tree = std::map<std::string, std::vector<std::uint8_t>>;

namespace {

// The trees of one scenario and the repair that a user would run on them.
struct Trees {
  std::vector<std::unique_ptr<TreeBuilder>> builders;
  std::vector<fs::path> roots;
  Utility::VolumeQueries volume = FakeVolume();
  // Returns the message of the first run that failed (empty when none did).
  std::function<std::string(Trees&)> repair;
  // A pair is repaired by the run after the one that finishes an
  // interrupted commit of one of its trees.
  int runsAfterACut = 1;
  // Where the repairs keep their backups, and each backup written with the
  // working folder of its tree, in the order of the commits.
  TempTree backupRoot;
  std::vector<std::pair<fs::path, fs::path>> backups;

  void NoteBackup(const RestoreMain& run, const fs::path& target) {
    if (!run.BackupFolder().empty() && fs::exists(run.BackupFolder() / "manifest.json"))
      backups.emplace_back(run.BackupFolder(), Utility::NormalizePath(target));
  }

  TreeBuilder& Add(TreeNaming naming) {
    builders.push_back(std::make_unique<TreeBuilder>(naming));
    roots.push_back(builders.back()->Root());
    return *builders.back();
  }
  std::string Repair() { return repair(*this); }
  Tree Snapshot() const {
    Tree all;
    for (std::size_t i = 0; i < roots.size(); ++i) {
      for (auto& [path, bytes] : ::Snapshot(roots[i])) all[std::to_string(i) + "/" + path] = std::move(bytes);
    }
    return all;
  }
  void Put(const Tree& tree) const {
    for (const auto& root : roots) {
      for (const auto& entry : fs::directory_iterator(root)) fs::remove_all(entry.path());
    }
    for (const auto& [path, bytes] : tree) {
      const fs::path full = roots[std::stoul(path.substr(0, path.find('/')))] / path.substr(path.find('/') + 1);
      if (bytes == std::vector<std::uint8_t>{'/'}) {
        fs::create_directories(full);
      } else {
        fs::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      }
    }
  }
};

// Verifies one tree and commits when a repair is required.
std::string RepairOne(Trees& trees, const fs::path& target, Restore::Mode mode) {
  RestoreMain run(target, mode, trees.volume);
  run.SetBackup({true, trees.backupRoot.Root()});
  VerifyAndCommit(run);
  trees.NoteBackup(run, target);
  return run.ErrorString();
}

std::string RepairTree(Trees& trees) {
  const auto& tree = *trees.builders[0];
  return RepairOne(trees, tree.Target(), tree.Mode());
}

// Both eyes of a 3D recording, verified and repaired as a pair.
std::string RepairPair(Trees& trees) {
  const auto& left = *trees.builders[0];
  const auto& right = *trees.builders[1];
  RestoreMain first(left.Target(), left.Mode(), trees.volume);
  RestoreMain second(right.Target(), right.Mode(), trees.volume);
  first.SetBackup({true, trees.backupRoot.Root()});
  second.SetBackup({true, trees.backupRoot.Root()});
  if (VerifyTree(first) == Restore::Verdict::Failed) return first.ErrorString();
  if (VerifyTree(second) == Restore::Verdict::Failed) return second.ErrorString();
  first.VerifyMain3d(second);
  if (first.ResultState() == Restore::Verdict::Failed) return first.ErrorString();
  for (auto [run, tree] : {std::pair{&first, &left}, std::pair{&second, &right}}) {
    run->Commit();
    trees.NoteBackup(*run, tree->Target());
    if (run->ResultState() == Restore::Verdict::Failed) return run->ErrorString();
  }
  return {};
}

// Builds `tree` with streams of `groups` groups each and repairs it once,
// so that it holds sound management files.
void SoundTree(Trees& trees, TreeBuilder& tree, std::initializer_list<std::uint32_t> groups) {
  std::uint32_t number = 1;
  for (const auto count : groups) tree.AddStream(Utility::FiveDigitName(number++), StreamOfGroups(count));
  RepairOne(trees, tree.Target(), tree.Mode());
}

void CutLastStream(TreeBuilder& tree, const std::string& name) {
  const auto stream = tree.StreamFile(name);
  tree.CutFile(stream, fs::file_size(stream) * 2 / 3 + 1000);
}

struct Scenario {
  const char* name;
  std::function<void(Trees&)> build;
};

const Scenario kScenarios[] = {
    {"CutStream",
     [](Trees& trees) {
       auto& tree = trees.Add(TreeNaming::ShortNames);
       SoundTree(trees, tree, {3, 4});
       CutLastStream(tree, "00002");
       trees.repair = RepairTree;
     }},
    {"LostClipInformation",
     [](Trees& trees) {
       auto& tree = trees.Add(TreeNaming::ShortNames);
       SoundTree(trees, tree, {3, 3});
       fs::remove(tree.ClipInformationFile("00002"));
       trees.repair = RepairTree;
     }},
    {"LostIndex",
     [](Trees& trees) {
       auto& tree = trees.Add(TreeNaming::ShortNames);
       SoundTree(trees, tree, {3});
       fs::remove(tree.Avchd() / "BDMV/INDEX.BDM");
       fs::remove(tree.Avchd() / "BDMV/MOVIEOBJ.BDM");
       trees.repair = RepairTree;
     }},
    {"GarbledPlayList",
     [](Trees& trees) {
       auto& tree = trees.Add(TreeNaming::ShortNames);
       SoundTree(trees, tree, {3, 3});
       const auto playList = tree.Avchd() / "BDMV/PLAYLIST/00000.MPL";
       auto bytes = ReadBytes(playList);
       for (std::size_t i = 40; i < bytes.size() && i < 80; ++i) bytes[i] = 0xA5;
       tree.WriteFile(playList, bytes);
       trees.repair = RepairTree;
     }},
    {"LongNamesWithBackup",
     [](Trees& trees) {
       auto& tree = trees.Add(TreeNaming::LongNames);
       SoundTree(trees, tree, {3, 3, 4});
       CutLastStream(tree, "00003");
       fs::remove(tree.Avchd() / "BDMV/BACKUP/PLAYLIST/00000.mpls");
       trees.repair = RepairTree;
     }},
    {"BareStreams",
     [](Trees& trees) {
       auto& tree = trees.Add(TreeNaming::LongNames);
       tree.AddStream("00001", StreamOfGroups(3));
       tree.AddStream("00004", StreamOfGroups(3));
       for (const char* name : {"00001", "00004"})
         fs::rename(tree.StreamFile(name), tree.Root() / (name + std::string(".MTS")));
       fs::remove_all(tree.Avchd());
       trees.repair = [](Trees& built) { return RepairOne(built, built.roots[0], Mode::StreamFiles); };
     }},
    {"Pair3d",
     [](Trees& trees) {
       auto& left = trees.Add(TreeNaming::ShortNames);
       auto& right = trees.Add(TreeNaming::ShortNames);
       left.AddStream("00001", TestSupport::EyeStream(StreamOfGroups(4), 'L'));
       right.AddStream("10001", TestSupport::EyeStream(StreamOfGroups(4), 'R'));
       for (auto* tree : {&left, &right}) RepairOne(trees, tree->Target(), tree->Mode());
       TestSupport::MarkAs3dChannel(left, 'L', TestSupport::MaterialID(1));
       TestSupport::MarkAs3dChannel(right, 'R', TestSupport::MaterialID(1));
       CutLastStream(left, "00001");
       trees.repair = RepairPair;
       trees.runsAfterACut = 2;
     }},
};

bool IsStream(const std::string& path) {
  const auto extension = fs::path(path).extension().string();
  return extension == ".MTS" || extension == ".m2ts";
}

// Two versions of a management file that differ only where a commit stamps
// the time or draws a new identifier: short runs of bytes (a 7-byte time, a
// 32-byte material number), never the length or the structure around them.
bool SameButStamps(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return false;
  std::size_t runStart = 0, lastDifference = 0;
  bool inRun = false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    if (!inRun || i - lastDifference > 8) {
      runStart = i;
      inRun = true;
    }
    lastDifference = i;
    if (lastDifference - runStart >= 32) return false;
  }
  return true;
}

// The tree after a new run is the tree of an uninterrupted commit.
void ExpectSameResult(const Tree& result, const Tree& reference, const std::string& where) {
  std::vector<std::string> names, referenceNames;
  for (const auto& entry : result) names.push_back(entry.first);
  for (const auto& entry : reference) referenceNames.push_back(entry.first);
  ASSERT_EQ(names, referenceNames) << where;
  for (const auto& [path, bytes] : result) {
    const auto& expected = reference.at(path);
    if (IsStream(path)) {
      EXPECT_EQ(bytes, expected) << where << ": " << path;
    } else {
      EXPECT_TRUE(SameButStamps(bytes, expected)) << where << ": " << path;
    }
  }
}

// The part of a snapshot of the trees that belongs to tree `index`.
Tree PartOf(const Tree& trees, std::size_t index) {
  Tree part;
  const std::string prefix = std::to_string(index) + "/";
  for (const auto& [path, bytes] : trees) {
    if (path.starts_with(prefix)) part[path] = bytes;
  }
  return part;
}

bool HoldsStream(const Tree& tree, const std::vector<std::uint8_t>& bytes) {
  return std::any_of(tree.begin(), tree.end(),
                     [&](const auto& entry) { return IsStream(entry.first) && entry.second == bytes; });
}

// Right after a cut: every management file its old or its new version,
// whole; every stream its old or its new length (where it was or where it
// moved to); nothing else but temporaries and the journal.
void ExpectOldOrNew(const Tree& now, const Tree& before, const Tree& after, const std::string& where) {
  for (const auto& [path, bytes] : now) {
    if (FileLayer::IsTemporaryName(path) || fs::path(path).filename() == JournalPathFor("").filename()) continue;
    if (IsStream(path)) {
      EXPECT_TRUE(HoldsStream(before, bytes) || HoldsStream(after, bytes)) << where << ": stream " << path;
      continue;
    }
    const auto old = before.find(path);
    const auto made = after.find(path);
    EXPECT_TRUE((old != before.end() && old->second == bytes) ||
                (made != after.end() && SameButStamps(bytes, made->second)))
        << where << ": " << path << " is neither its old nor its new version (" << bytes.size() << " bytes, "
        << (old != before.end() ? old->second.size() : 0) << " before, "
        << (made != after.end() ? made->second.size() : 0) << " after)";
  }
}

// A scenario's trees as it builds them, and as an uninterrupted repair
// leaves them, with the count of the repair's operations.
struct ScenarioRun {
  Trees trees;
  Tree before;
  Tree after;
  std::uint64_t operations = 0;

  void Build(const Scenario& scenario) {
    scenario.build(trees);
    trees.backups.clear();
    before = trees.Snapshot();
    FaultInjector counter;
    trees.Repair();
    operations = counter.Count();
    after = trees.Snapshot();
    ASSERT_GT(operations, 0u);
    ASSERT_NE(after, before);
  }
};

struct CrashSafeCommit : ScenarioRun, testing::TestWithParam<std::tuple<Scenario, FaultInjector::Mode>> {
  void SetUp() override {
    Build(std::get<0>(GetParam()));
    RecordProperty("operations", static_cast<int>(operations));  // the cut points, in the XML report
  }

  // A failure names its cause and takes back the commit of its tree: each
  // tree is as before, or (the first of a pair, committed before the
  // second failed) repaired whole.
  void ExpectUntouchedOrRepaired(const std::string& message, int errorNumber, const std::string& where) {
    EXPECT_EQ(message, AAA::StringTable::Text(errorNumber == ENOSPC ? 111 : errorNumber == EROFS ? 108 : 106)) << where;
    const Tree now = trees.Snapshot();
    for (std::size_t i = 0; i < trees.roots.size(); ++i) {
      if (PartOf(now, i) == PartOf(before, i)) continue;
      EXPECT_GT(trees.roots.size(), 1u) << where << " failed with " << errorNumber << " and changed the tree";
      ExpectSameResult(PartOf(now, i), PartOf(after, i), where);
    }
  }
};

TEST_P(CrashSafeCommit, EveryOperationCutOrFailedLeavesATreeThatANewRunSettles) {
  const auto mode = std::get<1>(GetParam());
  for (std::uint64_t at = 1; at <= operations; ++at) {
    for (const int errorNumber :
         mode == FaultInjector::Mode::Fail ? std::vector<int>{ENOSPC, EIO, EROFS} : std::vector<int>{0}) {
      trees.Put(before);
      std::string where;
      {
        FaultInjector injector;
        injector.Arm(mode, at, errorNumber);
        const std::string message = trees.Repair();
        where = "operation " + std::to_string(at) + " of " + std::to_string(operations) + " (" + injector.Where() + ")";
        if (mode == FaultInjector::Mode::Fail) {
          ExpectUntouchedOrRepaired(message, errorNumber, where);
          if (HasFailure()) return;
          continue;
        }
        ASSERT_TRUE(injector.HasCut()) << where;
      }
      ExpectOldOrNew(trees.Snapshot(), before, after, where);
      for (int run = 0; run < trees.runsAfterACut; ++run) trees.Repair();
      ExpectSameResult(trees.Snapshot(), after, where);
      const auto settled = trees.Snapshot();
      trees.Repair();
      EXPECT_EQ(trees.Snapshot(), settled) << where << ": a third run still changed the tree";
      if (HasFailure()) return;
    }
  }
}

// Undo puts back every byte of the tree, and is refused while the tree
// differs from what the repair left. An undo cut at any of its operations
// (losing what was not synced) is finished by the next undo, to the same
// bytes.
struct UndoOfARepair : ScenarioRun, testing::TestWithParam<Scenario> {
  void SetUp() override { Build(GetParam()); }
};

TEST_P(UndoOfARepair, PutsEveryByteBackAndIsRefusedOnceTheTreeChanged) {
  ASSERT_FALSE(trees.backups.empty());
  const auto backups = trees.backups;
  const auto& [lastBackup, lastWorking] = backups.back();
  const auto changed = PlanUndo(lastBackup, lastWorking).Changes.Writes.empty()
                           ? std::optional<fs::path>()
                           : std::optional<fs::path>(PlanUndo(lastBackup, lastWorking).Changes.Writes.front().Path);
  if (changed) {
    const auto bytes = ReadBytes(*changed);
    std::ofstream(*changed, std::ios::app) << "x";
    EXPECT_EQ(PlanUndo(lastBackup, lastWorking).ChangedSince, std::vector<fs::path>{*changed});
    std::ofstream(*changed, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  const auto undoAll = [&backups] {
    for (auto backup = backups.rbegin(); backup != backups.rend(); ++backup) {
      const auto plan = PlanUndo(backup->first, backup->second);
      ASSERT_EQ(plan.ChangedSince, std::vector<fs::path>{}) << backup->first;
      EXPECT_EQ(Undo(plan, backup->second, FakeVolume()), std::vector<fs::path>{}) << backup->first;
    }
  };
  undoAll();
  ASSERT_EQ(trees.Snapshot(), before);
  if (backups.size() != 1) return;  // a cut undo of a pair is finished tree by tree, as a cut commit is

  std::uint64_t operations = 0;
  {
    trees.Put(after);
    FaultInjector counter;
    undoAll();
    operations = counter.Count();
  }
  for (std::uint64_t at = 1; at <= operations; ++at) {
    trees.Put(after);
    {
      FaultInjector injector;
      injector.Arm(FaultInjector::Mode::CutLosingUnsynced, at);
      try {
        Undo(PlanUndo(lastBackup, lastWorking), lastWorking, FakeVolume());
      } catch (const FaultInjector::PowerCut&) {
      }
    }
    Undo(PlanUndo(lastBackup, lastWorking), lastWorking, FakeVolume());  // again, or finished from its journal
    EXPECT_EQ(trees.Snapshot(), before) << "undo cut at operation " << at << " of " << operations;
    if (HasFailure()) return;
  }
}

std::string NameOf(const testing::TestParamInfo<CrashSafeCommit::ParamType>& info) {
  static const char* const modes[] = {"Count", "Cut", "CutLosingUnsynced", "FailWithENOSPCEIOandEROFS"};
  return std::string(std::get<0>(info.param).name) + "_" + modes[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CrashSafeCommit,
                         testing::Combine(testing::ValuesIn(kScenarios),
                                          testing::Values(FaultInjector::Mode::Cut,
                                                          FaultInjector::Mode::CutLosingUnsynced,
                                                          FaultInjector::Mode::Fail)),
                         NameOf);

INSTANTIATE_TEST_SUITE_P(Scenarios, UndoOfARepair, testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
