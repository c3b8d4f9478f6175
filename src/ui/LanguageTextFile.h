#pragma once

// The human-edited source of one language's texts (resources/lang/<id>.txt),
// UTF-8, one text per line:
//
//   NUMBER<TAB>TEXT
//
// Blank lines and lines starting with "#" are ignored. In TEXT, "\n" stands
// for a line break, "\t" for a tab and "\\" for a backslash; any other
// backslash sequence is an error, so that a typing slip does not slip through.
// Leading and trailing blanks of TEXT are kept. A number may appear only once.

#include <QString>
#include <QStringList>

#include "ui/LangResWriter.h"

namespace tarvix {

struct ParsedLanguageTexts {
  LanguageTexts texts;
  QStringList errors;  // "line N: reason"
};

ParsedLanguageTexts parseLanguageTexts(const QString& content);

}  // namespace tarvix
