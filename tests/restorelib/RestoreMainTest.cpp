// A restore run: the tree each mode resolves, the refusals at construction,
// the verification on the worker with progress, pause and cancel, the
// decision, the commit and the result log line.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "TempTree.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"
#include "tests/aaalib/LogCapture.h"

namespace fs = std::filesystem;
using namespace Restore;

namespace {

constexpr std::uint64_t kExt4 = 0xEF53;
constexpr std::uint64_t kMsdos = 0x4d44;

// Receives the completion callback of a worker and lets the test wait for it.
struct Completion {
  std::mutex mutex;
  std::condition_variable done;
  bool called = false;
  ResultBlock result;

  static void Callback(const ResultBlock& result) {
    auto* self = static_cast<Completion*>(result.Context);
    std::lock_guard lock(self->mutex);
    self->result = result;
    self->called = true;
    self->done.notify_all();
  }
  void WaitForIt() {
    std::unique_lock lock(mutex);
    done.wait(lock, [this] { return called; });
  }
};

struct RestoreMainFixture : testing::Test {
  TempTree tree;
  Utility::VolumeQueries volume = FakeVolume(kExt4);

  void Verify(RestoreMain& run, Completion& completion) {
    run.Start(&completion, &Completion::Callback);
    completion.WaitForIt();
    run.Wait();
  }
};

}  // namespace

TEST_F(RestoreMainFixture, ACardTreeLiesBelowPrivateAvchdOfTheMountPoint) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6144);
  RestoreMain run(tree.Root() / "card/", Mode::MemoryCard, volume);
  EXPECT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_EQ(run.AvchdFolderPath(), tree.Root() / "card/PRIVATE/AVCHD");
  EXPECT_EQ(run.Folder().RootPath, tree.Root() / "card");
  EXPECT_FALSE(run.Folder().IsLongName);
}

TEST_F(RestoreMainFixture, AnAvchdlFolderSetsTheLongNameFlag) {
  tree.File("disk/avchdl/BDMV/STREAM/00001.m2ts", 6144);
  RestoreMain run(tree.Root() / "disk/avchdl", Mode::AvchdFolder, volume);
  EXPECT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_TRUE(run.Folder().IsLongName);
  EXPECT_TRUE(run.Folder().RootPath.empty());
}

TEST_F(RestoreMainFixture, StreamFilesBuildAnAvchdTreeOnFatAndAnAvchdlTreeElsewhere) {
  tree.File("videos/00001.MTS", 6144);
  RestoreMain onDisk(tree.Root() / "videos", Mode::StreamFiles, volume);
  EXPECT_EQ(onDisk.AvchdFolderPath(), tree.Root() / "videos/PRIVATE/AVCHDL");
  EXPECT_TRUE(onDisk.Folder().IsLongName);

  const auto fat = FakeVolume(kMsdos);
  RestoreMain onCard(tree.Root() / "videos", Mode::StreamFiles, fat);
  EXPECT_EQ(onCard.AvchdFolderPath(), tree.Root() / "videos/PRIVATE/AVCHD");
  EXPECT_FALSE(onCard.Folder().IsLongName);

  // An exFAT card mounted through FUSE whose mount type names no file system.
  auto fuse = FakeVolume(0x65735546);
  const std::string mounts = "40 22 8:33 / " + tree.Root().string() + " rw - fuseblk /dev/sdc1 rw\n";
  fuse.MountInfo = tree.File("mountinfo", std::vector<std::uint8_t>(mounts.begin(), mounts.end()));
  fuse.DeviceFileSystemType = [](Platform::DeviceNumber device) {
    return device.Major == 8 && device.Minor == 33 ? std::optional<std::string>("exfat") : std::nullopt;
  };
  RestoreMain onFuseCard(tree.Root() / "videos", Mode::StreamFiles, fuse);
  EXPECT_EQ(onFuseCard.AvchdFolderPath(), tree.Root() / "videos/PRIVATE/AVCHD");
}

TEST_F(RestoreMainFixture, StreamFilesInAPrivateFolderGetTheTreeDirectlyBelowIt) {
  tree.File("x/Private/00001.MTS", 6144);
  RestoreMain run(tree.Root() / "x/Private", Mode::StreamFiles, volume);
  EXPECT_EQ(run.AvchdFolderPath(), tree.Root() / "x/Private/AVCHDL");
}

