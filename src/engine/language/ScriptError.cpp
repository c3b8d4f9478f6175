#include "engine/language/ScriptError.h"

#include "dispatch/AutomationError.h"

namespace tarvix::script {

CompileError::CompileError(int number, int line) {
  error.number = number;
  error.description = errorDescription(number);
  error.line = line;
  error.source = QStringLiteral("Compilation error");
}

QString errorDescription(int number) { return standardErrorText(number); }

}  // namespace tarvix::script
