#pragma once

#include <QString>

#include "aaalib/AAA_StringTable.h"
#include "restorelib/Restore_Texts.h"

using Restore::UiText;

// Japanese has no spaces to break lines at: a label may break between any
// two characters, and the end of a sentence could stand alone on its last
// line ("す。"). The last characters of each sentence are held to the word
// before them with word joiners, which are not drawn.
inline QString KeepSentenceEndsTogether(QString text) {
  constexpr int kJoined = 3;  // characters held to the full stop
  const QChar joiner(0x2060);
  for (int stop = text.indexOf(QChar(0x3002)); stop >= 0; stop = text.indexOf(QChar(0x3002), stop + 1)) {
    // Joiners go in from the full stop backwards, which leaves the places
    // before them where they were.
    int inserted = 0;
    for (int at = stop; inserted < kJoined && at > 0 && !text[at - 1].isSpace(); --at, ++inserted)
      text.insert(at, joiner);
    stop += inserted;
  }
  return text;
}

inline QString ForLanguage(QString text) {
  return AAA::StringTable::CurrentLanguage() == AAA::StringTable::Language::Japanese
             ? KeepSentenceEndsTogether(std::move(text))
             : text;
}

// A message of the string table, or a user-interface text, in the language
// chosen at start-up.
inline QString Text(int id) { return ForLanguage(QString::fromStdString(AAA::StringTable::Text(id))); }
inline QString Text(UiText id) { return ForLanguage(QString::fromStdString(Restore::Texts::Text(id))); }

// A text of this program beyond the string table, in the language chosen.
inline QString Localized(const char* english, const char* japanese) {
  return AAA::StringTable::CurrentLanguage() == AAA::StringTable::Language::Japanese
             ? KeepSentenceEndsTogether(QString::fromUtf8(japanese))
             : QString::fromUtf8(english);
}
