#include "engine/context/DataStoreLink.h"

#include "dispatch/SafeArray.h"
#include "engine/context/VariableHandle.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {

namespace {

// The two elements of a pair parameter, whatever its lower bound.
std::pair<Variant, Variant> pairOf(const Variant& parameter) {
  const Variant& value = parameter.deref();
  if (!value.isArray() || value.rawArray().size() != 2) raiseError(ErrorNumber::TypeMismatch);
  const auto& data = value.rawArray().data();
  return {data[0], data[1]};
}

}  // namespace

const MemberTable<DataStoreLink>& DataStoreLink::table() {
  static const auto t = MemberTable<DataStoreLink>(u"DataStoreLink")
                            .get(u"Variables", &DataStoreLink::variables)
                            .method(u"OpenVariable", &DataStoreLink::openVariableMember, 1, 2)
                            .method(u"DataCommand", &DataStoreLink::dataCommandMember, 1, 2);
  return t;
}

Ref<VariableHandle> DataStoreLink::openVariable(const QString& name) {
  VariableHandle::Kind kind;
  if (name.compare(u"@VARS", Qt::CaseInsensitive) == 0)
    kind = VariableHandle::Kind::Slot;
  else if (name.compare(u"@VARS_MAX", Qt::CaseInsensitive) == 0)
    kind = VariableHandle::Kind::SlotCount;
  else if (name.compare(u"@VARSDB_MAX", Qt::CaseInsensitive) == 0)
    kind = VariableHandle::Kind::FirstGroupCount;
  else
    raiseError(ErrorNumber::InvalidProcedureCall, QStringLiteral("Unknown variable name: %1").arg(name));
  const int index = nextHandleIndex_++;
  Ref<VariableHandle> handle(new VariableHandle(store_, kind, index));
  handles_.insert(index, handle);
  return handle;
}

Variant DataStoreLink::dataCommand(const QString& word, const Variant& parameter) {
  auto is = [&](QStringView name) { return word.compare(name, Qt::CaseInsensitive) == 0; };
  VarsStore& store = *store_;
  if (is(u"ClearVarsHelp")) {
    store.clearHelpTexts();
  } else if (is(u"ClearVarsMacro")) {
    store.clearMacroTexts();
  } else if (is(u"GetVarsHelp")) {
    return Variant(store.helpText(parameter.toLong()));
  } else if (is(u"GetVarsMacro")) {
    return Variant(store.macroText(parameter.toLong()));
  } else if (is(u"PutVarsHelp")) {
    const auto [slot, text] = pairOf(parameter);
    store.setHelpText(slot.toLong(), text.toString());
  } else if (is(u"PutVarsMacro")) {
    const auto [slot, text] = pairOf(parameter);
    store.setMacroText(slot.toLong(), text.toString());
  } else if (is(u"PutVarsAttribute")) {
    const auto [slot, bits] = pairOf(parameter);
    if (slot.toLong() == -1)
      store.setAllAttributes(bits.toLong());
    else
      store.setAttribute(slot.toLong(), bits.toLong());
  } else if (is(u"GetVarsStates")) {
    const int slot = parameter.toLong();
    return makeArray({store.value(slot), Variant(std::int32_t(store.attribute(slot))), Variant(store.helpText(slot)),
                      Variant(store.macroText(slot))});
  } else {
    raiseError(ErrorNumber::InvalidProcedureCall, QStringLiteral("Unknown data command: %1").arg(word));
  }
  return {};
}

VariableHandle* DataStoreLink::handle(int handleIndex) const { return handles_.value(handleIndex).get(); }

bool DataStoreLink::removeHandle(int handleIndex) { return handles_.remove(handleIndex) > 0; }

Variant DataStoreLink::variables(Call&) { return Variant(new HandleList(Ref<DataStoreLink>(this))); }

Variant DataStoreLink::openVariableMember(Call& call) { return Variant(openVariable(call.arg(0).toString())); }

Variant DataStoreLink::dataCommandMember(Call& call) {
  return dataCommand(call.arg(0).toString(), call.argOr(1, Variant()));
}

const MemberTable<HandleList>& HandleList::table() {
  static const auto t = MemberTable<HandleList>(u"Variables")
                            .get(u"Item", &HandleList::item, 1, 1)
                            .method(u"Remove", &HandleList::remove, 1, 1)
                            .get(u"Count", &HandleList::count)
                            .defaultMember(u"Item");
  return t;
}

std::vector<Variant> HandleList::enumerate() {
  std::vector<Variant> handles;
  for (const auto& handle : link_->handles()) handles.emplace_back(handle.get());
  return handles;
}

Variant HandleList::item(Call& call) {
  VariableHandle* handle = link_->handle(call.arg(0).toLong());
  if (!handle) raiseError(ErrorNumber::SubscriptOutOfRange);
  return Variant(handle);
}

Variant HandleList::remove(Call& call) {
  if (!link_->removeHandle(call.arg(0).toLong())) raiseError(ErrorNumber::SubscriptOutOfRange);
  return {};
}

Variant HandleList::count(Call&) { return Variant(std::int32_t(link_->handles().size())); }

}  // namespace tarvix::engine
