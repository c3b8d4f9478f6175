#include "engine/language/builtins/BuiltinSupport.h"

namespace tarvix::builtins {
namespace {

template <VarType Type>
Variant convert(BuiltinCall& c) {
  const Variant& v = c.arg(0);
  if (v.isNull()) raiseError(ErrorNumber::InvalidUseOfNull);
  return v.convertedTo(Type);
}

constexpr Builtin kBuiltins[] = {
    {u"CBool", convert<VarType::Boolean>, 1, 1}, {u"CByte", convert<VarType::Byte>, 1, 1},
    {u"CCur", convert<VarType::Currency>, 1, 1}, {u"CDate", convert<VarType::Date>, 1, 1},
    {u"CDbl", convert<VarType::Double>, 1, 1},   {u"CInt", convert<VarType::Integer>, 1, 1},
    {u"CLng", convert<VarType::Long>, 1, 1},     {u"CSng", convert<VarType::Single>, 1, 1},
    {u"CStr", convert<VarType::String>, 1, 1},
};

}  // namespace

std::span<const Builtin> conversionBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
