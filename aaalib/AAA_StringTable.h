#pragma once

#include <string>

// The messages carried by exceptions (ids 100 to 114, AAA::MessageId), each
// in English and Japanese, UTF-8, and the language they are shown in, which
// the program's own texts follow too.

namespace AAA::StringTable {

enum class Language { English, Japanese };

// "ja..." in LC_ALL, else LC_MESSAGES, else LANG gives Japanese; anything
// else (or nothing) gives English. The first variable that is set and not
// empty decides, as the C library does.
Language LanguageFromEnvironment();

// The language texts are loaded in; starts as LanguageFromEnvironment().
void SetLanguage(Language language);
Language CurrentLanguage();

// One text of a table in both languages.
struct Translations {
  const char* english;
  const char* japanese;

  std::string In(Language language) const { return language == Language::Japanese ? japanese : english; }
};

// The text of `id` in the current language; an id the table does not hold
// gives the empty text.
std::string Text(int id);
std::string Text(int id, Language language);

}  // namespace AAA::StringTable
