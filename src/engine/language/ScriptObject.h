#pragma once

#include <vector>

#include "dispatch/DispatchObject.h"
#include "engine/language/Program.h"
#include "engine/language/Runtime.h"

namespace tarvix::script {

// An instance of a script class (New ClassName). Inside the VM its members
// run as frames of the fiber; called from outside (a host object, a
// Dictionary, For Each) they run to completion on the fiber's stack.
class ScriptObject final : public DispatchObject {
 public:
  ScriptObject(Runtime& runtime, const ScriptClass& cls);

  int memberId(QStringView name) const override;
  Variant invoke(int id, CallKind kind, std::span<Variant> args) override;
  QString typeName() const override { return cls_.name; }

  const ScriptClass& scriptClass() const { return cls_; }
  std::vector<Variant>& fields() { return fields_; }
  Runtime& runtime() { return *runtime_; }

 protected:
  void terminate() override;

 private:
  Ref<Runtime> runtime_;
  const ScriptClass& cls_;
  std::vector<Variant> fields_;
};

// Whether an object is a script class instance, without RTTI cost in the VM.
ScriptObject* asScriptObject(DispatchObject* object);

// What GetRef returns: calling its default member calls the procedure.
class ProcedureRef final : public DispatchObject {
 public:
  ProcedureRef(Runtime& runtime, int proc) : runtime_(&runtime), proc_(proc) {}
  int memberId(QStringView name) const override;
  Variant invoke(int id, CallKind kind, std::span<Variant> args) override;
  QString typeName() const override { return QStringLiteral("Object"); }

 private:
  Ref<Runtime> runtime_;
  int proc_;
};

}  // namespace tarvix::script
