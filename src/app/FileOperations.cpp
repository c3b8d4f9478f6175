#include "app/FileOperations.h"

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvix {

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

bool CopyFile(const QString& source, const QString& target) {
  QFile input(source);
  if (!QFileInfo(source).isFile() || !input.open(QIODevice::ReadOnly)) return false;
  QSaveFile output(target);
  if (!output.open(QIODevice::WriteOnly)) return false;
  constexpr qint64 kChunk = 1 << 16;
  while (!input.atEnd()) {
    const QByteArray chunk = input.read(kChunk);
    if (chunk.isEmpty() && input.error() != QFileDevice::NoError) return false;
    if (output.write(chunk) != chunk.size()) return false;
  }
  return output.commit();
}

int RenameFile(const QString& oldPath, const QString& newPath) {
  const QFileInfo from(oldPath);
  if (oldPath.isEmpty() || (!from.exists() && !from.isSymLink())) return ENOENT;
  if (newPath.isEmpty()) return EINVAL;
  if (QFileInfo(newPath).exists() || QFileInfo(newPath).isSymLink()) return EEXIST;
  const bool moved = from.isDir() && !from.isSymLink() ? QDir().rename(oldPath, newPath)
                                                       : QFile::rename(oldPath, newPath);
  return moved ? 0 : EIO;
}

int DeleteFile(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || (!info.exists() && !info.isSymLink())) return ENOENT;
  // A link is removed itself; its target and the target's contents stay.
  const bool removed = info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
  return removed ? 0 : EIO;
}

}  // namespace tarvix
