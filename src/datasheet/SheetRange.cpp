#include "datasheet/SheetRange.h"

#include <algorithm>

namespace tarvix {

std::optional<SheetRange> SheetRange::fromCorners(qint32 row1, qint32 column1, qint32 row2, qint32 column2,
                                                  int rows, int columns) {
  const auto inside = [&](qint32 row, qint32 column) {
    return row >= 1 && row <= rows && column >= 1 && column <= columns;
  };
  if (!inside(row1, column1)) return std::nullopt;
  if (row2 == -1 && column2 == -1) {
    row2 = row1;
    column2 = column1;
  } else if (!inside(row2, column2)) {
    return std::nullopt;
  }
  return SheetRange{std::min(row1, row2), std::min(column1, column2), std::max(row1, row2),
                    std::max(column1, column2)};
}

}  // namespace tarvix
