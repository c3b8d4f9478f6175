#include "engine/context/VariableHandle.h"

#include "engine/store/VarsStore.h"

namespace tarvix::engine {

const MemberTable<VariableHandle>& VariableHandle::table() {
  static const auto t = MemberTable<VariableHandle>(u"VariableHandle")
                            .get(u"Value", &VariableHandle::value)
                            .let(u"Value", &VariableHandle::setValue)
                            .set(u"Value", &VariableHandle::setValue)
                            .get(u"VarsIndex", &VariableHandle::varsIndex)
                            .let(u"VarsIndex", &VariableHandle::setVarsIndex)
                            .get(u"HandleIndex", &VariableHandle::handleIndexMember)
                            .get(u"HelpText", &VariableHandle::helpText)
                            .get(u"Attribute", &VariableHandle::attribute)
                            .defaultMember(u"Value");
  return t;
}

int VariableHandle::slotIndex() const {
  if (kind_ != Kind::Slot) raiseError(ErrorNumber::ObjectDoesNotSupport);
  return varsIndex_;
}

Variant VariableHandle::value(Call&) {
  switch (kind_) {
    case Kind::SlotCount: return Variant(std::int32_t(store_->count()));
    case Kind::FirstGroupCount: return Variant(std::int32_t(store_->firstGroupCount()));
    case Kind::Slot: break;
  }
  return store_->value(varsIndex_);
}

Variant VariableHandle::setValue(Call& call) {
  if (kind_ != Kind::Slot) raiseError(ErrorNumber::IllegalAssignment);
  store_->setValue(varsIndex_, call.value());
  return {};
}

Variant VariableHandle::varsIndex(Call&) { return Variant(std::int32_t(varsIndex_)); }

Variant VariableHandle::setVarsIndex(Call& call) {
  varsIndex_ = call.value().toLong();
  return {};
}

Variant VariableHandle::handleIndexMember(Call&) { return Variant(std::int32_t(handleIndex_)); }
Variant VariableHandle::helpText(Call&) { return Variant(store_->helpText(slotIndex())); }
Variant VariableHandle::attribute(Call&) { return Variant(std::int32_t(store_->attribute(slotIndex()))); }

}  // namespace tarvix::engine
