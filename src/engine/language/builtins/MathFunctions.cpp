#include <cmath>
#include <cstring>
#include <limits>

#include "base/Clock.h"
#include "dispatch/VariantOps.h"
#include "engine/language/builtins/BuiltinSupport.h"
#include "engine/language/builtins/DecimalRounding.h"

namespace tarvix::builtins {
namespace {

// Arguments of the maths functions: Null gives Null, text converts.
Variant numericArg(const BuiltinCall& c, std::size_t i) {
  const Variant v = c.arg(i).resolved();
  switch (v.type()) {
    case VarType::String: return Variant(v.toDouble());
    case VarType::Empty: return Variant(std::int16_t{0});
    case VarType::Boolean: return Variant(static_cast<std::int16_t>(v.rawBool() ? -1 : 0));
    case VarType::Array:
    case VarType::Error:
    case VarType::Object: raiseError(ErrorNumber::TypeMismatch);
    default: return v;
  }
}

Variant checked(double value) {
  if (!std::isfinite(value)) raiseError(ErrorNumber::Overflow);
  return Variant(value);
}

Variant abs(BuiltinCall& c) {
  const Variant v = numericArg(c, 0);
  switch (v.type()) {
    case VarType::Null: return v;
    case VarType::Single: return Variant(std::fabs(v.rawSingle()));
    case VarType::Double: return Variant(std::fabs(v.rawDouble()));
    case VarType::Date: return Variant::date(std::fabs(v.rawDate()));
    case VarType::Currency:
      if (v.rawCurrency() >= 0) return v;
      return ops::negate(v);
    case VarType::Byte: return v;
    default: return ops::compare(v, Variant(std::int16_t{0})) == ops::Order::Less ? ops::negate(v) : v;
  }
}

Variant sgn(BuiltinCall& c) {
  const Variant v = numericArg(c, 0);
  if (v.isNull()) return v;
  const double d = v.toDouble();
  return Variant(static_cast<std::int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

// Int (towards minus infinity) and Fix (towards zero) keep the argument's type.
Variant wholePart(const BuiltinCall& c, bool towardsMinusInfinity) {
  const auto cut = [towardsMinusInfinity](double d) { return towardsMinusInfinity ? std::floor(d) : std::trunc(d); };
  const Variant v = numericArg(c, 0);
  switch (v.type()) {
    case VarType::Single: return Variant(static_cast<float>(cut(v.rawSingle())));
    case VarType::Double: return Variant(cut(v.rawDouble()));
    case VarType::Date: return Variant::date(cut(v.rawDate()));
    case VarType::Currency: {
      std::int64_t whole = v.rawCurrency() / 10000;
      if (towardsMinusInfinity && v.rawCurrency() % 10000 < 0) --whole;
      return Variant::currency(whole * 10000);
    }
    default: return v;
  }
}

Variant intFn(BuiltinCall& c) { return wholePart(c, true); }
Variant fixFn(BuiltinCall& c) { return wholePart(c, false); }

// Round(number[, decimals]): banker's rounding, keeping the argument's type.
Variant round(BuiltinCall& c) {
  const std::int32_t digits = longArg(c, 1, 0);
  if (digits < 0) invalidArgument();
  const Variant v = numericArg(c, 0);
  switch (v.type()) {
    case VarType::Single: return Variant(static_cast<float>(roundDecimal(v.rawSingle(), digits, Tie::ToEven)));
    case VarType::Double: return Variant(roundDecimal(v.rawDouble(), digits, Tie::ToEven));
    case VarType::Date: return Variant::date(roundDecimal(v.rawDate(), digits, Tie::ToEven));
    case VarType::Currency:
      if (digits >= 4) return v;
      return Variant::currency(Variant(roundDecimal(v.toDouble(), digits, Tie::ToEven)).toCurrency());
    default: return v;
  }
}

template <double (*F)(double)>
Variant unary(BuiltinCall& c) {
  const Variant v = numericArg(c, 0);
  if (v.isNull()) return v;
  return checked(F(v.toDouble()));
}

double sqrtChecked(double d) {
  if (d < 0) invalidArgument();
  return std::sqrt(d);
}
double logChecked(double d) {
  if (d <= 0) invalidArgument();
  return std::log(d);
}
double sinFn(double d) { return std::sin(d); }
double cosFn(double d) { return std::cos(d); }
double tanFn(double d) { return std::tan(d); }
double atnFn(double d) { return std::atan(d); }
double expFn(double d) { return std::exp(d); }

// Rnd: the classic 24-bit linear congruential generator, so a seeded
// sequence repeats. Rnd(<0) reseeds from the argument, Rnd(0) repeats the
// last number, Rnd or Rnd(>0) gives the next.
struct RandomState {
  std::uint32_t seed = 0x50000;
  std::uint32_t next() {
    seed = (seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return seed;
  }
};

RandomState& random() {
  static RandomState state;
  return state;
}

constexpr float kRandomScale = 16777216.0f;

Variant rnd(BuiltinCall& c) {
  RandomState& r = random();
  if (c.has(0)) {
    const float n = c.arg(0).toSingle();
    if (n == 0) return Variant(static_cast<float>(r.seed) / kRandomScale);
    if (n < 0) {
      std::uint32_t bits = 0;
      std::memcpy(&bits, &n, sizeof bits);
      r.seed = (bits + (bits >> 24)) & 0xFFFFFFu;
    }
  }
  return Variant(static_cast<float>(r.next()) / kRandomScale);
}

// Randomize[number]: mixes the number (or the clock) into the seed.
Variant randomize(BuiltinCall& c) {
  RandomState& r = random();
  const double source = c.has(0) ? c.arg(0).toDouble() : static_cast<double>(clock().monotonicMs()) +
                                                              clock().now().toMSecsSinceEpoch();
  std::uint64_t bits = 0;
  std::memcpy(&bits, &source, sizeof bits);
  const std::uint32_t mixed = static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
  r.seed = ((mixed & 0xFFFF) << 8 ^ (r.seed & 0xFF) ^ (mixed >> 16)) & 0xFFFFFFu;
  return {};
}

constexpr Builtin kBuiltins[] = {
    {u"Abs", abs, 1, 1},
    {u"Sgn", sgn, 1, 1},
    {u"Int", intFn, 1, 1},
    {u"Fix", fixFn, 1, 1},
    {u"Round", round, 1, 2},
    {u"Sqr", unary<sqrtChecked>, 1, 1},
    {u"Sin", unary<sinFn>, 1, 1},
    {u"Cos", unary<cosFn>, 1, 1},
    {u"Tan", unary<tanFn>, 1, 1},
    {u"Atn", unary<atnFn>, 1, 1},
    {u"Exp", unary<expFn>, 1, 1},
    {u"Log", unary<logChecked>, 1, 1},
    {u"Rnd", rnd, 0, 1},
    {u"Randomize", randomize, 0, 1},
};

}  // namespace

std::span<const Builtin> mathBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
