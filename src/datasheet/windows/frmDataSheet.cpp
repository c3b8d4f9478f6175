#include "datasheet/windows/frmDataSheet.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "datasheet/DataSheet.h"
#include "ui/modLocale.h"
#include "ui/windows/LocalizeForm.h"

namespace tarvix {
namespace {

const QString kClipboardRowDelimiter = QStringLiteral("\r\n");
const QString kClipboardColumnDelimiter = QStringLiteral("\t");

// 7665 x 4305 twips as designed, at 15 twips to the pixel.
constexpr QSize kDesignedSize(511, 287);

QFont sheetFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("Sans Serif")});
  font.setPointSize(9);
  return font;
}

}  // namespace

SheetRange frmDataSheet::Selection::rectangle() const {
  return {std::min(row, oppositeRow), std::min(column, oppositeColumn), std::max(row, oppositeRow),
          std::max(column, oppositeColumn)};
}

frmDataSheet::frmDataSheet(DataSheet& sheet, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      sheet_(sheet) {
  setObjectName(QStringLiteral("frmDataSheet"));
  setWindowTitle(QStringLiteral("Data Sheet#6000"));

  tbrDataSheet = new QToolBar(this);
  tbrDataSheet->setObjectName(QStringLiteral("tbrDataSheet"));
  itgData = new QTableView(this);
  itgData->setObjectName(QStringLiteral("itgData"));
  itgData->setModel(&sheet_);
  itgData->setSelectionMode(QAbstractItemView::ContiguousSelection);
  itgData->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  itgData->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  itgData->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
  itgData->installEventFilter(this);
  itgData->viewport()->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tbrDataSheet);
  layout->addWidget(itgData, 1);

  buildToolBar();
  buildPopupMenu();
  LocalizeForm(this);
  itgData->setFont(sheetFont());
  itgData->verticalHeader()->setDefaultSectionSize(itgData->fontMetrics().height() + 6);
  lblRange->setText(LStr(150));
  resize(kDesignedSize);
}

void frmDataSheet::buildToolBar() {
  const auto addButton = [this](const char* key, const char* themeIcon, const QString& caption,
                                void (frmDataSheet::*operation)()) {
    QAction* action = tbrDataSheet->addAction(QIcon::fromTheme(QString::fromLatin1(themeIcon)), caption);
    action->setObjectName(QString::fromLatin1(key));
    action->setToolTip(caption);
    connect(action, &QAction::triggered, this, operation);
  };
  tbrDataSheet->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tbrDataSheet->setMovable(false);
  addButton("cut", "edit-cut", QStringLiteral("Cut#6001"), &frmDataSheet::CutSelection);
  addButton("copy", "edit-copy", QStringLiteral("Copy#6002"), &frmDataSheet::CopySelection);
  addButton("paste", "edit-paste", QStringLiteral("Paste#6003"), &frmDataSheet::PasteClipboard);
  tbrDataSheet->addSeparator();
  addButton("del", "edit-delete", QStringLiteral("Delete#6004"), &frmDataSheet::DeleteSelection);

  lblRange = new QLabel(QStringLiteral(" Range:#6005"), tbrDataSheet);
  lblRange->setObjectName(QStringLiteral("lblRange"));
  lblRange->setContentsMargins(8, 0, 8, 0);
  tbrDataSheet->addWidget(lblRange)->setObjectName(QStringLiteral("range"));
}

void frmDataSheet::buildPopupMenu() {
  mnuPopup = new QMenu(QStringLiteral("Popup#6006"), this);
  mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
  mnuPopup->addAction(QStringLiteral("&Cut#6007"), this, &frmDataSheet::CutSelection);
  mnuPopup->addAction(QStringLiteral("&Copy#6008"), this, &frmDataSheet::CopySelection);
  mnuPopup->addAction(QStringLiteral("&Paste#6009"), this, &frmDataSheet::PasteClipboard);
  mnuPopup->addSeparator();
  mnuPopup->addAction(QStringLiteral("&Delete#6010"), this, &frmDataSheet::DeleteSelection);
}