TEST_F(RestoreMainFixture, TheStreamFolderOfATreeIsNoSourceOfStreams) {
  for (const char* path : {"a/AVCHD/BDMV/STREAM", "b/avchdl/bdmv/Stream"}) {
    tree.File(fs::path(path) / "00001.MTS", 6144);
    RestoreMain run(tree.Root() / path, Mode::StreamFiles, volume);
    EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed) << path;
    EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(109)) << path;
  }
}

TEST_F(RestoreMainFixture, NoStreamMissingPathsAndFilesInPlaceOfFoldersFailWith104) {
  tree.Folder("empty-card");
  tree.File("plain-file", 6144);
  for (const auto& [path, mode] :
       std::vector<std::pair<fs::path, Mode>>{{tree.Root() / "empty-card", Mode::MemoryCard},
                                              {tree.Root() / "missing", Mode::AvchdFolder},
                                              {tree.Root() / "plain-file", Mode::AvchdFolder},
                                              {tree.Root() / "plain-file", Mode::StreamFiles}}) {
    RestoreMain run(path, mode, volume);
    EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed) << path;
    EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(104)) << path;
  }
}

TEST_F(RestoreMainFixture, AWriteProtectedMediumIsRefusedBeforeAnyVerification) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  volume.IsMountReadOnly = [](const fs::path&) { return true; };
  const auto before = Snapshot(tree.Root());
  RestoreMain run(tree.Root() / "card", Mode::MemoryCard, volume);
  EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(108));
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(RestoreMainFixture, AnUnknownModeIsAnInvalidArgument) {
  tree.File("card/00001.MTS", 6144);
  RestoreMain run(tree.Root() / "card", static_cast<Mode>(3), volume);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(101));
}

TEST_F(RestoreMainFixture, EveryPublicOperationLogsItsResult) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6144);
  WriteEmptyManagementFiles(tree.Root() / "card/PRIVATE/AVCHD");
  LogCapture log(7);
  RestoreMain run(tree.Root() / "card", Mode::MemoryCard, volume);
  Completion completion;
  Verify(run, completion);
  const std::string text = log.Take();
  EXPECT_NE(text.find("verify stream folder"), std::string::npos);
  EXPECT_NE(text.find("total stream size: 6144 bytes\n"), std::string::npos);
  EXPECT_NE(text.find("verify maker"), std::string::npos);
  EXPECT_NE(text.find("ResultState: 0  Result3d: 0  ErrorString: \n"), std::string::npos);
  EXPECT_NE(text.find("ResultState: 1  Result3d: 0  ErrorString: \n"), std::string::npos);
}

TEST_F(RestoreMainFixture, AWholeTreeNeedsNothingAndItsCommitWritesNothing) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6144 * 3);
  WriteEmptyManagementFiles(tree.Root() / "card/PRIVATE/AVCHD");
  RestoreMain run(tree.Root() / "card", Mode::MemoryCard, volume);
  Completion completion;
  Verify(run, completion);
  EXPECT_EQ(completion.result.ResultState, Restore::Verdict::NotRequired);
  EXPECT_EQ(completion.result.Context, &completion);
  EXPECT_EQ(run.Progress(), 100u);
  EXPECT_FALSE(run.IsRestoreRequired());
  EXPECT_TRUE(run.Plan().Moves.empty() && run.Plan().Truncations.empty() && run.Plan().Writes.empty());
  const auto before = Snapshot(tree.Root());
  run.Commit();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::NotRequired);
  EXPECT_EQ(Snapshot(tree.Root()), before);
}

TEST_F(RestoreMainFixture, ACutStreamIsPlannedAndCommittedOnACard) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  tree.File("card/PRIVATE/AVCHD/AVCHDTN/leftover", 1);
  WriteEmptyManagementFiles(tree.Root() / "card/PRIVATE/AVCHD");
  RestoreMain run(tree.Root() / "card", Mode::MemoryCard, volume);
  Completion completion;
  Verify(run, completion);
  ASSERT_EQ(completion.result.ResultState, Restore::Verdict::RepairRequired);
  const auto plan = run.Plan();
  ASSERT_EQ(plan.Truncations.size(), 1u);
  EXPECT_EQ(plan.Truncations[0].Path, tree.Root() / "card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS");
  EXPECT_EQ(plan.Truncations[0].Size, 6145u);
  EXPECT_EQ(plan.Truncations[0].NewSize, 6144u);
  run.Commit();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_EQ(fs::file_size(tree.Root() / "card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS"), 6144u);
  EXPECT_TRUE(fs::is_directory(tree.Root() / "card/PRIVATE/AVCHD/BDMV/CLIPINF"));
  EXPECT_TRUE(fs::is_directory(tree.Root() / "card/PRIVATE/AVCHD/BDMV/PLAYLIST"));
  // A thumbnail folder without its files gets a new empty index; a short-name tree gets no backup.
  EXPECT_TRUE(fs::exists(tree.Root() / "card/PRIVATE/AVCHD/AVCHDTN/THUMB.TID"));
  EXPECT_FALSE(fs::exists(tree.Root() / "card/PRIVATE/AVCHD/BDMV/BACKUP"));
}

