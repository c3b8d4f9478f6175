#pragma once

#include <QString>

#include "engine/language/Ast.h"

namespace tarvix::script {

// Parses one source text into its syntax tree. Throws CompileError with the
// number of the error (1002 syntax error, 1010 expected identifier, 1025
// expected end of statement, ...) and its line.
ast::Module parseModule(const QString& source);

// Parses a text that must be one expression (the argument of Eval).
ast::ExprPtr parseExpressionText(const QString& source);

}  // namespace tarvix::script
