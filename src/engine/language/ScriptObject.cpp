#include "engine/language/ScriptObject.h"

#include <typeinfo>

#include "dispatch/SafeArray.h"
#include "engine/language/Execution.h"

namespace tarvix::script {

ScriptObject::ScriptObject(Runtime& runtime, const ScriptClass& cls)
    : runtime_(&runtime), cls_(cls), fields_(cls.fieldNames.size()) {
  for (const ScriptClass::FieldArray& fa : cls.fieldArrays) {
    std::vector<SafeArray::Bound> bounds;
    for (std::int32_t upper : fa.upperBounds) bounds.push_back({0, upper + 1});
    fields_[fa.field] = Variant(new SafeArray(VarType::Variant, std::move(bounds)));
  }
}

ScriptObject* asScriptObject(DispatchObject* object) {
  return typeid(*object) == typeid(ScriptObject) ? static_cast<ScriptObject*>(object) : nullptr;
}

int ScriptObject::memberId(QStringView name) const {
  const int id = cls_.memberIdOf(name);
  if (id <= 0) return DispId::Unknown;
  if (name.isEmpty()) return DispId::Value;
  return cls_.members[id - 1].isPublic ? id : DispId::Unknown;
}

Variant ScriptObject::invoke(int id, CallKind kind, std::span<Variant> args) {
  if (id == DispId::Value) id = cls_.defaultMember;
  if (id <= 0 || id > static_cast<int>(cls_.members.size())) raiseError(ErrorNumber::ObjectDoesNotSupport);
  const ScriptClass::Member& m = cls_.members[id - 1];
  if (m.field >= 0) {
    Variant& field = fields_[m.field];
    if (kind == CallKind::PropertyLet || kind == CallKind::PropertySet) {
      if (args.size() != 1) raiseError(ErrorNumber::WrongArgumentCount);
      Variant value = args[0].deref();
      if (kind == CallKind::PropertyLet && value.isObject()) value = value.resolved();
      field = std::move(value);
      return {};
    }
    if (args.empty()) return field;
    if (!field.isArray()) raiseError(ErrorNumber::TypeMismatch);
    std::vector<std::int32_t> indices;
    for (const Variant& a : args) indices.push_back(a.deref().toLong());
    return field.rawArray().at(indices);
  }
  int proc = m.get;
  if (kind == CallKind::PropertyLet) proc = m.let >= 0 ? m.let : m.set;
  else if (kind == CallKind::PropertySet) proc = m.set >= 0 ? m.set : m.let;
  if (proc < 0) raiseError(ErrorNumber::ObjectDoesNotSupport);
  Ref<ScriptObject> keep(this);
  return runtime_->fiber().callNested(proc, this, args);
}

void ScriptObject::terminate() {
  if (cls_.terminate >= 0) runtime_->fiber().callNested(cls_.terminate, this, {});
}

int ProcedureRef::memberId(QStringView name) const { return name.isEmpty() ? DispId::Value : DispId::Unknown; }

Variant ProcedureRef::invoke(int id, CallKind, std::span<Variant> args) {
  if (id != DispId::Value) raiseError(ErrorNumber::ObjectDoesNotSupport);
  return runtime_->fiber().callNested(proc_, nullptr, args);
}

}  // namespace tarvix::script
