#include "ScriptRunner.h"

#include <memory>

#include "base/PromptService.h"
#include "dispatch/ClassRegistry.h"
#include "engine/language/scripting/ScriptingClasses.h"

namespace tarvix::test {
namespace {

class CapturingPrompts final : public PromptService {
 public:
  explicit CapturingPrompts(QStringList& out) : out_(out) { setPrompts(this); }
  ~CapturingPrompts() override { setPrompts(nullptr); }
  int messageBox(const QString& prompt, int style, const QString&) override {
    out_ << prompt;
    return MsgBox::buttonsOf(style) == MsgBox::YesNo || MsgBox::buttonsOf(style) == MsgBox::YesNoCancel
               ? MsgBox::Yes
               : MsgBox::Ok;
  }
  std::optional<QString> inputBox(const QString& prompt, const QString&, const QString& defaultText) override {
    out_ << prompt;
    return defaultText;
  }
  QString fileDialog(const FileDialogRequest&) override { return {}; }

 private:
  QStringList& out_;
};

}  // namespace

ScriptRun runScript(const QStringList& modules, const QString& startup,
                    const std::vector<std::pair<QString, DispatchObject*>>& objects) {
  static const bool registered = [] {
    scripting::registerScriptingClasses(ClassRegistry::global());
    return true;
  }();
  (void)registered;
  ScriptRun run;
  CapturingPrompts prompts(run.output);
  // The script is gone before returning, so Class_Terminate output is in.
  auto script = std::make_unique<script::Script>();
  for (int i = 0; i < modules.size(); ++i) script->addModule(QStringLiteral("module%1").arg(i), modules[i]);
  for (const auto& [name, object] : objects) script->addObject(name, object);
  script->setOutput([&](const QString& line) { run.output << line; });
  run.compiled = script->compile();
  if (!run.compiled) {
    run.error = script->compileError();
    run.state = script::FiberState::Error;
    return run;
  }
  script::Execution& fiber = script->fiber();
  if (fiber.start(startup)) {
    for (int guard = 0; guard < 100000; ++guard) {
      run.state = fiber.runSlice({0, -1});
      if (run.state != script::FiberState::Running && run.state != script::FiberState::Delayed) break;
    }
  }
  run.state = fiber.state();
  run.error = fiber.error();
  script.reset();
  return run;
}

}  // namespace tarvix::test
