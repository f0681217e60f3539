// velmar-restore inspect: verdicts, exit statuses, the log and rewrites.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "aaalib/AAA_Exceptions.h"
#include "avchdlib/AVCHD_IndexTable.h"
#include "avchdlib/AVCHD_MovieObject.h"
#include "avchdlib/AVCHD_Thumbnail.h"
#include "tests/avchdlib/ClipFiles.h"
#include "tests/avchdlib/ModelBytes.h"
#include "tests/avchdlib/PlayListFiles.h"
#include "tests/support/ProgramRun.h"

using AAA::Bytes;

namespace {

using Outcome = TestSupport::ProgramRun;

Outcome Restore(const std::string& arguments) { return TestSupport::RunProgram(VELMAR_RESTORE, arguments); }

class InspectCommand : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("velmar-inspect-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Saved(const char* name, const Bytes& bytes) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  Bytes Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::filesystem::path folder_;
};

template <class Model>
Bytes Initialized() {
  Model model;
  model.Initialize();
  return ModelBytes::Write(model);
}

std::string LastLine(const std::string& output) {
  const std::size_t end = output.find_last_not_of('\n');
  return output.substr(output.rfind('\n', end) + 1);
}

}  // namespace

TEST_F(InspectCommand, ValidFileOfEachKindShowsEveryFieldAndTheVerdict) {
  const Outcome index = Restore("inspect " + Saved("INDEX.BDM", Initialized<AVCHD::IndexTable::BlkIndexTableFile>()));
  EXPECT_EQ(index.status, 0);
  EXPECT_EQ(LastLine(index.output), "index table: valid\n");
  EXPECT_NE(index.output.find("    Index table file.TypeIndicator {32,Str} = 0x494e4458 \"INDX\"\n"),
            std::string::npos);

  const Outcome movieObject =
      Restore("inspect " + Saved("MOVIEOBJ.BDM", Initialized<AVCHD::MovieObject::BlkMovieObjectFile>()) + " -l 0");
  EXPECT_EQ(movieObject.status, 0);
  EXPECT_EQ(movieObject.output, "movie object: valid\n");

  const Outcome thumbnails =
      Restore("inspect -l 1 " + Saved("THUMB.TID", Initialized<AVCHD::Thumbnail::BlkThumbnailIndexFile>()));
  EXPECT_EQ(thumbnails.status, 0);
  EXPECT_EQ(thumbnails.output, "thumbnail index: valid\n");
}

TEST_F(InspectCommand, PlaylistAndClipInformationFilesAreKnown) {
  auto playList = PlayListFiles::NewPlayList(true);
  const Outcome playListRun = Restore("inspect -l 0 " + Saved("00001.MPL", ModelBytes::Write(playList)));
  EXPECT_EQ(playListRun.status, 0);
  EXPECT_EQ(playListRun.output, "movie playlist: valid\n");

  auto clip = ClipFiles::NewClip(true, true);
  Bytes clipBytes = ModelBytes::Write(clip);
  const Outcome clipRun = Restore("inspect " + Saved("00001.CPI", clipBytes));
  EXPECT_EQ(clipRun.status, 0);
  EXPECT_EQ(LastLine(clipRun.output), "clip information: valid\n");
  EXPECT_NE(clipRun.output.find("    Clip information file.blkClipInfo.IsCC5 {1,BE} = 0x01 \"1\"\n"),
            std::string::npos);

  clipBytes[6] = '2';  // TypeIndicator2 "0200"
  EXPECT_EQ(Restore("inspect -l 0 " + Saved("00002.CPI", clipBytes)).status, 1);
}

TEST_F(InspectCommand, BrokenFileShowsTheFailedRuleAndExitsWithOne) {
  Bytes bytes = Initialized<AVCHD::IndexTable::BlkIndexTableFile>();
  bytes[5] = '2';  // TypeIndicator2 "0200"
  const std::string path = Saved("INDEX.BDM", bytes);
  const Outcome run = Restore("inspect -l 7 " + path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output,
            "open: " + path + "\n" + ModelBytes::Position("avchdlib/AVCHD_IndexTable.h", "AAA_FIXED(\"0100\")") +
                "      Name: Index table file.TypeIndicator2\n"
                "  Expected: 0x30313030 \"0100\" (\"0100\")\n"
                "    Actual: 0x30323030 \"0200\"\n"
                "index table: invalid: " +
                "Invalid data to the specified restoration object is included. The specified restoration object "
                "cannot be restored.\n");
}

TEST_F(InspectCommand, TruncatedOrUnknownFilesAreInvalid) {
  Bytes bytes = Initialized<AVCHD::MovieObject::BlkMovieObjectFile>();
  bytes.resize(45);
  const Outcome truncated = Restore("inspect -l 0 " + Saved("MOVIEOBJ.BDM", bytes));
  EXPECT_EQ(truncated.status, 1);
  EXPECT_EQ(truncated.output, "movie object: invalid: The terminal of the file not expected was detected.\n");

  const std::string unknown = Saved("OTHER", ModelBytes::Text("MPEG"));
  const Outcome other = Restore("inspect -l 0 " + unknown);
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.output, unknown + ": invalid: not a management file of a known kind\n");
}

TEST_F(InspectCommand, AMissingFileFailsWith3AndAMissingArgumentIsAUsageError) {
  const Outcome missing = Restore("inspect -l 0 " + (folder_ / "absent").string());
  EXPECT_EQ(missing.status, 3);
  EXPECT_EQ(missing.output.rfind("error: ", 0), 0u) << missing.output;
  EXPECT_EQ(Restore("inspect").status, 64);
  EXPECT_EQ(Restore("inspect a b").status, 64);
}

TEST_F(InspectCommand, RewriteWritesTheSameBytesBack) {
  AVCHD::Thumbnail::BlkThumbnailIndexFile index;
  index.Initialize();
  index.NumberOfThumbnails.SetValue(3);
  for (auto& thumbnail : index.blkThumbnailArray) {
    for (AAA::FieldBase* field : {&thumbnail.ThumbnailIndex, &thumbnail.RefToTnBlockId, &thumbnail.PictureByteSize,
                                  &thumbnail.HorizontalPictureSize, &thumbnail.VerticalPictureSize}) {
      field->SetValue(7);
    }
  }
  const Bytes bytes = ModelBytes::Write(index);
  const std::string copy = (folder_ / "copy.tidx").string();
  const Outcome run = Restore("inspect -l 0 " + Saved("thumbnail.tidx", bytes) + " --rewrite " + copy);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "thumbnail index: valid, written to " + copy + "\n");
  EXPECT_EQ(Load(copy), bytes);
}
