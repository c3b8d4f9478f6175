#pragma once

#include <span>

#include "dispatch/AutomationError.h"
#include "engine/language/builtins/Builtins.h"

// Helpers shared by the groups of built-in functions.
namespace tarvix::builtins {

[[noreturn]] inline void invalidArgument() { raiseError(ErrorNumber::InvalidProcedureCall); }

// Argument i as a 32-bit integer, or fallback when it was not passed.
inline std::int32_t longArg(const BuiltinCall& c, std::size_t i, std::int32_t fallback) {
  return c.has(i) ? c.arg(i).toLong() : fallback;
}

// A Compare argument: 0 binary, 1 text; anything else is error 5.
inline CompareMode compareArg(const BuiltinCall& c, std::size_t i) {
  const std::int32_t mode = longArg(c, i, 0);
  if (mode != 0 && mode != 1 && mode != 2) invalidArgument();
  return mode == 0 ? CompareMode::Binary : CompareMode::Text;
}

inline Qt::CaseSensitivity caseOf(CompareMode mode) {
  return mode == CompareMode::Text ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// The function groups; each file supplies one.
std::span<const Builtin> conversionBuiltins();
std::span<const Builtin> inspectionBuiltins();
std::span<const Builtin> stringBuiltins();
std::span<const Builtin> formatBuiltins();
std::span<const Builtin> mathBuiltins();
std::span<const Builtin> dateBuiltins();
std::span<const Builtin> arrayBuiltins();
std::span<const Builtin> interactionBuiltins();

}  // namespace tarvix::builtins
