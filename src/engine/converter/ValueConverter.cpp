#include "engine/converter/ValueConverter.h"

#include "engine/converter/ValueText.h"

namespace tarvix::engine {

const MemberTable<ValueConverter>& ValueConverter::table() {
  static const auto t = MemberTable<ValueConverter>(u"ValueConverter")
                            .method(u"TextToValue", &ValueConverter::textToValueMember, 1, 1)
                            .method(u"ValueToText", &ValueConverter::valueToTextMember, 1, 2);
  return t;
}

Variant ValueConverter::textToValueMember(Call& call) { return textToValue(call.arg(0).toString()); }
Variant ValueConverter::valueToTextMember(Call& call) { return Variant(valueToText(call.arg(0))); }

}  // namespace tarvix::engine
