#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "datasheet/RangeText.h"
#include "datasheet/SheetRange.h"
#include "dispatch/Variant.h"

namespace tarvix {

// The one shared data sheet: R x C cell texts that scripts (as "Csv") and the
// data-sheet window see. It is also the table model the window shows, with the
// row and column numbers as its headers; there is no other copy of the cells.
//
// Range puts store field k of row i in cell (top + i, left + k) of the range,
// drop what falls outside it and leave cells for which the text has no field
// unchanged. A range given with its corners reversed is the same rectangle.
//
// projectModified() reports the changes that make the project need saving:
// edits through the model's editing role and the script-side puts. Loading a
// file, resizing and the window's cut, paste and delete do not report it.
class DataSheet : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kMaxRows = 1000;
  static constexpr int kMaxColumns = 100;
  static constexpr int kNewProjectRows = 100;
  static constexpr int kNewProjectColumns = 10;

  explicit DataSheet(QObject* parent = nullptr);

  int rows() const { return rows_; }
  int columns() const { return columns_; }

  // Sets the size and empties every cell, also at the same size. A size
  // outside 1..1000 rows or 1..100 columns changes nothing.
  void ResizeTable(int iRow, int iCol);

  // Cells are addressed from (1, 1).
  const QString& cell(int row, int column) const;
  void setCell(int row, int column, const QString& text);

  std::optional<SheetRange> range(qint32 row1, qint32 column1, qint32 row2 = -1, qint32 column2 = -1) const {
    return SheetRange::fromCorners(row1, column1, row2, column2, rows_, columns_);
  }
  SheetRange wholeSheet() const { return {1, 1, rows_, columns_}; }

  // A single cell gives its own text; a larger range its fields joined by the
  // delimiters (nothing after the last field or row).
  QString rangeText(const SheetRange& range, const QString& rowDelimiter, const QString& columnDelimiter) const;
  // A single cell takes the whole text; a larger range the text split at the
  // delimiters.
  void putRangeText(const SheetRange& range, const QString& text, const QString& rowDelimiter,
                    const QString& columnDelimiter);
  // Row i, field k goes to cell (top + i, left + k), as far as the range reaches.
  void putRows(const SheetRange& range, QList<QStringList> rows);
  void clearRange(const SheetRange& range);

  // The sheet in the data-sheet file format. A failure shows a warning box
  // with the system's description and gives false; a failed load keeps
  // whatever it had stored, a failed save leaves the old file as it was.
  bool LoadFile(const QString& strFile);
  bool SaveFile(const QString& strFile) const;

  // The range access scripts use. A corner outside the sheet, or a second
  // corner with only one -1, raises error 9 and changes nothing; a put that
  // succeeds reports projectModified().
  QString TextMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2 = -1, qint32 lCol2 = -1,
                     const QString& strRowDelimiter = defaultRowDelimiter(),
                     const QString& strColDelimiter = defaultColumnDelimiter()) const;
  void setTextMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2, qint32 lCol2, const QString& text,
                     const QString& strRowDelimiter = defaultRowDelimiter(),
                     const QString& strColDelimiter = defaultColumnDelimiter());
  // A single cell as its value (see CellValue.h); a larger range as a
  // two-dimensional array of Variants, rows first, both lower bounds 1.
  Variant ValueMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2 = -1, qint32 lCol2 = -1) const;
  // Takes a scalar for a single cell, or a two-dimensional array for any
  // range, element (lower bound + i, lower bound + k) going to cell
  // (top + i, left + k). Any other shape, or an element without a text,
  // raises error 13 before a cell changes.
  void setValueMatrix(qint32 lRow1, qint32 lCol1, qint32 lRow2, qint32 lCol2, const Variant& value);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 signals:
  void projectModified();

 private:
  SheetRange scriptRange(qint32 row1, qint32 column1, qint32 row2, qint32 column2) const;
  qsizetype offset(int row, int column) const { return qsizetype(row - 1) * columns_ + (column - 1); }
  void announceChanged(const SheetRange& range);

  int rows_ = kNewProjectRows;
  int columns_ = kNewProjectColumns;
  QList<QString> cells_;  // row-major
};

}  // namespace tarvix
