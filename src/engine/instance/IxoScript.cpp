#include "engine/instance/IxoScript.h"

#include <QFileInfo>
#include <QObject>

#include "base/PromptService.h"
#include "dispatch/SafeArray.h"
#include "engine/context/EngineContext.h"
#include "engine/instance/EngineScheduler.h"
#include "engine/instance/ScriptFileText.h"
#include "engine/instance/ScriptWindow.h"
#include "engine/language/Scheduler.h"
#include "engine/language/Script.h"
#include "engine/store/ProcessVarsStore.h"
#include "engine/store/VarsObject.h"

namespace tarvix::engine {

namespace {

constexpr int kNormalPriorityClass = 32;
constexpr int kOutputLimit = 2000;
const QString kSourceModule = QStringLiteral("Script");
const QString kGeneratedModule = QStringLiteral("Module text");

}  // namespace

IxoScript::IxoScript()
    : script_(std::make_unique<script::Script>()),
      window_(std::make_unique<ScriptWindow>()),
      connections_(std::make_unique<QObject>()),
      lineEnd_(ScriptFileText().lineEnd),
      weight_(priorityWeight(kNormalPriorityClass)) {
  script_->setOutput([this](const QString& line) { print(line); });
  QObject* context = connections_.get();
  QObject::connect(window_.get(), &ScriptWindow::startRequested, context, [this](int mode) { startScript(mode); });
  QObject::connect(window_.get(), &ScriptWindow::stopRequested, context, [this](int mode) { stopScript(mode); });
  QObject::connect(window_.get(), &ScriptWindow::saveRequested, context, [this] { save(); });
  QObject::connect(window_.get(), &ScriptWindow::saveAsRequested, context, [this] { saveAs(); });
  QObject::connect(window_.get(), &ScriptWindow::startupProcedureEdited, context, [this](const QString& name) { startup_ = name; });
  QObject::connect(window_.get(), &ScriptWindow::sourceEdited, context, [this] { source_ = window_->sourceText(); });
  QObject::connect(&engineScheduler(), &script::Scheduler::sliceEnded, context,
                   [this](script::Execution* fiber, script::FiberState state) {
                     if (scheduled_ && fiber == &script_->fiber()) onSliceEnded(state);
                   });
  window_->setFilePath({});
}

IxoScript::~IxoScript() {
  connections_.reset();
  if (scheduled_) {
    script_->fiber().abort();
    engineScheduler().remove(&script_->fiber());
  }
}

const MemberTable<IxoScript>& IxoScript::table() {
  static const auto t = MemberTable<IxoScript>(u"IxoScript")
                            .method(u"SetupInstance", &IxoScript::setupInstance, 1, 1)
                            .method(u"Hide", &IxoScript::hide, 0, 1)
                            .method(u"Show", &IxoScript::show, 0, 1)
                            .get(u"EditLocked", &IxoScript::editLockedGet)
                            .let(u"EditLocked", &IxoScript::editLockedLet)
                            .method(u"SetItemEnabled", &IxoScript::setItemEnabled, 2, 2)
                            .method(u"OpenFile", &IxoScript::openFileMember, 1, 2)
                            .method(u"SaveFile", &IxoScript::saveFileMember, 1, 2)
                            .get(u"FileName", &IxoScript::fileNameGet)
                            .get(u"FileNameChanged", &IxoScript::fileNameChangedGet)
                            .let(u"FileNameChanged", &IxoScript::fileNameChangedLet)
                            .method(u"StartScript", &IxoScript::startScriptMember, 1, 2)
                            .method(u"StopScript", &IxoScript::stopScriptMember, 1, 2)
                            .method(u"AddObject", &IxoScript::addObjectMember, 2, 2)
                            .method(u"RemoveObject", &IxoScript::removeObjectMember, 1, 1)
                            .get(u"ScriptState", &IxoScript::scriptStateGet)
                            .get(u"SourceText", &IxoScript::sourceTextGet)
                            .let(u"SourceText", &IxoScript::sourceTextLet)
                            .get(u"StartupProcedure", &IxoScript::startupGet)
                            .let(u"StartupProcedure", &IxoScript::startupLet)
                            .get(u"ScriptRole", &IxoScript::roleGet)
                            .let(u"ScriptRole", &IxoScript::roleLet)
                            .method(u"Execute", &IxoScript::execute, 1, 2);
  return t;
}

// ---- files ---------------------------------------------------------------

bool IxoScript::openFile(const QString& path) {
  const auto file = ScriptFileText::read(path);
  if (!file) return false;
  stopScript(1);
  source_ = file->text;
  lineEnd_ = file->lineEnd;
  filePath_ = QFileInfo(path).absoluteFilePath();
  compileFailed_ = false;
  window_->setSourceText(source_);
  window_->setFilePath(filePath_);
  if (QFileInfo(path).suffix().compare(u"vbe", Qt::CaseInsensitive) == 0) setEditLocked(true);
  refreshWindow();
  return true;
}

bool IxoScript::saveFile(const QString& path) {
  if (!ScriptFileText{source_, lineEnd_}.write(path)) return false;
  filePath_ = QFileInfo(path).absoluteFilePath();
  window_->setFilePath(filePath_);
  return true;
}

bool IxoScript::saveAs() {
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::Save;
  request.title = QStringLiteral("Save Script As");
  request.filter = QStringLiteral("Scripts (*.vbs *.vbe);;All files (*)");
  request.initialFolder = filePath_.isEmpty() ? QString() : QFileInfo(filePath_).absolutePath();
  const QString path = prompts().fileDialog(request);
  if (path.isEmpty()) return false;
  if (!saveFile(path)) {
    prompts().messageBox(QStringLiteral("The script could not be saved as %1.").arg(path), MsgBox::Exclamation,
                         applicationTitle());
    return false;
  }
  fileNameChanged_ = true;
  return true;
}

void IxoScript::save() {
  if (filePath_.isEmpty()) {
    saveAs();
  } else if (!saveFile(filePath_)) {
    prompts().messageBox(QStringLiteral("The script could not be saved to %1.").arg(filePath_), MsgBox::Exclamation,
                         applicationTitle());
  }
}

// ---- run control ---------------------------------------------------------

Ref<VarsObject> IxoScript::varsForContext() {
  std::shared_ptr<VarsStore> store;
  for (const auto& [name, object] : std::as_const(objects_))
    if (auto* context = dynamic_cast<EngineContext*>(object.get()); context && name.compare(u"Ixo", Qt::CaseInsensitive) == 0)
      store = context->store();
  if (!store) store = processVarsStore();
  if (!vars_ || &vars_->store() != store.get()) vars_ = Ref<VarsObject>(new VarsObject(store));
  return vars_;
}

bool IxoScript::compileAndStart() {
  if (scheduled_) {
    engineScheduler().remove(&script_->fiber());
    scheduled_ = false;
  }
  started_ = false;
  script_->clearModules();
  script_->addModule(kSourceModule, source_);
  if (!moduleText_.isEmpty()) script_->addModule(kGeneratedModule, moduleText_);
  script_->removeObjects();
  script_->addObject(QStringLiteral("Vars"), varsForContext().get());
  for (const auto& [name, object] : std::as_const(objects_)) script_->addObject(name, object.get());
  compileFailed_ = !script_->compile();
  if (compileFailed_) {
    reportError(script_->compileError());
    return false;
  }
  return true;
}

// The first pass runs the top-level code and the start procedure; the passes
// of a cycle run only the start procedure (or the top level when there is
// none).
void IxoScript::startPass(bool first) {
  script::Execution& fiber = script_->fiber();
  const bool ok = first || startup_.isEmpty() ? fiber.start(startup_) : fiber.startProcedure(startup_);
  started_ = true;
  if (!ok) {
    cycling_ = false;
    reportError(fiber.error());
  }
}

void IxoScript::startScript(int mode) {
  if (mode < 1 || mode > 3) raiseError(ErrorNumber::InvalidProcedureCall);
  switch (scriptState()) {
    case 1:
      if (mode == 3) script_->fiber().pause();
      break;
    case 2:
      if (mode == 3) {
        script_->fiber().stepOver();
      } else {
        cycling_ = cycling_ || mode == 2;
        script_->fiber().resume();
      }
      engineScheduler().wake();
      break;
    default:
      if (!compileAndStart()) break;
      cycling_ = mode == 2;
      startPass(true);
      if (mode == 3) script_->fiber().stepOver();
      engineScheduler().add(&script_->fiber(), weight_);
      scheduled_ = true;
      break;
  }
  refreshWindow();
}

void IxoScript::stopScript(int mode) {
  if (mode < 1 || mode > 3) raiseError(ErrorNumber::InvalidProcedureCall);
  switch (mode) {
    case 1:
      cycling_ = false;
      compileFailed_ = false;
      if (started_) script_->fiber().abort();
      break;
    case 2:
      if (started_) script_->fiber().pause();
      break;
    case 3:
      cycling_ = false;
      break;
  }
  refreshWindow();
}

void IxoScript::onSliceEnded(script::FiberState state) {
  if (state == script::FiberState::Finished && cycling_) {
    startPass(false);
    engineScheduler().wake();
  } else if (state == script::FiberState::Error) {
    cycling_ = false;
    reportError(script_->fiber().error());
  }
  refreshWindow();
}

int IxoScript::scriptState() const {
  if (compileFailed_) return -1;
  if (!started_) return 0;
  switch (script_->fiber().state()) {
    case script::FiberState::Running:
    case script::FiberState::Delayed: return 1;
    case script::FiberState::Paused: return 2;
    case script::FiberState::Error: return -1;
    case script::FiberState::Finished: return cycling_ ? 1 : 0;
    case script::FiberState::Idle: return 0;
  }
  return 0;
}

int IxoScript::currentLine() const {
  if (compileFailed_) return script_->compileError().line;
  return scriptState() == 0 ? 0 : script_->fiber().currentLine();
}

void IxoScript::reportError(const script::ScriptError& error) {
  const QString where = error.module == 1 ? kGeneratedModule + QStringLiteral(" line %1").arg(error.line)
                                          : QStringLiteral("Line %1").arg(error.line);
  const QString text = QStringLiteral("%1: error %2: %3").arg(where).arg(error.number).arg(error.description);
  output_.append(text);
  if (output_.size() > kOutputLimit) output_.removeFirst();
  window_->appendError(text);
}

void IxoScript::print(const QString& line) {
  output_.append(line);
  if (output_.size() > kOutputLimit) output_.removeFirst();
  window_->appendOutput(line);
}

void IxoScript::refreshWindow() { window_->setRunState(scriptState(), currentLine()); }

void IxoScript::refreshStartupBox() {
  window_->setItemEnabled(QStringLiteral("tlbar.startup"), startupItemEnabled_ && !startupLocked_);
}

// ---- settings ------------------------------------------------------------

void IxoScript::addObject(const QString& name, DispatchObject* object) {
  for (auto& entry : objects_) {
    if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
      entry.second = ObjectRef(object);
      return;
    }
  }
  objects_.append({name, ObjectRef(object)});
}

