#pragma once

#include <vector>

#include "dispatch/DispatchObject.h"

namespace tarvix::test {

// A shared variable as scripts see it: Value and Changed.
class TestVar final : public DispatchObject {
 public:
  int memberId(QStringView name) const override;
  Variant invoke(int id, CallKind kind, std::span<Variant> args) override;
  Variant value;
  bool changed = false;
};

// A tiny stand-in for the engine's Vars: Vars(n) is variable n (default member).
class TestVars final : public DispatchObject {
 public:
  explicit TestVars(int count);
  int memberId(QStringView name) const override;
  Variant invoke(int id, CallKind kind, std::span<Variant> args) override;
  TestVar& at(int n) { return *vars_[n]; }

 private:
  std::vector<Ref<TestVar>> vars_;
};

}  // namespace tarvix::test
