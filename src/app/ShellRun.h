#pragma once

#include <QString>

namespace tarvix {

// Identifies a started process (its process id); 0 means none.
using ProcessHandle = qint64;

// Opens a file with the desktop's opener, or runs it when it is a program (an
// executable file that starts with "#!" or is an ELF binary). The verbs "open", "edit" and "explore" (and an empty verb) all open;
// Linux has no other shell verbs. The show mode is the opened window's
// business on Linux and is not passed on. The started process outlives the
// program. 0 when the file does not exist, the verb is unknown or nothing
// could be started.
ProcessHandle ShellRun(const QString& verb, const QString& file, int show);

// Returns when the process has ended, letting the event loop run meanwhile so
// the windows stay responsive. Returns at once for 0 or an ended process.
void WaitForProcessEnd(ProcessHandle handle);

}  // namespace tarvix
