#pragma once

#include <QString>

#include "dispatch/Variant.h"

namespace tarvix::engine {

// The type-and-text form of a value: the automation type code, a comma, and
// the value text ("3,42", "8,hello", "11,True"). Empty and Null are "0," and
// "1," (the code alone is read too).
//
// Value texts:
//   2 3 17 10   decimal integers
//   4 5         the shortest decimal text that reads back to the same number
//               ("0.1", "1e+20", "-0", "inf", "nan")
//   6           exact decimal with up to four places ("-12.5")
//   7           "yyyy/mm/dd hh:nn:ss", "yyyy/mm/dd" or "hh:nn:ss"; a date
//               that this form would not give back exactly (a fraction of a
//               second) is written as its day serial number ("45000.123")
//   8           the text itself, everything after the first comma
//   11          "True" or "False"
// When reading, integer, Boolean and date texts also take the forms the
// script language converts ("&H1F", "1e3", "2026-01-31").
//
// Arrays (code 8192 + element code) are written
//   CODE,[(LOWER to UPPER, ...)]{ELEMENT,ELEMENT,...}
// The bounds are left out for one dimension starting at 0. Elements stand in
// storage order, the first index varying slowest. An element is its value
// text; string elements are always in double quotes and any element with a
// blank, comma, brace or quote is quoted, inner quotes doubled. Elements of
// an array of Variants (8204) are each a full type-and-text form in quotes:
//   8195,{1,2,3}      8200,{"a","b,c",""}      8197,(1 to 2,0 to 1){1,2,3,4}
//   8204,{"3,7","8,x","8204,{""11,True""}"}
//
// Object references have no text form: both directions raise error 13 for
// code 9, as for any text that is not a value of its code; an unknown code
// raises error 5.
QString valueToText(const Variant& value);
Variant textToValue(const QString& text);

}  // namespace tarvix::engine
