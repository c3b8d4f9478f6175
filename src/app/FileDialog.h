#pragma once

#include <QString>

namespace tarvix {

namespace FileDialogMode {
enum : int { Open = 0, Save = 1 };
}
namespace FileDialogFlags {
enum : int { OverwritePrompt = 2, HideReadOnly = 4 };
}

// Asks for a file through the prompt service: mode 0 opens (title text 210),
// mode 1 saves (title text 211; flag 2 asks before overwriting). The filter is
// in Qt's syntax ("Scripts (*.vbs *.vbe);;All files (*)"). An empty initial
// folder starts in the program folder. The chosen full path, or empty text
// when cancelled or for any other mode.
QString ShowFileDialog(int mode, const QString& filter, const QString& initialFolder, int flags = 0);

}  // namespace tarvix
