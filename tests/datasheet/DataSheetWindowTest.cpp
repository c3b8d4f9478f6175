#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "datasheet/DataSheet.h"
#include "datasheet/windows/frmDataSheet.h"
#include "ui/modLocale.h"

namespace tarvix {
namespace {

class DataSheetWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitLocale(1033, QStringLiteral(TARVIX_BIN_DIR "/LangRes.dll")); }

  void SetUp() override {
    sheet.ResizeTable(6, 4);
    QGuiApplication::clipboard()->clear();
  }

  void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
  QString clipboard() const { return QGuiApplication::clipboard()->text(); }
  QString all() const { return sheet.TextMatrix(1, 1, sheet.rows(), sheet.columns(), "|", ","); }
  // Puts without marking the project modified, as loading a file does.
  void put(int row1, int column1, int row2, int column2, const QString& text) {
    sheet.putRangeText(*sheet.range(row1, column1, row2, column2), text, "\r\n", ",");
  }
  QPoint centreOf(int row, int column) const {
    return window.table()->visualRect(sheet.index(row - 1, column - 1)).center();
  }
  void keyOnTable(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window.table(), key, modifiers);
  }

  DataSheet sheet;
  frmDataSheet window{sheet};
  QSignalSpy modified{&sheet, &DataSheet::projectModified};
};

TEST_F(DataSheetWindow, CopyPutsTabsBetweenCellsAndCrLfBetweenRows) {
  put(1, 1, 2, 3, "a,b,\r\nc,d,");
  sheet.setCell(2, 3, "x");

  window.selectCells(2, 3, 2, 3);
  keyOnTable(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard(), QStringLiteral("x"));

  window.selectCells(2, 2, 1, 1);
  window.CopySelection();
  EXPECT_EQ(clipboard(), QStringLiteral("a\tb\r\nc\td"));
}

