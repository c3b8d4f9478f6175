// Feeds arbitrary bytes to the data-sheet file reader and checks that every
// row it reads, written back and read again, gives the same cells.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "base/TextFile.h"
#include "datasheet/SheetFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarvix;
  const QString text = decodeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  for (const QStringList& row : parseSheetFile(text)) {
    const QList<QStringList> reread = parseSheetFile(formatSheetFile(row, int(row.size())));
    if (reread.size() != 1 || reread.front() != row) std::abort();
  }
  return 0;
}
