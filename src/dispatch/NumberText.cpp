#include "dispatch/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dispatch/Variant.h"

namespace tarvix {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\x3000'; }

std::optional<double> parseRadix(QStringView digits, int radix) {
  if (digits.isEmpty() || digits.size() > (radix == 16 ? 16 : 22)) return std::nullopt;
  quint64 value = 0;
  for (QChar c : digits) {
    const char16_t u = c.toLower().unicode();
    const int d = (u >= u'0' && u <= u'9') ? u - u'0' : (u >= u'a' && u <= u'f') ? u - u'a' + 10 : 99;
    if (d >= radix) return std::nullopt;
    value = value * radix + d;
  }
  // Eight hexadecimal digits spell a signed 32-bit value.
  if (radix == 16 && digits.size() == 8 && value > 0x7FFFFFFFull)
    return static_cast<double>(static_cast<qint32>(static_cast<quint32>(value)));
  return static_cast<double>(value);
}

}  // namespace

std::optional<double> parseNumberText(QStringView text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  const QStringView s = text.mid(begin, end - begin);
  if (s.isEmpty()) return std::nullopt;

  if (s.size() >= 2 && s[0] == u'&') {
    const QChar kind = s[1].toUpper();
    if (kind == u'H') return parseRadix(s.mid(2), 16);
    if (kind == u'O') return parseRadix(s.mid(2), 8);
    return std::nullopt;
  }

  // Validate the shape by hand (strtod would also accept "inf", "0x1p3", ...).
  QByteArray ascii;
  ascii.reserve(s.size());
  qsizetype i = 0;
  if (s[i] == u'+' || s[i] == u'-') ascii += char(s[i++].unicode());
  bool digits = false;
  while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ascii += char(s[i++].unicode()), digits = true;
  if (i < s.size() && s[i] == u'.') {
    ascii += '.';
    ++i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ascii += char(s[i++].unicode()), digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
    ascii += 'e';
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += char(s[i++].unicode());
    bool expDigits = false;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ascii += char(s[i++].unicode()), expDigits = true;
    if (!expDigits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const double value = std::strtod(ascii.constData(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

namespace {

// Digits and decimal exponent of a value rounded to `precision` significant
// digits, trailing zeros removed.
QString formatSignificant(double value, int precision) {
  if (value == 0) return QStringLiteral("0");
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, std::fabs(value));
  // buffer: d.ddddde[+-]xx
  QByteArray mantissa;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') mantissa += *p;
  const int exponent = std::atoi(p + 1);
  while (mantissa.size() > 1 && mantissa.endsWith('0')) mantissa.chop(1);

  QString out;
  if (value < 0) out += u'-';
  // Fixed notation from 1E-6 up to the last digit of precision.
  const bool scientific = exponent >= precision || exponent < -6;
  if (scientific) {
    out += QLatin1Char(mantissa[0]);
    if (mantissa.size() > 1) {
      out += u'.';
      out += QString::fromLatin1(mantissa.mid(1));
    }
    out += QStringLiteral("E%1%2").arg(QChar(exponent < 0 ? u'-' : u'+')).arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
  } else if (exponent < 0) {
    out += QStringLiteral("0.");
    out += QString(-exponent - 1, u'0');
    out += QString::fromLatin1(mantissa);
  } else {
    const int intDigits = exponent + 1;
    if (mantissa.size() <= intDigits) {
      out += QString::fromLatin1(mantissa);
      out += QString(intDigits - mantissa.size(), u'0');
    } else {
      out += QString::fromLatin1(mantissa.left(intDigits));
      out += u'.';
      out += QString::fromLatin1(mantissa.mid(intDigits));
    }
  }
  return out;
}

}  // namespace

QString formatDouble(double value) {
  if (std::isnan(value)) return QStringLiteral("NaN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
  return formatSignificant(value, 15);
}

QString formatSingle(float value) {
  if (!std::isfinite(value)) return formatDouble(value);
  return formatSignificant(value, 7);
}

QString formatCurrency(std::int64_t scaled) {
  const bool negative = scaled < 0;
  const quint64 magnitude = negative ? 0 - static_cast<quint64>(scaled) : static_cast<quint64>(scaled);
  QString out = QString::number(magnitude / 10000);
  quint64 fraction = magnitude % 10000;
  if (fraction) {
    QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
    while (digits.endsWith(u'0')) digits.chop(1);
    out += u'.' + digits;
  }
  return negative ? u'-' + out : out;
}

}  // namespace tarvix
