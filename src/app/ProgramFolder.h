#pragma once

#include <QStandardPaths>
#include <QString>

namespace tarvix {

// The folder that holds the settings file, ending with "/": the executable's
// folder when it is writable (a build tree or a portable install), otherwise
// $XDG_CONFIG_HOME/Tarvix.
QString ProgramFolder();
// The folder for the user's own data files (the user bank, Temp.bmp), ending
// with "/": the executable's folder when it is writable, otherwise
// $XDG_DATA_HOME/Tarvix.
QString UserDataFolder();

// executableFolder + "/" when that folder is writable, otherwise the Tarvix
// folder under the given standard location, created when missing.
QString WritableFolderOr(const QString& executableFolder, QStandardPaths::StandardLocation fallback);

// Points ProgramFolder and UserDataFolder at another folder, so that tests
// never write beside the executable; empty text restores the normal choice.
void SetProgramFolderOverride(const QString& folder);

}  // namespace tarvix
