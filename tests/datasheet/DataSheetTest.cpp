#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "base/TextFile.h"
#include "datasheet/DataSheet.h"
#include "dispatch/AutomationError.h"
#include "support/ScriptedPrompts.h"

namespace tarvix {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kComma = QStringLiteral(",");

// A sheet of the given size with cell (r, c) holding "r.c".
void fillNumbered(DataSheet& sheet) {
  for (int r = 1; r <= sheet.rows(); ++r)
    for (int c = 1; c <= sheet.columns(); ++c) sheet.setCell(r, c, QStringLiteral("%1.%2").arg(r).arg(c));
}

int errorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& error) {
    return error.number();
  }
  return 0;
}

TEST(DataSheet, CornersOutsideTheSheetRaiseError9AndChangeNothing) {
  DataSheet sheet;
  sheet.ResizeTable(4, 3);
  QSignalSpy modified(&sheet, &DataSheet::projectModified);
  const struct {
    qint32 r1, c1, r2, c2;
  } bad[] = {{0, 1, -1, -1}, {1, 0, -1, -1}, {5, 1, -1, -1}, {1, 4, -1, -1},
             {1, 1, -1, 3},  {1, 1, 3, -1},  {1, 1, 5, 3},   {1, 1, 0, 0}};
  for (const auto& b : bad) {
    EXPECT_EQ(errorNumberOf([&] { sheet.TextMatrix(b.r1, b.c1, b.r2, b.c2); }), 9) << b.r1 << b.c1 << b.r2 << b.c2;
    EXPECT_EQ(errorNumberOf([&] { sheet.setTextMatrix(b.r1, b.c1, b.r2, b.c2, "x"); }), 9);
    EXPECT_EQ(errorNumberOf([&] { sheet.ValueMatrix(b.r1, b.c1, b.r2, b.c2); }), 9);
    EXPECT_EQ(errorNumberOf([&] { sheet.setValueMatrix(b.r1, b.c1, b.r2, b.c2, Variant(1.0)); }), 9);
  }
  EXPECT_EQ(sheet.TextMatrix(1, 1, 4, 3, "", ""), QString());
  EXPECT_EQ(modified.count(), 0);

  sheet.setTextMatrix(4, 3, -1, -1, "corner");
  EXPECT_EQ(sheet.TextMatrix(4, 3), QStringLiteral("corner"));
  EXPECT_EQ(sheet.TextMatrix(1, 1, -1, -1), QString());
}

TEST(DataSheet, RangeTextJoinsRowsAndFieldsWithoutTrailingDelimiters) {
  DataSheet sheet;
  sheet.ResizeTable(3, 3);
  fillNumbered(sheet);
  EXPECT_EQ(sheet.TextMatrix(1, 1, 2, 2, kCrLf, kComma), QStringLiteral("1.1,1.2\r\n2.1,2.2"));
  // Reversed corners name the same rectangle.
  EXPECT_EQ(sheet.TextMatrix(2, 2, 1, 1, kCrLf, kComma), QStringLiteral("1.1,1.2\r\n2.1,2.2"));
  EXPECT_EQ(sheet.TextMatrix(1, 3, 2, 2, kCrLf, kComma), QStringLiteral("1.2,1.3\r\n2.2,2.3"));
  // Omitted delimiters are the clipboard form: CR LF and tab.
  EXPECT_EQ(sheet.TextMatrix(2, 1, 3, 2), QStringLiteral("2.1\t2.2\r\n3.1\t3.2"));
  EXPECT_EQ(sheet.TextMatrix(1, 1, 2, 2, "", ""), QStringLiteral("1.11.22.12.2"));
}

TEST(DataSheet, RangePutStoresFieldsInsideTheRangeOnly) {
  DataSheet sheet;
  sheet.ResizeTable(4, 4);
  fillNumbered(sheet);
  QSignalSpy modified(&sheet, &DataSheet::projectModified);

  // Extra rows and fields are dropped; cells without a field keep their text.
  sheet.setTextMatrix(3, 3, 2, 2, "a,b,X\r\nc\r\nY", kCrLf, kComma);
  EXPECT_EQ(sheet.TextMatrix(1, 1, 4, 4, "|", ","),
            QStringLiteral("1.1,1.2,1.3,1.4|2.1,a,b,2.4|3.1,c,3.3,3.4|4.1,4.2,4.3,4.4"));
  EXPECT_EQ(modified.count(), 1);

  // A single cell takes the whole text, delimiters and all.
  sheet.setTextMatrix(1, 1, 1, 1, "x,y\r\nz", kCrLf, kComma);
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("x,y\r\nz"));
  EXPECT_EQ(modified.count(), 2);

  // An empty row delimiter puts everything in the first row.
  sheet.setTextMatrix(4, 1, 4, 4, "p\r\nq,r", "", kComma);
  EXPECT_EQ(sheet.TextMatrix(4, 1, 4, 4, "", "|"), QStringLiteral("p\r\nq|r|4.3|4.4"));
}

