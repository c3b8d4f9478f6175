#include "engine/language/Program.h"

#include "dispatch/AutomationError.h"

namespace tarvix::script {

int ScriptClass::memberIdOf(QStringView name) const {
  if (name.isEmpty()) return defaultMember;
  return memberIds.value(name.toString().toLower(), -1);
}

const Globals::Entry* Globals::find(QStringView name) const {
  auto it = entries_.constFind(name.toString().toLower());
  return it == entries_.constEnd() ? nullptr : &*it;
}

int Globals::addVariable(const QString& name) {
  const QString key = name.toLower();
  auto it = entries_.constFind(key);
  if (it != entries_.constEnd() && it->kind == Entry::Kind::Variable) return it->index;
  if (variableCount_ >= (1 << 20)) raiseError(ErrorNumber::OutOfMemory);
  const int index = variableCount_++;
  if ((index >> kChunkBits) >= static_cast<int>(chunks_.size()))
    chunks_.push_back(std::make_unique<Variant[]>(kChunkSize));
  entries_.insert(key, {Entry::Kind::Variable, index});
  variableNames_ << name;
  return index;
}

void Globals::addConstant(const QString& name, const Variant& value) {
  constants_.push_back(value);
  entries_.insert(name.toLower(), {Entry::Kind::Constant, static_cast<int>(constants_.size()) - 1});
}

void Globals::addProcedure(const QString& name, int proc) {
  entries_.insert(name.toLower(), {Entry::Kind::Procedure, proc});
}

void Globals::addClass(const QString& name, int cls) { entries_.insert(name.toLower(), {Entry::Kind::Class, cls}); }

}  // namespace tarvix::script
