#pragma once

#include <QtGlobal>
#include <optional>

namespace tarvix {

// A rectangle of data cells, 1-based, always with top <= bottom and
// left <= right.
struct SheetRange {
  int top = 1;
  int left = 1;
  int bottom = 1;
  int right = 1;

  int rowCount() const { return bottom - top + 1; }
  int columnCount() const { return right - left + 1; }
  bool isSingleCell() const { return top == bottom && left == right; }
  bool operator==(const SheetRange&) const = default;

  // The range between two corners of a sheet of rows x columns. The second
  // corner (-1, -1) means the first corner alone; corners in any order are
  // put in order. Nothing when a corner lies outside the sheet or only one
  // coordinate of the second corner is -1.
  static std::optional<SheetRange> fromCorners(qint32 row1, qint32 column1, qint32 row2, qint32 column2,
                                               int rows, int columns);
};

}  // namespace tarvix
