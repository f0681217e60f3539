// Paths of the tree in both naming schemes, five-digit names, path
// normalisation, folder listing, file operations, durable writes and times.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "TempTree.h"
#include "aaalib/AAA_StringTable.h"
#include "avchdlib/AVCHD_Fields.h"
#include "restorelib/Restore_Utility.h"

namespace fs = std::filesystem;
using namespace Restore;

namespace {
AvchdFolder FolderAt(const fs::path& path) {
  AvchdFolder folder;
  folder.SetPath(path);
  return folder;
}
}  // namespace

TEST(AvchdFolder, LongNamesFollowTheLastComponentInAnyCase) {
  EXPECT_FALSE(FolderAt("/card/PRIVATE/AVCHD").IsLongName);
  EXPECT_TRUE(FolderAt("/disk/AVCHDL").IsLongName);
  EXPECT_TRUE(FolderAt("/disk/avchdl").IsLongName);
  EXPECT_FALSE(FolderAt("/disk/AVCHDL/x").IsLongName);
}

TEST(TreePaths, ShortNamesAreUpperCase83) {
  const auto folder = FolderAt("/card/PRIVATE/AVCHD");
  EXPECT_EQ(Utility::BdmvFolder(folder), "/card/PRIVATE/AVCHD/BDMV");
  EXPECT_EQ(Utility::IndexTableFile(folder), "/card/PRIVATE/AVCHD/BDMV/INDEX.BDM");
  EXPECT_EQ(Utility::MovieObjectFile(folder), "/card/PRIVATE/AVCHD/BDMV/MOVIEOBJ.BDM");
  EXPECT_EQ(Utility::ClipInformationFolder(folder), "/card/PRIVATE/AVCHD/BDMV/CLIPINF");
  EXPECT_EQ(Utility::PlayListFolder(folder), "/card/PRIVATE/AVCHD/BDMV/PLAYLIST");
  EXPECT_EQ(Utility::StreamFolder(folder), "/card/PRIVATE/AVCHD/BDMV/STREAM");
  EXPECT_EQ(Utility::BackupFolder(folder), "/card/PRIVATE/AVCHD/BDMV/BACKUP");
  EXPECT_EQ(Utility::ThumbnailFolder(folder), "/card/PRIVATE/AVCHD/AVCHDTN");
  EXPECT_EQ(Utility::ThumbnailIndexFile(folder), "/card/PRIVATE/AVCHD/AVCHDTN/THUMB.TID");
  EXPECT_EQ(Utility::ThumbnailDataFile(folder), "/card/PRIVATE/AVCHD/AVCHDTN/THUMB.TDT");
  EXPECT_EQ(Utility::ClipInformationPattern(folder), "/card/PRIVATE/AVCHD/BDMV/CLIPINF/?????.CPI");
  EXPECT_EQ(Utility::PlayListPattern(folder), "/card/PRIVATE/AVCHD/BDMV/PLAYLIST/?????.MPL");
  EXPECT_EQ(Utility::StreamPattern(folder), "/card/PRIVATE/AVCHD/BDMV/STREAM/?????.MTS");
  EXPECT_EQ(Utility::ClipInformationFile(folder, "00001", true), "/card/PRIVATE/AVCHD/BDMV/CLIPINF/00001.CPI");
  EXPECT_EQ(Utility::ClipInformationFile(folder, "00001", false), "/card/PRIVATE/AVCHD/BDMV/CLIPINF/00001");
  EXPECT_EQ(Utility::PlayListFile(folder, "00002", true), "/card/PRIVATE/AVCHD/BDMV/PLAYLIST/00002.MPL");
  EXPECT_EQ(Utility::StreamFile(folder, "00003", true), "/card/PRIVATE/AVCHD/BDMV/STREAM/00003.MTS");
}

TEST(TreePaths, LongNamesUseTheLongExtensions) {
  const auto folder = FolderAt("/disk/AVCHDL");
  EXPECT_EQ(Utility::IndexTableFile(folder), "/disk/AVCHDL/BDMV/index.bdmv");
  EXPECT_EQ(Utility::MovieObjectFile(folder), "/disk/AVCHDL/BDMV/MovieObject.bdmv");
  EXPECT_EQ(Utility::ThumbnailIndexFile(folder), "/disk/AVCHDL/AVCHDTN/thumbnail.tidx");
  EXPECT_EQ(Utility::ThumbnailDataFile(folder), "/disk/AVCHDL/AVCHDTN/thumbnail.tdt2");
  EXPECT_EQ(Utility::ClipInformationPattern(folder), "/disk/AVCHDL/BDMV/CLIPINF/?????.clpi");
  EXPECT_EQ(Utility::PlayListPattern(folder), "/disk/AVCHDL/BDMV/PLAYLIST/?????.mpls");
  EXPECT_EQ(Utility::StreamPattern(folder), "/disk/AVCHDL/BDMV/STREAM/?????.m2ts");
  EXPECT_EQ(Utility::ClipInformationFile(folder, "00001", true), "/disk/AVCHDL/BDMV/CLIPINF/00001.clpi");
  EXPECT_EQ(Utility::PlayListFile(folder, "00002", true), "/disk/AVCHDL/BDMV/PLAYLIST/00002.mpls");
  EXPECT_EQ(Utility::StreamFile(folder, "00003", true), "/disk/AVCHDL/BDMV/STREAM/00003.m2ts");
  EXPECT_EQ(Utility::StreamFile(folder, "00003", false), "/disk/AVCHDL/BDMV/STREAM/00003");
}