void IxoScript::removeObject(const QString& name) {
  objects_.removeIf([&](const auto& entry) { return entry.first.compare(name, Qt::CaseInsensitive) == 0; });
}

void IxoScript::setSourceText(const QString& text) {
  source_ = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  window_->setSourceText(source_);
}

void IxoScript::setStartupProcedure(const QString& name) {
  startup_ = name;
  window_->setStartupProcedure(name);
}

void IxoScript::setEditLocked(bool locked) {
  editLocked_ = locked;
  window_->setEditLocked(locked);
}

void IxoScript::setPriorityClass(int priorityClass) {
  weight_ = priorityWeight(priorityClass);
  if (scheduled_) engineScheduler().setWeight(&script_->fiber(), weight_);
}

// ---- automation members --------------------------------------------------

Variant IxoScript::setupInstance(Call& call) {
  const Variant& options = call.arg(0);
  if (!options.isArray() || options.rawArray().size() < 3) raiseError(ErrorNumber::TypeMismatch);
  const Variant& priority = options.rawArray().data()[2];
  setPriorityClass(priority.isEmpty() ? kNormalPriorityClass : priority.toLong());
  return {};
}

Variant IxoScript::show(Call&) {
  window_->show();
  window_->raise();
  window_->activateWindow();
  return {};
}

