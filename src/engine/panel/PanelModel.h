#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "dispatch/Variant.h"
#include "engine/panel/PanelLayout.h"

namespace tarvix::engine {

class VarsStore;

// The operation panel's state: its layout, the current page, run or edit
// mode, and the values its controls show.
//
// In run mode (Mode 1) the panel reads the bound Vars slots every
// TimeInterval milliseconds; a button press or an input writes its slot at
// once. In edit mode (Mode 0) controls are added, moved, removed and set up;
// the values stay as last read. Every layout change marks the panel
// modified; loading or saving a layout clears the mark.
class PanelModel final : public QObject {
  Q_OBJECT

 public:
  explicit PanelModel(std::shared_ptr<VarsStore> store, QObject* parent = nullptr);

  const PanelLayout& layout() const { return layout_; }
  VarsStore& store() const { return *store_; }

  int mode() const { return running_ ? 1 : 0; }
  void start();
  void stop();
  int timeInterval() const { return layout_.interval; }
  // False for an interval outside 10 ms .. 1 hour.
  bool setTimeInterval(int ms);
  int page() const { return page_; }
  int pageCount() const { return int(layout_.pages.size()); }
  // False for a page that does not exist.
  bool setPage(int page);
  bool isModified() const { return modified_; }

  // Layout editing; each returns false (and changes nothing) for an index or
  // page that does not exist.
  int addPage(const QString& title);
  bool removePage(int page);
  bool renamePage(int page, const QString& title);
  int addControl(const PanelControl& control);
  bool removeControl(int index);
  bool moveControl(int index, const QPoint& topLeft);
  bool updateControl(int index, const PanelControl& control);
  void clear();

  bool loadLayout(const QString& path, QString* error = nullptr);
  bool saveLayout(const QString& path);

  // Reads every bound slot now.
  void refresh();
  // What control `index` shows: a display its slot's value as text (a value
  // that has none shows "???"), a lamp whether its slot is true.
  QString displayText(int index) const;
  bool lampLit(int index) const;
  // A button writes its value ("11,True" when it has none); an input writes
  // the text as a string. False when the write failed (no slot, a bad value,
  // a slot out of range).
  bool press(int index);
  bool input(int index, const QString& text);

 Q_SIGNALS:
  void layoutChanged();
  void valuesRefreshed();
  void modeChanged(int mode);
  void pageChanged(int page);

 private:
  bool validIndex(int index) const { return index >= 0 && index < layout_.controls.size(); }
  void changed();

  std::shared_ptr<VarsStore> store_;
  PanelLayout layout_;
  std::vector<Variant> values_;  // per control, as last read
  QTimer timer_;
  int page_ = 1;
  bool running_ = false;
  bool modified_ = false;
};

}  // namespace tarvix::engine
