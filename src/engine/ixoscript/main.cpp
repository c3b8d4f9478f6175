// ixoscript: runs script files without the main program.
//   ixoscript [--startup Proc] FILE...
// The files are the modules of one script, in order. The top-level code runs,
// then Proc when given. Ext.Print lines and message boxes go to standard
// output; a compile or runtime error goes to standard error as
// "FILE:LINE: error NUMBER: DESCRIPTION" and the exit code is 1.
#include <QFileInfo>
#include <QTextStream>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "base/Clock.h"
#include "base/PromptService.h"
#include "base/TextFile.h"
#include "dispatch/ClassRegistry.h"
#include "engine/language/Script.h"
#include "engine/language/scripting/ScriptingClasses.h"

namespace {

using tarvix::script::FiberState;
using tarvix::script::ScriptError;

void writeLine(FILE* stream, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, bytes.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// Message boxes print their text and take the first button; input boxes
// read a line from standard input (end of input cancels).
class ConsolePrompts final : public tarvix::PromptService {
 public:
  int messageBox(const QString& prompt, int style, const QString&) override {
    writeLine(stdout, prompt);
    switch (tarvix::MsgBox::buttonsOf(style)) {
      case tarvix::MsgBox::OkCancel: return tarvix::MsgBox::Ok;
      case tarvix::MsgBox::AbortRetryIgnore: return tarvix::MsgBox::Abort;
      case tarvix::MsgBox::YesNoCancel:
      case tarvix::MsgBox::YesNo: return tarvix::MsgBox::Yes;
      case tarvix::MsgBox::RetryCancel: return tarvix::MsgBox::Retry;
      default: return tarvix::MsgBox::Ok;
    }
  }
  std::optional<QString> inputBox(const QString& prompt, const QString&, const QString&) override {
    writeLine(stdout, prompt);
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    return QString::fromStdString(line);
  }
  QString fileDialog(const tarvix::FileDialogRequest&) override { return {}; }
};

int usage(FILE* stream, int code) {
  writeLine(stream, QStringLiteral("usage: ixoscript [--startup Proc] FILE...\n"
                                   "Runs the files as the modules of one script, in order: the top-level code,\n"
                                   "then Proc when given. Ext.Print and message boxes write to standard output;\n"
                                   "errors are reported as FILE:LINE: error NUMBER: DESCRIPTION."));
  return code;
}

void reportError(const QStringList& files, const ScriptError& error) {
  const QString file = error.module >= 0 && error.module < files.size() ? files[error.module] : files.value(0);
  writeLine(stderr, QStringLiteral("%1:%2: error %3: %4").arg(file).arg(error.line).arg(error.number).arg(error.description));
}

}  // namespace

int main(int argc, char** argv) {
  QStringList files;
  QString startup;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) return usage(stdout, 0);
    if (arg == QLatin1String("--startup")) {
      if (++i >= argc) return usage(stderr, 2);
      startup = QString::fromLocal8Bit(argv[i]);
    } else if (arg.startsWith(QLatin1String("--"))) {
      return usage(stderr, 2);
    } else {
      files << arg;
    }
  }
  if (files.isEmpty()) return usage(stderr, 2);

  ConsolePrompts prompts;
  tarvix::setPrompts(&prompts);
  tarvix::scripting::registerScriptingClasses(tarvix::ClassRegistry::global());

  tarvix::script::Script script;
  for (const QString& file : files) {
    std::optional<QString> text = tarvix::readTextFile(file);
    if (!text) {
      writeLine(stderr, QStringLiteral("%1: cannot read the file").arg(file));
      return 1;
    }
    script.addModule(QFileInfo(file).fileName(), *text);
  }
  script.setOutput([](const QString& line) { writeLine(stdout, line); });
  if (!script.compile()) {
    reportError(files, script.compileError());
    return 1;
  }
  tarvix::script::Execution& fiber = script.fiber();
  if (!fiber.start(startup)) {
    reportError(files, fiber.error());
    return 1;
  }
  for (;;) {
    const FiberState state = fiber.runSlice({0, -1});
    if (state == FiberState::Delayed) {
      const long long wait = fiber.wakeAtMs() - tarvix::clock().monotonicMs();
      if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
      continue;
    }
    if (state == FiberState::Running) continue;
    if (state == FiberState::Error) {
      reportError(files, fiber.error());
      return 1;
    }
    return 0;
  }
}
