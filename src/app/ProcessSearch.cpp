#include "app/ProcessSearch.h"

#include <algorithm>

#include <QDir>
#include <QFile>

#include "app/PathParts.h"

namespace tarvix {
namespace {

QString comparableName(QString name) {
  name = name.toCaseFolded();
  if (name.endsWith(QStringLiteral(".exe"))) name.chop(4);
  return name;
}

bool isProcessFolder(const QString& name) {
  return !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.isDigit(); });
}

QString executableOf(const QString& processFolder) {
  static const QString deletedMark = QStringLiteral(" (deleted)");
  QString target = QFile::symLinkTarget(processFolder + QStringLiteral("/exe"));
  if (target.endsWith(deletedMark)) target.chop(deletedMark.size());
  return target;
}

}  // namespace

bool FindProcess(const QString& executableName) {
  const QString wanted = comparableName(executableName);
  if (wanted.isEmpty()) return false;
  const QDir proc(QStringLiteral("/proc"));
  const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    if (!isProcessFolder(entry)) continue;
    const QString executable = executableOf(proc.filePath(entry));
    if (!executable.isEmpty() && comparableName(FileNamePart(executable)) == wanted) return true;
  }
  return false;
}

}  // namespace tarvix