Variant IxoScript::hide(Call&) {
  window_->hide();
  return {};
}

Variant IxoScript::editLockedGet(Call&) { return Variant(editLocked_); }

Variant IxoScript::editLockedLet(Call& call) {
  setEditLocked(call.value().toBool());
  return {};
}

Variant IxoScript::setItemEnabled(Call& call) {
  const QString name = call.arg(0).toString();
  const bool enabled = call.arg(1).toBool();
  if (name.compare(u"tlbar.startup", Qt::CaseInsensitive) == 0) {
    startupItemEnabled_ = enabled;
    refreshStartupBox();
  } else if (!window_->setItemEnabled(name.toLower(), enabled)) {
    raiseError(ErrorNumber::InvalidProcedureCall, QStringLiteral("Unknown command: %1").arg(name));
  }
  return {};
}

Variant IxoScript::openFileMember(Call& call) { return Variant(openFile(call.arg(0).toString())); }
Variant IxoScript::saveFileMember(Call& call) { return Variant(saveFile(call.arg(0).toString())); }
Variant IxoScript::fileNameGet(Call&) { return Variant(filePath_); }
Variant IxoScript::fileNameChangedGet(Call&) { return Variant(fileNameChanged_); }

Variant IxoScript::fileNameChangedLet(Call& call) {
  fileNameChanged_ = call.value().toBool();
  return {};
}

