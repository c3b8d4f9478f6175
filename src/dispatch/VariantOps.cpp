#include "dispatch/VariantOps.h"

#include "dispatch/DateSerial.h"
#include "dispatch/DispatchObject.h"
#include "dispatch/NumberText.h"

namespace tarvix::ops {
namespace {

[[noreturn]] void typeMismatch() { raiseError(ErrorNumber::TypeMismatch); }
[[noreturn]] void overflow() { raiseError(ErrorNumber::Overflow); }

// The value an operator works on: by-reference read through, objects by
// their default value.
Variant operand(const Variant& v) {
  const Variant& d = v.deref();
  return d.isObject() ? d.resolved() : d;
}

// Ranks of the plain numeric types, in the order results grow.
enum class Rank { None, Byte, Integer, Long, Single, Double };

Rank rankOf(VarType t) {
  switch (t) {
    case VarType::Empty: return Rank::None;
    case VarType::Byte: return Rank::Byte;
    case VarType::Boolean:
    case VarType::Integer: return Rank::Integer;
    case VarType::Long: return Rank::Long;
    case VarType::Single: return Rank::Single;
    default: return Rank::Double;
  }
}

bool isIntegral(Rank r) { return r == Rank::None || r == Rank::Byte || r == Rank::Integer || r == Rank::Long; }

// Strings become Doubles for arithmetic; anything that is not a number is
// a type mismatch.
Variant arithmeticOperand(const Variant& v) {
  switch (v.type()) {
    case VarType::String: return Variant(v.toDouble());
    case VarType::Array:
    case VarType::Error:
    case VarType::Object: typeMismatch();
    default: return v;
  }
}

Variant integralResult(std::int64_t value, Rank rank) {
  if (rank == Rank::Byte && value >= 0 && value <= 255) return Variant(static_cast<std::uint8_t>(value));
  if (rank <= Rank::Integer && value >= -32768 && value <= 32767) return Variant(static_cast<std::int16_t>(value));
  return detail::fromInt64Growing(value);
}

Variant singleResult(double value) {
  if (std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max())
    return Variant(static_cast<float>(value));
  return detail::checkedDouble(value);
}

Variant dateResult(double serial) {
  if (!isValidDateSerial(serial)) overflow();
  return Variant::date(serial);
}

// Currency products need 128 bits before they are scaled back.
__extension__ typedef __int128 Int128;

std::int64_t checkedCurrency(Int128 scaled) {
  if (scaled > std::numeric_limits<std::int64_t>::max() || scaled < std::numeric_limits<std::int64_t>::min()) overflow();
  return static_cast<std::int64_t>(scaled);
}

Int128 roundedDivide(Int128 value, Int128 divisor) {
  Int128 q = value / divisor;
  const Int128 r = value % divisor;
  const Int128 twice = (r < 0 ? -r : r) * 2;
  const Int128 d = divisor < 0 ? -divisor : divisor;
  if (twice > d || (twice == d && (q & 1))) q += ((value < 0) != (divisor < 0)) ? -1 : 1;
  return q;
}

enum class Arith { Add, Subtract, Multiply };

Variant arithmetic(Arith op, const Variant& a0, const Variant& b0) {
  const Variant a = arithmeticOperand(a0);
  const Variant b = arithmeticOperand(b0);
  const VarType ta = a.type(), tb = b.type();

  if (ta == VarType::Date || tb == VarType::Date) {
    const double x = a.toDouble(), y = b.toDouble();
    switch (op) {
      case Arith::Add: return dateResult(x + y);
      case Arith::Subtract:
        if (ta == VarType::Date && tb == VarType::Date) return detail::checkedDouble(x - y);
        return dateResult(x - y);
      case Arith::Multiply: return detail::checkedDouble(x * y);
    }
  }
  if (ta == VarType::Currency || tb == VarType::Currency) {
    if (op == Arith::Multiply) {
      if (ta == VarType::Currency && tb == VarType::Currency)
        return Variant::currency(checkedCurrency(roundedDivide(Int128{a.rawCurrency()} * b.rawCurrency(), 10000)));
      const Variant& cur = ta == VarType::Currency ? a : b;
      const Variant& other = ta == VarType::Currency ? b : a;
      if (isIntegral(rankOf(other.type())))
        return Variant::currency(checkedCurrency(Int128{cur.rawCurrency()} * other.toLong()));
      return Variant::currency(Variant(cur.toDouble() * other.toDouble()).toCurrency());
    }
    const Int128 x = a.toCurrency(), y = b.toCurrency();
    return Variant::currency(checkedCurrency(op == Arith::Add ? x + y : x - y));
  }

  Rank rank = std::max(rankOf(ta), rankOf(tb));
  if (rank == Rank::None) rank = Rank::Integer;
  if ((rankOf(ta) == Rank::Single && rankOf(tb) == Rank::Long) ||
      (rankOf(ta) == Rank::Long && rankOf(tb) == Rank::Single))
    rank = Rank::Double;

  if (isIntegral(rank)) {
    const std::int64_t x = a.toLong(), y = b.toLong();
    switch (op) {
      case Arith::Add: return integralResult(x + y, rank);
      case Arith::Subtract: return integralResult(x - y, rank);
      case Arith::Multiply: return integralResult(x * y, rank);
    }
  }
  const double x = a.toDouble(), y = b.toDouble();
  const double r = op == Arith::Add ? x + y : op == Arith::Subtract ? x - y : x * y;
  return rank == Rank::Single ? singleResult(r) : detail::checkedDouble(r);
}

// The integer operand of "\" and Mod, with the rank that decides the result.
struct IntegerOperand {
  std::int32_t value;
  Rank rank;
};

IntegerOperand integerOperand(const Variant& v) {
  const Variant a = arithmeticOperand(v);
  Rank rank = rankOf(a.type());
  if (!isIntegral(rank)) rank = Rank::Long;
  if (rank == Rank::None) rank = Rank::Integer;
  return {a.toLong(), rank};
}

// Operands of the logical operators.
enum class LogicKind { Boolean, Byte, Integer, Long };

struct LogicOperand {
  bool null = false;
  std::int32_t value = 0;
  LogicKind kind = LogicKind::Integer;
};

LogicOperand logicOperand(const Variant& v0) {
  const Variant v = operand(v0);
  switch (v.type()) {
    case VarType::Null: return {true, 0, LogicKind::Integer};
    case VarType::Empty: return {false, 0, LogicKind::Integer};
    case VarType::Boolean: return {false, v.rawBool() ? -1 : 0, LogicKind::Boolean};
    case VarType::Byte: return {false, v.rawByte(), LogicKind::Byte};
    case VarType::Integer: return {false, v.rawInteger(), LogicKind::Integer};
    case VarType::String:
      if (!parseNumberText(v.rawString())) return {false, v.toBool() ? -1 : 0, LogicKind::Boolean};
      return {false, v.toLong(), LogicKind::Long};
    case VarType::Array:
    case VarType::Error: typeMismatch();
    default: return {false, v.toLong(), LogicKind::Long};
  }
}

LogicKind combinedKind(LogicKind a, LogicKind b) {
  if (a == b) return a;
  if (a == LogicKind::Long || b == LogicKind::Long) return LogicKind::Long;
  return LogicKind::Integer;
}

Variant logicResult(std::int32_t value, LogicKind kind) {
  switch (kind) {
    case LogicKind::Boolean: return Variant(value != 0);
    case LogicKind::Byte: return Variant(static_cast<std::uint8_t>(value & 0xFF));
    case LogicKind::Integer: return Variant(static_cast<std::int16_t>(value));
    case LogicKind::Long: return Variant(value);
  }
  return Variant(value);
}

bool allOnes(const LogicOperand& o) {
  if (o.kind == LogicKind::Boolean) return o.value != 0;
  if (o.kind == LogicKind::Byte) return o.value == 0xFF;
  return o.value == -1;
}

std::int32_t allOnesValue(LogicKind kind) { return kind == LogicKind::Byte ? 0xFF : -1; }

int sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

Order orderOf(int c) { return c < 0 ? Order::Less : c > 0 ? Order::Greater : Order::Equal; }

template <class T>
Order orderOf(T x, T y) {
  return x < y ? Order::Less : x > y ? Order::Greater : Order::Equal;
}

}  // namespace

namespace detail {

Variant addSlow(const Variant& a0, const Variant& b0) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() || b.isNull()) return Variant::null();
  if (a.isString() && (b.isString() || b.isEmpty())) return Variant(a.rawString() + b.toString());
  if (b.isString() && a.isEmpty()) return b;
  return arithmetic(Arith::Add, a, b);
}

