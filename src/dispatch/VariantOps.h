#pragma once

#include <cmath>
#include <limits>

#include "dispatch/AutomationError.h"
#include "dispatch/Variant.h"

// The script language's operators on Variants. Operands may be by-reference
// Variants (read through) or objects (their default value is used).
//
// Result types: Integer + Integer gives Integer, or Long when it overflows;
// Long overflowing gives Double; Byte grows to Integer; Boolean counts as
// Integer; Single with Long gives Double; Currency wins over other numbers;
// Date + number gives Date. A Null operand gives Null (except in "&" and the
// logical operators' short rules). "+" of two Strings concatenates; a String
// with a number converts the String to Double (error 13 when it is not a
// number).
//
// Comparisons: numbers numerically, strings in the given mode, Empty as 0 or
// "" against the other side, a number is less than a string. They give True,
// False or Null.
namespace tarvix::ops {

enum class Order { Less = -1, Equal = 0, Greater = 1, Null = 2 };

namespace detail {
Variant addSlow(const Variant& a, const Variant& b);
Variant subtractSlow(const Variant& a, const Variant& b);
Variant multiplySlow(const Variant& a, const Variant& b);
Order compareSlow(const Variant& a, const Variant& b, CompareMode mode);

inline Variant fromInt64Growing(std::int64_t v) {
  if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
    return Variant(static_cast<std::int32_t>(v));
  return Variant(static_cast<double>(v));
}
inline Variant fromInt32Growing(std::int32_t v) {
  if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
    return Variant(static_cast<std::int16_t>(v));
  return Variant(v);
}
inline Variant checkedDouble(double d) {
  if (!std::isfinite(d)) raiseError(ErrorNumber::Overflow);
  return Variant(d);
}
}  // namespace detail

inline Variant add(const Variant& a, const Variant& b) {
  if (a.type() == VarType::Long && b.type() == VarType::Long)
    return detail::fromInt64Growing(std::int64_t{a.rawLong()} + b.rawLong());
  if (a.type() == VarType::Integer && b.type() == VarType::Integer)
    return detail::fromInt32Growing(std::int32_t{a.rawInteger()} + b.rawInteger());
  if (a.type() == VarType::Double && b.type() == VarType::Double)
    return detail::checkedDouble(a.rawDouble() + b.rawDouble());
  return detail::addSlow(a, b);
}

inline Variant subtract(const Variant& a, const Variant& b) {
  if (a.type() == VarType::Long && b.type() == VarType::Long)
    return detail::fromInt64Growing(std::int64_t{a.rawLong()} - b.rawLong());
  if (a.type() == VarType::Integer && b.type() == VarType::Integer)
    return detail::fromInt32Growing(std::int32_t{a.rawInteger()} - b.rawInteger());
  if (a.type() == VarType::Double && b.type() == VarType::Double)
    return detail::checkedDouble(a.rawDouble() - b.rawDouble());
  return detail::subtractSlow(a, b);
}

inline Variant multiply(const Variant& a, const Variant& b) {
  if (a.type() == VarType::Long && b.type() == VarType::Long)
    return detail::fromInt64Growing(std::int64_t{a.rawLong()} * b.rawLong());
  if (a.type() == VarType::Integer && b.type() == VarType::Integer)
    return detail::fromInt32Growing(std::int32_t{a.rawInteger()} * b.rawInteger());
  if (a.type() == VarType::Double && b.type() == VarType::Double)
    return detail::checkedDouble(a.rawDouble() * b.rawDouble());
  return detail::multiplySlow(a, b);
}

Variant divide(const Variant& a, const Variant& b);      // "/"
Variant intDivide(const Variant& a, const Variant& b);   // "\"
Variant modulo(const Variant& a, const Variant& b);      // Mod
Variant power(const Variant& a, const Variant& b);       // "^"
Variant negate(const Variant& a);                        // unary "-"
Variant concat(const Variant& a, const Variant& b);      // "&"

inline Order compare(const Variant& a, const Variant& b, CompareMode mode = CompareMode::Binary) {
  if ((a.type() == VarType::Long || a.type() == VarType::Integer) &&
      (b.type() == VarType::Long || b.type() == VarType::Integer)) {
    const std::int32_t x = a.type() == VarType::Long ? a.rawLong() : a.rawInteger();
    const std::int32_t y = b.type() == VarType::Long ? b.rawLong() : b.rawInteger();
    return x < y ? Order::Less : x > y ? Order::Greater : Order::Equal;
  }
  if (a.type() == VarType::Double && b.type() == VarType::Double) {
    const double x = a.rawDouble(), y = b.rawDouble();
    return x < y ? Order::Less : x > y ? Order::Greater : Order::Equal;
  }
  return detail::compareSlow(a, b, mode);
}

namespace detail {
inline Variant orderResult(Order o, bool (*test)(Order)) { return o == Order::Null ? Variant::null() : Variant(test(o)); }
}  // namespace detail

inline Variant equal(const Variant& a, const Variant& b, CompareMode m = CompareMode::Binary) {
  return detail::orderResult(compare(a, b, m), [](Order o) { return o == Order::Equal; });
}
inline Variant notEqual(const Variant& a, const Variant& b, CompareMode m = CompareMode::Binary) {
  return detail::orderResult(compare(a, b, m), [](Order o) { return o != Order::Equal; });
}
inline Variant less(const Variant& a, const Variant& b, CompareMode m = CompareMode::Binary) {
  return detail::orderResult(compare(a, b, m), [](Order o) { return o == Order::Less; });
}
inline Variant lessEqual(const Variant& a, const Variant& b, CompareMode m = CompareMode::Binary) {
  return detail::orderResult(compare(a, b, m), [](Order o) { return o != Order::Greater; });
}
inline Variant greater(const Variant& a, const Variant& b, CompareMode m = CompareMode::Binary) {
  return detail::orderResult(compare(a, b, m), [](Order o) { return o == Order::Greater; });
}
inline Variant greaterEqual(const Variant& a, const Variant& b, CompareMode m = CompareMode::Binary) {
  return detail::orderResult(compare(a, b, m), [](Order o) { return o != Order::Less; });
}

// Bitwise on integers (Byte, Integer or Long result), logical on Booleans.
Variant logicalNot(const Variant& a);
Variant logicalAnd(const Variant& a, const Variant& b);
Variant logicalOr(const Variant& a, const Variant& b);
Variant logicalXor(const Variant& a, const Variant& b);
Variant logicalEqv(const Variant& a, const Variant& b);
Variant logicalImp(const Variant& a, const Variant& b);

// Object identity ("Is"); error 424 when either side is not an object.
bool is(const Variant& a, const Variant& b);

// The condition of If, While, Until: Null counts as False.
inline bool isTrue(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean: return v.rawBool();
    case VarType::Null: return false;
    case VarType::Long: return v.rawLong() != 0;
    case VarType::Integer: return v.rawInteger() != 0;
    default: {
      const Variant value = v.deref().resolved();
      return !value.isNull() && value.toBool();
    }
  }
}

}  // namespace tarvix::ops
