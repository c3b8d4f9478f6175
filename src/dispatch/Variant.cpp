#include "dispatch/Variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "dispatch/AutomationError.h"
#include "dispatch/DateSerial.h"
#include "dispatch/DispatchObject.h"
#include "dispatch/NumberText.h"
#include "dispatch/SafeArray.h"

namespace tarvix {
namespace {

[[noreturn]] void typeMismatch() { raiseError(ErrorNumber::TypeMismatch); }
[[noreturn]] void overflow() { raiseError(ErrorNumber::Overflow); }
[[noreturn]] void invalidNull() { raiseError(ErrorNumber::InvalidUseOfNull); }

double parseOrMismatch(const QString& text) {
  if (const auto value = parseNumberText(text)) return *value;
  typeMismatch();
}

template <class Int>
Int roundToInteger(double value) {
  const double rounded = roundHalfEven(value);
  if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
    overflow();
  return static_cast<Int>(rounded);
}

// Currency scaled by 10000 to an integer, banker's rounding.
std::int64_t currencyToWhole(std::int64_t scaled) {
  std::int64_t whole = scaled / 10000;
  const std::int64_t rest = scaled % 10000;
  if (rest > 5000 || (rest == 5000 && (whole & 1))) ++whole;
  if (rest < -5000 || (rest == -5000 && (whole & 1))) --whole;
  return whole;
}

template <class Int>
Int checkedNarrow(std::int64_t value) {
  if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) overflow();
  return static_cast<Int>(value);
}

bool textToBool(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  return parseOrMismatch(text) != 0;
}

// The integral value of an integral-typed Variant.
template <class Int>
Int toIntegral(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: invalidNull();
    case VarType::Boolean: return v.rawBool() ? -1 : 0;
    case VarType::Byte: return checkedNarrow<Int>(v.rawByte());
    case VarType::Integer: return checkedNarrow<Int>(v.rawInteger());
    case VarType::Long: return checkedNarrow<Int>(v.rawLong());
    case VarType::Single: return roundToInteger<Int>(v.rawSingle());
    case VarType::Double:
    case VarType::Date: return roundToInteger<Int>(v.rawDouble());
    case VarType::Currency: return checkedNarrow<Int>(currencyToWhole(v.rawCurrency()));
    case VarType::String: return roundToInteger<Int>(parseOrMismatch(v.rawString()));
    case VarType::Object: return toIntegral<Int>(v.resolved());
    case VarType::ByRef: return toIntegral<Int>(v.deref());
    default: typeMismatch();
  }
}

}  // namespace

double roundHalfEven(double value) noexcept {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

Variant::Variant(const QString& s) : type_(VarType::String), heap_(Heap::Counted) {
  u_.counted = new VariantString(s);
  u_.counted->addRef();
}

Variant::Variant(QString&& s) : type_(VarType::String), heap_(Heap::Counted) {
  u_.counted = new VariantString(std::move(s));
  u_.counted->addRef();
}

Variant::Variant(DispatchObject* object) noexcept
    : type_(VarType::Object), heap_(object ? Heap::Counted : Heap::None) {
  u_.i8 = 0;
  u_.counted = object;
  if (object) object->addRef();
}

Variant::Variant(SafeArray* array) noexcept : type_(VarType::Array), heap_(Heap::Counted) {
  u_.counted = array;
  array->addRef();
}

std::uint16_t Variant::vartype() const noexcept {
  switch (type_) {
    case VarType::Array: return 0x2000 | static_cast<std::uint16_t>(rawArray().elementType());
    case VarType::ByRef: return 0x4000 | static_cast<std::uint16_t>(VarType::Variant);
    default: return static_cast<std::uint16_t>(type_);
  }
}

SafeArray& Variant::mutableArray() {
  SafeArray* array = static_cast<SafeArray*>(u_.counted);
  if (array->refCount() > 1) {
    SafeArray* copy = new SafeArray(*array);
    copy->addRef();
    array->release();
    u_.counted = copy;
    array = copy;
  }
  return *array;
}

bool Variant::toBool() const {
  switch (type_) {
    case VarType::Empty: return false;
    case VarType::Null: invalidNull();
    case VarType::Boolean: return rawBool();
    case VarType::Byte: return u_.ui1 != 0;
    case VarType::Integer: return u_.i2 != 0;
    case VarType::Long: return u_.i4 != 0;
    case VarType::Single: return u_.r4 != 0;
    case VarType::Double:
    case VarType::Date: return u_.r8 != 0;
    case VarType::Currency: return u_.i8 != 0;
    case VarType::String: return textToBool(rawString());
    case VarType::Object: return resolved().toBool();
    case VarType::ByRef: return u_.ref->toBool();
    default: typeMismatch();
  }
}

std::uint8_t Variant::toByte() const { return toIntegral<std::uint8_t>(*this); }
std::int16_t Variant::toInteger() const { return toIntegral<std::int16_t>(*this); }
std::int32_t Variant::toLong() const { return toIntegral<std::int32_t>(*this); }

float Variant::toSingle() const {
  const double d = toDouble();
  if (std::fabs(d) > std::numeric_limits<float>::max()) overflow();
  return static_cast<float>(d);
}

double Variant::toDouble() const {
  switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Null: invalidNull();
    case VarType::Boolean: return rawBool() ? -1 : 0;
    case VarType::Byte: return u_.ui1;
    case VarType::Integer: return u_.i2;
    case VarType::Long: return u_.i4;
    case VarType::Single: return u_.r4;
    case VarType::Double:
    case VarType::Date: return u_.r8;
    case VarType::Currency: return static_cast<double>(u_.i8) / 10000.0;
    case VarType::String: return parseOrMismatch(rawString());
    case VarType::Object: return resolved().toDouble();
    case VarType::ByRef: return u_.ref->toDouble();
    default: typeMismatch();
  }
}

