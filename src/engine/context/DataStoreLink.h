#pragma once

#include <QMap>
#include <memory>

#include "dispatch/DispatchClass.h"
#include "engine/context/VariableHandle.h"

namespace tarvix::engine {

class VarsStore;

// A link to a context's data store (ConnectDataStore). It opens variable
// handles and answers the store's command words (DataCommand):
//
//   "ClearVarsHelp", "ClearVarsMacro"   no parameter   every slot's text emptied
//   "GetVarsHelp", "GetVarsMacro"       slot           the text
//   "PutVarsHelp", "PutVarsMacro"       (slot, text)   sets the text
//   "PutVarsAttribute"                  (slot, bits)   sets the bits; slot -1: every slot
//   "GetVarsStates"                     slot           (value, bits, help text, macro text)
//
// A pair is an array of two elements. Words are compared without letter
// case; an unknown word raises error 5, a slot out of range error 9.
class DataStoreLink final : public DispatchClass<DataStoreLink> {
 public:
  explicit DataStoreLink(std::shared_ptr<VarsStore> store) : store_(std::move(store)) {}
  static const MemberTable<DataStoreLink>& table();

  Ref<VariableHandle> openVariable(const QString& name);
  Variant dataCommand(const QString& word, const Variant& parameter);
  // The handle with that HandleIndex, or none.
  VariableHandle* handle(int handleIndex) const;
  // False when no handle has that index.
  bool removeHandle(int handleIndex);
  const QMap<int, Ref<VariableHandle>>& handles() const { return handles_; }

 private:
  Variant variables(Call&);
  Variant openVariableMember(Call& call);
  Variant dataCommandMember(Call& call);

  std::shared_ptr<VarsStore> store_;
  QMap<int, Ref<VariableHandle>> handles_;  // by HandleIndex
  int nextHandleIndex_ = 1;
};

// The Variables list of a link: Item(HandleIndex) (default), Remove, Count.
class HandleList final : public DispatchClass<HandleList> {
 public:
  explicit HandleList(Ref<DataStoreLink> link) : link_(std::move(link)) {}
  static const MemberTable<HandleList>& table();
  std::vector<Variant> enumerate() override;

 private:
  Variant item(Call& call);
  Variant remove(Call& call);
  Variant count(Call&);

  Ref<DataStoreLink> link_;
};

}  // namespace tarvix::engine
