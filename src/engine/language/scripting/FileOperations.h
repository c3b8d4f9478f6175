#pragma once

#include <QString>

// File-system operations behind FileSystemObject, File and Folder. Paths are
// native; failures raise the errors scripts know (53 file not found, 58 file
// already exists, 70 permission denied, 76 path not found).
namespace tarvix::scripting {

void createFolder(const QString& path);
// Source may hold wildcards in its last component; a destination ending with
// a separator is a folder that receives the files under their own names.
void copyFiles(const QString& source, const QString& destination, bool overwrite);
void moveFiles(const QString& source, const QString& destination);
void deleteFiles(const QString& spec, bool force);
void copyFolders(const QString& source, const QString& destination, bool overwrite);
void moveFolders(const QString& source, const QString& destination);
void deleteFolders(const QString& spec, bool force);

}  // namespace tarvix::scripting
