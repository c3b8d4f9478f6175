#pragma once

#include <QList>
#include <QStringList>
#include <memory>

#include "dispatch/DispatchClass.h"
#include "engine/language/Execution.h"

class QObject;

namespace tarvix::script {
class Script;
}

namespace tarvix::engine {

class ScriptWindow;
class VarsObject;

// One script-engine instance: a script file (or an untitled script), its
// window, the named objects the host shares with it, and its run control.
//
// Running: StartScript 1 runs the top-level code and then the start
// procedure; 2 runs the same and then the start procedure again and again
// until StopScript 3 ends the cycle after the current pass; 3 steps over one
// statement (starting the script first when it is idle). StopScript 1 stops,
// 2 pauses. A paused script continues with StartScript 1 or steps with 3.
// Every start compiles the script's own source together with the module
// text (PutModuleText) and sees the added objects, "Vars" (the shared
// variables of the "Ixo" context, or of the process) and "Ext".
//
// ScriptState: -1 stopped by a compile or runtime error (the window shows it
// with its line), 0 idle, 1 running, 2 paused.
//
// Execute words: "GetScriptStates" (FileNameChanged, FileName,
// StartupProcedure, ScriptState, line being executed or 0),
// "PutSystem"/"GetSystem" (the system mark), "PutModuleText" (text; ""
// removes the module), "LockStartup"/"UnlockStartup" (the window's
// start-procedure box is locked; the host can still put StartupProcedure).
// SetupInstance takes (unused, hosted flag, process priority class); the
// priority class weights the instance's share of the scheduler's time.
// A ".vbe" file is read as script text and locked for editing.
class IxoScript final : public DispatchClass<IxoScript> {
 public:
  IxoScript();
  ~IxoScript() override;
  static const MemberTable<IxoScript>& table();

  // The same operations for C++ callers.
  bool openFile(const QString& path);
  bool saveFile(const QString& path);
  void startScript(int mode);
  void stopScript(int mode);
  int scriptState() const;
  int currentLine() const;
  void addObject(const QString& name, DispatchObject* object);
  void removeObject(const QString& name);
  void setSourceText(const QString& text);
  const QString& sourceText() const { return source_; }
  void setStartupProcedure(const QString& name);
  const QString& startupProcedure() const { return startup_; }
  void setModuleText(const QString& text) { moduleText_ = text; }
  void setEditLocked(bool locked);
  bool editLocked() const { return editLocked_; }
  void setPriorityClass(int priorityClass);
  int weight() const { return weight_; }
  const QString& fileName() const { return filePath_; }
  bool fileNameChanged() const { return fileNameChanged_; }
  // Ext.Print lines and error reports, as the output pane shows them.
  const QStringList& output() const { return output_; }
  ScriptWindow& window() const { return *window_; }

  // The window's Save As: asks for a path, saves there and marks the file
  // name changed. False when cancelled or the file could not be written.
  bool saveAs();

 private:
  Variant setupInstance(Call& call);
  Variant show(Call&);
  Variant hide(Call&);
  Variant editLockedGet(Call&);
  Variant editLockedLet(Call& call);
  Variant setItemEnabled(Call& call);
  Variant openFileMember(Call& call);
  Variant saveFileMember(Call& call);
  Variant fileNameGet(Call&);
  Variant fileNameChangedGet(Call&);
  Variant fileNameChangedLet(Call& call);
  Variant startScriptMember(Call& call);
  Variant stopScriptMember(Call& call);
  Variant addObjectMember(Call& call);
  Variant removeObjectMember(Call& call);
  Variant scriptStateGet(Call&);
  Variant sourceTextGet(Call&);
  Variant sourceTextLet(Call& call);
  Variant startupGet(Call&);
  Variant startupLet(Call& call);
  Variant roleGet(Call&);
  Variant roleLet(Call& call);
  Variant execute(Call& call);

  bool compileAndStart();
  void startPass(bool first);
  void onSliceEnded(script::FiberState state);
  void reportError(const script::ScriptError& error);
  void print(const QString& line);
  void save();
  void refreshWindow();
  void refreshStartupBox();
  Ref<VarsObject> varsForContext();

  std::unique_ptr<script::Script> script_;
  std::unique_ptr<ScriptWindow> window_;
  std::unique_ptr<QObject> connections_;
  QList<QPair<QString, ObjectRef>> objects_;
  QString source_;
  QString lineEnd_;
  QString filePath_;
  QString startup_;
  QString moduleText_;
  QString role_;
  QStringList output_;
  Ref<VarsObject> vars_;
  int weight_;
  bool fileNameChanged_ = false;
  bool editLocked_ = false;
  bool system_ = false;
  bool startupLocked_ = false;
  bool startupItemEnabled_ = true;
  bool started_ = false;      // the fiber belongs to a start since the last compile
  bool compileFailed_ = false;
  bool cycling_ = false;
  bool scheduled_ = false;
};

}  // namespace tarvix::engine