TEST(DataSheet, ResizeEmptiesTheSheetAndIgnoresSizesOutOfBounds) {
  DataSheet sheet;
  EXPECT_EQ(sheet.rows(), 100);
  EXPECT_EQ(sheet.columns(), 10);
  QSignalSpy modified(&sheet, &DataSheet::projectModified);

  sheet.ResizeTable(1000, 100);
  EXPECT_EQ(sheet.rowCount(), 1000);
  EXPECT_EQ(sheet.columnCount(), 100);
  EXPECT_EQ(sheet.headerData(999, Qt::Vertical).toInt(), 1000);
  EXPECT_EQ(sheet.headerData(0, Qt::Horizontal).toInt(), 1);
  EXPECT_EQ(sheet.headerData(99, Qt::Horizontal).toInt(), 100);
  sheet.setCell(1000, 100, "last");

  for (auto [rows, columns] : {std::pair{1001, 100}, {0, 5}, {10, 101}, {-1, -1}}) {
    sheet.ResizeTable(rows, columns);
    EXPECT_EQ(sheet.rows(), 1000);
    EXPECT_EQ(sheet.columns(), 100);
    EXPECT_EQ(sheet.cell(1000, 100), QStringLiteral("last"));
  }

  sheet.ResizeTable(1000, 100);
  EXPECT_EQ(sheet.cell(1000, 100), QString());
  EXPECT_EQ(sheet.TextMatrix(1, 1, 1000, 100, "", ""), QString());
  EXPECT_EQ(modified.count(), 0);
}

TEST(DataSheet, OnlyScriptPutsAndCellEditsMarkTheProjectModified) {
  QTemporaryDir dir;
  const QString file = dir.filePath("sheet.csv");
  ASSERT_TRUE(writeFileAtomic(file, "1,2\r\n"));
  DataSheet sheet;
  sheet.ResizeTable(2, 2);
  QSignalSpy modified(&sheet, &DataSheet::projectModified);

  EXPECT_TRUE(sheet.LoadFile(file));
  sheet.putRangeText(sheet.wholeSheet(), "a\tb", "\r\n", "\t");
  sheet.clearRange(sheet.wholeSheet());
  EXPECT_EQ(modified.count(), 0);

  // An edit that leaves the text as it was is no change.
  EXPECT_TRUE(sheet.setData(sheet.index(0, 0), QString()));
  EXPECT_EQ(modified.count(), 0);
  EXPECT_TRUE(sheet.setData(sheet.index(0, 0), "edited"));
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("edited"));
  EXPECT_EQ(modified.count(), 1);

  sheet.setValueMatrix(2, 2, -1, -1, Variant(std::int32_t(5)));
  EXPECT_EQ(modified.count(), 2);
}

TEST(DataSheet, SavesEveryRowWithCrLfAndCMinusOneCommas) {
  test::ScriptedPrompts prompts;
  QTemporaryDir dir;
  const QString file = dir.filePath("sheet.csv");
  DataSheet sheet;
  sheet.ResizeTable(2, 3);
  sheet.setCell(1, 2, "x");
  ASSERT_TRUE(sheet.SaveFile(file));
  EXPECT_EQ(readFileBytes(file).value(), QByteArray(",x,\r\n,,\r\n"));
  EXPECT_TRUE(prompts.records.empty());
}

TEST(DataSheet, SaveThenLoadKeepsEveryCellEvenWithCommasQuotesAndLineBreaks) {
  QTemporaryDir dir;
  const QString file = dir.filePath("sheet.csv");
  DataSheet saved;
  saved.ResizeTable(3, 3);
  const QStringList texts{"a,b", "\"q\"", "two\r\nlines", "", "caf\u00E9 \u30C6\u30B9\u30C8", "x\"y", "\n", ",", "end"};
  for (int i = 0; i < texts.size(); ++i) saved.setCell(i / 3 + 1, i % 3 + 1, texts[i]);
  ASSERT_TRUE(saved.SaveFile(file));

  DataSheet loaded;
  loaded.ResizeTable(3, 3);
  ASSERT_TRUE(loaded.LoadFile(file));
  for (int i = 0; i < texts.size(); ++i) EXPECT_EQ(loaded.cell(i / 3 + 1, i % 3 + 1), texts[i]) << i;
  EXPECT_TRUE(readFileBytes(file)->contains("caf\xC3\xA9"));  // written as UTF-8
}

TEST(DataSheet, LoadFillsFromTheTopLeftAndKeepsCellsTheFileDoesNotReach) {
  test::ScriptedPrompts prompts;
  QTemporaryDir dir;
  const QString file = dir.filePath("old.csv");
  // Written elsewhere: LF line ends, legacy code page, a stray quote, a line
  // longer than the sheet and more lines than the sheet has rows.
  ASSERT_TRUE(writeFileAtomic(file, "\"a,caf\xE9,c,d\nonly\n1,2\n3,4\n"));
  DataSheet sheet;
  sheet.ResizeTable(3, 3);
  fillNumbered(sheet);
  ASSERT_TRUE(sheet.LoadFile(file));
  EXPECT_EQ(sheet.TextMatrix(1, 1, 3, 3, "|", ","), QStringLiteral("\"a,caf\u00E9,c|only,2.2,2.3|1,2,3.3"));
  EXPECT_TRUE(prompts.records.empty());
}

TEST(DataSheet, FileFailuresShowOneWarningAndKeepTheSheetAndTheOldFile) {
  test::ScriptedPrompts prompts;
  QTemporaryDir dir;
  DataSheet sheet;
  sheet.ResizeTable(2, 2);
  sheet.setCell(1, 1, "kept");

  EXPECT_FALSE(sheet.LoadFile(dir.filePath("missing.csv")));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].kind, test::ScriptedPrompts::Record::Kind::MessageBox);
  EXPECT_EQ(prompts.records[0].style, int{MsgBox::OkOnly} | MsgBox::Exclamation);
  EXPECT_FALSE(prompts.records[0].text.isEmpty());
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("kept"));

  EXPECT_FALSE(sheet.SaveFile(dir.filePath("no/such/folder/sheet.csv")));
  EXPECT_EQ(prompts.records.size(), 2u);
  EXPECT_EQ(prompts.records[1].style, int{MsgBox::OkOnly} | MsgBox::Exclamation);
}

}  // namespace
}  // namespace tarvix
