#include "app/PathParts.h"

#include <algorithm>

namespace tarvix {
namespace {

qsizetype lastSeparator(const QString& path) {
  return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

}  // namespace

QString FileNamePart(const QString& path) { return path.mid(lastSeparator(path) + 1); }

QString FolderPart(const QString& path) { return path.left(lastSeparator(path) + 1); }

QString GetExtension(const QString& path) {
  const qsizetype dot = path.lastIndexOf(u'.');
  return dot < 0 ? path : path.mid(dot + 1);
}

QString ChangeExtension(const QString& path, const QString& extension) {
  // A separator in the first position is a root, not the end of a folder
  // name; without a folder, a leading dot does not start an extension.
  const qsizetype separator = lastSeparator(path);
  const qsizetype nameStart = separator >= 1 ? separator + 1 : 1;
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot < nameStart) return path + u'.' + extension;
  return path.left(dot + 1) + extension;
}

}  // namespace tarvix
