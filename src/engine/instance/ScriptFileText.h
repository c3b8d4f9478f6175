#pragma once

#include <QString>
#include <optional>

namespace tarvix::engine {

// The text of a script file as the editor holds it (lines joined by "\n")
// and the line end the file used, so that saving writes the same line ends
// back. Reading takes UTF-8 (a BOM allowed) or the legacy code page for
// bytes that are not UTF-8; writing is UTF-8.
struct ScriptFileText {
  QString text;
  QString lineEnd = QStringLiteral("\r\n");  // new scripts get CR LF, as copies made on Windows have

  // std::nullopt when the file cannot be read.
  static std::optional<ScriptFileText> read(const QString& path);
  // Atomic replace; false leaves the old file as it was.
  bool write(const QString& path) const;
};

}  // namespace tarvix::engine
