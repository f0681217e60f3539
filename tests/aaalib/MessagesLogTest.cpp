// Exception messages in both languages and the diagnostic log's threshold,
// headings and option.
#include <gtest/gtest.h>

#include <cstdlib>

#include "LogCapture.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_StringTable.h"

using AAA::StringTable::Language;

namespace {
// Restores the language after a test that changes it.
struct LanguageScope {
  Language previous = AAA::StringTable::CurrentLanguage();
  ~LanguageScope() { AAA::StringTable::SetLanguage(previous); }
};
}  // namespace

TEST(Exceptions, CarryTheirMessagesThroughTheirBases) {
  LanguageScope scope;
  AAA::StringTable::SetLanguage(Language::English);
  try {
    throw AAA::InvalidDataException();
  } catch (const AAA::VerifyExceptionBase& caught) {
    EXPECT_EQ(caught.Message(),
              "Invalid data to the specified restoration object is included.\n\n"
              "The specified restoration object cannot be restored.");
  }
  EXPECT_EQ(AAA::IOException(AAA::MessageId::DiskFull).Message(),
            "There is no empty area enough for the memory card or the disk.");
  EXPECT_EQ(AAA::IOException().Message(), "The error occurred while reading or writing the file.");
  EXPECT_EQ(AAA::Not3dPairException().Message(), "It is not paired 3D content.");
}

TEST(Exceptions, ErrorNumbersMapToTheirExceptions) {
  EXPECT_THROW(AAA::ThrowFromErrorNumber(ENOENT), AAA::FileNotFoundException);
  EXPECT_THROW(AAA::ThrowFromErrorNumber(ENOMEM), AAA::InsufficientMemoryException);
  EXPECT_THROW(AAA::ThrowFromErrorNumber(EINVAL), AAA::ArgumentException);
  try {
    AAA::ThrowFromErrorNumber(ENOSPC);
  } catch (const AAA::IOException& full) {
    EXPECT_EQ(full.Message(), AAA::StringTable::Text(111));
  }
  EXPECT_THROW(AAA::ThrowFromErrorNumber(EIO), AAA::IOException);
}

TEST(StringTable, HoldsEveryMessageInBothLanguages) {
  for (int id = 100; id <= 114; ++id) {
    EXPECT_FALSE(AAA::StringTable::Text(id, Language::English).empty()) << id;
    EXPECT_FALSE(AAA::StringTable::Text(id, Language::Japanese).empty()) << id;
    EXPECT_NE(AAA::StringTable::Text(id, Language::English), AAA::StringTable::Text(id, Language::Japanese)) << id;
  }
  EXPECT_EQ(AAA::StringTable::Text(999), "");
}

TEST(StringTable, ExceptionsUseTheCurrentLanguage) {
  LanguageScope scope;
  AAA::StringTable::SetLanguage(Language::Japanese);
  EXPECT_EQ(AAA::CancellationException().Message(), "キャンセルされました。");
}

TEST(StringTable, LanguageFollowsTheLocaleVariablesInOrder) {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (const char* name : names) unsetenv(name);
  EXPECT_EQ(AAA::StringTable::LanguageFromEnvironment(), Language::English);
  setenv("LANG", "ja_JP.UTF-8", 1);
  EXPECT_EQ(AAA::StringTable::LanguageFromEnvironment(), Language::Japanese);
  setenv("LC_MESSAGES", "en_US.UTF-8", 1);
  EXPECT_EQ(AAA::StringTable::LanguageFromEnvironment(), Language::English);
  setenv("LC_ALL", "ja_JP", 1);
  EXPECT_EQ(AAA::StringTable::LanguageFromEnvironment(), Language::Japanese);
  for (const char* name : names) unsetenv(name);
}

TEST(Log, NothingIsWrittenAtThresholdZero) {
  LogCapture log(0);
  AAA::Log::Line(3, "throw\n");
  AAA::Log::Heading("verify Index table");
  EXPECT_EQ(log.Take(), "");
}

TEST(Log, LinesBelowTheThresholdOnly) {
  LogCapture log(4);
  AAA::Log::Line(3, "shown %d\n", 3);
  AAA::Log::Line(4, "hidden\n");
  AAA::Log::Heading("hidden");
  EXPECT_EQ(log.Take(), "shown 3\n");
}

TEST(Log, HeadingIsFramedByEightyCharacters) {
  LogCapture log(7);
  AAA::Log::Heading("verify maker");
  EXPECT_EQ(log.Take(), "\n" + std::string(80, '=') + "\nverify maker\n" + std::string(80, '-') + "\n");
}

TEST(Log, LongLinesAreWrittenWhole) {
  LogCapture log(8);
  const std::string longText(5000, 'x');
  AAA::Log::Line(7, "%s\n", longText.c_str());
  EXPECT_EQ(log.Take(), longText + "\n");
}

TEST(Log, OptionSetsPositiveThresholdsOnly) {
  const char* eight[] = {"prog", "-l", "8"};
  const char* zero[] = {"prog", "-l", "0"};
  const char* negative[] = {"prog", "-l", "-3"};
  const char* none[] = {"prog"};
  const char* garbage[] = {"prog", "-l", "8x"};
  EXPECT_EQ(AAA::Log::ThresholdFromArguments(3, eight), 8);
  EXPECT_EQ(AAA::Log::ThresholdFromArguments(3, zero), 0);
  EXPECT_EQ(AAA::Log::ThresholdFromArguments(3, negative), 0);
  EXPECT_EQ(AAA::Log::ThresholdFromArguments(1, none), 0);
  EXPECT_EQ(AAA::Log::ThresholdFromArguments(3, garbage), 0);
}