Variant subtractSlow(const Variant& a0, const Variant& b0) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() || b.isNull()) return Variant::null();
  return arithmetic(Arith::Subtract, a, b);
}

Variant multiplySlow(const Variant& a0, const Variant& b0) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() || b.isNull()) return Variant::null();
  return arithmetic(Arith::Multiply, a, b);
}

Order compareSlow(const Variant& a0, const Variant& b0, CompareMode mode) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() || b.isNull()) return Order::Null;
  const bool aNum = a.isNumeric(), bNum = b.isNumeric();
  if ((!aNum && !a.isString() && !a.isEmpty()) || (!bNum && !b.isString() && !b.isEmpty())) typeMismatch();

  if (a.isString() || b.isString()) {
    if (aNum) return Order::Less;
    if (bNum) return Order::Greater;
    const Qt::CaseSensitivity cs = mode == CompareMode::Text ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return orderOf(sign(QString::compare(a.toString(), b.toString(), cs)));
  }
  if (a.type() == VarType::Currency || b.type() == VarType::Currency) {
    if (a.type() == VarType::Double || b.type() == VarType::Double || a.type() == VarType::Single ||
        b.type() == VarType::Single || a.type() == VarType::Date || b.type() == VarType::Date)
      return orderOf(a.toDouble(), b.toDouble());
    return orderOf(a.toCurrency(), b.toCurrency());
  }
  if (isIntegral(rankOf(a.type())) && isIntegral(rankOf(b.type())) && a.type() != VarType::Date &&
      b.type() != VarType::Date)
    return orderOf(a.toLong(), b.toLong());
  return orderOf(a.toDouble(), b.toDouble());
}

}  // namespace detail

