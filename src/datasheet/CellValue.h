#pragma once

#include <QString>

#include "dispatch/Variant.h"

namespace tarvix {

// How cell texts become values for ValueMatrix and back. A text that is a
// whole number in 32-bit range reads as a Long, any other finite decimal
// number (".5", "-1.25", "1E3") as a Double, everything else (empty text,
// " 5" with spaces, "1,000", "inf") as the text itself.
Variant cellValue(const QString& text);
// The text a value is stored as: the language's own text of the value
// (error 13 for arrays and values without one, 94 for Null).
QString cellText(const Variant& value);

}  // namespace tarvix
