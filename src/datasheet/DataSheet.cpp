#include "datasheet/DataSheet.h"

#include "base/PromptService.h"
#include "base/TextFile.h"
#include "datasheet/RangeText.h"
#include "datasheet/SheetFileFormat.h"

namespace tarvix {
namespace {

void warnFileFailure(const QString& description) {
  prompts().messageBox(description, int{MsgBox::OkOnly} | MsgBox::Exclamation, applicationTitle());
}

}  // namespace

DataSheet::DataSheet(QObject* parent) : QAbstractTableModel(parent), cells_(qsizetype(rows_) * columns_) {}

void DataSheet::ResizeTable(int iRow, int iCol) {
  if (iRow <= 0 || iRow > kMaxRows || iCol <= 0 || iCol > kMaxColumns) return;
  beginResetModel();
  rows_ = iRow;
  columns_ = iCol;
  cells_ = QList<QString>(qsizetype(rows_) * columns_);
  endResetModel();
}

const QString& DataSheet::cell(int row, int column) const { return cells_[offset(row, column)]; }

void DataSheet::setCell(int row, int column, const QString& text) {
  cells_[offset(row, column)] = text;
  const QModelIndex changed = index(row - 1, column - 1);
  emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

QString DataSheet::rangeText(const SheetRange& range, const QString& rowDelimiter,
                             const QString& columnDelimiter) const {
  QString text;
  for (int row = range.top; row <= range.bottom; ++row) {
    if (row > range.top) text += rowDelimiter;
    for (int column = range.left; column <= range.right; ++column) {
      if (column > range.left) text += columnDelimiter;
      text += cell(row, column);
    }
  }
  return text;
}

void DataSheet::putRangeText(const SheetRange& range, const QString& text, const QString& rowDelimiter,
                             const QString& columnDelimiter) {
  if (range.isSingleCell()) {
    setCell(range.top, range.left, text);
    return;
  }
  putRows(range, splitRangeText(text, rowDelimiter, columnDelimiter));
}

void DataSheet::putRows(const SheetRange& range, QList<QStringList> rows) {
  const int rowCount = std::min<qsizetype>(rows.size(), range.rowCount());
  for (int i = 0; i < rowCount; ++i) {
    QStringList& fields = rows[i];
    const int fieldCount = std::min<qsizetype>(fields.size(), range.columnCount());
    for (int k = 0; k < fieldCount; ++k) cells_[offset(range.top + i, range.left + k)] = std::move(fields[k]);
  }
  announceChanged(range);
}

void DataSheet::clearRange(const SheetRange& range) {
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int column = range.left; column <= range.right; ++column) cells_[offset(row, column)].clear();
  }
  announceChanged(range);
}

bool DataSheet::LoadFile(const QString& strFile) {
  QString error;
  const auto bytes = readFileBytes(strFile, &error);
  if (!bytes) {
    warnFileFailure(error);
    return false;
  }
  putRows(wholeSheet(), parseSheetFile(decodeText(*bytes)));
  return true;
}

bool DataSheet::SaveFile(const QString& strFile) const {
  QString error;
  if (writeFileAtomic(strFile, encodeText(formatSheetFile(cells_, columns_)), &error)) return true;
  warnFileFailure(error);
  return false;
}

void DataSheet::announceChanged(const SheetRange& range) {
  emit dataChanged(index(range.top - 1, range.left - 1), index(range.bottom - 1, range.right - 1),
                   {Qt::DisplayRole, Qt::EditRole});
}

int DataSheet::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataSheet::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant DataSheet::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return cell(index.row() + 1, index.column() + 1);
}

bool DataSheet::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const QString text = value.toString();
  if (text == cell(index.row() + 1, index.column() + 1)) return true;
  setCell(index.row() + 1, index.column() + 1, text);
  emit projectModified();
  return true;
}

Qt::ItemFlags DataSheet::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant DataSheet::headerData(int section, Qt::Orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  return section + 1;
}

}  // namespace tarvix
