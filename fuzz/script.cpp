// Lexer, parser and compiler of the script language over arbitrary text,
// then a short bounded run of whatever compiles. No classes are registered,
// so CreateObject cannot reach the file system.
#include <cstddef>
#include <cstdint>

#include <QString>

#include "engine/language/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString source = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  tarvix::script::Script script;
  script.addModule(QStringLiteral("fuzz.vbs"), source);
  if (!script.compile()) return 0;
  tarvix::script::Execution& fiber = script.fiber();
  if (!fiber.start()) return 0;
  for (int slice = 0; slice < 4; ++slice) {
    const tarvix::script::FiberState state = fiber.runSlice({500, -1});
    if (state != tarvix::script::FiberState::Running && state != tarvix::script::FiberState::Delayed) break;
  }
  return 0;
}
