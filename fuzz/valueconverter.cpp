// Fuzzes the value converter's text form: any text either is refused with an
// automation error or reads as a value whose text form reads back to the
// same text.
#include <cstdint>
#include <cstdlib>

#include "dispatch/AutomationError.h"
#include "engine/converter/ValueText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  tarvix::Variant value;
  try {
    value = tarvix::engine::textToValue(text);
  } catch (const tarvix::AutomationError&) {
    return 0;
  }
  const QString written = tarvix::engine::valueToText(value);
  if (tarvix::engine::valueToText(tarvix::engine::textToValue(written)) != written) std::abort();
  return 0;
}
