#include "dispatch/DispatchObject.h"

namespace tarvix {

std::vector<Variant> DispatchObject::enumerate() { raiseError(ErrorNumber::ObjectNotACollection); }

Variant DispatchObject::call(QStringView name, CallKind kind, std::span<Variant> args) {
  const int id = memberId(name);
  if (id == DispId::Unknown) raiseError(ErrorNumber::ObjectDoesNotSupport);
  return invoke(id, kind, args);
}

Variant DispatchObject::call(QStringView name, CallKind kind, std::initializer_list<Variant> args) {
  std::vector<Variant> copy(args);
  return call(name, kind, std::span<Variant>(copy));
}

void DispatchObject::finalRelease() {
  refs_ = 1;
  try {
    terminate();
  } catch (const AutomationError&) {
  }
  if (--refs_ == 0) delete this;
}

void checkArgumentCount(std::size_t count, int minArgs, int maxArgs) {
  if (static_cast<int>(count) < minArgs || (maxArgs >= 0 && static_cast<int>(count) > maxArgs))
    raiseError(ErrorNumber::WrongArgumentCount);
}

}  // namespace tarvix
