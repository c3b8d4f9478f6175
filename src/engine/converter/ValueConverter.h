#pragma once

#include "dispatch/DispatchClass.h"

namespace tarvix::engine {

// The value converter as an automation object: TextToValue(text) and
// ValueToText(value, format) in the type-and-text form of ValueText.h. The
// format argument is accepted for the caller's sake; 0 is the only form.
class ValueConverter final : public DispatchClass<ValueConverter> {
 public:
  static const MemberTable<ValueConverter>& table();

 private:
  Variant textToValueMember(Call& call);
  Variant valueToTextMember(Call& call);
};

}  // namespace tarvix::engine
