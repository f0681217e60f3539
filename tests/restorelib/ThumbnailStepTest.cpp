// The thumbnail step: entries checked against the index header and the data
// file's size, the existence query and its used marks, the second half that
// drops unused entries or makes a new empty index, and what a restore run
// writes and deletes at commit.
#include <gtest/gtest.h>

#include "TreeRun.h"
#include "aaalib/AAA_FileStream.h"
#include "restorelib/Restore_RestoreMain.h"
#include "restorelib/Restore_RestoreThumbnail.h"
#include "tests/aaalib/LogCapture.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::ThumbnailEntry;
using TestSupport::TreeBuilder;
using TestSupport::TreeNaming;

namespace {

constexpr std::uint64_t kBlockBytes = 16384;

struct ThumbnailStep : testing::TestWithParam<TreeNaming> {
  TreeBuilder tree{GetParam()};
  AvchdFolder folder;

  ThumbnailStep() { folder.SetPath(tree.Avchd()); }

  // The index as the first half leaves it; fails the test when none is stored.
  const RestoreThumbnail::ThumbnailIndexFile& FirstHalf(RestoreThumbnail& step) {
    step.VerifyThumbnailIndex();
    EXPECT_EQ(step.Store().size(), 1u);
    return step.Store().front();
  }
};

std::vector<std::uint32_t> IndexValues(const RestoreThumbnail::ThumbnailIndexFile& index) {
  std::vector<std::uint32_t> values;
  for (const auto& thumbnail : index.blkThumbnailArray) values.push_back(thumbnail.ThumbnailIndex);
  return values;
}

}  // namespace

