// Feeds arbitrary bytes to the LangRes.dll reader and to the language text-file
// parser. Whatever the reader accepts must answer every lookup without reading
// past its data; whatever the parser accepts must survive a build and read back
// unchanged.

#include <cstdint>
#include <cstdlib>

#include "ui/LangResLibrary.h"
#include "ui/LangResWriter.h"
#include "ui/LanguageTextFile.h"

namespace {

void readEveryText(const tarvix::LangResLibrary& library) {
  for (const auto& [language, block] : library.blocks()) {
    const int first = (block - 1) * tarvix::langres::kTextsPerBlock;
    for (int number = first; number < first + tarvix::langres::kTextsPerBlock + 1; ++number)
      (void)library.text(language, number);
  }
}

void checkRoundTrip(const QString& content) {
  const auto parsed = tarvix::parseLanguageTexts(content);
  const auto image = tarvix::buildLangRes({{1033, parsed.texts}});
  if (!image) std::abort();  // the parser accepted something the writer cannot hold
  const auto library = tarvix::LangResLibrary::fromBytes(*image);
  if (!library) std::abort();
  for (const auto& [number, text] : parsed.texts)
    if (library->text(1033, number) != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (const auto library = tarvix::LangResLibrary::fromBytes(bytes)) readEveryText(*library);
  checkRoundTrip(QString::fromUtf8(bytes));
  return 0;
}
