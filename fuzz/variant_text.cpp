// Number and date texts as scripts convert them: no crash, and what is read
// prints back to a text that reads as the same value.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dispatch/AutomationError.h"
#include "dispatch/DateSerial.h"
#include "dispatch/NumberText.h"
#include "dispatch/Variant.h"

using namespace tarvix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  if (const std::optional<double> number = parseNumberText(text)) {
    const std::optional<double> again = parseNumberText(formatDouble(*number));
    if (!again || std::fabs(*again - *number) > std::max(std::fabs(*number) * 1e-14, 1e-300)) std::abort();
  }
  if (const std::optional<double> serial = parseDateText(text)) {
    if (!isValidDateSerial(*serial)) std::abort();
    const std::optional<double> again = parseDateText(formatDate(*serial));
    if (!again || std::fabs(*again - *serial) > 1.0 / 86400) std::abort();
  }
  const Variant value(text);
  for (VarType type : {VarType::Boolean, VarType::Byte, VarType::Integer, VarType::Long, VarType::Single,
                       VarType::Double, VarType::Currency, VarType::Date}) {
    try {
      (void)value.convertedTo(type).toString();
    } catch (const AutomationError& e) {
      if (e.number() != ErrorNumber::TypeMismatch && e.number() != ErrorNumber::Overflow) std::abort();
    }
  }
  return 0;
}
