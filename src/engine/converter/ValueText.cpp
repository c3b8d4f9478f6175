#include "engine/converter/ValueText.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "dispatch/AutomationError.h"
#include "dispatch/DateSerial.h"
#include "dispatch/SafeArray.h"

namespace tarvix::engine {

namespace {

constexpr int kArrayBit = int(VarType::Array);

bool isScalarCode(int code) {
  switch (code) {
    case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 10: case 11: case 17:
      return true;
    default:
      return false;
  }
}

bool isArrayElementCode(int code) { return isScalarCode(code) || code == int(VarType::Variant); }

[[noreturn]] void mismatch() { raiseError(ErrorNumber::TypeMismatch); }

// ---- numbers -------------------------------------------------------------

template <class Float>
QString shortestText(Float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

template <class Float>
std::optional<Float> readFloat(const QString& text) {
  QByteArray bytes = text.trimmed().toLatin1();
  if (bytes.startsWith('+')) bytes.remove(0, 1);
  Float value{};
  const char* end = bytes.constData() + bytes.size();
  const auto result = std::from_chars(bytes.constData(), end, value);
  if (result.ec != std::errc() || result.ptr != end || bytes.isEmpty()) return std::nullopt;
  return value;
}

QString currencyText(std::int64_t scaled) {
  const bool negative = scaled < 0;
  const auto magnitude = negative ? std::uint64_t(0) - std::uint64_t(scaled) : std::uint64_t(scaled);
  QString text = QString::number(magnitude / 10000);
  if (const auto fraction = magnitude % 10000; fraction != 0) {
    QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QChar(u'0'));
    while (digits.endsWith(u'0')) digits.chop(1);
    text += u'.' + digits;
  }
  return negative ? u'-' + text : text;
}

// Exact decimal reading: more than four places round half to even.
std::optional<std::int64_t> readCurrency(const QString& text) {
  constexpr std::uint64_t kLimit = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1;
  const QString t = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  std::uint64_t whole = 0;
  int digits = 0;
  for (; i < t.size() && t[i].isDigit(); ++i, ++digits) {
    whole = whole * 10 + std::uint64_t(t[i].digitValue());
    if (whole > kLimit / 10000) raiseError(ErrorNumber::Overflow);
  }
  std::uint64_t scaled = whole * 10000;
  if (i < t.size() && t[i] == u'.') {
    ++i;
    std::uint64_t fraction = 0;
    int places = 0;
    int roundDigit = -1;
    bool beyondRound = false;
    for (; i < t.size() && t[i].isDigit(); ++i, ++digits) {
      if (places < 4) {
        fraction = fraction * 10 + std::uint64_t(t[i].digitValue());
        ++places;
      } else if (roundDigit < 0) {
        roundDigit = t[i].digitValue();
      } else if (t[i] != u'0') {
        beyondRound = true;
      }
    }
    for (int p = places; p < 4; ++p) fraction *= 10;
    scaled += fraction;
    if (roundDigit > 5 || (roundDigit == 5 && (beyondRound || scaled % 2 != 0))) ++scaled;
  }
  if (digits == 0 || i != t.size()) return std::nullopt;
  if (scaled > kLimit || (!negative && scaled == kLimit)) raiseError(ErrorNumber::Overflow);
  return negative ? std::int64_t(0 - scaled) : std::int64_t(scaled);
}

// ---- dates ---------------------------------------------------------------

QString calendarText(double serial) {
  const DateParts p = datePartsOf(serial);
  const bool hasDate = std::trunc(serial) != 0;
  const bool hasTime = serial != std::trunc(serial);
  const QString date = QStringLiteral("%1/%2/%3").arg(p.year, 4, 10, QChar(u'0')).arg(p.month, 2, 10, QChar(u'0')).arg(p.day, 2, 10, QChar(u'0'));
  const QString time = QStringLiteral("%1:%2:%3").arg(p.hour, 2, 10, QChar(u'0')).arg(p.minute, 2, 10, QChar(u'0')).arg(p.second, 2, 10, QChar(u'0'));
  if (hasDate && hasTime) return date + u' ' + time;
  return hasTime ? time : date;
}

QString dateText(double serial) {
  if (isValidDateSerial(serial)) {
    const QString calendar = calendarText(serial);
    if (const auto back = parseDateText(calendar); back && *back == serial) return calendar;
  }
  return shortestText(serial);
}

double readDate(const QString& text) {
  if (const auto serial = parseDateText(text)) return *serial;
  if (const auto serial = readFloat<double>(text)) return *serial;
  return Variant(text).convertedTo(VarType::Date).rawDate();
}

// ---- scalars -------------------------------------------------------------

QString scalarText(const Variant& value) {
  switch (value.type()) {
    case VarType::Integer: return QString::number(value.rawInteger());
    case VarType::Long: return QString::number(value.rawLong());
    case VarType::Byte: return QString::number(value.rawByte());
    case VarType::Error: return QString::number(value.rawError());
    case VarType::Single: return shortestText(value.rawSingle());
    case VarType::Double: return shortestText(value.rawDouble());
    case VarType::Currency: return currencyText(value.rawCurrency());
    case VarType::Date: return dateText(value.rawDate());
    case VarType::String: return value.rawString();
    case VarType::Boolean: return value.rawBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: mismatch();
  }
}

Variant readScalar(int code, const QString& text) {
  switch (code) {
    case 4:
      if (const auto value = readFloat<float>(text)) return Variant(*value);
      return Variant(text).convertedTo(VarType::Single);
    case 5:
      if (const auto value = readFloat<double>(text)) return Variant(*value);
      return Variant(text).convertedTo(VarType::Double);
    case 6:
      if (const auto value = readCurrency(text)) return Variant::currency(*value);
      return Variant(text).convertedTo(VarType::Currency);
    case 7: return Variant::date(readDate(text));
    case 8: return Variant(text);
    case 10: {
      bool ok = false;
      const int scode = text.trimmed().toInt(&ok);
      if (!ok) mismatch();
      return Variant::error(scode);
    }
    default: return Variant(text.trimmed()).convertedTo(static_cast<VarType>(code));
  }
}

// ---- arrays --------------------------------------------------------------

bool needsQuotes(const QString& text) {
  if (text.isEmpty()) return true;
  for (const QChar c : text)
    if (c.isSpace() || c == u',' || c == u'{' || c == u'}' || c == u'"' || c == u'(' || c == u')') return true;
  return false;
}

QString quoted(const QString& text) {
  QString copy = text;
  return u'"' + copy.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString arrayText(const Variant& value) {
  const SafeArray& array = value.rawArray();
  const int elementCode = int(array.elementType());
  QString text = QString::number(value.vartype()) + u',';
  const auto& bounds = array.bounds();
  if (!(bounds.size() == 1 && bounds[0].lower == 0)) {
    QStringList dims;
    for (const auto& bound : bounds) dims.append(QStringLiteral("%1 to %2").arg(bound.lower).arg(bound.upper()));
    text += u'(' + dims.join(QStringLiteral(", ")) + u')';
  }
  QStringList elements;
  for (const Variant& element : array.data()) {
    if (elementCode == int(VarType::Variant)) {
      elements.append(quoted(valueToText(element)));
    } else {
      const QString item = scalarText(element);
      elements.append(elementCode == int(VarType::String) || needsQuotes(item) ? quoted(item) : item);
    }
  }
  return text + u'{' + elements.join(u',') + u'}';
}

// Reads "(l to u, ...)" at pos; std::nullopt when the text is malformed.
std::optional<std::vector<SafeArray::Bound>> readBounds(const QString& text, qsizetype& pos) {
  const qsizetype close = text.indexOf(u')', pos);
  if (close < 0) return std::nullopt;
  std::vector<SafeArray::Bound> bounds;
  for (const QString& dim : text.mid(pos + 1, close - pos - 1).split(u',')) {
    const QStringList parts = dim.trimmed().split(QStringLiteral(" to "), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (parts.size() != 2) return std::nullopt;
    bool okLower = false, okUpper = false;
    const qint64 lower = parts[0].trimmed().toLongLong(&okLower);
    const qint64 upper = parts[1].trimmed().toLongLong(&okUpper);
    const qint64 count = upper - lower + 1;
    if (!okLower || !okUpper || lower < std::numeric_limits<std::int32_t>::min() ||
        upper > std::numeric_limits<std::int32_t>::max() || count < 0 ||
        count > std::numeric_limits<std::int32_t>::max())
      return std::nullopt;
    bounds.push_back({std::int32_t(lower), std::int32_t(count)});
  }
  pos = close + 1;
  return bounds;
}

// Reads "{e,e,...}" at pos into raw element texts (quotes removed).
std::optional<QStringList> readElements(const QString& text, qsizetype pos) {
  const qsizetype n = text.size();
  auto skipBlanks = [&] {
    while (pos < n && text[pos].isSpace()) ++pos;
  };
  skipBlanks();
  if (pos >= n || text[pos] != u'{') return std::nullopt;
  ++pos;
  QStringList elements;
  skipBlanks();
  if (pos < n && text[pos] == u'}') {
    ++pos;
  } else {
    for (;;) {
      skipBlanks();
      QString element;
      if (pos < n && text[pos] == u'"') {
        ++pos;
        for (;;) {
          if (pos >= n) return std::nullopt;
          if (text[pos] == u'"') {
            if (pos + 1 < n && text[pos + 1] == u'"') {
              element += u'"';
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          element += text[pos++];
        }
      } else {
        const qsizetype start = pos;
        while (pos < n && text[pos] != u',' && text[pos] != u'}') ++pos;
        element = text.mid(start, pos - start).trimmed();
      }
      elements.append(element);
      skipBlanks();
      if (pos >= n) return std::nullopt;
      if (text[pos++] == u'}') break;
      if (text[pos - 1] != u',') return std::nullopt;
    }
  }
  skipBlanks();
  if (pos != n) return std::nullopt;
  return elements;
}

Variant readArray(int elementCode, const QString& text) {
  qsizetype pos = 0;
  while (pos < text.size() && text[pos].isSpace()) ++pos;
  std::optional<std::vector<SafeArray::Bound>> bounds;
  if (pos < text.size() && text[pos] == u'(') {
    bounds = readBounds(text, pos);
    if (!bounds) mismatch();
  }
  const auto elements = readElements(text, pos);
  if (!elements) mismatch();
  if (!bounds) bounds = std::vector<SafeArray::Bound>{{0, std::int32_t(elements->size())}};
  // The product of the counts must equal the number of elements given; the
  // running product is capped so that huge bounds cannot overflow it.
  qint64 total = 1;
  for (const auto& bound : *bounds) total = qMin<qint64>(total * bound.count, qint64(elements->size()) + 1);
  if (total != elements->size()) mismatch();

  Ref<SafeArray> array(new SafeArray(static_cast<VarType>(elementCode), *bounds));
  for (qsizetype i = 0; i < elements->size(); ++i) {
    const QString& element = elements->at(i);
    array->data()[std::size_t(i)] =
        elementCode == int(VarType::Variant) ? textToValue(element) : readScalar(elementCode, element);
  }
  return Variant(array.get());
}

}  // namespace

QString valueToText(const Variant& input) {
  const Variant& value = input.deref();
  if (value.isEmpty()) return QStringLiteral("0,");
  if (value.isNull()) return QStringLiteral("1,");
  if (value.isArray()) return arrayText(value);
  return QString::number(value.vartype()) + u',' + scalarText(value);
}

Variant textToValue(const QString& text) {
  const qsizetype comma = text.indexOf(u',');
  const QString codeText = (comma < 0 ? text : text.left(comma)).trimmed();
  const QString valueText = comma < 0 ? QString() : text.mid(comma + 1);
  bool ok = false;
  const int code = codeText.toInt(&ok);
  if (!ok) raiseError(ErrorNumber::InvalidProcedureCall);
  if (code == 0) return Variant();
  if (code == 1) return Variant::null();
  if (code == int(VarType::Object)) mismatch();
  if (comma < 0) raiseError(ErrorNumber::InvalidProcedureCall);
  if (isScalarCode(code)) return readScalar(code, valueText);
  if ((code & kArrayBit) && isArrayElementCode(code & ~kArrayBit)) return readArray(code & ~kArrayBit, valueText);
  raiseError(ErrorNumber::InvalidProcedureCall);
}

}  // namespace tarvix::engine
