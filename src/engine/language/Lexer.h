#pragma once

#include <QString>
#include <vector>

#include "engine/language/Token.h"

namespace tarvix::script {

// Splits a source text (CR LF or LF line ends) into tokens. Comments and
// "_" line continuations disappear; ':' becomes a Newline token. Throws
// CompileError (1032 invalid character, 1033 unterminated string, ...).
std::vector<Token> tokenize(const QString& source);

// Parses the text between '#' of a date literal into days since 1899-12-30.
// Returns false when the text is no date.
bool parseDateLiteral(const QString& text, double& days);

}  // namespace tarvix::script
