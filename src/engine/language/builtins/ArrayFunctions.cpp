#include "dispatch/SafeArray.h"
#include "engine/language/builtins/BuiltinSupport.h"

namespace tarvix::builtins {
namespace {

Variant array(BuiltinCall& c) {
  std::vector<Variant> values;
  values.reserve(c.count());
  for (std::size_t i = 0; i < c.count(); ++i) values.push_back(c.arg(i));
  return makeArray(std::move(values));
}

const SafeArray& arrayArg(const BuiltinCall& c) {
  if (!c.arg(0).isArray()) raiseError(ErrorNumber::TypeMismatch);
  return c.arg(0).rawArray();
}

Variant lbound(BuiltinCall& c) { return Variant(arrayArg(c).lbound(longArg(c, 1, 1))); }
Variant ubound(BuiltinCall& c) { return Variant(arrayArg(c).ubound(longArg(c, 1, 1))); }

// Filter(strings, match[, include[, compare]]): the elements that contain
// (or, with include False, do not contain) match.
Variant filter(BuiltinCall& c) {
  const SafeArray& source = arrayArg(c);
  if (source.rank() != 1) raiseError(ErrorNumber::TypeMismatch);
  const QString match = c.arg(1).toString();
  const bool include = !c.has(2) || c.arg(2).toBool();
  const CompareMode mode = compareArg(c, 3);
  std::vector<Variant> kept;
  for (const Variant& v : source.data()) {
    const QString text = v.toString();
    if (text.contains(match, caseOf(mode)) == include) kept.emplace_back(text);
  }
  auto* result = new SafeArray(VarType::String, {SafeArray::Bound{0, static_cast<std::int32_t>(kept.size())}});
  result->data() = std::move(kept);
  return Variant(result);
}

constexpr Builtin kBuiltins[] = {
    {u"Array", array, 0, -1},
    {u"LBound", lbound, 1, 2},
    {u"UBound", ubound, 1, 2},
    {u"Filter", filter, 2, 4},
};

}  // namespace

std::span<const Builtin> arrayBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
