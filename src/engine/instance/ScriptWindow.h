#pragma once

#include <QHash>
#include <QMainWindow>

class QAction;
class QComboBox;
class QPlainTextEdit;

namespace tarvix::engine {

class ScriptEditor;

// The window of one script instance: the editor, a tool bar with the run
// commands and the start-procedure box, a File menu and an output pane. It is
// a view: user actions leave as signals and the instance decides. Closing the
// window only hides it.
//
// Command names for setItemEnabled: "menu.file.save", "menu.file.saveas",
// "menu.file.exit", "tlbar.start", "tlbar.cycle", "tlbar.stepover",
// "tlbar.pause", "tlbar.stop", "tlbar.endcycle", "tlbar.startup".
class ScriptWindow final : public QMainWindow {
  Q_OBJECT

 public:
  explicit ScriptWindow(QWidget* parent = nullptr);

  ScriptEditor* editor() const { return editor_; }
  QComboBox* startupBox() const { return startupBox_; }
  QAction* command(const QString& name) const { return commands_.value(name); }

  void setSourceText(const QString& text);
  QString sourceText() const;
  void setFilePath(const QString& path);
  void setEditLocked(bool locked);
  // False when the name is not one of this window's commands.
  bool setItemEnabled(const QString& name, bool enabled);
  void setStartupProcedure(const QString& name);
  // State code of the instance (-1 error, 0 idle, 1 running, 2 paused) and the
  // line to mark (0 for none).
  void setRunState(int state, int line);

  void appendOutput(const QString& line);
  void appendError(const QString& message);
  QString outputText() const;

 Q_SIGNALS:
  void startRequested(int mode);
  void stopRequested(int mode);
  void saveRequested();
  void saveAsRequested();
  void startupProcedureEdited(const QString& name);
  void sourceEdited();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* addCommand(const QString& name, const QString& text, const QKeySequence& shortcut = {});
  void refreshCommands();
  void refreshProcedureList();

  ScriptEditor* editor_;
  QPlainTextEdit* output_;
  QComboBox* startupBox_;
  QHash<QString, QAction*> commands_;
  QHash<QString, bool> allowed_;  // what setItemEnabled said, by command name
  int state_ = 0;
  bool loadingText_ = false;
};

}  // namespace tarvix::engine
