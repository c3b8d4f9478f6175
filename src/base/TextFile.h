#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tarvix {

// Files that may come from Windows machines: read as UTF-8 (a BOM is allowed);
// bytes that are not valid UTF-8 are taken as the legacy code page of the
// interface language (Shift_JIS for Japanese, Windows-1252 otherwise).
// Written text is always UTF-8 without BOM.

// Language id whose legacy code page decodes non-UTF-8 bytes (1041 Japanese,
// anything else Windows-1252). Set once the interface language is chosen.
void setLegacyCodePageLanguage(int languageId);
int legacyCodePageLanguage();

QString decodeText(const QByteArray& bytes);
QByteArray encodeText(const QString& text);

// Whole file, or std::nullopt when it cannot be opened or read. When given,
// *error receives the system's description of a failure.
std::optional<QByteArray> readFileBytes(const QString& path, QString* error = nullptr);
std::optional<QString> readTextFile(const QString& path);

enum class Durability {
  SyncNow,   // on disk before the call returns
  Deferred,  // left to the system, or to a later syncFileToDisk()
};

// Replaces the file atomically: writes a temporary file beside it, flushes it
// and renames it over the target, so readers see the old or the new contents,
// never a part. False leaves the old file as it was; when given, *error
// receives the system's description of the failure.
bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                     Durability durability = Durability::SyncNow);

// Asks the system to write the file's cached contents to disk now.
bool syncFileToDisk(const QString& path);
bool writeTextFileAtomic(const QString& path, const QString& text);

}  // namespace tarvix
