#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "dispatch/DispatchObject.h"
#include "engine/language/Script.h"

namespace tarvix::test {

// What a script printed (Ext.Print lines and message-box prompts, in order)
// and how it ended.
struct ScriptRun {
  QStringList output;
  script::FiberState state = script::FiberState::Idle;
  script::ScriptError error;  // compile or runtime error
  bool compiled = false;
};

// Compiles the modules as one script and runs it to its end in-process,
// with message boxes answered by their first button.
ScriptRun runScript(const QStringList& modules, const QString& startup = {},
                    const std::vector<std::pair<QString, DispatchObject*>>& objects = {});
inline ScriptRun runScript(const QString& source) { return runScript(QStringList{source}); }

}  // namespace tarvix::test
