#pragma once

#include <QWidget>

#include "datasheet/SheetRange.h"

class QLabel;
class QMenu;
class QTableView;
class QToolBar;

namespace tarvix {

class DataSheet;

// The data-sheet window: the shared sheet as an editable table with its row
// and column numbers as fixed headers, cut, copy, paste and delete through the
// tool bar, a popup menu and keys, and a label naming the selected cells.
//
// The sheet's "current cell" is where a selection started (a click, or the
// cell the keyboard moved to without Shift); the "opposite corner" is where
// the selection was dragged or extended to. Paste starts at the current cell.
//
// The close box only hides the window; the sheet and its contents stay.
class frmDataSheet : public QWidget {
  Q_OBJECT

 public:
  // The selection by its two corners, 1-based.
  struct Selection {
    int row = 1;
    int column = 1;
    int oppositeRow = 1;
    int oppositeColumn = 1;
    SheetRange rectangle() const;
  };

  explicit frmDataSheet(DataSheet& sheet, QWidget* owner = nullptr);

  void CutSelection();
  // Puts the selected cells on the clipboard, tab between cells and CR LF
  // between rows.
  void CopySelection();
  // Writes the clipboard's rows and cells from the current cell on, as far
  // as the sheet reaches.
  void PasteClipboard();
  void DeleteSelection();
  void SelectAllCells();

  Selection selection() const;
  // Selects from the current cell (row, column) to the opposite corner.
  void selectCells(int row, int column, int oppositeRow, int oppositeColumn);
  void UpdateRangeLabel();

  QTableView* table() const { return itgData; }
  QToolBar* toolBar() const { return tbrDataSheet; }
  QMenu* popupMenu() const { return mnuPopup; }
  QLabel* rangeLabel() const { return lblRange; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildToolBar();
  void buildPopupMenu();
  bool handleTableKey(QKeyEvent* event);
  void showPopupMenu(const QPoint& globalPosition);

  DataSheet& sheet_;
  QToolBar* tbrDataSheet = nullptr;
  QLabel* lblRange = nullptr;
  QTableView* itgData = nullptr;
  QMenu* mnuPopup = nullptr;
  bool placed_ = false;
};

}  // namespace tarvix
