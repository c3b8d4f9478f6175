#pragma once

#include <memory>

#include "dispatch/DispatchClass.h"

namespace tarvix::engine {

class VarsStore;

// A handle a data-store link opened on one variable name:
//   "@VARS"        one slot, chosen by VarsIndex: Value reads and writes it,
//                  HelpText and Attribute read its help text and bits
//   "@VARS_MAX"    Value is the number of slots (read only)
//   "@VARSDB_MAX"  Value is the number of slots in the first group (read only)
// HandleIndex is the handle's number in its link's Variables list.
class VariableHandle final : public DispatchClass<VariableHandle> {
 public:
  enum class Kind { Slot, SlotCount, FirstGroupCount };

  VariableHandle(std::shared_ptr<VarsStore> store, Kind kind, int handleIndex)
      : store_(std::move(store)), kind_(kind), handleIndex_(handleIndex) {}
  static const MemberTable<VariableHandle>& table();

  int handleIndex() const { return handleIndex_; }

 private:
  Variant value(Call&);
  Variant setValue(Call& call);
  Variant varsIndex(Call&);
  Variant setVarsIndex(Call& call);
  Variant handleIndexMember(Call&);
  Variant helpText(Call&);
  Variant attribute(Call&);
  int slotIndex() const;

  std::shared_ptr<VarsStore> store_;
  Kind kind_;
  int handleIndex_;
  int varsIndex_ = 0;
};

}  // namespace tarvix::engine
