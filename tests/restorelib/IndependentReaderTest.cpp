// Trees built and repaired by the restore run, read by programs of other
// makers: libbluray's bd_info and bd_list_titles, mediainfo and ffprobe.
// Each test is skipped when its reader is not installed.
#include <gtest/gtest.h>

#include <regex>

#include "TreeRun.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

bool Installed(const std::string& program) { return TestSupport::RunProgram("command", "-v " + program).status == 0; }

using TestSupport::Quoted;

// Seconds of a stream as ffprobe measures them.
double StreamSeconds(const fs::path& stream) {
  const auto run = TestSupport::RunProgram(
      "ffprobe", "-v error -show_entries format=duration -of default=nw=1:nk=1 " + Quoted(stream));
  return std::atof(run.output.c_str());
}

// A tree of three recordings (two kinds of sound), built by the tool and
// then repaired after the last one was cut short.
struct RepairedTree : testing::TestWithParam<TreeNaming> {
  TreeBuilder tree{GetParam()};
  double seconds[3] = {};

  void SetUp() override {
    auto lpcm = StreamOfGroups(6);
    lpcm.audio = SampleGen::AudioKind::Lpcm;
    tree.AddStream("00001", StreamOfGroups(8));
    tree.AddStream("00002", lpcm);
    tree.AddStream("00003", StreamOfGroups(12));
    {
      Restore::RestoreMain run(tree.Target(), tree.Mode());
      ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
    }
    tree.CutFile(tree.StreamFile("00003"), fs::file_size(tree.StreamFile("00003")) * 3 / 4);
    Restore::RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
    for (int i = 0; i < 3; ++i) seconds[i] = StreamSeconds(tree.StreamFile("0000" + std::to_string(i + 1)));
  }
};

}  // namespace

// The title of playlist 00000 plays recordings 1 and 3, that of 00001
// recording 2; each play item starts a chapter.
TEST_P(RepairedTree, LibblurayListsEveryTitleWithItsClipsChaptersAndDuration) {
  if (!Installed("bd_list_titles") || !Installed("ffprobe")) GTEST_SKIP() << "libbluray-bin or ffmpeg missing";
  // libbluray takes 8.3 names only in upper case and with BDMV/INDEX.BDM.
  const auto run = TestSupport::RunProgram("bd_list_titles", "-a -l " + Quoted(tree.Avchd()));
  ASSERT_EQ(run.status, 0) << run.output;
  const std::regex title(R"(duration: (\d+):(\d+):(\d+) chapters:\s+(\d+) .* clips:\s+(\d+) \(playlist: (\d+)\.)");
  std::map<std::string, std::tuple<int, int, int>> titles;
  for (std::sregex_iterator it(run.output.begin(), run.output.end(), title), end; it != end; ++it) {
    const auto& m = *it;
    titles[m[6]] = {std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])};
  }
  ASSERT_EQ(titles.size(), 2u) << run.output;
  EXPECT_EQ(std::get<2>(titles["00000"]), 2);
  EXPECT_EQ(std::get<1>(titles["00000"]), 2);
  EXPECT_NEAR(std::get<0>(titles["00000"]), seconds[0] + seconds[2], 1.0);
  EXPECT_EQ(std::get<2>(titles["00001"]), 1);
  EXPECT_NEAR(std::get<0>(titles["00001"]), seconds[1], 1.0);

  const auto info = TestSupport::RunProgram("bd_info", Quoted(tree.Avchd()));
  EXPECT_NE(info.output.find("HDMV titles         : 2"), std::string::npos) << info.output;
}

TEST_P(RepairedTree, MediainfoReadsThePlayListWithItsDuration) {
  if (!Installed("mediainfo")) GTEST_SKIP() << "mediainfo missing";
  const auto playList = tree.Avchd() / "BDMV/PLAYLIST" / (tree.IsLongName() ? "00000.mpls" : "00000.MPL");
  const auto run =
      TestSupport::RunProgram("mediainfo", "--Inform='General;%Duration%|%MenuCount%' " + Quoted(playList));
  ASSERT_EQ(run.status, 0);
  const double milliseconds = std::atof(run.output.c_str());
  ASSERT_GT(milliseconds, 0.0) << run.output;
  EXPECT_NEAR(milliseconds / 1000, seconds[0] + seconds[2], 1.0) << run.output;
}

INSTANTIATE_TEST_SUITE_P(BothNamings, RepairedTree, testing::Values(TreeNaming::ShortNames, TreeNaming::LongNames),
                         [](const auto& info) {
                           return std::string(info.param == TreeNaming::LongNames ? "LongNames" : "ShortNames");
                         });
