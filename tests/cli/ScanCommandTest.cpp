// velmar-restore scan on generated streams: what a user reads, and the exit
// statuses for a readable, a broken and a missing stream.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "samplegen/StreamGenerator.h"
#include "tests/support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class ScanCommand : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("velmar-scan-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  TestSupport::ProgramRun Scan(const std::string& arguments) {
    return TestSupport::RunProgram(VELMAR_RESTORE, "scan " + arguments);
  }
  fs::path folder_;
};

}  // namespace

TEST_F(ScanCommand, ReadableStreamListsItsEntryPointsAsJson) {
  SampleGen::StreamParameters parameters;
  parameters.groups = 3;
  SampleGen::writeStream(parameters, folder_ / "00001.MTS");
  const auto run = Scan((folder_ / "00001.MTS").string() + " --json");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("\"entry_points\""), std::string::npos);
  EXPECT_NE(run.output.find("\"stc_sequences\""), std::string::npos);
  EXPECT_NE(run.output.find("\"status\":0,"), std::string::npos);
}

TEST_F(ScanCommand, GarbageIsABrokenStreamAndAMissingFileAnError) {
  // 0x55 where every packet's sync byte should be
  std::ofstream(folder_ / "00002.MTS", std::ios::binary) << std::string(192 * 40, '\x55');
  std::ofstream(folder_ / "00003.MTS", std::ios::binary) << "";
  EXPECT_EQ(Scan((folder_ / "00003.MTS").string()).status, 1);
  EXPECT_EQ(Scan((folder_ / "00002.MTS").string()).status, 1);
  EXPECT_EQ(Scan((folder_ / "none.MTS").string()).status, 3);
  EXPECT_EQ(Scan("").status, 64);  // no path given
}

// Paths a system refuses, FIFOs and random bytes: each ends with its exit
// status, never an abort and never a wait.
TEST_F(ScanCommand, HostilePathsEndWithTheirStatus) {
  std::ofstream(folder_ / "a-file") << "x";
  fs::create_symlink(folder_ / "loop", folder_ / "loop");
  ASSERT_EQ(::mkfifo((folder_ / "fifo").c_str(), 0644), 0);
  std::ofstream random(folder_ / "random.MTS", std::ios::binary);
  for (int i = 0; i < 4000; ++i) random.put(static_cast<char>(i * 7919 % 251));
  random.close();
  const std::string longName = (folder_ / std::string(300, 'a')).string();
  for (const auto& [arguments, status] : std::vector<std::pair<std::string, int>>{
           {"sample " + (folder_ / "a-file").string(), 3},
           {"sample " + longName, 3},
           {"scan " + longName, 3},
           {"scan " + (folder_ / "loop").string(), 3},
           {"scan " + (folder_ / "fifo").string(), 3},
           {"inspect " + (folder_ / "fifo").string(), 1},
           {"scan " + (folder_ / "random.MTS").string(), 1},
       }) {
    EXPECT_EQ(TestSupport::RunProgram("timeout 20 " VELMAR_RESTORE, arguments).status, status) << arguments;
  }
}
