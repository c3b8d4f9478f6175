#pragma once

#include <QString>
#include <QStringList>

// Path texts as scripts hand them over: either separator ("\" from scripts
// written on Windows, "/" natively) is accepted.
namespace tarvix::scripting {

// The path for the file system: "\" becomes "/".
QString nativePath(const QString& path);

QString lastComponent(const QString& path);       // GetFileName
QString baseName(const QString& path);            // GetBaseName
QString extensionName(const QString& path);       // GetExtensionName
QString parentFolderName(const QString& path);    // GetParentFolderName
QString buildPath(const QString& path, const QString& name);
bool endsWithSeparator(const QString& path);
bool hasWildcards(const QString& path);

// Existing entries matching a path whose last component may hold "*" and
// "?" wildcards; files or folders only.
enum class EntryKind { Files, Folders };
QStringList matchingEntries(const QString& pattern, EntryKind kind);

}  // namespace tarvix::scripting