std::int64_t Variant::toCurrency() const {
  switch (type_) {
    case VarType::Currency: return u_.i8;
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
    case VarType::Empty: return static_cast<std::int64_t>(toLong()) * 10000;
    default: {
      // The product is taken at 15 significant digits first, so 0.00015
      // (binary 0.000149999...) is the tie it was written as.
      char text[32];
      std::snprintf(text, sizeof text, "%.15g", toDouble() * 10000.0);
      const double scaled = roundHalfEven(std::strtod(text, nullptr));
      if (!(std::fabs(scaled) < 9.2233720368547758e18)) overflow();
      return static_cast<std::int64_t>(scaled);
    }
  }
}

double Variant::toDate() const {
  double serial = 0;
  switch (type_) {
    case VarType::Date: return u_.r8;
    case VarType::String:
      if (const auto parsed = parseDateText(rawString())) return *parsed;
      serial = parseOrMismatch(rawString());
      break;
    case VarType::Object: return resolved().toDate();
    case VarType::ByRef: return u_.ref->toDate();
    default: serial = toDouble(); break;
  }
  if (!isValidDateSerial(serial)) overflow();
  return serial;
}

QString Variant::toString() const {
  switch (type_) {
    case VarType::Empty: return {};
    case VarType::Null: invalidNull();
    case VarType::String: return rawString();
    case VarType::Boolean: return rawBool() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Byte: return QString::number(u_.ui1);
    case VarType::Integer: return QString::number(u_.i2);
    case VarType::Long: return QString::number(u_.i4);
    case VarType::Single: return formatSingle(u_.r4);
    case VarType::Double: return formatDouble(u_.r8);
    case VarType::Currency: return formatCurrency(u_.i8);
    case VarType::Date: return formatDate(u_.r8);
    case VarType::Object: return resolved().toString();
    case VarType::ByRef: return u_.ref->toString();
    default: typeMismatch();
  }
}

DispatchObject* Variant::toObject() const {
  if (type_ == VarType::ByRef) return u_.ref->toObject();
  if (type_ != VarType::Object) raiseError(ErrorNumber::ObjectRequired);
  return rawObject();
}

Variant Variant::convertedTo(VarType type) const {
  const Variant& v = deref();
  switch (type) {
    case VarType::Empty: return Variant();
    case VarType::Null: return null();
    case VarType::Boolean: return Variant(v.toBool());
    case VarType::Byte: return Variant(v.toByte());
    case VarType::Integer: return Variant(v.toInteger());
    case VarType::Long: return Variant(v.toLong());
    case VarType::Single: return Variant(v.toSingle());
    case VarType::Double: return Variant(v.toDouble());
    case VarType::Currency: return currency(v.toCurrency());
    case VarType::Date: return date(v.toDate());
    case VarType::String: return Variant(v.toString());
    case VarType::Object: return Variant(v.toObject());
    case VarType::Variant: return v;
    default: typeMismatch();
  }
}

Variant Variant::resolved() const {
  if (type_ == VarType::ByRef) return u_.ref->resolved();
  if (type_ != VarType::Object) return *this;
  DispatchObject* object = rawObject();
  if (!object) raiseError(ErrorNumber::ObjectVariableNotSet);
  const int id = object->memberId(u"");
  if (id == DispId::Unknown) raiseError(ErrorNumber::ObjectDoesNotSupport);
  return object->invoke(id, CallKind::PropertyGet, {});
}

bool Variant::identical(const Variant& o) const {
  if (type_ != o.type_) return false;
  switch (type_) {
    case VarType::Empty:
    case VarType::Null: return true;
    case VarType::Boolean:
    case VarType::Integer: return u_.i2 == o.u_.i2;
    case VarType::Byte: return u_.ui1 == o.u_.ui1;
    case VarType::Long:
    case VarType::Error: return u_.i4 == o.u_.i4;
    case VarType::Single: return u_.r4 == o.u_.r4;
    case VarType::Double:
    case VarType::Date: return u_.r8 == o.u_.r8;
    case VarType::Currency: return u_.i8 == o.u_.i8;
    case VarType::String: return rawString() == o.rawString();
    case VarType::Object:
    case VarType::Array: return u_.counted == o.u_.counted;
    case VarType::ByRef: return u_.ref == o.u_.ref;
    default: return false;
  }
}

QString formatDate(double serial) {
  if (!isValidDateSerial(serial)) return formatDouble(serial);
  const DateParts p = datePartsOf(serial);
  const QString date = QStringLiteral("%1/%2/%3")
                           .arg(p.year, 4, 10, QLatin1Char('0'))
                           .arg(p.month, 2, 10, QLatin1Char('0'))
                           .arg(p.day, 2, 10, QLatin1Char('0'));
  const QString time = QStringLiteral("%1:%2:%3")
                           .arg(p.hour, 2, 10, QLatin1Char('0'))
                           .arg(p.minute, 2, 10, QLatin1Char('0'))
                           .arg(p.second, 2, 10, QLatin1Char('0'));
  const bool hasTime = p.hour || p.minute || p.second;
  const bool hasDate = std::trunc(serial) != 0;
  if (!hasDate) return time;
  if (!hasTime) return date;
  return date + u' ' + time;
}

}  // namespace tarvix
