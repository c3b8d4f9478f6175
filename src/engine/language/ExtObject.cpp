#include "engine/language/ExtObject.h"

#include "engine/language/Execution.h"
#include "engine/language/Runtime.h"

namespace tarvix::script {

const MemberTable<ExtObject>& ExtObject::table() {
  static const auto t = MemberTable<ExtObject>(u"Ext")
                            .method(u"Delay", &ExtObject::delay, 0, 1)
                            .method(u"Print", &ExtObject::print, 0, 1);
  return t;
}

Variant ExtObject::delay(Call& call) {
  const double ms = call.has(0) ? call.arg(0).toDouble() : 0.0;
  if (ms < 0) raiseError(ErrorNumber::InvalidProcedureCall);
  if (runtime_) runtime_->fiber().requestDelay(static_cast<long long>(ms));
  return {};
}

Variant ExtObject::print(Call& call) {
  const QString text = call.has(0) ? call.arg(0).toString() : QString();
  if (runtime_ && runtime_->output) runtime_->output(text);
  return {};
}

}  // namespace tarvix::script
