#include "engine/language/scripting/FileOperations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "dispatch/AutomationError.h"
#include "engine/language/scripting/FilePaths.h"

namespace tarvix::scripting {
namespace {

[[noreturn]] void fail(int number) { raiseError(number); }

QStringList sourcesOrFail(const QString& spec, EntryKind kind) {
  if (hasWildcards(spec)) {
    const QStringList found = matchingEntries(spec, kind);
    if (found.isEmpty()) fail(kind == EntryKind::Files ? ErrorNumber::FileNotFound : ErrorNumber::PathNotFound);
    return found;
  }
  const QFileInfo info(nativePath(spec));
  const bool ok = kind == EntryKind::Files ? info.isFile() : info.isDir();
  if (!ok) fail(kind == EntryKind::Files ? ErrorNumber::FileNotFound : ErrorNumber::PathNotFound);
  return {info.filePath()};
}

// Where one source goes: into the destination folder when the destination
// ends with a separator or several sources are copied, else to it.
QString targetFor(const QString& source, const QString& destination, bool many) {
  const QString dest = nativePath(destination);
  if (many || endsWithSeparator(destination)) {
    if (!QFileInfo(dest).isDir()) fail(ErrorNumber::PathNotFound);
    return QDir(dest).filePath(QFileInfo(source).fileName());
  }
  return dest;
}

void copyOneFile(const QString& source, const QString& target, bool overwrite) {
  const QFileInfo targetInfo(target);
  if (targetInfo.isDir()) fail(ErrorNumber::PermissionDenied);
  if (!targetInfo.dir().exists()) fail(ErrorNumber::PathNotFound);
  if (targetInfo.exists()) {
    if (!overwrite) fail(ErrorNumber::FileAlreadyExists);
    if (QFileInfo(source).canonicalFilePath() == targetInfo.canonicalFilePath()) fail(ErrorNumber::PermissionDenied);
    if (!QFile::remove(target)) fail(ErrorNumber::PermissionDenied);
  }
  if (!QFile::copy(source, target)) fail(ErrorNumber::PermissionDenied);
}

void copyTree(const QString& source, const QString& target, bool overwrite) {
  const QFileInfo targetInfo(target);
  if (targetInfo.isFile()) fail(ErrorNumber::FileAlreadyExists);
  if (!targetInfo.exists() && !QDir().mkpath(target)) fail(ErrorNumber::PathNotFound);
  const QDir from(source);
  for (const QFileInfo& entry : from.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
    const QString to = QDir(target).filePath(entry.fileName());
    if (entry.isDir()) copyTree(entry.filePath(), to, overwrite);
    else copyOneFile(entry.filePath(), to, overwrite);
  }
}

bool isReadOnly(const QString& path) { return !(QFile::permissions(path) & QFileDevice::WriteOwner); }

void removeFile(const QString& path, bool force) {
  if (isReadOnly(path)) {
    if (!force) fail(ErrorNumber::PermissionDenied);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
  }
  if (!QFile::remove(path)) fail(ErrorNumber::PermissionDenied);
}

}  // namespace

void createFolder(const QString& path) {
  const QFileInfo info(nativePath(path));
  if (info.exists()) fail(ErrorNumber::FileAlreadyExists);
  if (!info.dir().exists()) fail(ErrorNumber::PathNotFound);
  if (!QDir().mkdir(info.filePath())) fail(ErrorNumber::PermissionDenied);
}

void copyFiles(const QString& source, const QString& destination, bool overwrite) {
  const QStringList sources = sourcesOrFail(source, EntryKind::Files);
  const bool many = hasWildcards(source);
  for (const QString& s : sources) copyOneFile(s, targetFor(s, destination, many), overwrite);
}

void moveFiles(const QString& source, const QString& destination) {
  const QStringList sources = sourcesOrFail(source, EntryKind::Files);
  const bool many = hasWildcards(source);
  for (const QString& s : sources) {
    const QString target = targetFor(s, destination, many);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists()) fail(ErrorNumber::FileAlreadyExists);
    if (!targetInfo.dir().exists()) fail(ErrorNumber::PathNotFound);
    if (!QFile::rename(s, target)) fail(ErrorNumber::PermissionDenied);
  }
}

void deleteFiles(const QString& spec, bool force) {
  for (const QString& path : sourcesOrFail(spec, EntryKind::Files)) removeFile(path, force);
}

void copyFolders(const QString& source, const QString& destination, bool overwrite) {
  const QStringList sources = sourcesOrFail(source, EntryKind::Folders);
  const bool many = hasWildcards(source);
  for (const QString& s : sources) {
    const QString target = targetFor(s, destination, many);
    if (QDir(target).absolutePath().startsWith(QDir(s).absolutePath() + u'/')) fail(ErrorNumber::PermissionDenied);
    copyTree(s, target, overwrite);
  }
}

void moveFolders(const QString& source, const QString& destination) {
  const QStringList sources = sourcesOrFail(source, EntryKind::Folders);
  const bool many = hasWildcards(source);
  for (const QString& s : sources) {
    const QString target = targetFor(s, destination, many);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists()) fail(ErrorNumber::FileAlreadyExists);
    if (!targetInfo.dir().exists()) fail(ErrorNumber::PathNotFound);
    if (QDir().rename(s, target)) continue;
    // Another file system: copy, then remove the source.
    copyTree(s, target, false);
    if (!QDir(s).removeRecursively()) fail(ErrorNumber::PermissionDenied);
  }
}

void deleteFolders(const QString& spec, bool force) {
  for (const QString& path : sourcesOrFail(spec, EntryKind::Folders)) {
    if (!force && isReadOnly(path)) fail(ErrorNumber::PermissionDenied);
    if (!QDir(path).removeRecursively()) fail(ErrorNumber::PermissionDenied);
  }
}

}  // namespace tarvix::scripting
