#include <QHash>

#include "engine/language/builtins/BuiltinSupport.h"

namespace tarvix::builtins {
namespace {

QHash<QString, const Builtin*> buildTable() {
  QHash<QString, const Builtin*> table;
  for (auto group : {conversionBuiltins(), inspectionBuiltins(), stringBuiltins(), formatBuiltins(), mathBuiltins(),
                     dateBuiltins(), arrayBuiltins(), interactionBuiltins()})
    for (const Builtin& b : group) table.insert(b.name.toString().toLower(), &b);
  return table;
}

}  // namespace

const Builtin* findBuiltin(QStringView name) {
  static const QHash<QString, const Builtin*> table = buildTable();
  return table.value(name.toString().toLower(), nullptr);
}

}  // namespace tarvix::builtins
