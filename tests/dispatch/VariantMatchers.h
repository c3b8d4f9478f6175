#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "dispatch/AutomationError.h"
#include "dispatch/Variant.h"

namespace tarvix {

// "Long 5", "String \"a\"", ... for failure messages.
inline std::string describe(const Variant& v) {
  static const char* const kNames[] = {"Empty",    "Null", "Integer", "Long",   "Single",  "Double",
                                       "Currency", "Date", "String",  "Object", "Error",   "Boolean"};
  const std::uint16_t code = v.vartype();
  std::string name = code < 12 ? kNames[code] : code == 17 ? "Byte" : "VarType " + std::to_string(code);
  if (v.isEmpty() || v.isNull()) return name;
  if (v.isArray() || v.isObject()) return name;
  if (v.isError()) return name + " " + std::to_string(v.rawError());
  if (v.isString()) return name + " \"" + v.rawString().toStdString() + "\"";
  return name + " " + v.toString().toStdString();
}

inline void PrintTo(const Variant& v, std::ostream* os) { *os << describe(v); }

// Same type and same value.
inline testing::AssertionResult same(const Variant& actual, const Variant& expected) {
  if (actual.identical(expected)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "got " << describe(actual) << ", expected " << describe(expected);
}

// The automation error number f raises, or 0 when it raises none.
template <class F>
int errorOf(F&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

inline Variant I(std::int16_t v) { return Variant(v); }
inline Variant L(std::int32_t v) { return Variant(v); }
inline Variant D(double v) { return Variant(v); }
inline Variant S(const char* v) { return Variant(v); }
inline Variant B(std::uint8_t v) { return Variant(v); }
inline Variant F(float v) { return Variant(v); }
inline Variant Bool(bool v) { return Variant(v); }
inline Variant Cur(double v) { return Variant::currency(std::llround(v * 10000)); }

}  // namespace tarvix
