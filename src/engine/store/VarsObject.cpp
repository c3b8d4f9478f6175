#include "engine/store/VarsObject.h"

#include "engine/store/VarsStore.h"

namespace tarvix::engine {

const MemberTable<VarsItem>& VarsItem::table() {
  static const auto t = MemberTable<VarsItem>(u"VarsItem")
                            .get(u"Value", &VarsItem::value)
                            .let(u"Value", &VarsItem::setValue)
                            .set(u"Value", &VarsItem::setValue)
                            .get(u"Changed", &VarsItem::changed)
                            .let(u"Changed", &VarsItem::setChanged)
                            .get(u"HelpText", &VarsItem::helpText)
                            .get(u"Index", &VarsItem::index)
                            .defaultMember(u"Value");
  return t;
}

Variant VarsItem::value(Call&) { return store_->value(index_); }
Variant VarsItem::setValue(Call& call) {
  store_->setValue(index_, call.value());
  return {};
}
Variant VarsItem::changed(Call&) { return Variant(store_->changed(index_)); }
Variant VarsItem::setChanged(Call& call) {
  store_->setChanged(index_, call.value().toBool());
  return {};
}
Variant VarsItem::helpText(Call&) { return Variant(store_->helpText(index_)); }
Variant VarsItem::index(Call&) { return Variant(std::int32_t(index_)); }

VarsObject::VarsObject(std::shared_ptr<VarsStore> store)
    : store_(std::move(store)), items_(std::size_t(store_->count())) {}

const MemberTable<VarsObject>& VarsObject::table() {
  static const auto t = MemberTable<VarsObject>(u"Vars")
                            .get(u"Item", &VarsObject::item, 1, 1)
                            .let(u"Item", &VarsObject::setItem, 1, 1)
                            .get(u"Count", &VarsObject::count)
                            .defaultMember(u"Item");
  return t;
}

VarsItem& VarsObject::slot(int index) {
  if (index < 1 || index > store_->count()) raiseError(ErrorNumber::SubscriptOutOfRange);
  Ref<VarsItem>& item = items_[std::size_t(index - 1)];
  if (!item) item = Ref<VarsItem>(new VarsItem(store_, index));
  return *item;
}

Variant VarsObject::item(Call& call) { return Variant(&slot(call.arg(0).toLong())); }

// Vars(n) = x writes the slot's value, as the default member chain reads.
Variant VarsObject::setItem(Call& call) {
  const int index = call.arg(0).toLong();
  slot(index);
  store_->setValue(index, call.value());
  return {};
}

Variant VarsObject::count(Call&) { return Variant(std::int32_t(store_->count())); }

}  // namespace tarvix::engine
