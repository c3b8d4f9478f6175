#pragma once

#include <QString>
#include <stdexcept>

namespace tarvix::script {

// A compile or runtime error of the script language: the number and text
// users know (1002 "Syntax error", 13 "Type mismatch", ...) and where it was.
struct ScriptError {
  int number = 0;
  QString description;
  int line = 0;     // 1-based line inside its module, 0 when unknown
  int module = -1;  // module index inside the script, -1 when unknown
  QString source;   // "compilation error" or "runtime error" style origin
};

// Thrown by the lexer, parser and compiler; caught at the script boundary.
class CompileError : public std::exception {
 public:
  CompileError(int number, int line);
  const char* what() const noexcept override { return "script compile error"; }
  ScriptError error;
};

// The standard description of a compile or runtime error number.
QString errorDescription(int number);

}  // namespace tarvix::script
