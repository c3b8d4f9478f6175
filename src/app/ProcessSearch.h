#pragma once

#include <QString>

namespace tarvix {

// True when a running process was started from an executable of that file
// name. Names compare without letter case, and a trailing ".exe" on either
// side is ignored, so "IxoScript.exe" finds a running "ixoscript". Processes
// whose executable cannot be read (other users', kernel threads) are skipped.
bool FindProcess(const QString& executableName);

}  // namespace tarvix
