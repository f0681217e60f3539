// The remaining time shown while a verification runs.
#include <gtest/gtest.h>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_RemainingTime.h"

using AAA::StringTable::Language;
using Clock = Restore::RemainingTime::Clock;
using Restore::RemainingTime;
using std::chrono::seconds;

namespace {

struct English : testing::Test {
  Language previous = AAA::StringTable::CurrentLanguage();
  English() { AAA::StringTable::SetLanguage(Language::English); }
  ~English() override { AAA::StringTable::SetLanguage(previous); }
};

}  // namespace

TEST_F(English, RemainingTimeIsShownInSecondsBelowAMinuteElseInMinutes) {
  const auto start = Clock::time_point();
  RemainingTime remaining(start);
  EXPECT_EQ(remaining.Text(0, start + seconds(30)), "");
  EXPECT_EQ(remaining.Text(50, start + seconds(30)), "Remaining 30 sec");
  EXPECT_EQ(remaining.Text(10, start + seconds(60)), "Remaining 9 min");
  EXPECT_EQ(remaining.Text(100, start + seconds(60)), "Remaining 0 sec");
}

TEST_F(English, TheTimeSpentOnTheQuestionDoesNotCount) {
  const auto start = Clock::time_point();
  RemainingTime remaining(start);
  remaining.PauseBegan(start + seconds(10));
  remaining.PauseEnded(start + seconds(610));
  EXPECT_EQ(remaining.Text(50, start + seconds(630)), "Remaining 30 sec");
}

TEST(RemainingTime, ReadsInJapanese) {
  const Language previous = AAA::StringTable::CurrentLanguage();
  AAA::StringTable::SetLanguage(Language::Japanese);
  EXPECT_EQ(RemainingTime(Clock::time_point()).Text(10, Clock::time_point() + seconds(60)), "残り 9 分");
  AAA::StringTable::SetLanguage(previous);
}
