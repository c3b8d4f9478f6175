#pragma once

#include <vector>

#include "engine/language/Ast.h"
#include "engine/language/Program.h"

namespace tarvix::script {

// Turns syntax trees into the bytecode of a Program. Local variables and
// parameters become frame slots, module-level names become global slots,
// calls of known procedures and built-ins are bound here; only member names
// of objects are looked up at run time (once per call site and class).
// Throws CompileError.
class Compiler {
 public:
  explicit Compiler(Program& program) : program_(program) {}

  // Compiles the modules of a script, in order, into the program. Returns the
  // procedure that runs their top-level code one module after the other.
  int compileScript(std::vector<ast::Module>& modules);

  // ExecuteGlobal: the text's declarations become global. Returns the
  // procedure of its top-level code.
  int compileGlobalText(ast::Module& module, int moduleIndex);

  // Execute and Eval in the scope of a running procedure: the result is a
  // procedure whose by-reference parameters are that procedure's named slots
  // (CompiledProc::outerSlots). Eval's procedure returns the value.
  int compileLocalText(ast::Module& module, const CompiledProc& scope);
  int compileEval(const ast::Expr& expr, const CompiledProc& scope);

 private:
  Program& program_;
};

}  // namespace tarvix::script
