#pragma once

#include <string>

// The program's string table: the messages carried by exceptions (ids 100 to
// 114) and the user-interface texts (ids 1000 to 1081), each in English and
// Japanese. Texts are UTF-8.

namespace AAA::StringTable {

enum class Language { English, Japanese };

// "ja..." in LC_ALL, else LC_MESSAGES, else LANG gives Japanese; anything
// else (or nothing) gives English. The first variable that is set and not
// empty decides, as the C library does.
Language LanguageFromEnvironment();

// The language texts are loaded in; starts as LanguageFromEnvironment().
void SetLanguage(Language language);
Language CurrentLanguage();

// The text of `id` in the current language; an id the table does not hold
// gives the empty text.
std::string Text(int id);
std::string Text(int id, Language language);

}  // namespace AAA::StringTable