TEST(FileNames, NumberedNamesNeedFiveDigitsAndBothLengths) {
  EXPECT_TRUE(Utility::IsNumberedFileName("00001.MPL"));
  EXPECT_TRUE(Utility::IsNumberedFileName("00001.mpls"));
  EXPECT_FALSE(Utility::IsNumberedFileName("0001.MPL"));
  EXPECT_FALSE(Utility::IsNumberedFileName("000001.mpls"));
  EXPECT_FALSE(Utility::IsNumberedFileName("ABCDE.MTS"));
  EXPECT_FALSE(Utility::IsNumberedFileName("0000A.MTS"));
  EXPECT_FALSE(Utility::IsNumberedFileName(""));
}

TEST(FileNames, PlayListKindsFollowTheNumberRanges) {
  EXPECT_TRUE(Utility::IsMoviePlayListFileName("00999.MPL"));
  EXPECT_FALSE(Utility::IsMoviePlayListFileName("01000.MPL"));
  EXPECT_TRUE(Utility::IsVirtualPlayListFileName("01000.mpls"));
  EXPECT_TRUE(Utility::IsVirtualPlayListFileName("01199.MPL"));
  EXPECT_FALSE(Utility::IsVirtualPlayListFileName("01200.MPL"));
  EXPECT_TRUE(Utility::IsFirstPlaybackOrMenuPlayListFileName("01200.MPL"));
  EXPECT_TRUE(Utility::IsFirstPlaybackOrMenuPlayListFileName("01999.mpls"));
  EXPECT_FALSE(Utility::IsFirstPlaybackOrMenuPlayListFileName("01199.MPL"));
  EXPECT_FALSE(Utility::IsFirstPlaybackOrMenuPlayListFileName("02000.MPL"));
  EXPECT_FALSE(Utility::IsMoviePlayListFileName("00999.MPLSX"));
}

TEST(FileNames, PairNamesSwapTheFirstDigit) {
  EXPECT_EQ(Utility::Get3dPairFileName("00001"), "10001");
  EXPECT_EQ(Utility::Get3dPairFileName("10001"), "00001");
  EXPECT_EQ(Utility::Get3dPairFileName("80001.MTS"), "90001.MTS");
  EXPECT_EQ(Utility::Get3dPairFileName("90001"), "80001");
  EXPECT_EQ(Utility::Get3dPairFileName("A0001"), "A0001");
  EXPECT_EQ(Utility::Get3dPairFileName(""), "");
}

TEST(FileNames, PatternsMatchLettersInAnyCase) {
  EXPECT_TRUE(Utility::MatchesPattern("00001.mts", "?????.MTS"));
  EXPECT_TRUE(Utility::MatchesPattern("00001.M2TS", "?????.m2ts"));
  EXPECT_FALSE(Utility::MatchesPattern("0001.MTS", "?????.MTS"));
  EXPECT_FALSE(Utility::MatchesPattern("00001.MTSX", "?????.MTS"));
  EXPECT_TRUE(Utility::MatchesPattern("00001.anything", "?????.*"));
  EXPECT_TRUE(Utility::MatchesPattern("abc", "*"));
  EXPECT_TRUE(Utility::MatchesPattern("a.b.c", "*.c"));
  EXPECT_FALSE(Utility::MatchesPattern("a.b.d", "*.c"));
}

TEST(NormalizePath, GivesAnAbsolutePathWithoutTrailingSeparators) {
  EXPECT_EQ(Utility::NormalizePath("/media/card/"), "/media/card");
  EXPECT_EQ(Utility::NormalizePath("/media/card//"), "/media/card");
  EXPECT_EQ(Utility::NormalizePath("/"), "/");
  EXPECT_EQ(Utility::NormalizePath("/media/x/../card/./AVCHD"), "/media/card/AVCHD");
  EXPECT_EQ(Utility::NormalizePath("relative/AVCHD"), fs::current_path() / "relative/AVCHD");
}

