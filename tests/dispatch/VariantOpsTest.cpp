#include <gtest/gtest.h>

#include "VariantMatchers.h"
#include "dispatch/SafeArray.h"
#include "dispatch/VariantOps.h"

namespace tarvix {
namespace {

using Op = Variant (*)(const Variant&, const Variant&);

struct Binary {
  const char* name;
  Op op;
  Variant a, b;
  Variant expected;  // ignored when error != 0
  int error = 0;
};

void PrintTo(const Binary& c, std::ostream* os) { *os << describe(c.a) << " " << c.name << " " << describe(c.b); }

class BinaryOperator : public testing::TestWithParam<Binary> {};

TEST_P(BinaryOperator, GivesTheLanguagesResultTypeAndValue) {
  const Binary& c = GetParam();
  if (c.error) {
    EXPECT_EQ(errorOf([&] { (void)c.op(c.a, c.b); }), c.error);
  } else {
    EXPECT_TRUE(same(c.op(c.a, c.b), c.expected));
  }
}

Variant eq(const Variant& a, const Variant& b) { return ops::equal(a, b); }
Variant lt(const Variant& a, const Variant& b) { return ops::less(a, b); }
Variant eqText(const Variant& a, const Variant& b) { return ops::equal(a, b, CompareMode::Text); }

const Variant kNull = Variant::null();
const Variant kEmpty;

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, BinaryOperator,
    testing::Values(
        // type growth
        Binary{"+", ops::add, I(32767), I(1), L(32768)}, Binary{"+", ops::add, I(1), I(2), I(3)},
        Binary{"+", ops::add, L(2147483647), L(1), D(2147483648.0)}, Binary{"-", ops::subtract, I(-32768), I(1), L(-32769)},
        Binary{"*", ops::multiply, I(200), I(200), L(40000)}, Binary{"*", ops::multiply, L(65536), L(65536), D(4294967296.0)},
        Binary{"+", ops::add, B(200), B(100), I(300)}, Binary{"+", ops::add, B(2), B(3), B(5)},
        Binary{"-", ops::subtract, B(2), B(3), I(-1)}, Binary{"+", ops::add, Bool(true), Bool(true), I(-2)},
        Binary{"+", ops::add, F(1.5f), L(1), D(2.5)}, Binary{"+", ops::add, F(1.5f), I(1), F(2.5f)},
        Binary{"+", ops::add, kEmpty, kEmpty, I(0)}, Binary{"+", ops::add, kEmpty, B(7), B(7)},
        Binary{"+", ops::add, Cur(1.25), I(1), Cur(2.25)}, Binary{"*", ops::multiply, Cur(1.5), Cur(1.5), Cur(2.25)},
        Binary{"+", ops::add, Cur(1.5), D(0.25), Cur(1.75)},
        Binary{"+", ops::add, Variant::date(45000), I(1), Variant::date(45001)},
        Binary{"-", ops::subtract, Variant::date(45001.5), Variant::date(45000), D(1.5)},
        // strings
        Binary{"+", ops::add, S("1"), S("2"), S("12")}, Binary{"+", ops::add, S("1"), I(2), D(3)},
        Binary{"+", ops::add, S("a"), kEmpty, S("a")}, Binary{"+", ops::add, S("a"), I(1), {}, 13},
        Binary{"-", ops::subtract, S("5"), S("2"), D(3)},
        Binary{"&", ops::concat, I(1), D(0.5), S("10.5")}, Binary{"&", ops::concat, kNull, S("a"), S("a")},
        Binary{"&", ops::concat, kNull, kNull, kNull}, Binary{"&", ops::concat, Bool(true), kEmpty, S("True")},
        // Null propagation
        Binary{"+", ops::add, kNull, I(1), kNull}, Binary{"*", ops::multiply, I(1), kNull, kNull},
        Binary{"/", ops::divide, kNull, I(0), kNull}, Binary{"\\", ops::intDivide, kNull, I(0), kNull},
        // division
        Binary{"/", ops::divide, I(4), I(2), D(2)}, Binary{"/", ops::divide, I(1), I(0), {}, 11},
        Binary{"/", ops::divide, I(0), I(0), {}, 6}, Binary{"/", ops::divide, F(1), I(4), F(0.25f)},
        Binary{"\\", ops::intDivide, I(7), I(2), I(3)}, Binary{"\\", ops::intDivide, D(7.5), I(2), L(4)},
        Binary{"\\", ops::intDivide, I(-7), I(2), I(-3)}, Binary{"\\", ops::intDivide, I(1), kEmpty, {}, 11},
        Binary{"\\", ops::intDivide, B(9), B(2), B(4)}, Binary{"\\", ops::intDivide, I(-32768), I(-1), L(32768)},
        Binary{"Mod", ops::modulo, I(-7), I(3), I(-1)}, Binary{"Mod", ops::modulo, D(5.5), I(4), L(2)},
        Binary{"Mod", ops::modulo, I(5), I(0), {}, 11}, Binary{"Mod", ops::modulo, D(3e10), I(7), {}, 6},
        Binary{"^", ops::power, I(2), I(10), D(1024)}, Binary{"^", ops::power, I(-8), D(1.0 / 3), {}, 5},
        Binary{"^", ops::power, D(10), D(400), {}, 6}, Binary{"+", ops::add, D(1e308), D(1e308), {}, 6}));

INSTANTIATE_TEST_SUITE_P(
    Comparison, BinaryOperator,
    testing::Values(
        Binary{"=", eq, I(1), D(1.0), Bool(true)}, Binary{"=", eq, Bool(true), I(-1), Bool(true)},
        Binary{"=", eq, kEmpty, I(0), Bool(true)}, Binary{"=", eq, kEmpty, S(""), Bool(true)},
        Binary{"=", eq, kEmpty, kEmpty, Bool(true)}, Binary{"=", eq, kNull, kNull, kNull},
        Binary{"=", eq, I(1), kNull, kNull}, Binary{"=", eq, S("a"), S("A"), Bool(false)},
        Binary{"=", eqText, S("a"), S("A"), Bool(true)}, Binary{"<", lt, S("B"), S("a"), Bool(true)},
        Binary{"<", lt, I(10), S("1"), Bool(true)}, Binary{"<", lt, S("1"), I(10), Bool(false)},
        Binary{"=", eq, S("1"), I(1), Bool(false)}, Binary{"<", lt, L(-1), Cur(0), Bool(true)},
        Binary{"<", lt, Variant::date(1), D(1.5), Bool(true)}, Binary{"=", eq, makeArray({}), I(1), {}, 13}));

INSTANTIATE_TEST_SUITE_P(
    Logical, BinaryOperator,
    testing::Values(
        Binary{"And", ops::logicalAnd, Bool(true), Bool(false), Bool(false)},
        Binary{"And", ops::logicalAnd, I(12), I(10), I(8)}, Binary{"Or", ops::logicalOr, I(12), I(3), I(15)},
        Binary{"Xor", ops::logicalXor, L(5), I(1), L(4)}, Binary{"Or", ops::logicalOr, Bool(true), I(2), I(-1)},
        Binary{"And", ops::logicalAnd, B(255), B(15), B(15)}, Binary{"Eqv", ops::logicalEqv, Bool(true), Bool(true), Bool(true)},
        Binary{"Imp", ops::logicalImp, Bool(true), Bool(false), Bool(false)},
        Binary{"Imp", ops::logicalImp, Bool(false), Bool(false), Bool(true)},
        Binary{"And", ops::logicalAnd, D(2.5), I(3), L(2)}, Binary{"And", ops::logicalAnd, S("True"), Bool(true), Bool(true)},
        // Null rules
        Binary{"And", ops::logicalAnd, kNull, Bool(false), Bool(false)},
        Binary{"And", ops::logicalAnd, kNull, Bool(true), kNull}, Binary{"Or", ops::logicalOr, kNull, Bool(true), Bool(true)},
        Binary{"Or", ops::logicalOr, kNull, Bool(false), kNull}, Binary{"Xor", ops::logicalXor, kNull, Bool(true), kNull},
        Binary{"Imp", ops::logicalImp, Bool(false), kNull, Bool(true)}, Binary{"Imp", ops::logicalImp, Bool(true), kNull, kNull},
        Binary{"Imp", ops::logicalImp, kNull, Bool(true), Bool(true)}, Binary{"Imp", ops::logicalImp, kNull, Bool(false), kNull},
        Binary{"And", ops::logicalAnd, S("x"), I(1), {}, 13}));

TEST(UnaryOperator, NegationAndNotKeepOrGrowTheType) {
  EXPECT_TRUE(same(ops::negate(I(-32768)), L(32768)));
  EXPECT_TRUE(same(ops::negate(L(-2147483647 - 1)), D(2147483648.0)));
  EXPECT_TRUE(same(ops::negate(B(5)), I(-5)));
  EXPECT_TRUE(same(ops::negate(Bool(true)), I(1)));
  EXPECT_TRUE(same(ops::negate(Variant()), I(0)));
  EXPECT_TRUE(same(ops::negate(S("2.5")), D(-2.5)));
  EXPECT_TRUE(same(ops::negate(Variant::null()), Variant::null()));
  EXPECT_TRUE(same(ops::logicalNot(Bool(true)), Bool(false)));
  EXPECT_TRUE(same(ops::logicalNot(I(0)), I(-1)));
  EXPECT_TRUE(same(ops::logicalNot(B(0)), B(255)));
  EXPECT_TRUE(same(ops::logicalNot(D(1.6)), L(-3)));
  EXPECT_TRUE(same(ops::logicalNot(Variant()), I(-1)));
  EXPECT_TRUE(same(ops::logicalNot(Variant::null()), Variant::null()));
}

TEST(Conditions, NullIsFalseAndTextMustBeABoolean) {
  EXPECT_FALSE(ops::isTrue(Variant::null()));
  EXPECT_TRUE(ops::isTrue(S("true")));
  EXPECT_TRUE(ops::isTrue(D(0.5)));
  EXPECT_FALSE(ops::isTrue(Variant()));
  EXPECT_EQ(errorOf([] { (void)ops::isTrue(S("maybe")); }), 13);
  Variant target = Variant::null();
  EXPECT_FALSE(ops::isTrue(Variant::byRef(&target)));
}

TEST(Operators, ReadByReferenceOperandsThrough) {
  Variant x = L(40), y = I(2);
  EXPECT_TRUE(same(ops::add(Variant::byRef(&x), Variant::byRef(&y)), L(42)));
  EXPECT_EQ(ops::compare(Variant::byRef(&x), L(40)), ops::Order::Equal);
}

}  // namespace
}  // namespace tarvix
