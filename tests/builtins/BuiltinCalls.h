#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "../dispatch/VariantMatchers.h"
#include "dispatch/DispatchObject.h"
#include "engine/language/builtins/Builtins.h"

namespace tarvix::builtins {

// Calls a built-in by name as the VM does: argument count checked first.
inline Variant callBuiltin(QStringView name, std::vector<Variant> args) {
  const Builtin* b = findBuiltin(name);
  if (!b) ADD_FAILURE() << "no built-in " << name.toString().toStdString();
  if (!b) return {};
  checkArgumentCount(args.size(), b->minArgs, b->maxArgs);
  BuiltinCall call{std::span<Variant>(args)};
  return b->fn(call);
}

// One row of a table: a call and its result, or the error it raises.
struct BuiltinCase {
  const char16_t* name;
  std::vector<Variant> args;
  Variant expected;  // ignored when error != 0
  int error = 0;
};

inline void PrintTo(const BuiltinCase& c, std::ostream* os) {
  *os << QString::fromUtf16(c.name).toStdString() << "(";
  for (std::size_t i = 0; i < c.args.size(); ++i) *os << (i ? ", " : "") << describe(c.args[i]);
  *os << ")";
}

inline void expectCase(const BuiltinCase& c) {
  if (c.error) {
    EXPECT_EQ(errorOf([&] { (void)callBuiltin(c.name, c.args); }), c.error);
  } else {
    Variant result;
    const int error = errorOf([&] { result = callBuiltin(c.name, c.args); });
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(same(result, c.expected));
  }
}

}  // namespace tarvix::builtins
