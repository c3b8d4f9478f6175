#include "TestVars.h"

namespace tarvix::test {

int TestVar::memberId(QStringView name) const {
  if (name.compare(u"Value", Qt::CaseInsensitive) == 0 || name.isEmpty()) return DispId::Value;
  if (name.compare(u"Changed", Qt::CaseInsensitive) == 0) return 1;
  return DispId::Unknown;
}

Variant TestVar::invoke(int id, CallKind kind, std::span<Variant> args) {
  const bool put = kind == CallKind::PropertyLet || kind == CallKind::PropertySet;
  if (id == DispId::Value) {
    if (!put) return value;
    value = args.back().deref();
    changed = true;
    return {};
  }
  if (!put) return Variant(changed);
  changed = args.back().deref().toBool();
  return {};
}

TestVars::TestVars(int count) {
  for (int i = 0; i < count; ++i) vars_.emplace_back(new TestVar);
}

int TestVars::memberId(QStringView name) const {
  return name.isEmpty() || name.compare(u"Item", Qt::CaseInsensitive) == 0 ? DispId::Value : DispId::Unknown;
}

Variant TestVars::invoke(int id, CallKind, std::span<Variant> args) {
  if (id != DispId::Value) raiseError(ErrorNumber::ObjectDoesNotSupport);
  checkArgumentCount(args.size(), 1, 1);
  const int n = args[0].deref().toLong();
  if (n < 0 || n >= static_cast<int>(vars_.size())) raiseError(ErrorNumber::SubscriptOutOfRange);
  return Variant(static_cast<DispatchObject*>(vars_[n].get()));
}

}  // namespace tarvix::test
