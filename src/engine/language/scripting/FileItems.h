#pragma once

#include "dispatch/DispatchClass.h"
#include "engine/language/scripting/FilePaths.h"

namespace tarvix::scripting {

// The File object of GetFile and of a folder's Files.
class FileItem final : public DispatchClass<FileItem> {
 public:
  static const MemberTable<FileItem>& table();
  explicit FileItem(QString path) : path_(std::move(path)) {}
  const QString& path() const { return path_; }

 private:
  Variant name(Call& c);
  Variant rename(Call& c);
  Variant pathMember(Call& c);
  Variant size(Call& c);
  Variant dateLastModified(Call& c);
  Variant dateCreated(Call& c);
  Variant dateLastAccessed(Call& c);
  Variant parentFolder(Call& c);
  Variant attributes(Call& c);
  Variant remove(Call& c);
  Variant copy(Call& c);
  Variant move(Call& c);
  Variant openAsTextStream(Call& c);

  QString path_;
};

// The Folder object of GetFolder, CreateFolder and a folder's SubFolders.
class FolderItem final : public DispatchClass<FolderItem> {
 public:
  static const MemberTable<FolderItem>& table();
  explicit FolderItem(QString path) : path_(std::move(path)) {}

 private:
  Variant name(Call& c);
  Variant rename(Call& c);
  Variant pathMember(Call& c);
  Variant size(Call& c);
  Variant dateLastModified(Call& c);
  Variant dateCreated(Call& c);
  Variant parentFolder(Call& c);
  Variant isRootFolder(Call& c);
  Variant attributes(Call& c);
  Variant files(Call& c);
  Variant subFolders(Call& c);
  Variant remove(Call& c);
  Variant copy(Call& c);
  Variant move(Call& c);
  Variant createTextFile(Call& c);

  QString path_;
};

// Files and SubFolders of a folder: Count, Item(name) and For Each, in name
// order, as they are when the collection is read.
class FolderListing final : public DispatchClass<FolderListing> {
 public:
  static const MemberTable<FolderListing>& table();
  FolderListing(QString folder, EntryKind kind) : folder_(std::move(folder)), kind_(kind) {}
  QString typeName() const override;
  std::vector<Variant> enumerate() override;

 private:
  QStringList names() const;
  Variant count(Call& c);
  Variant item(Call& c);

  QString folder_;
  EntryKind kind_;
};

// A File or Folder object for a path, as the Variant scripts receive.
Variant fileObject(const QString& path);
Variant folderObject(const QString& path);

}  // namespace tarvix::scripting
