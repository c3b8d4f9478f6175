#include "datasheet/RangeText.h"

namespace tarvix {
namespace {

QStringList splitAt(const QString& text, const QString& delimiter) {
  if (delimiter.isEmpty()) return {text};
  return text.split(delimiter);
}

}  // namespace

QList<QStringList> splitRangeText(const QString& text, const QString& rowDelimiter,
                                  const QString& columnDelimiter) {
  QList<QStringList> rows;
  const QStringList lines = splitAt(text, rowDelimiter);
  rows.reserve(lines.size());
  for (const QString& line : lines) rows.append(splitAt(line, columnDelimiter));
  return rows;
}

}  // namespace tarvix
