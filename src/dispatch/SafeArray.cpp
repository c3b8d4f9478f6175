#include "dispatch/SafeArray.h"

#include "dispatch/AutomationError.h"

namespace tarvix {
namespace {

constexpr std::size_t kMaxElements = std::size_t{1} << 28;

std::size_t elementCount(const std::vector<SafeArray::Bound>& bounds) {
  if (bounds.empty()) return 0;
  std::size_t total = 1;
  for (const SafeArray::Bound& b : bounds) {
    if (b.count < 0) raiseError(ErrorNumber::SubscriptOutOfRange);
    total *= static_cast<std::size_t>(b.count);
    if (total > kMaxElements) raiseError(ErrorNumber::OutOfMemory);
  }
  return total;
}

}  // namespace

SafeArray::SafeArray(VarType elementType, std::vector<Bound> bounds)
    : elementType_(elementType), bounds_(std::move(bounds)) {
  data_.assign(elementCount(bounds_), defaultElement());
}

SafeArray::SafeArray(std::vector<Variant> values)
    : elementType_(VarType::Variant),
      bounds_{Bound{0, static_cast<std::int32_t>(values.size())}},
      data_(std::move(values)) {}

SafeArray::SafeArray(const SafeArray& other)
    : RefCounted(), elementType_(other.elementType_), bounds_(other.bounds_), data_(other.data_) {}

Variant SafeArray::defaultElement() const {
  switch (elementType_) {
    case VarType::Variant: return Variant();
    case VarType::Object: return Variant::nothing();
    default: return Variant().convertedTo(elementType_);
  }
}

std::int32_t SafeArray::lbound(int dimension) const {
  if (dimension < 1 || dimension > rank()) raiseError(ErrorNumber::SubscriptOutOfRange);
  return bounds_[dimension - 1].lower;
}

std::int32_t SafeArray::ubound(int dimension) const {
  if (dimension < 1 || dimension > rank()) raiseError(ErrorNumber::SubscriptOutOfRange);
  return bounds_[dimension - 1].upper();
}

std::size_t SafeArray::offsetOf(std::span<const std::int32_t> indices) const {
  if (indices.size() != bounds_.size()) raiseError(ErrorNumber::SubscriptOutOfRange);
  std::size_t offset = 0;
  for (std::size_t d = 0; d < indices.size(); ++d) {
    const std::int64_t i = static_cast<std::int64_t>(indices[d]) - bounds_[d].lower;
    if (i < 0 || i >= bounds_[d].count) raiseError(ErrorNumber::SubscriptOutOfRange);
    offset = offset * static_cast<std::size_t>(bounds_[d].count) + static_cast<std::size_t>(i);
  }
  return offset;
}

void SafeArray::set(std::span<const std::int32_t> indices, const Variant& value) {
  const std::size_t offset = offsetOf(indices);
  data_[offset] = elementType_ == VarType::Variant ? value.deref() : value.convertedTo(elementType_);
}

void SafeArray::redim(std::vector<Bound> bounds, bool preserve) {
  if (!preserve) {
    data_.assign(elementCount(bounds), defaultElement());
    bounds_ = std::move(bounds);
    return;
  }
  if (bounds.size() != bounds_.size()) raiseError(ErrorNumber::SubscriptOutOfRange);
  for (std::size_t d = 0; d + 1 < bounds.size(); ++d)
    if (bounds[d].lower != bounds_[d].lower || bounds[d].count != bounds_[d].count)
      raiseError(ErrorNumber::SubscriptOutOfRange);
  if (bounds.empty()) return;
  // Only the last dimension changes: copy each run of the old last dimension.
  const std::size_t total = elementCount(bounds);
  const std::size_t oldRun = static_cast<std::size_t>(bounds_.back().count);
  const std::size_t newRun = static_cast<std::size_t>(bounds.back().count);
  std::vector<Variant> data(total, defaultElement());
  const std::size_t runs = newRun ? total / newRun : 0;
  const std::size_t keep = std::min(oldRun, newRun);
  for (std::size_t r = 0; r < runs; ++r)
    for (std::size_t i = 0; i < keep; ++i) data[r * newRun + i] = std::move(data_[r * oldRun + i]);
  data_ = std::move(data);
  bounds_ = std::move(bounds);
}

void SafeArray::clearElements() {
  const Variant empty = defaultElement();
  for (Variant& v : data_) v = empty;
}

Variant makeArray(std::vector<Variant> values) { return Variant(new SafeArray(std::move(values))); }

}  // namespace tarvix
