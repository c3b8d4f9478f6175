#pragma once

#include "dispatch/DispatchClass.h"

namespace tarvix::script {

class Runtime;

// "Ext": Ext.Delay ms suspends the calling fiber until the wake time
// (0 only yields); Ext.Print text goes to the script's output.
class ExtObject final : public DispatchClass<ExtObject> {
 public:
  explicit ExtObject(Runtime& runtime) : runtime_(&runtime) {}
  static const MemberTable<ExtObject>& table();
  // Cuts the link when the runtime goes away.
  void detach() { runtime_ = nullptr; }

 private:
  Variant delay(Call& call);
  Variant print(Call& call);

  Runtime* runtime_;
};

}  // namespace tarvix::script