Variant divide(const Variant& a0, const Variant& b0) {
  const Variant a = arithmeticOperand(operand(a0));
  const Variant b = arithmeticOperand(operand(b0));
  if (a.isNull() || b.isNull()) return Variant::null();
  const double x = a.toDouble(), y = b.toDouble();
  if (y == 0) raiseError(x == 0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
  const Rank ra = rankOf(a.type()), rb = rankOf(b.type());
  const bool singleOperands = (ra == Rank::Single || rb == Rank::Single) && ra != Rank::Long && rb != Rank::Long &&
                              ra <= Rank::Single && rb <= Rank::Single;
  return singleOperands ? singleResult(x / y) : detail::checkedDouble(x / y);
}

Variant intDivide(const Variant& a0, const Variant& b0) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() || b.isNull()) return Variant::null();
  const IntegerOperand x = integerOperand(a), y = integerOperand(b);
  if (y.value == 0) raiseError(ErrorNumber::DivisionByZero);
  return integralResult(std::int64_t{x.value} / y.value, std::max(x.rank, y.rank));
}

Variant modulo(const Variant& a0, const Variant& b0) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() || b.isNull()) return Variant::null();
  const IntegerOperand x = integerOperand(a), y = integerOperand(b);
  if (y.value == 0) raiseError(ErrorNumber::DivisionByZero);
  return integralResult(std::int64_t{x.value} % y.value, std::max(x.rank, y.rank));
}

Variant power(const Variant& a0, const Variant& b0) {
  const Variant a = arithmeticOperand(operand(a0));
  const Variant b = arithmeticOperand(operand(b0));
  if (a.isNull() || b.isNull()) return Variant::null();
  const double x = a.toDouble(), y = b.toDouble();
  if ((x < 0 && y != std::trunc(y)) || (x == 0 && y < 0)) raiseError(ErrorNumber::InvalidProcedureCall);
  return detail::checkedDouble(std::pow(x, y));
}

