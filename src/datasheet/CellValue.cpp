#include "datasheet/CellValue.h"

#include <cmath>

#include "dispatch/AutomationError.h"

namespace tarvix {

Variant cellValue(const QString& text) {
  if (text.isEmpty() || text.front().isSpace() || text.back().isSpace()) return text;
  bool ok = false;
  const int whole = text.toInt(&ok);
  if (ok) return std::int32_t(whole);
  const double number = text.toDouble(&ok);
  if (ok && std::isfinite(number)) return number;
  return text;
}

QString cellText(const Variant& value) {
  const Variant& plain = value.deref();
  if (plain.isArray()) raiseError(ErrorNumber::TypeMismatch);
  return plain.toString();
}

}  // namespace tarvix
