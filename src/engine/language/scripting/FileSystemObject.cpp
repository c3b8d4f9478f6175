#include "engine/language/scripting/FileSystemObject.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include "engine/language/scripting/FileItems.h"
#include "engine/language/scripting/FileOperations.h"
#include "engine/language/scripting/FilePaths.h"
#include "engine/language/scripting/TextStream.h"

namespace tarvix::scripting {
namespace {

QString pathArg(const Call& c, std::size_t i) { return nativePath(c.arg(i).toString()); }

bool flagArg(const Call& c, std::size_t i, bool fallback) { return c.has(i) ? c.arg(i).toBool() : fallback; }

}  // namespace

const MemberTable<FileSystemObject>& FileSystemObject::table() {
  using F = FileSystemObject;
  static const auto t = MemberTable<F>(u"FileSystemObject")
                            .method(u"FileExists", &F::fileExists, 1, 1)
                            .method(u"FolderExists", &F::folderExists, 1, 1)
                            .method(u"GetFile", &F::getFile, 1, 1)
                            .method(u"GetFolder", &F::getFolder, 1, 1)
                            .method(u"CreateFolder", &F::createFolder, 1, 1)
                            .method(u"DeleteFile", &F::deleteFile, 1, 2)
                            .method(u"DeleteFolder", &F::deleteFolder, 1, 2)
                            .method(u"CopyFile", &F::copyFile, 2, 3)
                            .method(u"MoveFile", &F::moveFile, 2, 2)
                            .method(u"CopyFolder", &F::copyFolder, 2, 3)
                            .method(u"MoveFolder", &F::moveFolder, 2, 2)
                            .method(u"GetFileName", &F::getFileName, 1, 1)
                            .method(u"GetBaseName", &F::getBaseName, 1, 1)
                            .method(u"GetExtensionName", &F::getExtensionName, 1, 1)
                            .method(u"GetParentFolderName", &F::getParentFolderName, 1, 1)
                            .method(u"BuildPath", &F::buildPath, 2, 2)
                            .method(u"GetAbsolutePathName", &F::getAbsolutePathName, 1, 1)
                            .method(u"GetTempName", &F::getTempName)
                            .method(u"GetSpecialFolder", &F::getSpecialFolder, 1, 1)
                            .method(u"OpenTextFile", &F::openTextFile, 1, 4)
                            .method(u"CreateTextFile", &F::createTextFile, 1, 3);
  return t;
}

Variant FileSystemObject::fileExists(Call& c) { return Variant(QFileInfo(pathArg(c, 0)).isFile()); }
Variant FileSystemObject::folderExists(Call& c) { return Variant(QFileInfo(pathArg(c, 0)).isDir()); }

Variant FileSystemObject::getFile(Call& c) {
  const QString path = pathArg(c, 0);
  if (!QFileInfo(path).isFile()) raiseError(ErrorNumber::FileNotFound);
  return fileObject(path);
}

Variant FileSystemObject::getFolder(Call& c) {
  const QString path = pathArg(c, 0);
  if (!QFileInfo(path).isDir()) raiseError(ErrorNumber::PathNotFound);
  return folderObject(path);
}

Variant FileSystemObject::createFolder(Call& c) {
  const QString path = pathArg(c, 0);
  scripting::createFolder(path);
  return folderObject(path);
}

Variant FileSystemObject::deleteFile(Call& c) {
  deleteFiles(c.arg(0).toString(), flagArg(c, 1, false));
  return {};
}

Variant FileSystemObject::deleteFolder(Call& c) {
  deleteFolders(c.arg(0).toString(), flagArg(c, 1, false));
  return {};
}

Variant FileSystemObject::copyFile(Call& c) {
  copyFiles(c.arg(0).toString(), c.arg(1).toString(), flagArg(c, 2, true));
  return {};
}

Variant FileSystemObject::moveFile(Call& c) {
  moveFiles(c.arg(0).toString(), c.arg(1).toString());
  return {};
}

Variant FileSystemObject::copyFolder(Call& c) {
  copyFolders(c.arg(0).toString(), c.arg(1).toString(), flagArg(c, 2, true));
  return {};
}

Variant FileSystemObject::moveFolder(Call& c) {
  moveFolders(c.arg(0).toString(), c.arg(1).toString());
  return {};
}

Variant FileSystemObject::getFileName(Call& c) { return Variant(lastComponent(c.arg(0).toString())); }
Variant FileSystemObject::getBaseName(Call& c) { return Variant(baseName(c.arg(0).toString())); }
Variant FileSystemObject::getExtensionName(Call& c) { return Variant(extensionName(c.arg(0).toString())); }
Variant FileSystemObject::getParentFolderName(Call& c) { return Variant(parentFolderName(c.arg(0).toString())); }
Variant FileSystemObject::buildPath(Call& c) {
  return Variant(scripting::buildPath(c.arg(0).toString(), c.arg(1).toString()));
}

Variant FileSystemObject::getAbsolutePathName(Call& c) {
  const QString path = pathArg(c, 0);
  return Variant(QDir::cleanPath(QFileInfo(path.isEmpty() ? QStringLiteral(".") : path).absoluteFilePath()));
}

// A name for a temporary file: "rad" and five hexadecimal digits, ".tmp".
Variant FileSystemObject::getTempName(Call&) {
  const quint32 n = QRandomGenerator::global()->bounded(0x100000u);
  return Variant(QStringLiteral("rad%1.tmp").arg(QString::number(n, 16).toUpper().rightJustified(5, u'0')));
}

// 0 the system root, 1 the program folder of the system, 2 the temporary folder.
Variant FileSystemObject::getSpecialFolder(Call& c) {
  switch (c.arg(0).toLong()) {
    case 0: return folderObject(QDir::rootPath());
    case 1: return folderObject(QStringLiteral("/usr/bin"));
    case 2: return folderObject(QDir::tempPath());
    default: raiseError(ErrorNumber::InvalidProcedureCall);
  }
}

// OpenTextFile(path[, iomode = 1[, create = False[, format = 0]]])
Variant FileSystemObject::openTextFile(Call& c) {
  const std::int32_t mode = c.has(1) ? c.arg(1).toLong() : 1;
  if (mode != 1 && mode != 2 && mode != 8) raiseError(ErrorNumber::InvalidProcedureCall);
  const std::int32_t format = c.has(3) ? c.arg(3).toLong() : 0;
  if (format != 0 && format != -1 && format != -2) raiseError(ErrorNumber::InvalidProcedureCall);
  return Variant(TextStream::open(pathArg(c, 0), static_cast<IoMode>(mode), flagArg(c, 2, false),
                                  format == -1 ? TextFormat::Unicode : TextFormat::Default)
                     .get());
}

// CreateTextFile(path[, overwrite = True[, unicode = False]])
Variant FileSystemObject::createTextFile(Call& c) {
  const QString path = pathArg(c, 0);
  if (!flagArg(c, 1, true) && QFileInfo::exists(path)) raiseError(ErrorNumber::FileAlreadyExists);
  return Variant(TextStream::open(path, IoMode::Writing, true, flagArg(c, 2, false) ? TextFormat::Unicode
                                                                                     : TextFormat::Default)
                     .get());
}

}  // namespace tarvix::scripting
