#include "dispatch/DateSerial.h"
#include "dispatch/DispatchObject.h"
#include "dispatch/NumberText.h"
#include "dispatch/SafeArray.h"
#include "engine/language/builtins/BuiltinSupport.h"

namespace tarvix::builtins {
namespace {

QString scalarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return QStringLiteral("Empty");
    case VarType::Null: return QStringLiteral("Null");
    case VarType::Integer: return QStringLiteral("Integer");
    case VarType::Long: return QStringLiteral("Long");
    case VarType::Single: return QStringLiteral("Single");
    case VarType::Double: return QStringLiteral("Double");
    case VarType::Currency: return QStringLiteral("Currency");
    case VarType::Date: return QStringLiteral("Date");
    case VarType::String: return QStringLiteral("String");
    case VarType::Object: return QStringLiteral("Object");
    case VarType::Error: return QStringLiteral("Error");
    case VarType::Boolean: return QStringLiteral("Boolean");
    case VarType::Variant: return QStringLiteral("Variant");
    case VarType::Byte: return QStringLiteral("Byte");
    default: return QStringLiteral("Unknown");
  }
}

Variant isNumeric(BuiltinCall& c) {
  const Variant& v = c.arg(0);
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency: return Variant(true);
    case VarType::String: return Variant(parseNumberText(v.rawString()).has_value());
    default: return Variant(false);
  }
}

Variant isEmpty(BuiltinCall& c) { return Variant(c.arg(0).isEmpty()); }
Variant isNull(BuiltinCall& c) { return Variant(c.arg(0).isNull()); }
Variant isArray(BuiltinCall& c) { return Variant(c.arg(0).isArray()); }
Variant isObject(BuiltinCall& c) { return Variant(c.arg(0).isObject()); }

Variant isDate(BuiltinCall& c) {
  const Variant& v = c.arg(0);
  if (v.type() == VarType::Date) return Variant(true);
  return Variant(v.isString() && parseDateText(v.rawString()).has_value());
}

// An object with a default member reports the type of its default value.
Variant varType(BuiltinCall& c) {
  const Variant& v = c.arg(0);
  if (v.isObject() && !v.isNothing() && v.rawObject()->memberId(u"") != DispId::Unknown) {
    try {
      return Variant(static_cast<std::int16_t>(v.resolved().vartype()));
    } catch (const AutomationError&) {
    }
  }
  return Variant(static_cast<std::int16_t>(v.vartype()));
}

Variant typeName(BuiltinCall& c) {
  const Variant& v = c.arg(0);
  if (v.isArray()) return Variant(scalarTypeName(v.rawArray().elementType()) + QStringLiteral("()"));
  if (v.isObject()) return Variant(v.isNothing() ? QStringLiteral("Nothing") : v.rawObject()->typeName());
  return Variant(scalarTypeName(v.type()));
}

constexpr Builtin kBuiltins[] = {
    {u"IsNumeric", isNumeric, 1, 1}, {u"IsEmpty", isEmpty, 1, 1},   {u"IsNull", isNull, 1, 1},
    {u"IsArray", isArray, 1, 1},     {u"IsObject", isObject, 1, 1}, {u"IsDate", isDate, 1, 1},
    {u"VarType", varType, 1, 1},     {u"TypeName", typeName, 1, 1},
};

}  // namespace

std::span<const Builtin> inspectionBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
