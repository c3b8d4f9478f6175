#pragma once

#include <QString>
#include <memory>

namespace tarvix::engine {

class VarsStore;

// The one Vars store that every engine root of the process shares, so the
// Vars editor, the main window and the scripts all see the same slots. It is
// made on first use, keeping its first group in the user's data folder, and
// ends when the last root or instance holding it ends.
std::shared_ptr<VarsStore> processVarsStore();
// Makes `store` the process store (tests use one in a temporary folder);
// roots made earlier keep the store they had.
void setProcessVarsStore(std::shared_ptr<VarsStore> store);
// $XDG_DATA_HOME/Tarvix (or the platform's equivalent).
QString defaultVarsFolder();

}  // namespace tarvix::engine
