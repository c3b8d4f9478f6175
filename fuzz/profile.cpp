// Parses arbitrary bytes as a profile file, reads and writes through the
// parsed document, and checks that what is written reads back the same.
#include <cstdint>
#include <cstdlib>

#include "app/ProfileDocument.h"
#include "base/TextFile.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// The same names and values after writing the document out and reading it
// back.
void requireStableRoundTrip(const tarvix::ProfileDocument& document) {
  const QString text = document.toText();
  const auto reread = tarvix::ProfileDocument::parse(text);
  require(reread.sectionNames() == document.sectionNames());
  require(reread.toText() == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = tarvix::decodeText(bytes);
  auto document = tarvix::ProfileDocument::parse(text);
  requireStableRoundTrip(document);

  // Section, key and value taken from the input's own lines, so writes hit
  // existing names as well as new ones.
  const QStringList lines = text.split(u'\n');
  const QStringList names = document.sectionNames();
  for (qsizetype i = 0; i + 2 < lines.size() && i < 24; i += 3) {
    const QString section = names.isEmpty() ? lines[i] : names[i % names.size()];
    const QString key = lines[i + 1].section(u'=', 0, 0);
    const QString value = lines[i + 2];
    const auto before = document.value(section, key);
    if (document.setValue(section, key, value)) {
      require(document.value(section, key) == value);
      requireStableRoundTrip(document);
      require(tarvix::ProfileDocument::parse(document.toText()).value(section, key) == value);
    } else {
      require(document.value(section, key) == before);
    }
  }
  for (const QString& name : document.sectionNames()) {
    require(document.removeSection(name) || !document.hasSection(name));
  }
  require(document.sectionNames().isEmpty());
  requireStableRoundTrip(document);
  return 0;
}
