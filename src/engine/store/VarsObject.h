#pragma once

#include <memory>
#include <vector>

#include "dispatch/DispatchClass.h"

namespace tarvix::engine {

class VarsStore;

// One slot as scripts see it: Vars(n).Value (the default member) and
// Vars(n).Changed, plus its HelpText.
class VarsItem final : public DispatchClass<VarsItem> {
 public:
  VarsItem(std::shared_ptr<VarsStore> store, int index) : store_(std::move(store)), index_(index) {}
  static const MemberTable<VarsItem>& table();

 private:
  Variant value(Call&);
  Variant setValue(Call& call);
  Variant changed(Call&);
  Variant setChanged(Call& call);
  Variant helpText(Call&);
  Variant index(Call&);

  std::shared_ptr<VarsStore> store_;
  int index_;
};

// The "Vars" object every script sees: Vars(n) gives slot n (error 9 outside
// 1 .. Count). Slot objects are made once and reused, so a polling loop does
// not allocate.
class VarsObject final : public DispatchClass<VarsObject> {
 public:
  explicit VarsObject(std::shared_ptr<VarsStore> store);
  static const MemberTable<VarsObject>& table();

  VarsStore& store() const { return *store_; }

 private:
  Variant item(Call& call);
  Variant setItem(Call& call);
  Variant count(Call&);
  VarsItem& slot(int index);

  std::shared_ptr<VarsStore> store_;
  std::vector<Ref<VarsItem>> items_;
};

}  // namespace tarvix::engine
