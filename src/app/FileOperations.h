#pragma once

#include <QString>

namespace tarvix {

// True when the path names an existing file or folder.
bool FileExists(const QString& path);
// Copies the file over the target, which is replaced atomically: a failed copy
// leaves an existing target as it was.
bool CopyFile(const QString& source, const QString& target);
// Renames or moves a file or folder. 0 on success, otherwise an errno code
// (EEXIST when the new path is taken: nothing is overwritten).
int RenameFile(const QString& oldPath, const QString& newPath);
// Deletes a file, a symbolic link or a folder with its contents, at once and
// for good. 0 on success, otherwise an errno code.
int DeleteFile(const QString& path);

}  // namespace tarvix
