#pragma once

#include <QStringView>
#include <optional>
#include <span>

#include "dispatch/Variant.h"

namespace tarvix {
class ClassRegistry;
}

namespace tarvix::builtins {

// One call of a built-in function. Arguments are in source order; trailing
// optional arguments may be left out or passed as Variant::missing(). A
// by-reference Variant is read through.
struct BuiltinCall {
  std::span<Variant> args;
  // Where CreateObject looks classes up; nullptr means ClassRegistry::global().
  ClassRegistry* classes = nullptr;

  std::size_t count() const { return args.size(); }
  bool has(std::size_t i) const { return i < args.size() && !args[i].deref().isMissing(); }
  const Variant& arg(std::size_t i) const { return args[i].deref(); }
};

using BuiltinFn = Variant (*)(BuiltinCall&);

struct Builtin {
  QStringView name;
  BuiltinFn fn;
  int minArgs;
  int maxArgs;
};

// The built-in function of that name (letter case ignored), or nullptr.
// Eval, Execute, ExecuteGlobal, GetRef and Erase belong to the VM and are not
// in this table. The VM checks the argument count against minArgs/maxArgs
// (error 450) before calling fn; fn raises AutomationError for bad values.
const Builtin* findBuiltin(QStringView name);

// The value of a vb... constant (vbCrLf, vbTab, vbLong, vbYesNo, ...) and of
// the other named constants scripts use; letter case ignored.
std::optional<Variant> findConstant(QStringView name);

}  // namespace tarvix::builtins
