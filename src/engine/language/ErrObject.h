#pragma once

#include "dispatch/DispatchClass.h"

namespace tarvix::script {

// The Err object: the last error caught under On Error Resume Next.
class ErrObject final : public DispatchClass<ErrObject> {
 public:
  static const MemberTable<ErrObject>& table();

  void set(int number, const QString& description, const QString& source);
  void clear() { set(0, QString(), QString()); }
  int number() const { return number_; }

 private:
  Variant getNumber(Call& call);
  Variant setNumber(Call& call);
  Variant getDescription(Call& call);
  Variant setDescription(Call& call);
  Variant getSource(Call& call);
  Variant setSource(Call& call);
  Variant raise(Call& call);
  Variant clearMember(Call& call);

  int number_ = 0;
  QString description_;
  QString source_;
};

}  // namespace tarvix::script