// A path too long fails with 107; an empty one names nothing and fails with 104.
TEST(NormalizePath, TooLongPathsFailWith107AndEmptyOnesWith104) {
  const std::string tooLong = "/" + std::string(PATH_MAX + 10, 'a');
  EXPECT_EQ(MessageOf([&] { Utility::NormalizePath(tooLong); }), AAA::StringTable::Text(107));
  EXPECT_EQ(MessageOf([&] { Utility::NormalizePath(""); }), AAA::StringTable::Text(104));
}

TEST(ListFiles, ListsMatchingRegularFilesInAnyCaseSorted) {
  TempTree tree;
  tree.File("S/00002.mts", 3);
  tree.File("S/00001.MTS", 5);
  tree.File("S/00003.m2ts", 1);
  tree.Folder("S/00004.MTS");  // a folder is not a stream
  tree.File("outside/00009.MTS", 1);
  fs::create_symlink(tree.Root() / "outside/00009.MTS", tree.Root() / "S/00005.MTS");
  const auto entries = Utility::ListFiles(tree.Root() / "S/?????.MTS");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "00001.MTS");
  EXPECT_EQ(entries[0].Size, 5u);
  EXPECT_EQ(entries[1].Name, "00002.mts");
  EXPECT_EQ(entries[1].Size, 3u);
}

TEST(ListFiles, MissingFolderOrFileInItsPlaceYieldsNothing) {
  TempTree tree;
  EXPECT_TRUE(Utility::ListFiles(tree.Root() / "missing/?????.MTS").empty());
  tree.File("plain", 10);
  EXPECT_TRUE(Utility::ListFiles(tree.Root() / "plain/?????.MTS").empty());
}

TEST(ListFiles, UnreadableFolderFailsWith106) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempTree tree;
  const auto folder = tree.Folder("locked");
  tree.File("locked/00001.MTS", 1);
  fs::permissions(folder, fs::perms::none);
  EXPECT_EQ(MessageOf([&] { Utility::ListFiles(folder / "?????.MTS"); }), AAA::StringTable::Text(106));
  fs::permissions(folder, fs::perms::owner_all);
}

TEST(FileOperations, MakeDirectoryCreatesOneLevelAndRefusesAFile) {
  TempTree tree;
  Utility::MakeDirectory(tree.Root() / "A");
  Utility::MakeDirectory(tree.Root() / "A");
  EXPECT_TRUE(fs::is_directory(tree.Root() / "A"));
  EXPECT_EQ(MessageOf([&] { Utility::MakeDirectory(tree.Root() / "B/C"); }), AAA::StringTable::Text(104));
  tree.File("F", 1);
  EXPECT_EQ(MessageOf([&] { Utility::MakeDirectory(tree.Root() / "F"); }), AAA::StringTable::Text(106));
}

TEST(Times, BcdHoldsCenturyYearMonthDayHourMinuteSecond) {
  std::tm time{};
  time.tm_year = 2012 - 1900;
  time.tm_mon = 8;
  time.tm_mday = 13;
  time.tm_hour = 14;
  time.tm_min = 5;
  time.tm_sec = 59;
  EXPECT_EQ(Utility::BcdOf(time), (std::vector<std::uint8_t>{0x20, 0x12, 0x09, 0x13, 0x14, 0x05, 0x59}));
}

TEST(Times, CurrentAndFileTimesFillSevenByteFieldsOnly) {
  AVCHD::Field::TimeAndDate stamp("RecordTimeAndDate");
  ASSERT_TRUE(Utility::CurrentTimeBcd(stamp));
  EXPECT_EQ(stamp.ValueBytes()[0], 0x20);
  AAA::Field::BE shortField("Short", 48);
  EXPECT_FALSE(Utility::CurrentTimeBcd(shortField));
  EXPECT_FALSE(Utility::FileTimeBcd(shortField, "/"));

  TempTree tree;
  const auto file = tree.File("00001.MTS", 1);
  std::tm local{};
  local.tm_year = 2011 - 1900;
  local.tm_mon = 0;
  local.tm_mday = 2;
  local.tm_hour = 3;
  local.tm_min = 4;
  local.tm_sec = 5;
  local.tm_isdst = -1;
  const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
  fs::last_write_time(file, std::chrono::file_clock::from_sys(when));
  ASSERT_TRUE(Utility::FileTimeBcd(stamp, file));
  EXPECT_EQ(stamp.ValueBytes(), (AAA::Bytes{0x20, 0x11, 0x01, 0x02, 0x03, 0x04, 0x05}));
  EXPECT_FALSE(Utility::FileTimeBcd(stamp, tree.Root() / "missing"));
}
