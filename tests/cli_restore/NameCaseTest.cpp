// A tree copied to a disk that tells cases apart, with its names in another
// case than the camera wrote them: one repair settles it, every file under
// the name it has, none doubled by a name that differs only in case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "samplegen/StreamGenerator.h"
#include "tests/restorelib/TempTree.h"
#include "tests/support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

TestSupport::ProgramRun RunProgram(const std::string& arguments) {
  return TestSupport::RunProgram(VELMAR_RESTORE_PROGRAM, arguments);
}

using TestSupport::Quoted;

std::string InCase(std::string name, int (*convert)(int)) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [convert](char c) { return static_cast<char>(convert(static_cast<unsigned char>(c))); });
  return name;
}

// Renames everything below `folder` (not the folder itself), deepest first.
void RenameAll(const fs::path& folder, int (*convert)(int)) {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) { return a.string() > b.string(); });
  for (const auto& path : paths) fs::rename(path, path.parent_path() / InCase(path.filename().string(), convert));
}

// The names below `folder` that are not in the case `convert` gives, and
// those that another name of their folder doubles but for case.
std::vector<std::string> NamesAmiss(const fs::path& folder, int (*convert)(int)) {
  std::vector<std::string> amiss;
  std::set<std::string> seen;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != InCase(name, convert)) amiss.push_back(entry.path().string());
    if (!seen.insert((entry.path().parent_path() / InCase(name, ::tolower)).string()).second)
      amiss.push_back(entry.path().string() + " (doubled)");
  }
  return amiss;
}

struct Copy {
  const char* name;
  const char* make;     // the command that makes a sound tree in the test's folder
  const char* tree;     // below the test's folder: what is renamed
  const char* repair;   // the command and target of the repair, below the test's folder
  const char* stream;   // the stream that is cut short, below the test's folder, renamed
  int (*convert)(int);  // the case of the copy
};

const Copy kCopies[] = {
    {"CardInLowerCase", "sample", "card", "card card", "card/private/avchd/bdmv/stream/00002.mts", ::tolower},
    {"LongNamesInUpperCase", "build --yes", "videos/PRIVATE", "folder videos/PRIVATE/AVCHDL",
     "videos/PRIVATE/AVCHDL/BDMV/STREAM/00002.M2TS", ::toupper},
};

struct NameCase : testing::TestWithParam<Copy> {};

}  // namespace

TEST_P(NameCase, OneRepairSettlesTheTreeUnderTheNamesItHas) {
  const Copy& copy = GetParam();
  TempTree tree;
  SampleGen::StreamParameters recording;
  recording.groups = 3;
  for (const char* name : {"videos/00001.MTS", "videos/00002.MTS"}) {
    tree.Folder("videos");
    SampleGen::writeStream(recording, tree.Root() / name);
  }
  const std::string make = copy.make;
  ASSERT_EQ(RunProgram(make + " " + Quoted(tree.Root() / (make == "sample" ? "" : "videos"))).status, 0);
  RenameAll(tree.Root() / copy.tree, copy.convert);
  const fs::path stream = tree.Root() / copy.stream;
  ASSERT_TRUE(fs::exists(stream));
  fs::resize_file(stream, fs::file_size(stream) - 1000);

  const std::string repair = copy.repair;
  const auto space = repair.find(' ');
  const auto command = repair.substr(0, space) + " ";
  const fs::path target = tree.Root() / repair.substr(space + 1);
  const auto first = RunProgram(command + "--yes " + Quoted(target));
  EXPECT_EQ(first.status, 0) << first.output;
  EXPECT_EQ(NamesAmiss(tree.Root() / copy.tree, copy.convert), std::vector<std::string>());
  const auto second = RunProgram(command + Quoted(target));
  EXPECT_EQ(second.status, 0) << second.output;
}

INSTANTIATE_TEST_SUITE_P(Copies, NameCase, testing::ValuesIn(kCopies),
                         [](const testing::TestParamInfo<Copy>& info) { return std::string(info.param.name); });
