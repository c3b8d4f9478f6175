#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tarvix {

// The data-sheet file: one line per sheet row, each ended by CR LF, the cells
// of a row separated by commas (so C - 1 commas per line), no header line.
//
// A cell that contains a comma, CR or LF, or that starts with a double quote,
// is written in double quotes with its inner quotes doubled, so that no cell
// text can shift the cells after it. Reading accepts that form, lines ended by
// CR LF or LF alone, and anything else literally: a field that starts with a
// quote but is not a well-formed quoted field (no closing quote, or text after
// it) is taken as it stands, as files written without quoting hold it.

// Rows of fields as the file holds them; rows may differ in length.
QList<QStringList> parseSheetFile(QStringView text);

// The file text of row-major cells, columnCount to a row.
QString formatSheetFile(const QList<QString>& cells, int columnCount);

}  // namespace tarvix
