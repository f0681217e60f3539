// The limits of a tree built from its streams alone: a playlist holds at
// most 999 play items, so the next clip starts another playlist; a tree
// holds at most 4000 clips, and one more ends the verification with
// InvalidDataException.
#include <gtest/gtest.h>

#include <vector>

#include "TempTree.h"
#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RestoreMain.h"
#include "samplegen/StreamGenerator.h"

namespace fs = std::filesystem;
using namespace Restore;

namespace {

// A tree of `clips` streams, then of one more.
struct Limit {
  const char* name;
  std::uint32_t clips;
  std::size_t playLists;           // of the tree of `clips` streams
  std::size_t playListsOfOneMore;  // 0: the verification fails
};

const Limit kLimits[] = {
    {"PlayItems999", 999, 1, 2},
    {"Clips4000", 4000, 5, 0},
};

struct ClipLimit : testing::TestWithParam<Limit> {
  TempTree tree;
  // The shortest clip the tree keeps: one complete second (the last group of
  // a stream counts as cut) at 23.976 pictures a second: 36 KiB.
  std::vector<std::uint8_t> stream = [] {
    SampleGen::StreamParameters shortest;
    shortest.groups = 2;
    shortest.gopLength = 24;
    shortest.frameRateCode = 1;
    shortest.interlaced = false;
    shortest.iPictureBytes = 100;
    shortest.pPictureBytes = 50;
    shortest.bPictureBytes = 50;
    return SampleGen::streamBytes(shortest);
  }();

  void AddStreams(std::uint32_t from, std::uint32_t to) {
    for (std::uint32_t number = from; number <= to; ++number) {
      tree.File("disk/AVCHD/BDMV/STREAM/" + Utility::FiveDigitName(number) + ".MTS", stream);
    }
  }
  // Verifies the tree and expects `playLists` new playlists and a new clip
  // information file for each of `clips` streams.
  void ExpectPlan(std::uint32_t clips, std::size_t playLists) {
    RestoreMain run(tree.Root() / "disk/AVCHD", Mode::AvchdFolder, FakeVolume());
    run.Start(nullptr, nullptr);
    run.Wait();
    if (playLists == 0) {
      EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed);
      EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(109));
      return;
    }
    ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
    std::size_t playListWrites = 0;
    std::size_t clipWrites = 0;
    for (const auto& write : run.Plan().Writes) {
      const auto folder = write.Path.parent_path().filename();
      playListWrites += folder == "PLAYLIST";
      clipWrites += folder == "CLIPINF";
    }
    EXPECT_EQ(playListWrites, playLists);
    EXPECT_EQ(clipWrites, clips);
  }
};

}  // namespace

TEST_P(ClipLimit, EndsAsTheFormatAllows) {
  AddStreams(1, GetParam().clips);
  ExpectPlan(GetParam().clips, GetParam().playLists);
  AddStreams(GetParam().clips + 1, GetParam().clips + 1);
  ExpectPlan(GetParam().clips + 1, GetParam().playListsOfOneMore);
}

INSTANTIATE_TEST_SUITE_P(Limits, ClipLimit, testing::ValuesIn(kLimits),
                         [](const testing::TestParamInfo<Limit>& info) { return std::string(info.param.name); });
