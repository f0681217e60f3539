#pragma once

#include <string>

#include "aaalib/AAA_StringTable.h"

// The user-interface texts of the wizard and the command line, each in
// English and Japanese, UTF-8. A name's value is the text's number, which is
// what a log line or a test prints of it.

namespace Restore {

// In Restore rather than Restore::Texts, so that argument-dependent lookup
// does not draw a call Text(UiText::...) meant for another Text (the
// wizard's gives a QString) to Restore::Texts::Text.
enum class UiText : int {
  // Program title and main menu.
  ProgramTitle = 1000,
  Exit = 1001,
  RestoreMemoryCard = 1002,
  RestoreAvchdFolder = 1003,
  MakeAvchdFolder = 1004,
  // The question before a cancel, and what is shown while it goes on.
  AskCancel = 1005,
  Cancelling = 1006,
  // Selection pages: a page's title, then what it asks for.
  SelectCardTitle = 1010,
  SelectCard = 1011,
  SelectOtherChannelCard = 1012,
  SelectFirstCardAgain = 1013,
  SelectFolderTitle = 1020,
  SelectFolder = 1021,
  Open = 1022,
  SelectOtherChannelFolder = 1023,
  SelectStreamFilesTitle = 1024,
  SelectStreamFiles = 1025,
  SelectOtherChannelStreamFiles = 1026,
  LeftChannel = 1027,
  RightChannel = 1028,
  // Verification and the time it has left.
  VerifyingTitle = 1030,
  Verifying = 1031,
  Remaining = 1032,
  Minutes = 1033,
  Seconds = 1034,
  // Verdict and result.
  ConfirmTitle = 1040,
  ErrorFound = 1041,
  Completed = 1060,
  PlayableAgain = 1061,
  NotRequired = 1070,
  NoErrorFound = 1071,
  // Refusals while the wizard waits or chooses.
  ChangedByAnotherProgram = 1080,
  FolderOnMemoryCard = 1081,
};

namespace Texts {

// The text of `id` in the current language (AAA::StringTable), or in
// `language`.
std::string Text(UiText id);
std::string Text(UiText id, AAA::StringTable::Language language);

}  // namespace Texts
}  // namespace Restore