TEST_F(RestoreMainFixture, BuildingFromStreamsMovesThemAndMirrorsALongNameTreeInItsBackup) {
  tree.Folder("videos");
  SampleGen::StreamParameters whole;
  whole.groups = 3;
  const auto kept = SampleGen::writeStream(whole, tree.Root() / "videos/00003.MTS");
  SampleGen::StreamParameters cut = whole;
  cut.cutAtByte = 6144 * 20 + 7000;
  SampleGen::writeStream(cut, tree.Root() / "videos/00004.m2ts");
  RestoreMain run(tree.Root() / "videos", Mode::StreamFiles, volume);
  Completion completion;
  Verify(run, completion);
  ASSERT_EQ(completion.result.ResultState, Restore::Verdict::RepairRequired) << completion.result.ErrorString;
  const auto plan = run.Plan();
  ASSERT_EQ(plan.Moves.size(), 2u);
  EXPECT_EQ(plan.Moves[0].From, tree.Root() / "videos/00004.m2ts");
  EXPECT_EQ(plan.Moves[0].To, tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/STREAM/00004.m2ts");
  ASSERT_EQ(plan.Truncations.size(), 1u);
  EXPECT_EQ(plan.Truncations[0].Path, tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/STREAM/00004.m2ts");
  run.Commit();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_EQ(fs::file_size(tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/STREAM/00003.m2ts"), kept.bytes);
  EXPECT_EQ(fs::file_size(tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/STREAM/00004.m2ts"), 6144u * 21);
  EXPECT_TRUE(fs::is_directory(tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/BACKUP/CLIPINF"));
  EXPECT_TRUE(fs::is_directory(tree.Root() / "videos/PRIVATE/AVCHDL/BDMV/BACKUP/PLAYLIST"));
}

TEST_F(RestoreMainFixture, TheBackupPlanListsTheManagementFilesAsTheCommitLeavesThem) {
  tree.File("disk/AVCHDL/BDMV/STREAM/00001.m2ts", 6145);
  tree.File("disk/AVCHDL/BDMV/PLAYLIST/00001.mpls", 10);
  WriteEmptyManagementFiles(tree.Root() / "disk/AVCHDL");
  tree.File("disk/AVCHDL/BDMV/BACKUP/index.bdmv", 10);
  RestoreMain run(tree.Root() / "disk/AVCHDL", Mode::AvchdFolder, volume);
  Completion completion;
  Verify(run, completion);
  const auto plan = run.Plan();
  // The broken playlist is deleted, so its backup is not planned.
  ASSERT_EQ(plan.Deletes.size(), 1u);
  EXPECT_EQ(plan.Deletes[0], tree.Root() / "disk/AVCHDL/BDMV/PLAYLIST/00001.mpls");
  // Every commit stamps and writes the index table.
  ASSERT_EQ(plan.Writes.size(), 3u);
  EXPECT_EQ(plan.Writes[0].Path, tree.Root() / "disk/AVCHDL/BDMV/index.bdmv");
  EXPECT_EQ(plan.Writes[1].Path, tree.Root() / "disk/AVCHDL/BDMV/BACKUP/MovieObject.bdmv");
  EXPECT_EQ(plan.Writes[1].Kind, FileKind::Backup);
  EXPECT_TRUE(plan.Writes[1].IsNew);
  EXPECT_EQ(plan.Writes[2].Path, tree.Root() / "disk/AVCHDL/BDMV/BACKUP/index.bdmv");
  EXPECT_FALSE(plan.Writes[2].IsNew);
  run.Commit();
  EXPECT_EQ(ReadBytes(tree.Root() / "disk/AVCHDL/BDMV/BACKUP/MovieObject.bdmv"),
            ReadBytes(tree.Root() / "disk/AVCHDL/BDMV/MovieObject.bdmv"));
  EXPECT_FALSE(fs::exists(tree.Root() / "disk/AVCHDL/BDMV/BACKUP/PLAYLIST/00001.mpls"));
}

TEST_F(RestoreMainFixture, ATreeThatVanishedBeforeTheCommitFailsWith106AndNothingIsWritten) {
  tree.File("disk/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  RestoreMain run(tree.Root() / "disk/AVCHD", Mode::AvchdFolder, volume);
  Completion completion;
  Verify(run, completion);
  fs::rename(tree.Root() / "disk/AVCHD", tree.Root() / "disk/moved");
  run.Commit();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(106));
  EXPECT_FALSE(fs::exists(tree.Root() / "disk/AVCHD"));
  EXPECT_EQ(fs::file_size(tree.Root() / "disk/moved/BDMV/STREAM/00001.MTS"), 6145u);
}

TEST_F(RestoreMainFixture, CancelAtACheckPointEndsWithResultState2) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  RestoreMain run(tree.Root() / "card", Mode::MemoryCard, volume);
  Completion completion;
  run.RequestPause();  // holds the worker at its first check point
  run.Start(&completion, &Completion::Callback);
  run.RequestCancel();
  run.Resume();
  completion.WaitForIt();
  run.Wait();
  EXPECT_EQ(completion.result.ResultState, Restore::Verdict::Cancelled);
  EXPECT_EQ(completion.result.ErrorString, "");
  EXPECT_NE(run.Progress(), 100u);
}

TEST_F(RestoreMainFixture, APauseWithoutCancelLetsTheVerificationFinish) {
  tree.File("card/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 6145);
  WriteEmptyManagementFiles(tree.Root() / "card/PRIVATE/AVCHD");
  RestoreMain run(tree.Root() / "card", Mode::MemoryCard, volume);
  Completion completion;
  run.RequestPause();
  run.Start(&completion, &Completion::Callback);
  run.Resume();
  completion.WaitForIt();
  EXPECT_EQ(completion.result.ResultState, Restore::Verdict::RepairRequired);
  EXPECT_EQ(run.Progress(), 100u);
}

namespace {

// A worker whose work is given by the test.
class ScriptedRun : public Thread {
 public:
  explicit ScriptedRun(std::function<void(ScriptedRun&)> work) : work_(std::move(work)) {}
  ~ScriptedRun() override { Wait(); }
  void Run() override {
    Guard([this] { work_(*this); }, true);
  }

 private:
  std::function<void(ScriptedRun&)> work_;
};

}  // namespace

TEST(Worker, AFailureOnTheWorkerEndsWithItsMessage) {
  ScriptedRun failing([](ScriptedRun&) { throw AAA::InvalidStreamException(); });
  Completion completion;
  failing.Start(&completion, &Completion::Callback);
  completion.WaitForIt();
  EXPECT_EQ(completion.result.ResultState, Restore::Verdict::Failed);
  EXPECT_EQ(completion.result.ErrorString, AAA::StringTable::Text(112));

  ScriptedRun foreign([](ScriptedRun&) { throw std::runtime_error("not ours"); });
  Completion second;
  foreign.Start(&second, &Completion::Callback);
  second.WaitForIt();
  EXPECT_EQ(second.result.ResultState, Restore::Verdict::Failed);
  EXPECT_EQ(second.result.ErrorString, AAA::StringTable::Text(100));
}

TEST(Worker, ProgressIsSeenWhileTheWorkerIsHeldAtAPause) {
  ScriptedRun run([](ScriptedRun& self) {
    self.SetProgress(40);
    self.CheckPoint();
    self.SetProgress(80);
    self.CheckPoint();
  });
  run.RequestPause();
  Completion completion;
  run.Start(&completion, &Completion::Callback);
  while (run.Progress() != 40) std::this_thread::yield();
  run.Resume();
  completion.WaitForIt();
  EXPECT_EQ(run.Progress(), 80u);
  EXPECT_EQ(completion.result.ResultState, Restore::Verdict::RepairRequired);
}

TEST(Worker, DestructionWaitsForTheWorker) {
  std::atomic<bool> finished{false};
  {
    ScriptedRun run([&finished](ScriptedRun& self) {
      self.CheckPoint();
      finished = true;
    });
    run.RequestPause();
    run.Start(nullptr, nullptr);
    run.Resume();
  }
  EXPECT_TRUE(finished);
}

TEST(Worker, ACancelOutsideTheVerificationIsAFailureWithMessage102) {
  struct Direct : Thread {
    void Run() override {}
    void Cancelled() {
      RequestCancel();
      Guard([this] { CheckPoint(); });
    }
  } run;
  run.Cancelled();
  EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed);
  EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(102));
}
