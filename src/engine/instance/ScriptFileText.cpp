#include "engine/instance/ScriptFileText.h"

#include <QFileInfo>

#include "base/TextFile.h"

namespace tarvix::engine {

std::optional<ScriptFileText> ScriptFileText::read(const QString& path) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  const auto bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  ScriptFileText file;
  QString text = decodeText(*bytes);
  // The first line end decides; a file without any keeps the default.
  const qsizetype newline = text.indexOf(u'\n');
  if (newline >= 0) file.lineEnd = newline > 0 && text[newline - 1] == u'\r' ? QStringLiteral("\r\n") : QStringLiteral("\n");
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  file.text = std::move(text);
  return file;
}

bool ScriptFileText::write(const QString& path) const {
  QString out = text;
  if (lineEnd != u"\n") out.replace(u'\n', lineEnd);
  return writeFileAtomic(path, encodeText(out));
}

}  // namespace tarvix::engine
