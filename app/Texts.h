#pragma once

#include <QString>

#include "aaalib/AAA_StringTable.h"

// A text of the string table in the language chosen at start-up.
inline QString Text(int id) { return QString::fromStdString(AAA::StringTable::Text(id)); }

// A text of this program beyond the string table, in the language chosen.
inline QString Localized(const char* english, const char* japanese) {
  return QString::fromUtf8(AAA::StringTable::CurrentLanguage() == AAA::StringTable::Language::Japanese ? japanese
                                                                                                       : english);
}
