#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "dispatch/DispatchObject.h"
#include "engine/language/Execution.h"
#include "engine/language/ScriptError.h"

namespace tarvix::script {

class Runtime;
class ExtObject;

// One script: modules (source texts, compiled together in order), the
// objects the host adds by name, and the fiber that runs it. Every script
// sees "Ext" (Ext.Delay, Ext.Print) besides the host's objects.
class Script {
 public:
  Script();
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  // Appends a module; returns its index. Later modules may be replaced.
  int addModule(const QString& name, const QString& source);
  void setModule(int index, const QString& name, const QString& source);
  void clearModules();
  int moduleCount() const { return static_cast<int>(modules_.size()); }
  QString moduleName(int index) const;

  // A global name for an object of the host (kept by reference). Objects
  // added before compile() are seen by the code; adding one with a name in
  // use replaces that object.
  void addObject(const QString& name, DispatchObject* object);
  void removeObjects();

  // Where Ext.Print lines go.
  void setOutput(std::function<void(const QString&)> output);

  // Parses and compiles every module with a fresh set of globals. False with
  // compileError() (number, description, line, module) on a syntax error, and
  // with error 5 while the fiber is running (from a host call inside it).
  bool compile();
  bool isCompiled() const { return compiled_; }
  const ScriptError& compileError() const { return compileError_; }
  QStringList procedureNames() const;
  bool hasProcedure(const QString& name) const;

  // The fiber of this script (valid until the next compile()).
  Execution& fiber();

 private:
  struct Module {
    QString name;
    QString source;
  };
  void newRuntime();

  std::vector<Module> modules_;
  std::vector<std::pair<QString, ObjectRef>> objects_;
  std::function<void(const QString&)> output_;
  Ref<Runtime> runtime_;
  Ref<ExtObject> ext_;
  bool compiled_ = false;
  ScriptError compileError_;
};

}  // namespace tarvix::script
