#include "engine/language/scripting/FileItems.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <limits>

#include "dispatch/DateSerial.h"
#include "engine/language/scripting/FileOperations.h"
#include "engine/language/scripting/TextStream.h"

namespace tarvix::scripting {
namespace {

Variant dateOf(const QDateTime& when) { return Variant::date(serialFromDateTime(when.toLocalTime())); }

// Not every file system records a birth time; the last status change stands in.
Variant creationDateOf(const QFileInfo& info) {
  return dateOf(info.birthTime().isValid() ? info.birthTime() : info.metadataChangeTime());
}

Variant sizeOf(qint64 bytes) {
  if (bytes <= std::numeric_limits<std::int32_t>::max()) return Variant(static_cast<std::int32_t>(bytes));
  return Variant(static_cast<double>(bytes));
}

// Attribute bits: 1 read-only, 2 hidden, 16 folder, 32 archive.
Variant attributesOf(const QFileInfo& info) {
  std::int32_t bits = info.isDir() ? 16 : 32;
  if (!info.isWritable()) bits |= 1;
  if (info.isHidden()) bits |= 2;
  return Variant(bits);
}

// Renaming keeps the entry in its folder; error 58 when the name is taken.
QString renamed(const QString& path, const QString& newName) {
  if (newName.isEmpty() || newName.contains(u'/') || newName.contains(u'\\'))
    raiseError(ErrorNumber::InvalidProcedureCall);
  const QString target = QFileInfo(path).dir().filePath(newName);
  if (QFileInfo::exists(target)) raiseError(ErrorNumber::FileAlreadyExists);
  if (!QDir().rename(path, target)) raiseError(ErrorNumber::PermissionDenied);
  return target;
}

TextFormat formatArg(const Call& c, std::size_t i) {
  const std::int32_t format = c.has(i) ? c.arg(i).toLong() : 0;
  if (format != 0 && format != -1 && format != -2) raiseError(ErrorNumber::InvalidProcedureCall);
  return format == -1 ? TextFormat::Unicode : TextFormat::Default;
}

IoMode ioModeArg(const Call& c, std::size_t i) {
  const std::int32_t mode = c.has(i) ? c.arg(i).toLong() : 1;
  if (mode != 1 && mode != 2 && mode != 8) raiseError(ErrorNumber::InvalidProcedureCall);
  return static_cast<IoMode>(mode);
}

qint64 treeSize(const QString& folder) {
  qint64 total = 0;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    total += it.fileInfo().size();
  }
  return total;
}

}  // namespace

Variant fileObject(const QString& path) { return Variant(new FileItem(QFileInfo(path).absoluteFilePath())); }
Variant folderObject(const QString& path) { return Variant(new FolderItem(QDir(path).absolutePath())); }

// ---- File ----

const MemberTable<FileItem>& FileItem::table() {
  static const auto t = MemberTable<FileItem>(u"File")
                            .get(u"Name", &FileItem::name)
                            .let(u"Name", &FileItem::rename)
                            .get(u"Path", &FileItem::pathMember)
                            .get(u"Size", &FileItem::size)
                            .get(u"DateLastModified", &FileItem::dateLastModified)
                            .get(u"DateCreated", &FileItem::dateCreated)
                            .get(u"DateLastAccessed", &FileItem::dateLastAccessed)
                            .get(u"ParentFolder", &FileItem::parentFolder)
                            .get(u"Attributes", &FileItem::attributes)
                            .method(u"Delete", &FileItem::remove, 0, 1)
                            .method(u"Copy", &FileItem::copy, 1, 2)
                            .method(u"Move", &FileItem::move, 1, 1)
                            .method(u"OpenAsTextStream", &FileItem::openAsTextStream, 0, 2)
                            .defaultMember(u"Path");
  return t;
}

Variant FileItem::name(Call&) { return Variant(QFileInfo(path_).fileName()); }
Variant FileItem::rename(Call& c) {
  path_ = renamed(path_, c.value().toString());
  return {};
}
Variant FileItem::pathMember(Call&) { return Variant(path_); }
Variant FileItem::size(Call&) { return sizeOf(QFileInfo(path_).size()); }
Variant FileItem::dateLastModified(Call&) { return dateOf(QFileInfo(path_).lastModified()); }
Variant FileItem::dateCreated(Call&) { return creationDateOf(QFileInfo(path_)); }
Variant FileItem::dateLastAccessed(Call&) { return dateOf(QFileInfo(path_).lastRead()); }
Variant FileItem::parentFolder(Call&) { return folderObject(QFileInfo(path_).absolutePath()); }
Variant FileItem::attributes(Call&) { return attributesOf(QFileInfo(path_)); }

Variant FileItem::remove(Call& c) {
  deleteFiles(path_, c.has(0) && c.arg(0).toBool());
  return {};
}

Variant FileItem::copy(Call& c) {
  copyFiles(path_, c.arg(0).toString(), !c.has(1) || c.arg(1).toBool());
  return {};
}

Variant FileItem::move(Call& c) {
  const QString destination = c.arg(0).toString();
  moveFiles(path_, destination);
  const QString native = nativePath(destination);
  path_ = QFileInfo(endsWithSeparator(destination) ? QDir(native).filePath(QFileInfo(path_).fileName()) : native)
              .absoluteFilePath();
  return {};
}

