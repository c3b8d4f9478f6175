#include "dispatch/DateSerial.h"
#include "engine/language/builtins/BuiltinSupport.h"
#include "engine/language/builtins/DecimalRounding.h"
#include "engine/language/builtins/NamesOfDays.h"

namespace tarvix::builtins {
namespace {

// A tristate argument: -1 true, 0 false, -2 (or missing) the default.
bool tristate(const BuiltinCall& c, std::size_t i, bool fallback) {
  const std::int32_t v = longArg(c, i, -2);
  if (v == -2) return fallback;
  if (v != -1 && v != 0 && v != 1) invalidArgument();
  return v != 0;
}

QString groupThousands(const QString& digits) {
  QString out;
  const qsizetype n = digits.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += u',';
    out += digits[i];
  }
  return out;
}

// FormatNumber(expression[, digits[, leading zero[, parentheses[, grouping]]]]);
// the defaults are two decimals, a leading zero, a minus sign and grouping.
QString formatFixed(const BuiltinCall& c, double value) {
  std::int32_t digits = longArg(c, 1, -1);
  if (digits < -1 || digits > 255) invalidArgument();
  if (digits == -1) digits = 2;
  const bool leadingDigit = tristate(c, 2, true);
  const bool parens = tristate(c, 3, false);
  const bool group = tristate(c, 4, true);

  const double rounded = roundDecimal(std::fabs(value), digits, Tie::AwayFromZero);
  const QString text = QString::number(rounded, 'f', digits);
  const qsizetype point = text.indexOf(u'.');
  QString whole = point < 0 ? text : text.left(point);
  const QString fraction = point < 0 ? QString() : text.mid(point);
  if (group) whole = groupThousands(whole);
  if (!leadingDigit && whole == QLatin1String("0") && !fraction.isEmpty()) whole.clear();
  QString out = whole + fraction;
  if (value < 0 && rounded != 0) out = parens ? u'(' + out + u')' : u'-' + out;
  return out;
}

Variant formatNumber(BuiltinCall& c) {
  if (c.arg(0).isNull()) return Variant::null();
  return Variant(formatFixed(c, c.arg(0).toDouble()));
}

Variant formatPercent(BuiltinCall& c) {
  if (c.arg(0).isNull()) return Variant::null();
  return Variant(formatFixed(c, c.arg(0).toDouble() * 100) + u'%');
}

// FormatDateTime(date[, format]): 0 general, 1 long date, 2 short date
// (yyyy/mm/dd), 3 long time (hh:nn:ss), 4 short time (hh:nn).
Variant formatDateTime(BuiltinCall& c) {
  if (c.arg(0).isNull()) return Variant::null();
  const double serial = c.arg(0).toDate();
  const std::int32_t format = longArg(c, 1, 0);
  const DateParts p = datePartsOf(serial);
  const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  switch (format) {
    case 0: return Variant(formatDate(serial));
    case 1: {
      const int weekday = QDate(p.year, p.month, p.day).dayOfWeek() % 7 + 1;
      return Variant(QStringLiteral("%1, %2 %3, %4")
                         .arg(weekdayName(weekday, false), monthName(p.month, false))
                         .arg(p.day)
                         .arg(p.year));
    }
    case 2: return Variant(QStringLiteral("%1/%2/%3").arg(p.year, 4, 10, QLatin1Char('0')).arg(two(p.month), two(p.day)));
    case 3: return Variant(QStringLiteral("%1:%2:%3").arg(two(p.hour), two(p.minute), two(p.second)));
    case 4: return Variant(QStringLiteral("%1:%2").arg(two(p.hour), two(p.minute)));
    default: invalidArgument();
  }
}

constexpr Builtin kBuiltins[] = {
    {u"FormatNumber", formatNumber, 1, 5},
    {u"FormatPercent", formatPercent, 1, 5},
    {u"FormatDateTime", formatDateTime, 1, 2},
};

}  // namespace

std::span<const Builtin> formatBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