Variant IxoScript::startScriptMember(Call& call) {
  startScript(call.arg(0).toLong());
  return {};
}

Variant IxoScript::stopScriptMember(Call& call) {
  stopScript(call.arg(0).toLong());
  return {};
}

// Returns the object, which the host keeps as its reference.
Variant IxoScript::addObjectMember(Call& call) {
  DispatchObject* object = call.arg(1).toObject();
  if (!object) raiseError(ErrorNumber::ObjectRequired);
  addObject(call.arg(0).toString(), object);
  return Variant(object);
}

Variant IxoScript::removeObjectMember(Call& call) {
  removeObject(call.arg(0).toString());
  return {};
}

Variant IxoScript::scriptStateGet(Call&) { return Variant(std::int32_t(scriptState())); }
Variant IxoScript::sourceTextGet(Call&) { return Variant(source_); }

Variant IxoScript::sourceTextLet(Call& call) {
  setSourceText(call.value().toString());
  return {};
}

Variant IxoScript::startupGet(Call&) { return Variant(startup_); }

Variant IxoScript::startupLet(Call& call) {
  setStartupProcedure(call.value().toString());
  return {};
}

Variant IxoScript::roleGet(Call&) { return Variant(role_); }

Variant IxoScript::roleLet(Call& call) {
  role_ = call.value().toString();
  return {};
}

Variant IxoScript::execute(Call& call) {
  const QString word = call.arg(0).toString();
  const Variant parameter = call.argOr(1, Variant());
  auto is = [&](QStringView name) { return word.compare(name, Qt::CaseInsensitive) == 0; };
  if (is(u"GetScriptStates"))
    return makeArray({Variant(fileNameChanged_), Variant(filePath_), Variant(startup_),
                      Variant(std::int32_t(scriptState())), Variant(std::int32_t(currentLine()))});
  if (is(u"GetSystem")) return Variant(system_);
  if (is(u"PutSystem")) {
    system_ = parameter.toBool();
  } else if (is(u"PutModuleText")) {
    setModuleText(parameter.isEmpty() ? QString() : parameter.toString());
  } else if (is(u"LockStartup") || is(u"UnlockStartup")) {
    startupLocked_ = is(u"LockStartup");
    refreshStartupBox();
  } else {
    raiseError(ErrorNumber::InvalidProcedureCall, QStringLiteral("Unknown command: %1").arg(word));
  }
  return {};
}

}  // namespace tarvix::engine
