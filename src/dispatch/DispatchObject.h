#pragma once

#include <QString>
#include <QStringView>
#include <span>
#include <vector>

#include "dispatch/AutomationError.h"
#include "dispatch/Variant.h"

namespace tarvix {

// How a member is called; the numbers are the automation flags.
enum class CallKind : std::uint8_t {
  Method = 1,       // obj.Name args  /  Call obj.Name(args)
  PropertyGet = 2,  // x = obj.Name(args)
  PropertyLet = 4,  // obj.Name(args) = value
  PropertySet = 8,  // Set obj.Name(args) = object
};

// Well-known member ids.
namespace DispId {
enum : int {
  Unknown = -1,  // memberId() of a name the object does not have
  Value = 0,     // the default member
  NewEnum = -4,  // enumeration (For Each): see DispatchObject::enumerate()
};
}

// An object that scripts call by member name. Calls are split into lookup
// (memberId, letter case ignored, resolved once per call site) and invoke.
//
// Arguments: args holds the arguments in source order. For PropertyLet and
// PropertySet the value assigned is the last element. A missing optional
// argument is Variant::missing(). A by-reference argument is a ByRef Variant
// pointing at the caller's variable: read it with deref(), write it with
// assign(). Failures throw AutomationError (438 unknown member, 450 wrong
// number of arguments, ...).
//
// Lifetime: intrusive reference count. When the last reference goes,
// terminate() runs first (with one temporary reference held, so that it may
// use the object), then the object is deleted unless terminate() stored a
// new reference to it.
class DispatchObject : public RefCounted {
 public:
  // DispId::Unknown when the object has no such member; "" is the default
  // member (DispId::Value) when the object has one.
  virtual int memberId(QStringView name) const = 0;
  virtual Variant invoke(int id, CallKind kind, std::span<Variant> args) = 0;

  // The class name TypeName() reports.
  virtual QString typeName() const { return QStringLiteral("Object"); }

  // The elements For Each visits, in order; error 451 when the object is not
  // a collection.
  virtual std::vector<Variant> enumerate();

  // Lookup and call in one step; error 438 for an unknown member.
  Variant call(QStringView name, CallKind kind, std::span<Variant> args);
  Variant call(QStringView name, CallKind kind, std::initializer_list<Variant> args = {});

 protected:
  // Class_Terminate of script classes; errors it throws are ignored.
  virtual void terminate() {}

 private:
  void finalRelease() final;
};

using ObjectRef = Ref<DispatchObject>;

inline DispatchObject* Variant::rawObject() const noexcept { return static_cast<DispatchObject*>(u_.counted); }

// The number of arguments outside [minArgs, maxArgs] (maxArgs < 0: no limit)
// raises error 450.
void checkArgumentCount(std::size_t count, int minArgs, int maxArgs);

}  // namespace tarvix
