#include <QStringList>
#include <algorithm>

#include "dispatch/SafeArray.h"
#include "engine/language/builtins/BuiltinSupport.h"

namespace tarvix::builtins {
namespace {

// Text arguments: a Null one makes most string functions return Null.
bool anyNull(const BuiltinCall& c, std::size_t n) {
  for (std::size_t i = 0; i < n && i < c.count(); ++i)
    if (c.arg(i).isNull()) return true;
  return false;
}

std::int32_t nonNegative(const Variant& v) {
  const std::int32_t n = v.toLong();
  if (n < 0) invalidArgument();
  return n;
}

Variant len(BuiltinCall& c) {
  if (anyNull(c, 1)) return Variant::null();
  return Variant(static_cast<std::int32_t>(c.arg(0).toString().size()));
}

Variant lenB(BuiltinCall& c) {
  if (anyNull(c, 1)) return Variant::null();
  return Variant(static_cast<std::int32_t>(c.arg(0).toString().size() * 2));
}

Variant left(BuiltinCall& c) {
  const std::int32_t n = nonNegative(c.arg(1));
  if (anyNull(c, 1)) return Variant::null();
  return Variant(c.arg(0).toString().left(n));
}

Variant right(BuiltinCall& c) {
  const std::int32_t n = nonNegative(c.arg(1));
  if (anyNull(c, 1)) return Variant::null();
  return Variant(c.arg(0).toString().right(n));
}

Variant mid(BuiltinCall& c) {
  const std::int32_t start = c.arg(1).toLong();
  if (start < 1) invalidArgument();
  const std::int32_t length = c.has(2) ? nonNegative(c.arg(2)) : -1;
  if (anyNull(c, 1)) return Variant::null();
  return Variant(c.arg(0).toString().mid(start - 1, length));
}

// InStr([start, ]string1, string2[, compare])
Variant inStr(BuiltinCall& c) {
  std::size_t first = 0;
  std::int32_t start = 1;
  if (c.count() >= 3) {
    if (c.arg(0).isNull()) raiseError(ErrorNumber::InvalidUseOfNull);
    start = c.arg(0).toLong();
    if (start < 1) invalidArgument();
    first = 1;
  }
  const CompareMode mode = compareArg(c, first + 2);
  const Variant& a = c.arg(first);
  const Variant& b = c.arg(first + 1);
  if (a.isNull() || b.isNull()) return Variant::null();
  const QString text = a.toString(), find = b.toString();
  if (start > text.size()) return Variant(std::int32_t{0});
  if (find.isEmpty()) return Variant(start);
  return Variant(static_cast<std::int32_t>(text.indexOf(find, start - 1, caseOf(mode)) + 1));
}

// InStrRev(string1, string2[, start[, compare]])
Variant inStrRev(BuiltinCall& c) {
  const std::int32_t start = longArg(c, 2, -1);
  if (start == 0 || start < -1) invalidArgument();
  const CompareMode mode = compareArg(c, 3);
  if (anyNull(c, 2)) return Variant::null();
  const QString text = c.arg(0).toString(), find = c.arg(1).toString();
  const std::int32_t from = start == -1 ? static_cast<std::int32_t>(text.size()) : start;
  if (from > text.size()) return Variant(std::int32_t{0});
  if (find.isEmpty()) return Variant(from);
  if (find.size() > from) return Variant(std::int32_t{0});
  const qsizetype found = text.left(from).lastIndexOf(find, -1, caseOf(mode));
  return Variant(static_cast<std::int32_t>(found + 1));
}

// Replace(expression, find, replacewith[, start[, count[, compare]]]): the
// result starts at start, as users know it.
Variant replace(BuiltinCall& c) {
  const QString text = c.arg(0).toString();
  const QString find = c.arg(1).toString();
  const QString with = c.arg(2).toString();
  const std::int32_t start = longArg(c, 3, 1);
  std::int32_t count = longArg(c, 4, -1);
  if (start < 1 || count < -1) invalidArgument();
  const CompareMode mode = compareArg(c, 5);
  if (start > text.size()) return Variant(QString());
  QString rest = text.mid(start - 1);
  if (find.isEmpty() || count == 0) return Variant(rest);
  QString out;
  qsizetype pos = 0;
  while (count != 0) {
    const qsizetype found = rest.indexOf(find, pos, caseOf(mode));
    if (found < 0) break;
    out += QStringView(rest).mid(pos, found - pos);
    out += with;
    pos = found + find.size();
    if (count > 0) --count;
  }
  out += QStringView(rest).mid(pos);
  return Variant(out);
}

Variant stringArray(const QStringList& parts) {
  auto* array = new SafeArray(VarType::String, {SafeArray::Bound{0, static_cast<std::int32_t>(parts.size())}});
  for (qsizetype i = 0; i < parts.size(); ++i) array->data()[i] = Variant(parts[i]);
  return Variant(array);
}

// Split(expression[, delimiter[, count[, compare]]])
Variant split(BuiltinCall& c) {
  const QString delimiter = c.has(1) ? c.arg(1).toString() : QStringLiteral(" ");
  const std::int32_t count = longArg(c, 2, -1);
  if (count < -1) invalidArgument();
  const CompareMode mode = compareArg(c, 3);
  const QString text = c.arg(0).toString();
  QStringList parts;
  if (text.isEmpty() || count == 0) return stringArray(parts);
  if (delimiter.isEmpty()) return stringArray({text});
  qsizetype pos = 0;
  while (count < 0 || parts.size() < count - 1) {
    const qsizetype found = text.indexOf(delimiter, pos, caseOf(mode));
    if (found < 0) break;
    parts << text.mid(pos, found - pos);
    pos = found + delimiter.size();
  }
  parts << text.mid(pos);
  return stringArray(parts);
}

Variant join(BuiltinCall& c) {
  const Variant& list = c.arg(0);
  if (!list.isArray()) raiseError(ErrorNumber::TypeMismatch);
  if (list.rawArray().rank() > 1) raiseError(ErrorNumber::TypeMismatch);
  const QString delimiter = c.has(1) ? c.arg(1).toString() : QStringLiteral(" ");
  QString out;
  bool first = true;
  for (const Variant& v : list.rawArray().data()) {
    if (!first) out += delimiter;
    first = false;
    if (!v.isNull()) out += v.toString();
  }
  return Variant(out);
}

Variant ucase(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(c.arg(0).toString().toUpper()); }
Variant lcase(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(c.arg(0).toString().toLower()); }

// The trims remove spaces only (not tabs or line ends).
QString trimSpaces(const QString& s, bool front, bool back) {
  qsizetype b = 0, e = s.size();
  if (front)
    while (b < e && s[b] == u' ') ++b;
  if (back)
    while (e > b && s[e - 1] == u' ') --e;
  return s.mid(b, e - b);
}

Variant trim(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(trimSpaces(c.arg(0).toString(), true, true)); }
Variant ltrim(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(trimSpaces(c.arg(0).toString(), true, false)); }
Variant rtrim(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(trimSpaces(c.arg(0).toString(), false, true)); }

Variant space(BuiltinCall& c) { return Variant(QString(nonNegative(c.arg(0)), u' ')); }

QChar charFromCode(std::int32_t code) {
  if (code < -32768 || code > 65535) invalidArgument();
  return QChar(static_cast<char16_t>(code < 0 ? code + 65536 : code));
}

// String(number, character): character is a text (its first character) or a
// character code.
Variant string(BuiltinCall& c) {
  const std::int32_t n = nonNegative(c.arg(0));
  const Variant& ch = c.arg(1);
  if (ch.isNull()) return Variant::null();
  QChar fill;
  if (ch.isString()) {
    if (ch.rawString().isEmpty()) invalidArgument();
    fill = ch.rawString()[0];
  } else {
    fill = charFromCode((ch.toLong() % 256 + 256) % 256);
  }
  return Variant(QString(n, fill));
}

Variant strComp(BuiltinCall& c) {
  const CompareMode mode = compareArg(c, 2);
  if (anyNull(c, 2)) return Variant::null();
  const int r = QString::compare(c.arg(0).toString(), c.arg(1).toString(), caseOf(mode));
  return Variant(static_cast<std::int16_t>(r < 0 ? -1 : r > 0 ? 1 : 0));
}

Variant strReverse(BuiltinCall& c) {
  QString s = c.arg(0).toString();
  std::reverse(s.begin(), s.end());
  return Variant(s);
}

Variant ascW(BuiltinCall& c) {
  const QString s = c.arg(0).toString();
  if (s.isEmpty()) invalidArgument();
  return Variant(static_cast<std::int16_t>(s[0].unicode()));
}

// Chr: codes 0-255 are the Latin-1 characters; wider codes give the UTF-16
// code unit, like ChrW.
Variant chr(BuiltinCall& c) { return Variant(QString(charFromCode(c.arg(0).toLong()))); }

// Hex and Oct work on the 16-bit value of Integer, Byte and Boolean
// arguments and on the 32-bit value of anything else.
QString radixText(const Variant& v, int base) {
  const bool narrow = v.type() == VarType::Integer || v.type() == VarType::Byte || v.type() == VarType::Boolean ||
                      v.type() == VarType::Empty;
  const std::int32_t n = v.toLong();
  const quint32 bits = narrow ? static_cast<quint16>(n) : static_cast<quint32>(n);
  return QString::number(bits, base).toUpper();
}

Variant hex(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(radixText(c.arg(0), 16)); }
Variant oct(BuiltinCall& c) { return anyNull(c, 1) ? Variant::null() : Variant(radixText(c.arg(0), 8)); }

constexpr Builtin kBuiltins[] = {
    {u"Len", len, 1, 1},
    {u"LenB", lenB, 1, 1},
    {u"Left", left, 2, 2},
    {u"Right", right, 2, 2},
    {u"Mid", mid, 2, 3},
    {u"InStr", inStr, 2, 4},
    {u"InStrRev", inStrRev, 2, 4},
    {u"Replace", replace, 3, 6},
    {u"Split", split, 1, 4},
    {u"Join", join, 1, 2},
    {u"UCase", ucase, 1, 1},
    {u"LCase", lcase, 1, 1},
    {u"Trim", trim, 1, 1},
    {u"LTrim", ltrim, 1, 1},
    {u"RTrim", rtrim, 1, 1},
    {u"Space", space, 1, 1},
    {u"String", string, 2, 2},
    {u"StrComp", strComp, 2, 3},
    {u"StrReverse", strReverse, 1, 1},
    {u"Asc", ascW, 1, 1},
    {u"AscW", ascW, 1, 1},
    {u"Chr", chr, 1, 1},
    {u"ChrW", chr, 1, 1},
    {u"Hex", hex, 1, 1},
    {u"Oct", oct, 1, 1},
};

}  // namespace

std::span<const Builtin> stringBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
