#include "engine/language/scripting/ScriptingClasses.h"

#include "engine/language/scripting/Dictionary.h"
#include "engine/language/scripting/FileSystemObject.h"

namespace tarvix::scripting {

void registerScriptingClasses(ClassRegistry& registry) {
  registry.add(QStringLiteral("Scripting.Dictionary"), [] { return ObjectRef(new Dictionary); });
  registry.add(QStringLiteral("Scripting.FileSystemObject"), [] { return ObjectRef(new FileSystemObject); });
}

}  // namespace tarvix::scripting
