#pragma once

#include <span>
#include <vector>

#include "dispatch/Variant.h"

namespace tarvix {

// An array of any rank with a lower bound per dimension. Elements are stored
// as Variants; an array of one scalar type converts every value written to it
// (through set()) to that type. Dimension 0 is the first (leftmost) index;
// the first index varies slowest.
class SafeArray final : public RefCounted {
 public:
  struct Bound {
    std::int32_t lower = 0;
    std::int32_t count = 0;  // number of elements; 0 for an empty dimension
    std::int32_t upper() const { return lower + count - 1; }
  };

  // An array with the given bounds, every element the default of the element
  // type (Empty for Variant). Error 7 when it would be too large.
  SafeArray(VarType elementType, std::vector<Bound> bounds);
  // A one-dimensional array of Variants from 0 to values.size() - 1.
  explicit SafeArray(std::vector<Variant> values);
  SafeArray(const SafeArray& other);

  VarType elementType() const { return elementType_; }
  int rank() const { return static_cast<int>(bounds_.size()); }
  const std::vector<Bound>& bounds() const { return bounds_; }
  // Bounds of a dimension counted from 1, as LBound and UBound take it;
  // error 9 when there is no such dimension.
  std::int32_t lbound(int dimension = 1) const;
  std::int32_t ubound(int dimension = 1) const;
  std::size_t size() const { return data_.size(); }

  // Position of an element in data(); error 9 when an index is out of its
  // bounds or the number of indices differs from the rank.
  std::size_t offsetOf(std::span<const std::int32_t> indices) const;
  const Variant& at(std::span<const std::int32_t> indices) const { return data_[offsetOf(indices)]; }
  // Converts the value to the element type first.
  void set(std::span<const std::int32_t> indices, const Variant& value);
  // Direct access to element storage, first index slowest.
  std::vector<Variant>& data() { return data_; }
  const std::vector<Variant>& data() const { return data_; }

  // ReDim: new bounds, keeping the elements whose indices survive when
  // preserve is set (only the last dimension may change then: error 9).
  void redim(std::vector<Bound> bounds, bool preserve);
  // Every element back to the default of the element type (Erase of a
  // fixed-size array).
  void clearElements();

 private:
  Variant defaultElement() const;

  VarType elementType_;
  std::vector<Bound> bounds_;
  std::vector<Variant> data_;
};

inline const SafeArray& Variant::rawArray() const noexcept { return *static_cast<SafeArray*>(u_.counted); }

// A Variant holding a new one-dimensional array of Variants.
Variant makeArray(std::vector<Variant> values);

}  // namespace tarvix