TEST_P(ThumbnailStep, TheBlockCountFollowsASmallerDataFileAndEntriesBeyondItGo) {
  tree.AddThumbnails({{10, 0}, {11, 1}, {12, 2}, {13, 3}, {14, 4}}, 5, 40000);
  RestoreThumbnail step(folder);
  LogCapture log(7);
  const auto& index = FirstHalf(step);
  const std::string text = log.Take();
  EXPECT_EQ(step.DataSize(), 40000u);
  EXPECT_EQ(index.NumberOfTnBlocks, 2u);
  EXPECT_EQ(index.NumberOfThumbnails, 2u);
  EXPECT_EQ(IndexValues(index), (std::vector<std::uint32_t>{10, 11}));
  EXPECT_TRUE(step.IsModified());
  EXPECT_NE(text.find("  Expected: 0x0002 \"2\" (ThumbnailDataSize / (thumbnailIndexFile.TnBlockSize * 1024))\n"
                      "    Actual: 0x0005 \"5\"\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("(\"itThumb->RefToTnBlockId < thumbnailIndexFile.NumberOfTnBlocks\")"), std::string::npos);
  EXPECT_NE(text.find("(thumbnailIndexFile.NumberOfThumbnails - 1)\n    Actual: 0x0005"), std::string::npos);
}

TEST_P(ThumbnailStep, ALargerDataFileLeavesTheBlockCountAlone) {
  tree.AddThumbnails({{1, 0}, {2, 1}}, 2, 5 * kBlockBytes);
  RestoreThumbnail step(folder);
  const auto& index = FirstHalf(step);
  EXPECT_EQ(index.NumberOfTnBlocks, 2u);
  EXPECT_EQ(index.NumberOfThumbnails, 2u);
  EXPECT_FALSE(step.IsModified());
}

TEST_P(ThumbnailStep, EntriesOfWrongSizeOrDimensionsOrWithoutIndexAreRemoved) {
  tree.AddThumbnails({{1, 0, 1000, 320, 240},
                      {2, 0, 1000, 416, 240},
                      {3, 0, 1000, 320, 180},
                      {4, 0, 1000, 640, 480},
                      {5, 0, 16380, 320, 240},
                      {6, 0, 16381, 320, 240},
                      {0xFFFF, 0, 1000, 320, 240},
                      {8, 0, 1000, 416, 240},
                      {9, 0, 1000, 416, 480}},
                     1, kBlockBytes);
  RestoreThumbnail step(folder);
  LogCapture log(7);
  const auto& index = FirstHalf(step);
  const std::string text = log.Take();
  EXPECT_EQ(IndexValues(index), (std::vector<std::uint32_t>{1, 2, 5, 8}));
  EXPECT_EQ(index.NumberOfThumbnails, 4u);
  for (const char* rule : {"(\"itThumb->ThumbnailIndex != 0xffff\")",
                           "(\"itThumb->PictureByteSize <= thumbnailIndexFile.TnBlockSize * 1024 - 4\")",
                           "(\"(itThumb->HorizontalPictureSize == 320) || (itThumb->HorizontalPictureSize == 416)\")",
                           "  Expected: 0x00f0 \"240\" (240)\n    Actual: 0x01e0 \"480\"\n"}) {
    EXPECT_NE(text.find(rule), std::string::npos) << rule;
  }
}

TEST_P(ThumbnailStep, TheExistenceQueryMarksTheFirstMatchingEntry) {
  tree.AddThumbnails({{7, 0}, {7, 1}, {9, 2}}, 3, 3 * kBlockBytes);
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  auto& thumbnails = step.Store().front().blkThumbnailArray;
  EXPECT_TRUE(step.ThumbnailExists(0xFFFF));
  EXPECT_FALSE(thumbnails[0].Used || thumbnails[1].Used || thumbnails[2].Used);
  EXPECT_TRUE(step.ThumbnailExists(7));
  EXPECT_TRUE(thumbnails[0].Used);
  EXPECT_FALSE(thumbnails[1].Used);
  EXPECT_FALSE(step.ThumbnailExists(8));
  step.ClearUsedMarks();
  EXPECT_FALSE(thumbnails[0].Used);
}

TEST_P(ThumbnailStep, WithoutAnIndexOnlyTheNoThumbnailValueExists) {
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  EXPECT_TRUE(step.Store().empty());
  EXPECT_TRUE(step.ThumbnailExists(0xFFFF));
  EXPECT_FALSE(step.ThumbnailExists(0));
}

TEST_P(ThumbnailStep, TheSecondHalfDropsEveryEntryNobodyAskedFor) {
  tree.AddThumbnails({{1, 0}, {2, 1}, {3, 2}}, 3, 3 * kBlockBytes);
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  EXPECT_FALSE(step.IsModified());
  step.ThumbnailExists(2);
  LogCapture log(7);
  step.VerifyThumbnailIndex2();
  const std::string text = log.Take();
  EXPECT_EQ(IndexValues(step.Store().front()), (std::vector<std::uint32_t>{2}));
  EXPECT_EQ(step.Store().front().NumberOfThumbnails, 1u);
  EXPECT_TRUE(step.IsModified());
  EXPECT_NE(text.find("verify Thumbnail Index 2"), std::string::npos);
}

TEST_P(ThumbnailStep, AnEmptyThumbnailFolderGetsANewEmptyIndex) {
  fs::create_directories(tree.ThumbnailIndexFile().parent_path());
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  EXPECT_TRUE(step.Store().empty());
  step.VerifyThumbnailIndex2();
  ASSERT_EQ(step.Store().size(), 1u);
  const auto& index = step.Store().front();
  EXPECT_EQ(index.NumberOfThumbnails, 0u);
  EXPECT_EQ(index.NumberOfTnBlocks, 0u);
  EXPECT_EQ(index.TnBlockSize, 16u);
  EXPECT_TRUE(step.IsModified());
  EXPECT_TRUE(step.IsRestoreRequired());
}

TEST_P(ThumbnailStep, AnIndexWithoutDataFileIsNeitherKeptNorDeleted) {
  tree.AddThumbnails({{1, 0}}, 1, kBlockBytes);
  fs::remove(tree.ThumbnailDataFile());
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  step.VerifyThumbnailIndex2();
  EXPECT_TRUE(step.Store().empty());
  EXPECT_TRUE(step.FilesToDelete().empty());
  EXPECT_FALSE(step.IsRestoreRequired());
}

TEST_P(ThumbnailStep, ABrokenIndexIsListedForDeletion) {
  for (const std::vector<std::uint8_t>& bytes :
       {std::vector<std::uint8_t>{'T', 'I', 'D', 'X'}, std::vector<std::uint8_t>(40, 'x')}) {
    tree.WriteFile(tree.ThumbnailIndexFile(), bytes);
    tree.WriteFile(tree.ThumbnailDataFile(), {1, 2, 3});
    RestoreThumbnail step(folder);
    step.VerifyThumbnailIndex();
    EXPECT_TRUE(step.Store().empty());
    EXPECT_EQ(step.FilesToDelete(), std::vector<fs::path>{Utility::ThumbnailIndexFile(folder)});
  }
}

TEST_P(ThumbnailStep, AnIndexOfTheHeaderAloneIsKeptUnchecked) {
  auto index = TreeBuilder::ThumbnailIndex({}, 0);
  index.Length.SetValue(0);
  tree.WriteModel(tree.ThumbnailIndexFile(), index);
  tree.WriteFile(tree.ThumbnailDataFile(), {});
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  ASSERT_EQ(step.Store().size(), 1u);
  EXPECT_FALSE(step.IsModified());
}

TEST_P(ThumbnailStep, ASnapshotKeepsTheStateOfTheFirstHalf) {
  tree.AddThumbnails({{1, 0}, {2, 1}}, 2, 2 * kBlockBytes);
  RestoreThumbnail step(folder);
  step.VerifyThumbnailIndex();
  RestoreThumbnail snapshot = step;
  step.ThumbnailExists(1);
  step.VerifyThumbnailIndex2();
  EXPECT_EQ(IndexValues(step.Store().front()), (std::vector<std::uint32_t>{1}));
  EXPECT_EQ(IndexValues(snapshot.Store().front()), (std::vector<std::uint32_t>{1, 2}));
  step = snapshot;
  EXPECT_EQ(IndexValues(step.Store().front()), (std::vector<std::uint32_t>{1, 2}));
  EXPECT_TRUE(step.ThumbnailExists(2));
  EXPECT_TRUE(step.Store().front().blkThumbnailArray[1].Used);
  EXPECT_FALSE(snapshot.Store().front().blkThumbnailArray[1].Used);
}

INSTANTIATE_TEST_SUITE_P(BothNamings, ThumbnailStep, testing::Values(TreeNaming::ShortNames, TreeNaming::LongNames),
                         [](const auto& info) {
                           return std::string(info.param == TreeNaming::LongNames ? "LongNames" : "ShortNames");
                         });

// ---- Through a restore run --------------------------------------------------

TEST_P(ThumbnailStep, UnusedThumbnailsAreDroppedAtCommitAndASecondRunFindsNothing) {
  tree.AddStream("00001", StreamOfGroups(3));
  tree.AddThumbnails({{1, 0}, {2, 1}}, 2, 2 * kBlockBytes);
  {
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
    run.Commit();
    ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  AAA::FileStream stream(tree.ThumbnailIndexFile(), AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
  AAA::BitReader reader(stream);
  RestoreThumbnail::ThumbnailIndexFile written;
  written.Read(reader);
  EXPECT_EQ(written.NumberOfThumbnails, 0u);
  EXPECT_EQ(written.NumberOfTnBlocks, 2u);
  EXPECT_EQ(fs::file_size(tree.ThumbnailDataFile()), 2 * kBlockBytes);

  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

TEST_P(ThumbnailStep, TheThumbnailFolderGoesWhenItsLastFileIsDeleted) {
  tree.AddStream("00001", StreamOfGroups(3));
  tree.WriteFile(tree.ThumbnailIndexFile(), {'b', 'a', 'd'});
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_EQ(run.Plan().Deletes.back(), tree.ThumbnailIndexFile());
  run.Commit();
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_FALSE(fs::exists(tree.ThumbnailIndexFile().parent_path()));
}

TEST_P(ThumbnailStep, AnEmptyThumbnailFolderGetsItsIndexWrittenAtCommit) {
  tree.AddStream("00001", StreamOfGroups(3));
  fs::create_directories(tree.ThumbnailIndexFile().parent_path());
  RestoreMain run(tree.Target(), tree.Mode());
  ASSERT_EQ(VerifyTree(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  run.Commit();
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();
  EXPECT_EQ(fs::file_size(tree.ThumbnailIndexFile()), 68u);
}
