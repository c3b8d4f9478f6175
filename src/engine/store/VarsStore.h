#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <vector>

#include "dispatch/Variant.h"

namespace tarvix::engine {

// The shared variables ("Vars"): a fixed number of numbered slots (1-based),
// each holding a value of any automation type with a help text, a macro text,
// attribute bits and a change flag that every write sets.
//
// Slots 1 .. firstGroupCount form the first group: their values survive a
// restart of the program, kept in the SQLite file "Vars.db" in the folder
// given at construction (no folder: nothing is kept). Object references are
// not kept. Writes are gathered and written out about once a second and when
// the store ends, so a script writing in a tight loop costs no disk traffic.
// The second group starts empty.
class VarsStore final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDefaultSlotCount = 2000;
  static constexpr int kDefaultFirstGroupCount = 1000;
  static constexpr int kBreakPointBit = 8;

  explicit VarsStore(QString persistFolder = {}, int slotCount = kDefaultSlotCount,
                     int firstGroupCount = kDefaultFirstGroupCount);
  ~VarsStore() override;

  int count() const { return int(slots_.size()); }
  int firstGroupCount() const { return firstGroupCount_; }

  // Every accessor raises error 9 for an index outside 1 .. count().
  const Variant& value(int index) const;
  void setValue(int index, const Variant& value);
  bool changed(int index) const;
  void setChanged(int index, bool changed);
  const QString& helpText(int index) const;
  void setHelpText(int index, const QString& text);
  const QString& macroText(int index) const;
  void setMacroText(int index, const QString& text);
  int attribute(int index) const;
  void setAttribute(int index, int bits);
  void setAllAttributes(int bits);
  void clearHelpTexts();
  void clearMacroTexts();

  // Writes gathered first-group values now; false when the file could not be
  // written (the values stay pending and are tried again).
  bool flush();

 private:
  struct Slot {
    Variant value;
    QString help;
    QString macro;
    int attribute = 0;
    bool changed = false;
  };

  Slot& slot(int index);
  const Slot& slot(int index) const;
  void load();
  QString databasePath() const;

  std::vector<Slot> slots_;
  int firstGroupCount_;
  QString folder_;
  QString connectionName_;
  QSet<int> pending_;
  QTimer flushTimer_;
};

}  // namespace tarvix::engine