frmDataSheet::Selection frmDataSheet::selection() const {
  const QModelIndex current = itgData->currentIndex();
  if (!current.isValid()) return {};
  Selection selected{current.row() + 1, current.column() + 1, current.row() + 1, current.column() + 1};
  // Qt's current index follows the moving end of a selection; the corner
  // diagonally across from it is where the selection started.
  for (const QItemSelectionRange& range : itgData->selectionModel()->selection()) {
    if (!range.contains(current)) continue;
    selected.row = (current.row() == range.top() ? range.bottom() : range.top()) + 1;
    selected.column = (current.column() == range.left() ? range.right() : range.left()) + 1;
    break;
  }
  return selected;
}

void frmDataSheet::selectCells(int row, int column, int oppositeRow, int oppositeColumn) {
  QItemSelectionModel* model = itgData->selectionModel();
  model->setCurrentIndex(sheet_.index(oppositeRow - 1, oppositeColumn - 1), QItemSelectionModel::NoUpdate);
  model->select(QItemSelection(sheet_.index(row - 1, column - 1), sheet_.index(oppositeRow - 1, oppositeColumn - 1)),
                QItemSelectionModel::ClearAndSelect);
}

void frmDataSheet::CutSelection() {
  CopySelection();
  DeleteSelection();
}

void frmDataSheet::CopySelection() {
  QGuiApplication::clipboard()->setText(
      sheet_.rangeText(selection().rectangle(), kClipboardRowDelimiter, kClipboardColumnDelimiter));
}

void frmDataSheet::PasteClipboard() {
  const QString text = QGuiApplication::clipboard()->text();
  if (text.isEmpty()) return;
  // Split rather than stored whole even when only one cell fits, so that a
  // block pasted into the last cell keeps only its first cell there.
  QList<QStringList> rows = splitRangeText(text, kClipboardRowDelimiter, kClipboardColumnDelimiter);
  const Selection at = selection();
  const SheetRange target{at.row, at.column,
                          int(std::min<qsizetype>(at.row + rows.size() - 1, sheet_.rows())),
                          int(std::min<qsizetype>(at.column + rows.front().size() - 1, sheet_.columns()))};
  sheet_.putRows(target, std::move(rows));
}

void frmDataSheet::DeleteSelection() { sheet_.clearRange(selection().rectangle()); }

void frmDataSheet::SelectAllCells() {
  // Selecting moves Qt's current index to the far corner; keep the view where it is.
  const int horizontal = itgData->horizontalScrollBar()->value();
  const int vertical = itgData->verticalScrollBar()->value();
  selectCells(1, 1, sheet_.rows(), sheet_.columns());
  itgData->horizontalScrollBar()->setValue(horizontal);
  itgData->verticalScrollBar()->setValue(vertical);
}

void frmDataSheet::UpdateRangeLabel() {
  const Selection at = selection();
  if (at.row == at.oppositeRow && at.column == at.oppositeColumn) {
    lblRange->setText(LFormat(152, at.row, at.column));
  } else {
    lblRange->setText(LFormat(151, at.row, at.column, at.oppositeRow, at.oppositeColumn));
  }
}

void frmDataSheet::showPopupMenu(const QPoint& globalPosition) {
  mnuPopup->exec(globalPosition);
  UpdateRangeLabel();
}

bool frmDataSheet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == itgData && event->type() == QEvent::KeyPress) return handleTableKey(static_cast<QKeyEvent*>(event));
  if (watched != itgData->viewport()) return false;
  const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
  const bool release = event->type() == QEvent::MouseButtonRelease;
  if (!press && !release) return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  // The right button keeps the selection and opens the popup menu when it is released.
  if (mouse->button() == Qt::RightButton) {
    if (release) showPopupMenu(mouse->globalPosition().toPoint());
    return true;
  }
  if (release) UpdateRangeLabel();
  return false;
}

bool frmDataSheet::handleTableKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    DeleteSelection();
    return true;
  }
  if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
  switch (event->key()) {
    case Qt::Key_C: CopySelection(); return true;
    case Qt::Key_V: PasteClipboard(); return true;
    case Qt::Key_A: SelectAllCells(); return true;
    default: return false;
  }
}

// The owner unloads the window by destroying it, so every close is the
// close box or a request to put the window away.
void frmDataSheet::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

void frmDataSheet::showEvent(QShowEvent* event) {
  if (!placed_ && parentWidget()) {
    move(parentWidget()->frameGeometry().center() - rect().center());
    placed_ = true;
  }
  QWidget::showEvent(event);
}

}  // namespace tarvix
