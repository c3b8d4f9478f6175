#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace tarvix {

// Reads a number the way the language converts text: blanks around it,
// an optional sign, digits with "." as decimal point, an exponent ("1e3",
// "1E-2"), or "&H1F" / "&O17" (hexadecimal, octal; eight hexadecimal digits
// are a signed 32-bit value, so "&HFFFFFFFF" is -1). std::nullopt when the
// whole text is not such a number.
std::optional<double> parseNumberText(QStringView text);

}  // namespace tarvix
