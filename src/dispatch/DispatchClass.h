#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "dispatch/DispatchObject.h"

namespace tarvix {

// Arguments of one call as a table handler sees them.
class Call {
 public:
  Call(CallKind kind, std::span<Variant> args, std::size_t argCount) : kind_(kind), args_(args), count_(argCount) {}

  CallKind kind() const { return kind_; }
  // Number of arguments, without the value of a let/set.
  std::size_t count() const { return count_; }
  // Whether argument i was passed (present and not Variant::missing()).
  bool has(std::size_t i) const { return i < count_ && !args_[i].deref().isMissing(); }
  // Argument i's value (a by-reference argument read through).
  const Variant& arg(std::size_t i) const { return args_[i].deref(); }
  // Argument i or a default when it was not passed.
  Variant argOr(std::size_t i, const Variant& fallback) const { return has(i) ? arg(i) : fallback; }
  // Writes back to a by-reference argument (ignored for a by-value one).
  void setArg(std::size_t i, const Variant& value) {
    if (args_[i].isByRef()) args_[i].assign(value);
  }
  // The value assigned by a let or set.
  const Variant& value() const { return args_[count_].deref(); }

 private:
  CallKind kind_;
  std::span<Variant> args_;
  std::size_t count_;
};

// Members of a C++ class that scripts call, declared as a table:
//
//   static const MemberTable<Dictionary>& table() {
//     static const auto t = MemberTable<Dictionary>(u"Dictionary")
//         .get(u"Count", &Dictionary::count)
//         .get(u"Item", &Dictionary::item, 1, 1).let(u"Item", &Dictionary::setItem, 1, 1)
//         .method(u"Add", &Dictionary::add, 2, 2)
//         .defaultMember(u"Item");
//     return t;
//   }
//
// A member read as a property may also be called as a method and the other
// way round, as scripts do both. Arguments outside [min, max] raise 450;
// max < 0 means no limit.
template <class T>
class MemberTable {
 public:
  using Handler = Variant (T::*)(Call&);

  explicit MemberTable(QStringView typeName) : typeName_(typeName.toString()) {}

  MemberTable&& method(QStringView name, Handler h, int minArgs = 0, int maxArgs = 0) && {
    return add(name, CallKind::Method, h, minArgs, maxArgs);
  }
  MemberTable&& get(QStringView name, Handler h, int minArgs = 0, int maxArgs = 0) && {
    return add(name, CallKind::PropertyGet, h, minArgs, maxArgs);
  }
  MemberTable&& let(QStringView name, Handler h, int minArgs = 0, int maxArgs = 0) && {
    return add(name, CallKind::PropertyLet, h, minArgs, maxArgs);
  }
  MemberTable&& set(QStringView name, Handler h, int minArgs = 0, int maxArgs = 0) && {
    return add(name, CallKind::PropertySet, h, minArgs, maxArgs);
  }
  MemberTable&& defaultMember(QStringView name) && {
    defaultIndex_ = ids_.value(name.toString().toLower(), DispId::Unknown);
    return std::move(*this);
  }

  const QString& typeName() const { return typeName_; }

  int memberId(QStringView name) const {
    if (name.isEmpty()) return defaultIndex_ == DispId::Unknown ? DispId::Unknown : DispId::Value;
    return ids_.value(name.toString().toLower(), DispId::Unknown);
  }

  Variant invoke(T& self, int id, CallKind kind, std::span<Variant> args) const {
    if (id == DispId::Value) id = defaultIndex_;
    if (id < 1 || id > static_cast<int>(members_.size())) raiseError(ErrorNumber::ObjectDoesNotSupport);
    const Member& m = members_[id - 1];
    const Slot* slot = &m.byKind[slotOf(kind)];
    if (!slot->handler && kind == CallKind::Method) slot = &m.byKind[slotOf(CallKind::PropertyGet)];
    if (!slot->handler && kind == CallKind::PropertyGet) slot = &m.byKind[slotOf(CallKind::Method)];
    if (!slot->handler) raiseError(ErrorNumber::ObjectDoesNotSupport);
    const bool assigns = kind == CallKind::PropertyLet || kind == CallKind::PropertySet;
    if (assigns && args.empty()) raiseError(ErrorNumber::WrongArgumentCount);
    const std::size_t count = args.size() - (assigns ? 1 : 0);
    checkArgumentCount(count, slot->minArgs, slot->maxArgs);
    Call call(kind, args, count);
    return (self.*(slot->handler))(call);
  }

 private:
  struct Slot {
    Handler handler = nullptr;
    int minArgs = 0;
    int maxArgs = 0;
  };
  struct Member {
    Slot byKind[4];
  };

  static int slotOf(CallKind kind) {
    switch (kind) {
      case CallKind::Method: return 0;
      case CallKind::PropertyGet: return 1;
      case CallKind::PropertyLet: return 2;
      case CallKind::PropertySet: return 3;
    }
    return 0;
  }

  MemberTable&& add(QStringView name, CallKind kind, Handler h, int minArgs, int maxArgs) {
    const QString key = name.toString().toLower();
    int id = ids_.value(key, DispId::Unknown);
    if (id == DispId::Unknown) {
      members_.push_back({});
      id = static_cast<int>(members_.size());
      ids_.insert(key, id);
    }
    members_[id - 1].byKind[slotOf(kind)] = Slot{h, minArgs, maxArgs};
    return std::move(*this);
  }

  QString typeName_;
  std::vector<Member> members_;  // id = index + 1
  QHash<QString, int> ids_;
  int defaultIndex_ = DispId::Unknown;
};

// Base of C++ classes whose members come from T::table() (a MemberTable<T>).
template <class T>
class DispatchClass : public DispatchObject {
 public:
  int memberId(QStringView name) const override { return T::table().memberId(name); }
  Variant invoke(int id, CallKind kind, std::span<Variant> args) override {
    return T::table().invoke(static_cast<T&>(*this), id, kind, args);
  }
  QString typeName() const override { return T::table().typeName(); }
};

}  // namespace tarvix
