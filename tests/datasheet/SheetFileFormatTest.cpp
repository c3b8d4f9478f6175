#include <gtest/gtest.h>

#include "datasheet/SheetFileFormat.h"

namespace tarvix {
namespace {

using Rows = QList<QStringList>;

TEST(SheetFileFormat, ParsesLinesAndFields) {
  const struct {
    const char* text;
    Rows rows;
  } cases[] = {
      {"", {}},
      {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
      {"a,b\nc", {{"a", "b"}, {"c"}}},  // LF line ends, no final line end
      {",x,\r\n,,\r\n", {{"", "x", ""}, {"", "", ""}}},
      {"a,", {{"a", ""}}},
      {"\r\n\r\n", {{""}, {""}}},
      {"a\rb,c\r\n", {{"a\rb", "c"}}},  // a CR alone is cell text
      {"\"x,y\",\"say \"\"hi\"\"\"\r\n", {{"x,y", "say \"hi\""}}},
      {"\"two\r\nlines\",z\r\n", {{"two\r\nlines", "z"}}},
      {"\"\",\"\"\"\"\r\n", {{"", "\""}}},
      // Quotes that do not form a quoted field are kept as they stand.
      {"\"open,b\r\nc\r\n", {{"\"open", "b"}, {"c"}}},
      {"\"ab\"cd,e\r\n", {{"\"ab\"cd", "e"}}},
      {"a\"b,\"\r\n", {{"a\"b", "\""}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseSheetFile(QString::fromUtf8(c.text)), c.rows) << c.text;
  }
}

TEST(SheetFileFormat, WritesCrLfAfterEveryRowAndQuotesOnlyWhatWouldShiftCells) {
  const QList<QString> cells{"", "x", "", "", "", ""};
  EXPECT_EQ(formatSheetFile(cells, 3), QStringLiteral(",x,\r\n,,\r\n"));

  const QList<QString> awkward{"a,b", "line\r\nbreak", "\"quoted\"", "in\"side", "lf\nonly", "cr\ronly"};
  EXPECT_EQ(formatSheetFile(awkward, 2),
            QStringLiteral("\"a,b\",\"line\r\nbreak\"\r\n\"\"\"quoted\"\"\",in\"side\r\n\"lf\nonly\",\"cr\ronly\"\r\n"));
}

TEST(SheetFileFormat, EveryWrittenSheetReadsBackCellForCell) {
  const QList<QString> cells{"a,b", "", "\"", "\"\"", "x\"", "\r\n", ",", "\"a\"b", "plain", "\n\"", "", "end"};
  const Rows rows = parseSheetFile(formatSheetFile(cells, 3));
  ASSERT_EQ(rows.size(), 4);
  QList<QString> back;
  for (const QStringList& row : rows) back += row;
  EXPECT_EQ(back, cells);
}

TEST(SheetFileFormat, ManyUnmatchedQuotesStayLiteral) {
  QString text;
  for (int i = 0; i < 2000; ++i) text += QStringLiteral("\"a,\"\"b\n");
  const Rows rows = parseSheetFile(text);
  ASSERT_EQ(rows.size(), 2000);
  EXPECT_EQ(rows.front(), (QStringList{"\"a", "\"\"b"}));
  EXPECT_EQ(rows.back(), rows.front());
}

}  // namespace
}  // namespace tarvix