Variant FileItem::openAsTextStream(Call& c) {
  return Variant(Ref<DispatchObject>(TextStream::open(path_, ioModeArg(c, 0), false, formatArg(c, 1))));
}

// ---- Folder ----

const MemberTable<FolderItem>& FolderItem::table() {
  static const auto t = MemberTable<FolderItem>(u"Folder")
                            .get(u"Name", &FolderItem::name)
                            .let(u"Name", &FolderItem::rename)
                            .get(u"Path", &FolderItem::pathMember)
                            .get(u"Size", &FolderItem::size)
                            .get(u"DateLastModified", &FolderItem::dateLastModified)
                            .get(u"DateCreated", &FolderItem::dateCreated)
                            .get(u"ParentFolder", &FolderItem::parentFolder)
                            .get(u"IsRootFolder", &FolderItem::isRootFolder)
                            .get(u"Attributes", &FolderItem::attributes)
                            .get(u"Files", &FolderItem::files)
                            .get(u"SubFolders", &FolderItem::subFolders)
                            .method(u"Delete", &FolderItem::remove, 0, 1)
                            .method(u"Copy", &FolderItem::copy, 1, 2)
                            .method(u"Move", &FolderItem::move, 1, 1)
                            .method(u"CreateTextFile", &FolderItem::createTextFile, 1, 3)
                            .defaultMember(u"Path");
  return t;
}

Variant FolderItem::name(Call&) { return Variant(QFileInfo(path_).fileName()); }
Variant FolderItem::rename(Call& c) {
  path_ = renamed(path_, c.value().toString());
  return {};
}
Variant FolderItem::pathMember(Call&) { return Variant(path_); }
Variant FolderItem::size(Call&) { return sizeOf(treeSize(path_)); }
Variant FolderItem::dateLastModified(Call&) { return dateOf(QFileInfo(path_).lastModified()); }
Variant FolderItem::dateCreated(Call&) { return creationDateOf(QFileInfo(path_)); }
Variant FolderItem::parentFolder(Call&) {
  if (QDir(path_).isRoot()) return Variant::nothing();
  return folderObject(QFileInfo(path_).absolutePath());
}
Variant FolderItem::isRootFolder(Call&) { return Variant(QDir(path_).isRoot()); }
Variant FolderItem::attributes(Call&) { return attributesOf(QFileInfo(path_)); }
Variant FolderItem::files(Call&) { return Variant(new FolderListing(path_, EntryKind::Files)); }
Variant FolderItem::subFolders(Call&) { return Variant(new FolderListing(path_, EntryKind::Folders)); }

Variant FolderItem::remove(Call& c) {
  deleteFolders(path_, c.has(0) && c.arg(0).toBool());
  return {};
}

Variant FolderItem::copy(Call& c) {
  copyFolders(path_, c.arg(0).toString(), !c.has(1) || c.arg(1).toBool());
  return {};
}

Variant FolderItem::move(Call& c) {
  const QString destination = c.arg(0).toString();
  moveFolders(path_, destination);
  const QString native = nativePath(destination);
  path_ = QDir(endsWithSeparator(destination) ? QDir(native).filePath(QFileInfo(path_).fileName()) : native)
              .absolutePath();
  return {};
}

Variant FolderItem::createTextFile(Call& c) {
  const QString path = QDir(path_).filePath(nativePath(c.arg(0).toString()));
  const bool overwrite = !c.has(1) || c.arg(1).toBool();
  if (!overwrite && QFileInfo::exists(path)) raiseError(ErrorNumber::FileAlreadyExists);
  const TextFormat format = c.has(2) && c.arg(2).toBool() ? TextFormat::Unicode : TextFormat::Default;
  return Variant(Ref<DispatchObject>(TextStream::open(path, IoMode::Writing, true, format)));
}

// ---- Files / SubFolders ----

const MemberTable<FolderListing>& FolderListing::table() {
  static const auto t = MemberTable<FolderListing>(u"Files")
                            .get(u"Count", &FolderListing::count)
                            .get(u"Item", &FolderListing::item, 1, 1)
                            .defaultMember(u"Item");
  return t;
}

QString FolderListing::typeName() const {
  return kind_ == EntryKind::Files ? QStringLiteral("Files") : QStringLiteral("Folders");
}

QStringList FolderListing::names() const {
  const QDir::Filters filters =
      (kind_ == EntryKind::Files ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot) | QDir::Hidden | QDir::System;
  return QDir(folder_).entryList(filters, QDir::Name | QDir::IgnoreCase);
}

std::vector<Variant> FolderListing::enumerate() {
  std::vector<Variant> items;
  const QDir dir(folder_);
  for (const QString& name : names())
    items.push_back(kind_ == EntryKind::Files ? fileObject(dir.filePath(name)) : folderObject(dir.filePath(name)));
  return items;
}

Variant FolderListing::count(Call&) { return Variant(static_cast<std::int32_t>(names().size())); }

Variant FolderListing::item(Call& c) {
  const QString name = c.arg(0).toString();
  for (const QString& entry : names())
    if (entry.compare(name, Qt::CaseInsensitive) == 0) {
      const QString path = QDir(folder_).filePath(entry);
      return kind_ == EntryKind::Files ? fileObject(path) : folderObject(path);
    }
  raiseError(kind_ == EntryKind::Files ? ErrorNumber::FileNotFound : ErrorNumber::PathNotFound);
}

}  // namespace tarvix::scripting
