#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tarvix {
namespace {

QString overrideFolder;

QString withTrailingSlash(const QString& folder) {
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString chosenFolder(QStandardPaths::StandardLocation fallback) {
  if (!overrideFolder.isEmpty()) return overrideFolder;
  return WritableFolderOr(QCoreApplication::applicationDirPath(), fallback);
}

}  // namespace

QString WritableFolderOr(const QString& executableFolder, QStandardPaths::StandardLocation fallback) {
  const QFileInfo info(executableFolder);
  if (!executableFolder.isEmpty() && info.isDir() && info.isWritable()) return withTrailingSlash(executableFolder);
  const QString folder = QStandardPaths::writableLocation(fallback) + QStringLiteral("/Tarvix");
  QDir().mkpath(folder);
  return withTrailingSlash(folder);
}

QString ProgramFolder() { return chosenFolder(QStandardPaths::GenericConfigLocation); }

QString UserDataFolder() { return chosenFolder(QStandardPaths::GenericDataLocation); }

void SetProgramFolderOverride(const QString& folder) {
  overrideFolder = folder.isEmpty() ? QString() : withTrailingSlash(folder);
}

}  // namespace tarvix
