#include "engine/language/ErrObject.h"

namespace tarvix::script {

const MemberTable<ErrObject>& ErrObject::table() {
  static const auto t = MemberTable<ErrObject>(u"ErrObject")
                            .get(u"Number", &ErrObject::getNumber)
                            .let(u"Number", &ErrObject::setNumber)
                            .get(u"Description", &ErrObject::getDescription)
                            .let(u"Description", &ErrObject::setDescription)
                            .get(u"Source", &ErrObject::getSource)
                            .let(u"Source", &ErrObject::setSource)
                            .method(u"Raise", &ErrObject::raise, 1, 5)
                            .method(u"Clear", &ErrObject::clearMember)
                            .defaultMember(u"Number");
  return t;
}

void ErrObject::set(int number, const QString& description, const QString& source) {
  number_ = number;
  description_ = description;
  source_ = source;
}

Variant ErrObject::getNumber(Call&) { return Variant(static_cast<std::int32_t>(number_)); }
Variant ErrObject::setNumber(Call& call) {
  number_ = call.value().toLong();
  return {};
}
Variant ErrObject::getDescription(Call&) { return Variant(description_); }
Variant ErrObject::setDescription(Call& call) {
  description_ = call.value().toString();
  return {};
}
Variant ErrObject::getSource(Call&) { return Variant(source_); }
Variant ErrObject::setSource(Call& call) {
  source_ = call.value().toString();
  return {};
}

// Err.Raise number, [source], [description]: an error the script raises
// itself; a description left out is the standard text of the number.
Variant ErrObject::raise(Call& call) {
  const int number = call.arg(0).toLong();
  if (number == 0) raiseError(ErrorNumber::InvalidProcedureCall);
  const QString source = call.has(1) ? call.arg(1).toString() : QString();
  const QString description = call.has(2) ? call.arg(2).toString() : standardErrorText(number);
  throw AutomationError(number, description, source);
}

Variant ErrObject::clearMember(Call&) {
  clear();
  return {};
}

}  // namespace tarvix::script