TEST_F(DataSheetWindow, PasteStartsAtTheCurrentCellAndDropsWhatDoesNotFit) {
  // The current cell is where the selection started, not its top left.
  window.selectCells(3, 3, 2, 2);
  setClipboard("p\tq\r\nr\ts");
  keyOnTable(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(sheet.TextMatrix(3, 3, 4, 4, "|", ","), QStringLiteral("p,q|r,s"));

  // A 3 x 2 block at (R - 1, C) fills (R - 1, C) and (R, C) from its first column.
  sheet.clearRange(sheet.wholeSheet());
  window.selectCells(5, 4, 5, 4);
  setClipboard("a\tb\r\nc\td\r\ne\tf");
  window.PasteClipboard();
  EXPECT_EQ(all(), QStringLiteral(",,,|,,,|,,,|,,,|,,,a|,,,c"));

  // Only one cell fits: it takes the block's first cell, not the whole text.
  window.selectCells(6, 4, 6, 4);
  window.PasteClipboard();
  EXPECT_EQ(sheet.cell(6, 4), QStringLiteral("a"));

  // A trailing CR LF is one more, empty, row.
  sheet.setCell(2, 1, "gone");
  sheet.setCell(2, 2, "kept");
  window.selectCells(1, 1, 1, 1);
  setClipboard("top\tright\r\n");
  window.PasteClipboard();
  EXPECT_EQ(sheet.TextMatrix(1, 1, 2, 2, "|", ","), QStringLiteral("top,right|,kept"));

  // An empty clipboard changes nothing.
  const QString before = all();
  QGuiApplication::clipboard()->clear();
  window.PasteClipboard();
  EXPECT_EQ(all(), before);
  EXPECT_EQ(modified.count(), 0);
}

TEST_F(DataSheetWindow, CutCopiesAndEmptiesTheSelectionWithoutMarkingTheProject) {
  put(1, 1, 2, 2, "a,b\r\nc,d");
  window.selectCells(1, 1, 2, 1);
  window.toolBar()->findChild<QAction*>("cut")->trigger();
  EXPECT_EQ(clipboard(), QStringLiteral("a\r\nc"));
  EXPECT_EQ(sheet.TextMatrix(1, 1, 2, 2, "|", ","), QStringLiteral(",b|,d"));
  EXPECT_EQ(modified.count(), 0);
}

TEST_F(DataSheetWindow, DeleteWorksWithAnyModifierAndCtrlXDoesNothing) {
  for (Qt::KeyboardModifiers modifiers :
       {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
        Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
    put(1, 1, 1, 2, "a,b");
    window.selectCells(1, 1, 1, 1);
    keyOnTable(Qt::Key_Delete, modifiers);
    EXPECT_EQ(sheet.TextMatrix(1, 1, 1, 2, "|", ","), QStringLiteral(",b")) << modifiers;
  }

  sheet.setCell(1, 1, "stays");
  setClipboard("clip");
  keyOnTable(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("stays"));
  EXPECT_EQ(clipboard(), QStringLiteral("clip"));
  EXPECT_EQ(modified.count(), 0);
}

TEST_F(DataSheetWindow, CtrlASelectsEveryDataCellFromTheTopLeft) {
  window.selectCells(3, 2, 3, 2);
  keyOnTable(Qt::Key_A, Qt::ControlModifier);
  const frmDataSheet::Selection selected = window.selection();
  EXPECT_EQ(selected.row, 1);
  EXPECT_EQ(selected.column, 1);
  EXPECT_EQ(selected.rectangle(), sheet.wholeSheet());
}

TEST_F(DataSheetWindow, TheRangeLabelFollowsMouseSelections) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.rangeLabel()->text(), LStr(150));
  ASSERT_FALSE(LStr(151).isEmpty());
  QWidget* cells = window.table()->viewport();

  QTest::mousePress(cells, Qt::LeftButton, {}, centreOf(2, 2));
  QTest::mouseMove(cells, centreOf(4, 3));
  QTest::mouseRelease(cells, Qt::LeftButton, {}, centreOf(4, 3));
  EXPECT_EQ(window.rangeLabel()->text(), LFormat(151, 2, 2, 4, 3));
  EXPECT_EQ(window.selection().rectangle(), (SheetRange{2, 2, 4, 3}));

  QTest::mouseClick(cells, Qt::LeftButton, {}, centreOf(5, 1));
  EXPECT_EQ(window.rangeLabel()->text(), LFormat(152, 5, 1));

  // Keyboard moves leave the label as it was.
  keyOnTable(Qt::Key_Down);
  EXPECT_EQ(window.selection().row, 6);
  EXPECT_EQ(window.rangeLabel()->text(), LFormat(152, 5, 1));
}

TEST_F(DataSheetWindow, RightClickKeepsTheSelectionAndOpensThePopupMenu) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  sheet.setCell(2, 2, "b");
  window.selectCells(2, 2, 3, 3);
  bool menuShown = false;
  QTimer::singleShot(0, [&] {
    menuShown = window.popupMenu()->isVisible();
    window.popupMenu()->actions().at(1)->trigger();  // Copy
    window.popupMenu()->close();
  });
  QTest::mouseClick(window.table()->viewport(), Qt::RightButton, {}, centreOf(5, 1));
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(clipboard(), QStringLiteral("b\t\r\n\t"));
  EXPECT_EQ(window.rangeLabel()->text(), LFormat(151, 2, 2, 3, 3));
}

TEST_F(DataSheetWindow, AnEditInTheTableMarksTheProjectModified) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.selectCells(1, 2, 1, 2);
  window.table()->edit(sheet.index(0, 1));
  auto* editor = window.table()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText("typed");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor commits through a queued call
  EXPECT_EQ(sheet.cell(1, 2), QStringLiteral("typed"));
  EXPECT_EQ(modified.count(), 1);
}

TEST_F(DataSheetWindow, IsLocalisedAndTheCloseBoxOnlyHides) {
  EXPECT_EQ(window.windowTitle(), LStr(6000));
  EXPECT_EQ(window.popupMenu()->actions().at(4)->text(), LStr(6010));
  EXPECT_EQ(window.toolBar()->findChild<QAction*>("paste")->toolTip(), LStr(6003));

  window.show();
  sheet.setCell(1, 1, "still here");
  EXPECT_FALSE(window.close());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("still here"));
}

}  // namespace
}  // namespace tarvix
