#include <gtest/gtest.h>

#include "VariantMatchers.h"
#include "dispatch/DispatchClass.h"
#include "dispatch/SafeArray.h"

namespace tarvix {
namespace {

// Counts its instances and the terminate calls.
class Probe final : public DispatchClass<Probe> {
 public:
  static inline int alive = 0;
  static inline int terminated = 0;
  static inline Variant* resurrectInto = nullptr;
  static const MemberTable<Probe>& table() {
    static const auto t = MemberTable<Probe>(u"Probe");
    return t;
  }
  Probe() { ++alive; }
  ~Probe() override { --alive; }

 protected:
  void terminate() override {
    ++terminated;
    if (resurrectInto) *resurrectInto = Variant(this);
  }
};

TEST(VariantStorage, ReportsExactTypeCodes) {
  EXPECT_EQ(Variant().vartype(), 0);
  EXPECT_EQ(Variant::null().vartype(), 1);
  EXPECT_EQ(I(1).vartype(), 2);
  EXPECT_EQ(L(1).vartype(), 3);
  EXPECT_EQ(F(1).vartype(), 4);
  EXPECT_EQ(D(1).vartype(), 5);
  EXPECT_EQ(Cur(1).vartype(), 6);
  EXPECT_EQ(Variant::date(1).vartype(), 7);
  EXPECT_EQ(S("x").vartype(), 8);
  EXPECT_EQ(Variant::nothing().vartype(), 9);
  EXPECT_EQ(Variant::missing().vartype(), 10);
  EXPECT_EQ(Bool(true).vartype(), 11);
  EXPECT_EQ(B(1).vartype(), 17);
  EXPECT_EQ(makeArray({}).vartype(), 8204);
  EXPECT_EQ(Variant(new SafeArray(VarType::Long, {{0, 3}})).vartype(), 8195);
  EXPECT_EQ(Bool(true).rawInteger(), -1);
}

TEST(VariantStorage, ArraysCopyOnWriteSoAssignmentCopiesByValue) {
  Variant a = makeArray({L(1), L(2)});
  Variant b = a;
  EXPECT_EQ(&a.rawArray(), &b.rawArray());  // shared until written
  const std::int32_t index[] = {0};
  b.mutableArray().set(index, L(99));
  EXPECT_TRUE(same(a.rawArray().at(index), L(1)));
  EXPECT_TRUE(same(b.rawArray().at(index), L(99)));
  // A sole owner writes in place.
  const SafeArray* before = &b.rawArray();
  b.mutableArray().set(index, L(5));
  EXPECT_EQ(&b.rawArray(), before);
}

TEST(VariantStorage, TypedArraysConvertWhatIsStoredAndCheckBounds) {
  Variant v(new SafeArray(VarType::Integer, {{1, 2}, {-1, 3}}));
  SafeArray& a = v.mutableArray();
  EXPECT_EQ(a.rank(), 2);
  EXPECT_EQ(a.lbound(2), -1);
  EXPECT_EQ(a.ubound(2), 1);
  EXPECT_TRUE(same(a.at(std::vector<std::int32_t>{2, 1}), I(0)));
  a.set(std::vector<std::int32_t>{2, 1}, D(2.5));
  EXPECT_TRUE(same(a.at(std::vector<std::int32_t>{2, 1}), I(2)));
  EXPECT_EQ(errorOf([&] { a.set(std::vector<std::int32_t>{1, 0}, S("x")); }), 13);
  EXPECT_EQ(errorOf([&] { (void)a.at(std::vector<std::int32_t>{3, 0}); }), 9);
  EXPECT_EQ(errorOf([&] { (void)a.at(std::vector<std::int32_t>{1}); }), 9);
  EXPECT_EQ(errorOf([&] { (void)a.ubound(3); }), 9);
}

TEST(VariantStorage, RedimPreserveKeepsElementsAndOnlyGrowsTheLastDimension) {
  SafeArray a(VarType::Variant, {{0, 2}, {0, 2}});
  a.set(std::vector<std::int32_t>{0, 1}, S("a"));
  a.set(std::vector<std::int32_t>{1, 1}, S("b"));
  a.redim({{0, 2}, {0, 4}}, true);
  EXPECT_TRUE(same(a.at(std::vector<std::int32_t>{0, 1}), S("a")));
  EXPECT_TRUE(same(a.at(std::vector<std::int32_t>{1, 1}), S("b")));
  EXPECT_TRUE(same(a.at(std::vector<std::int32_t>{1, 3}), Variant()));
  a.redim({{0, 2}, {0, 1}}, true);
  EXPECT_EQ(errorOf([&] { (void)a.at(std::vector<std::int32_t>{1, 1}); }), 9);
  EXPECT_EQ(errorOf([&] { a.redim({{0, 3}, {0, 1}}, true); }), 9);
  a.redim({{0, 3}}, false);
  EXPECT_EQ(a.size(), 3u);
  EXPECT_EQ(errorOf([&] { a.redim({{0, 1 << 20}, {0, 1 << 20}}, false); }), 7);
}

TEST(VariantStorage, ObjectsLiveWhileReferencedAndTerminateOnce) {
  Probe::terminated = 0;
  {
    Variant a(new Probe);
    Variant b = a;
    a = Variant();
    EXPECT_EQ(Probe::alive, 1);
    EXPECT_EQ(Probe::terminated, 0);
  }
  EXPECT_EQ(Probe::alive, 0);
  EXPECT_EQ(Probe::terminated, 1);
}

TEST(VariantStorage, AnObjectStoredAgainByItsTerminateSurvives) {
  Variant keeper;
  Probe::resurrectInto = &keeper;
  { Variant a(new Probe); }
  Probe::resurrectInto = nullptr;
  EXPECT_EQ(Probe::alive, 1);
  keeper = Variant();
  EXPECT_EQ(Probe::alive, 0);
}

TEST(VariantStorage, AppendsInPlaceOnlyToUnsharedStrings) {
  Variant s = S("ab");
  EXPECT_TRUE(s.appendInPlace(QStringLiteral("c")));
  EXPECT_TRUE(same(s, S("abc")));
  const Variant copy = s;
  EXPECT_FALSE(s.appendInPlace(QStringLiteral("d")));
  EXPECT_TRUE(same(copy, S("abc")));
  Variant n = L(1);
  EXPECT_FALSE(n.appendInPlace(QStringLiteral("x")));
  EXPECT_TRUE(same(n, L(1)));
}

TEST(VariantStorage, ByReferenceVariantsWriteThrough) {
  Variant target = L(1);
  Variant ref = Variant::byRef(&target);
  EXPECT_EQ(ref.vartype(), 0x400C);
  EXPECT_TRUE(same(ref.deref(), L(1)));
  ref.assign(S("new"));
  EXPECT_TRUE(same(target, S("new")));
  EXPECT_EQ(ref.toString(), QStringLiteral("new"));
}

}  // namespace
}  // namespace tarvix
