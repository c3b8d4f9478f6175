#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tarvix {

// The text form of a block of cells: fields joined by a column delimiter,
// rows by a row delimiter, nothing after the last field or row. An empty
// delimiter joins without a separator and splits nothing.
QList<QStringList> splitRangeText(const QString& text, const QString& rowDelimiter,
                                  const QString& columnDelimiter);

// Delimiters a script leaves out: the clipboard form of the sheet window.
inline QString defaultRowDelimiter() { return QStringLiteral("\r\n"); }
inline QString defaultColumnDelimiter() { return QStringLiteral("\t"); }

}  // namespace tarvix
