// The range members that scripts reach through "Csv".
#include "datasheet/CellValue.h"
#include "datasheet/DataSheet.h"
#include "dispatch/AutomationError.h"
#include "dispatch/SafeArray.h"

namespace tarvix {
namespace {

// The texts of the part of a two-dimensional array that falls into the range.
QList<QStringList> textsOfArray(const SafeArray& array, const SheetRange& target) {
  if (array.rank() != 2) raiseError(ErrorNumber::TypeMismatch);
  const std::int32_t columns = array.bounds()[1].count;
  const int rowCount = std::min(array.bounds()[0].count, target.rowCount());
  const int columnCount = std::min(columns, target.columnCount());
  QList<QStringList> rows(rowCount);
  for (int i = 0; i < rowCount; ++i) {
    rows[i].reserve(columnCount);
    for (int k = 0; k < columnCount; ++k) rows[i].append(cellText(array.data()[std::size_t(i) * columns + k]));
  }
  return rows;
}

}  // namespace

SheetRange DataSheet::scriptRange(qint32 row1, qint32 column1, qint32 row2, qint32 column2) const {
  const auto found = range(row1, column1, row2, column2);
  if (!found) raiseError(ErrorNumber::SubscriptOutOfRange);
  return *found;
}

QString DataSheet::TextMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2, qint32 lCol2,
                              const QString& strRowDelimiter, const QString& strColDelimiter) const {
  return rangeText(scriptRange(lRow1, lCol1, lRow2, lCol2), strRowDelimiter, strColDelimiter);
}

void DataSheet::setTextMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2, qint32 lCol2, const QString& text,
                              const QString& strRowDelimiter, const QString& strColDelimiter) {
  putRangeText(scriptRange(lRow1, lCol1, lRow2, lCol2), text, strRowDelimiter, strColDelimiter);
  emit projectModified();
}

Variant DataSheet::ValueMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2, qint32 lCol2) const {
  const SheetRange target = scriptRange(lRow1, lCol1, lRow2, lCol2);
  if (target.isSingleCell()) return cellValue(cell(target.top, target.left));
  auto* array = new SafeArray(VarType::Variant, {{1, target.rowCount()}, {1, target.columnCount()}});
  const Variant result(array);
  auto element = array->data().begin();
  for (int row = target.top; row <= target.bottom; ++row) {
    for (int column = target.left; column <= target.right; ++column) *element++ = cellValue(cell(row, column));
  }
  return result;
}

void DataSheet::setValueMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2, qint32 lCol2, const Variant& value) {
  const SheetRange target = scriptRange(lRow1, lCol1, lRow2, lCol2);
  const Variant& plain = value.deref();
  if (plain.isArray()) {
    putRows(target, textsOfArray(plain.rawArray(), target));
  } else if (target.isSingleCell()) {
    setCell(target.top, target.left, cellText(plain));
  } else {
    raiseError(ErrorNumber::TypeMismatch);
  }
  emit projectModified();
}

}  // namespace tarvix
