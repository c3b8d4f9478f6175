#include "engine/language/scripting/FilePaths.h"

#include <QDir>
#include <QFileInfo>

namespace tarvix::scripting {
namespace {

bool isSeparator(QChar c) { return c == u'/' || c == u'\\'; }

QString withoutTrailingSeparators(const QString& path) {
  qsizetype end = path.size();
  while (end > 1 && isSeparator(path[end - 1])) --end;
  return path.left(end);
}

qsizetype lastSeparator(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 0; --i)
    if (isSeparator(path[i])) return i;
  return -1;
}

}  // namespace

QString nativePath(const QString& path) {
  QString p = path;
  p.replace(u'\\', u'/');
  return p;
}

bool endsWithSeparator(const QString& path) { return !path.isEmpty() && isSeparator(path.back()); }

bool hasWildcards(const QString& path) { return lastComponent(path).contains(u'*') || lastComponent(path).contains(u'?'); }

QString lastComponent(const QString& path) {
  const QString p = withoutTrailingSeparators(path);
  if (p.size() == 1 && isSeparator(p[0])) return {};
  return p.mid(lastSeparator(p) + 1);
}

QString baseName(const QString& path) {
  const QString name = lastComponent(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? name : name.left(dot);
}

QString extensionName(const QString& path) {
  const QString name = lastComponent(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? QString() : name.mid(dot + 1);
}

QString parentFolderName(const QString& path) {
  const QString p = withoutTrailingSeparators(path);
  const qsizetype sep = lastSeparator(p);
  if (sep < 0) return {};
  if (sep == 0) return p.left(1);
  return withoutTrailingSeparators(p.left(sep));
}

// Joins with the separator the path already uses ("/" by default).
QString buildPath(const QString& path, const QString& name) {
  if (path.isEmpty()) return name;
  if (endsWithSeparator(path) || (!name.isEmpty() && isSeparator(name[0]))) return path + name;
  const QChar separator = path.contains(u'\\') && !path.contains(u'/') ? u'\\' : u'/';
  return path + separator + name;
}

QStringList matchingEntries(const QString& pattern, EntryKind kind) {
  const QString native = nativePath(pattern);
  const QFileInfo info(native);
  QDir dir = info.dir();
  const QDir::Filters filters = (kind == EntryKind::Files ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot) |
                                QDir::Hidden | QDir::System;
  QStringList result;
  for (const QString& name : dir.entryList({info.fileName()}, filters, QDir::Name))
    result << dir.filePath(name);
  return result;
}

}  // namespace tarvix::scripting
