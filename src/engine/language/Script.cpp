#include "engine/language/Script.h"

#include "engine/language/Compiler.h"
#include "engine/language/ExtObject.h"
#include "engine/language/Parser.h"
#include "engine/language/Runtime.h"

namespace tarvix::script {

Script::Script() { newRuntime(); }

// Globals are released while Ext still works, so Class_Terminate may print.
Script::~Script() {
  runtime_->shutdown();
  ext_->detach();
}

void Script::newRuntime() {
  if (runtime_) {
    runtime_->shutdown();
    ext_->detach();
  }
  runtime_ = Ref<Runtime>(new Runtime);
  runtime_->output = output_;
  ext_ = Ref<ExtObject>(new ExtObject(*runtime_));
  compiled_ = false;
}

int Script::addModule(const QString& name, const QString& source) {
  modules_.push_back({name, source});
  compiled_ = false;
  return static_cast<int>(modules_.size()) - 1;
}

void Script::setModule(int index, const QString& name, const QString& source) {
  if (index < 0) return;
  if (index >= moduleCount()) modules_.resize(index + 1);
  modules_[index] = {name, source};
  compiled_ = false;
}

void Script::clearModules() {
  modules_.clear();
  compiled_ = false;
}

QString Script::moduleName(int index) const {
  return index >= 0 && index < moduleCount() ? modules_[index].name : QString();
}

void Script::addObject(const QString& name, DispatchObject* object) {
  for (auto& [existing, ref] : objects_) {
    if (existing.compare(name, Qt::CaseInsensitive) == 0) {
      ref = ObjectRef(object);
      if (compiled_) {
        if (const Globals::Entry* g = runtime_->program.globals.find(name);
            g && g->kind == Globals::Entry::Kind::Variable)
          runtime_->program.globals.slot(g->index) = Variant(object);
      }
      return;
    }
  }
  objects_.emplace_back(name, ObjectRef(object));
  if (compiled_) {
    const int slot = runtime_->program.globals.addVariable(name);
    runtime_->program.globals.slot(slot) = Variant(object);
  }
}

void Script::removeObjects() { objects_.clear(); }

void Script::setOutput(std::function<void(const QString&)> output) {
  output_ = std::move(output);
  runtime_->output = output_;
}

bool Script::compile() {
  // Replacing the program under a running fiber would pull its code away.
  if (runtime_->fiber().isBusy()) {
    compileError_ = ScriptError();
    compileError_.number = ErrorNumber::InvalidProcedureCall;
    compileError_.description = standardErrorText(compileError_.number);
    return false;
  }
  newRuntime();
  compileError_ = ScriptError();
  Globals& globals = runtime_->program.globals;
  globals.slot(globals.addVariable(QStringLiteral("Ext"))) = Variant(static_cast<DispatchObject*>(ext_.get()));
  for (const auto& [name, object] : objects_) globals.slot(globals.addVariable(name)) = Variant(object.get());
  std::vector<ast::Module> parsed;
  try {
    for (int i = 0; i < moduleCount(); ++i) {
      try {
        parsed.push_back(parseModule(modules_[i].source));
      } catch (CompileError& e) {
        e.error.module = i;
        throw;
      }
    }
    Compiler(runtime_->program).compileScript(parsed);
  } catch (const CompileError& e) {
    compileError_ = e.error;
    newRuntime();
    return false;
  } catch (const AutomationError& e) {
    compileError_.number = e.number();
    compileError_.description = e.description();
    newRuntime();
    return false;
  }
  compiled_ = true;
  return true;
}

QStringList Script::procedureNames() const {
  QStringList names;
  for (const auto& proc : runtime_->program.procs)
    if (!proc->owner && (proc->kind == CompiledProc::Kind::Sub || proc->kind == CompiledProc::Kind::Function))
      names << proc->name;
  return names;
}

bool Script::hasProcedure(const QString& name) const {
  const Globals::Entry* g = runtime_->program.globals.find(name);
  return g && g->kind == Globals::Entry::Kind::Procedure;
}

Execution& Script::fiber() { return runtime_->fiber(); }

}  // namespace tarvix::script
