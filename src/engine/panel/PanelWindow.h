#pragma once

#include <QList>
#include <QWidget>

class QTabBar;
class QAction;
class QToolBar;

namespace tarvix::engine {

class PanelModel;

// The operation panel's window: a tab per page and the controls of the
// current page. In edit mode the user adds controls from the context menu,
// drags them to move them, and sets up or removes one from its own context
// menu; the window only forwards these to the model. Closing hides it.
class PanelWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit PanelWindow(PanelModel& model, QWidget* parent = nullptr);

  // The widget showing control `index` of the layout, or none when the
  // control is not on the current page.
  QWidget* controlWidget(int index) const;
  QWidget* canvas() const { return canvas_; }

  // Edit-mode commands, also reached from the context menus.
  void addControlAt(int kind, const QPoint& position);
  void setUpControl(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void rebuild();
  void refreshValues();
  void refreshMode();
  void showCanvasMenu(const QPoint& position);
  void showControlMenu(int index, const QPoint& globalPosition);
  int indexOf(QObject* widget) const;

  PanelModel& model_;
  QToolBar* toolBar_;
  QAction* runAction_;
  QTabBar* tabs_;
  QWidget* canvas_;
  QList<QWidget*> widgets_;  // by control index; nullptr off the current page
  QPoint dragOffset_;
  int dragIndex_ = -1;
};

}  // namespace tarvix::engine
