// The journal of a commit names its paths below the working folder.
#include <gtest/gtest.h>

#include "restorelib/Restore_Journal.h"

namespace fs = std::filesystem;
using namespace Restore;

TEST(Journal, IsFinishedWhereTheCardIsMountedNowAndNeverNamesAPathOutside) {
  ChangeSet changes;
  changes.Writes.push_back({"/media/sd/PRIVATE/AVCHD/BDMV/INDEX.BDM", FileKind::IndexTable, {1, 2, 3}});
  changes.Moves.push_back({"/media/sd/00001.MTS", "/media/sd/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS"});
  changes.Truncations.push_back({"/media/sd/PRIVATE/AVCHD/BDMV/STREAM/00001.MTS", 7000, 6144});
  auto bytes = JournalBytes(changes, "/media/sd");
  const auto elsewhere = ChangeSetOfJournal(bytes, "/mnt/card");
  ASSERT_TRUE(elsewhere);
  EXPECT_EQ(elsewhere->Writes.at(0).Path, "/mnt/card/PRIVATE/AVCHD/BDMV/INDEX.BDM");
  EXPECT_EQ(elsewhere->Writes.at(0).Bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(elsewhere->Moves.at(0).From, "/mnt/card/00001.MTS");
  EXPECT_EQ(elsewhere->Truncations.at(0).NewSize, 6144u);

  changes.Deletes.push_back("/media/elsewhere/file");
  EXPECT_FALSE(ChangeSetOfJournal(JournalBytes(changes, "/media/sd"), "/media/sd"));
  bytes[bytes.size() / 2] ^= 1;
  EXPECT_FALSE(ChangeSetOfJournal(bytes, "/media/sd"));
}
