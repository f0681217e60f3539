// The maker check of a whole card: a card whose files name another maker is
// refused (113); a file whose maker fields alone disagree with a card whose
// index table and clip information files name a supported maker is damage,
// repaired like any other.
#include <gtest/gtest.h>

#include <algorithm>

#include "TempTree.h"
#include "TreeRun.h"
#include "aaalib/AAA_StringTable.h"
#include "avchdlib/AVCHD_Maker.h"
#include "tests/support/TreeBuilder.h"

namespace fs = std::filesystem;
using namespace Restore;
using TestSupport::TreeBuilder;

namespace {

// Makes the maker fields of `file` name another maker: the last of them
// only (one bad byte in the maker's private data), or every one.
void NameAnotherMaker(const TreeBuilder& tree, const fs::path& file, bool everyOne) {
  auto bytes = ReadBytes(file);
  const std::uint8_t maker[] = {AVCHD::AVCHD_MAKER_ID >> 8, AVCHD::AVCHD_MAKER_ID & 0xFF};
  std::vector<std::size_t> fields;
  for (auto at = std::search(bytes.begin(), bytes.end(), std::begin(maker), std::end(maker)); at != bytes.end();
       at = std::search(at + 2, bytes.end(), std::begin(maker), std::end(maker))) {
    fields.push_back(static_cast<std::size_t>(at - bytes.begin()));
  }
  ASSERT_FALSE(fields.empty()) << file;
  if (!everyOne) fields.erase(fields.begin(), fields.end() - 1);
  for (const std::size_t at : fields) bytes[at + 1] ^= 0x40;
  tree.WriteFile(file, bytes);
}

struct Damage {
  const char* name;
  std::vector<const char*> files;  // below the AVCHD folder
  bool everyField;
  bool refused;
};

const Damage kDamages[] = {
    {"OneByteOfAPlayList", {"BDMV/PLAYLIST/00000.MPL"}, false, false},
    {"OneByteOfAClip", {"BDMV/CLIPINF/00001.CPI"}, false, false},
    {"ACardOfAnotherMaker",
     {"BDMV/INDEX.BDM", "BDMV/PLAYLIST/00000.MPL", "BDMV/CLIPINF/00001.CPI", "BDMV/CLIPINF/00002.CPI",
      "BDMV/CLIPINF/00003.CPI"},
     true,
     true},
};

struct MakerCheck : testing::TestWithParam<Damage> {};

}  // namespace

TEST_P(MakerCheck, RefusesAForeignCardAndRepairsAFileThatDisagrees) {
  TreeBuilder tree;
  for (const char* name : {"00001", "00002", "00003"}) tree.AddStream(name, StreamOfGroups(3));
  {
    RestoreMain run(tree.Target(), tree.Mode());
    ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  }
  for (const char* file : GetParam().files) NameAnotherMaker(tree, tree.Avchd() / file, GetParam().everyField);

  RestoreMain run(tree.Target(), tree.Mode());
  if (GetParam().refused) {
    EXPECT_EQ(run.ResultState(), Restore::Verdict::Failed);
    EXPECT_EQ(run.ErrorString(), AAA::StringTable::Text(113));
    return;
  }
  ASSERT_EQ(run.ResultState(), Restore::Verdict::RepairRequired) << run.ErrorString();  // the maker check passed
  ASSERT_EQ(VerifyAndCommit(run), Restore::Verdict::RepairRequired) << run.ErrorString();
  RestoreMain again(tree.Target(), tree.Mode());
  EXPECT_EQ(VerifyTree(again), Restore::Verdict::NotRequired) << again.ErrorString();
}

INSTANTIATE_TEST_SUITE_P(Damages, MakerCheck, testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });
