#pragma once

#include <QString>

#include "aaalib/AAA_StringTable.h"

// A text of the string table in the language chosen at start-up.
inline QString Text(int id) { return QString::fromStdString(AAA::StringTable::Text(id)); }