Variant negate(const Variant& a0) {
  const Variant a = operand(a0);
  switch (a.type()) {
    case VarType::Null: return a;
    case VarType::Empty: return Variant(std::int16_t{0});
    case VarType::Boolean: return Variant(static_cast<std::int16_t>(a.rawBool() ? 1 : 0));
    case VarType::Byte: return Variant(static_cast<std::int16_t>(-a.rawByte()));
    case VarType::Integer: return detail::fromInt32Growing(-std::int32_t{a.rawInteger()});
    case VarType::Long: return detail::fromInt64Growing(-std::int64_t{a.rawLong()});
    case VarType::Single: return Variant(-a.rawSingle());
    case VarType::Double: return Variant(-a.rawDouble());
    case VarType::Date: return dateResult(-a.rawDate());
    case VarType::Currency:
      if (a.rawCurrency() == std::numeric_limits<std::int64_t>::min()) overflow();
      return Variant::currency(-a.rawCurrency());
    case VarType::String: return Variant(-a.toDouble());
    default: typeMismatch();
  }
}

Variant concat(const Variant& a0, const Variant& b0) {
  const Variant a = operand(a0), b = operand(b0);
  if (a.isNull() && b.isNull()) return Variant::null();
  QString text = a.isNull() ? QString() : a.toString();
  if (!b.isNull()) text += b.toString();
  return Variant(std::move(text));
}

Variant logicalNot(const Variant& a0) {
  const LogicOperand a = logicOperand(a0);
  if (a.null) return Variant::null();
  return logicResult(~a.value, a.kind);
}

Variant logicalAnd(const Variant& a0, const Variant& b0) {
  const LogicOperand a = logicOperand(a0), b = logicOperand(b0);
  if (a.null && b.null) return Variant::null();
  if (a.null || b.null) {
    const LogicOperand& known = a.null ? b : a;
    return known.value == 0 ? logicResult(0, known.kind) : Variant::null();
  }
  return logicResult(a.value & b.value, combinedKind(a.kind, b.kind));
}

Variant logicalOr(const Variant& a0, const Variant& b0) {
  const LogicOperand a = logicOperand(a0), b = logicOperand(b0);
  if (a.null && b.null) return Variant::null();
  if (a.null || b.null) {
    const LogicOperand& known = a.null ? b : a;
    return allOnes(known) ? logicResult(known.value, known.kind) : Variant::null();
  }
  return logicResult(a.value | b.value, combinedKind(a.kind, b.kind));
}

Variant logicalXor(const Variant& a0, const Variant& b0) {
  const LogicOperand a = logicOperand(a0), b = logicOperand(b0);
  if (a.null || b.null) return Variant::null();
  return logicResult(a.value ^ b.value, combinedKind(a.kind, b.kind));
}

Variant logicalEqv(const Variant& a0, const Variant& b0) {
  const LogicOperand a = logicOperand(a0), b = logicOperand(b0);
  if (a.null || b.null) return Variant::null();
  return logicResult(~(a.value ^ b.value), combinedKind(a.kind, b.kind));
}

Variant logicalImp(const Variant& a0, const Variant& b0) {
  const LogicOperand a = logicOperand(a0), b = logicOperand(b0);
  if (a.null && b.null) return Variant::null();
  if (a.null) return allOnes(b) ? logicResult(b.value, b.kind) : Variant::null();
  if (b.null) return a.value == 0 ? logicResult(allOnesValue(a.kind), a.kind) : Variant::null();
  return logicResult(~a.value | b.value, combinedKind(a.kind, b.kind));
}

bool is(const Variant& a0, const Variant& b0) {
  const Variant& a = a0.deref();
  const Variant& b = b0.deref();
  if (!a.isObject() || !b.isObject()) raiseError(ErrorNumber::ObjectRequired);
  return a.rawObject() == b.rawObject();
}

}  // namespace tarvix::ops
