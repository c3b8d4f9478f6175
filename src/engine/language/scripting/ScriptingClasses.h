#pragma once

#include "dispatch/ClassRegistry.h"

namespace tarvix::scripting {

// Adds "Scripting.Dictionary" and "Scripting.FileSystemObject".
void registerScriptingClasses(ClassRegistry& registry);

}  // namespace tarvix::scripting
