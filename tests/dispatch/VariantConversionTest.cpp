#include <gtest/gtest.h>

#include "VariantMatchers.h"
#include "dispatch/DateSerial.h"

namespace tarvix {
namespace {

struct Conversion {
  Variant input;
  VarType target;
  Variant expected;  // ignored when error != 0
  int error = 0;
};

class VariantConversion : public testing::TestWithParam<Conversion> {};

TEST_P(VariantConversion, GivesTheValueOrTheError) {
  const Conversion& c = GetParam();
  if (c.error) {
    EXPECT_EQ(errorOf([&] { (void)c.input.convertedTo(c.target); }), c.error) << describe(c.input);
  } else {
    EXPECT_TRUE(same(c.input.convertedTo(c.target), c.expected)) << "from " << describe(c.input);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Integers, VariantConversion,
    testing::Values(
        // banker's rounding
        Conversion{D(2.5), VarType::Integer, I(2)}, Conversion{D(3.5), VarType::Integer, I(4)},
        Conversion{D(-2.5), VarType::Integer, I(-2)}, Conversion{D(-3.5), VarType::Integer, I(-4)},
        Conversion{D(2.6), VarType::Long, L(3)}, Conversion{Cur(2.5), VarType::Long, L(2)},
        Conversion{Cur(-1.5), VarType::Long, L(-2)}, Conversion{S(" 0.5 "), VarType::Integer, I(0)},
        // ranges
        Conversion{D(32767.4), VarType::Integer, I(32767)}, Conversion{D(32767.5), VarType::Integer, {}, 6},
        Conversion{L(-32769), VarType::Integer, {}, 6}, Conversion{D(2147483647.0), VarType::Long, L(2147483647)},
        Conversion{D(2147483648.0), VarType::Long, {}, 6}, Conversion{I(256), VarType::Byte, {}, 6},
        Conversion{I(-1), VarType::Byte, {}, 6}, Conversion{D(254.5), VarType::Byte, B(254)},
        // other sources
        Conversion{Bool(true), VarType::Integer, I(-1)}, Conversion{Variant(), VarType::Long, L(0)},
        Conversion{S("&H1F"), VarType::Long, L(31)}, Conversion{S("&hFFFFFFFF"), VarType::Long, L(-1)},
        Conversion{S("&O17"), VarType::Integer, I(15)}, Conversion{S("1e3"), VarType::Long, L(1000)},
        Conversion{S("abc"), VarType::Long, {}, 13}, Conversion{S(""), VarType::Integer, {}, 13},
        Conversion{Variant::null(), VarType::Long, {}, 94}, Conversion{Variant::missing(), VarType::Long, {}, 13}));

INSTANTIATE_TEST_SUITE_P(
    Others, VariantConversion,
    testing::Values(
        Conversion{S("True"), VarType::Boolean, Bool(true)}, Conversion{S(" false "), VarType::Boolean, Bool(false)},
        Conversion{S("0"), VarType::Boolean, Bool(false)}, Conversion{S("-0.5"), VarType::Boolean, Bool(true)},
        Conversion{S("yes"), VarType::Boolean, {}, 13}, Conversion{D(0.1), VarType::Boolean, Bool(true)},
        Conversion{Bool(false), VarType::String, S("False")}, Conversion{Bool(true), VarType::String, S("True")},
        Conversion{D(1.5), VarType::Currency, Cur(1.5)}, Conversion{D(0.00005), VarType::Currency, Cur(0)},
        Conversion{D(0.00015), VarType::Currency, Cur(0.0002)}, Conversion{Cur(12.345), VarType::String, S("12.345")},
        Conversion{Cur(-0.5), VarType::String, S("-0.5")}, Conversion{D(1e300), VarType::Single, {}, 6},
        Conversion{S("  12.5  "), VarType::Double, D(12.5)}, Conversion{S("-.5"), VarType::Double, D(-0.5)},
        Conversion{S("1.5D2"), VarType::Double, D(150)}, Conversion{S("1e"), VarType::Double, {}, 13},
        Conversion{S("inf"), VarType::Double, {}, 13}, Conversion{S("0x10"), VarType::Double, {}, 13},
        Conversion{Variant(), VarType::String, S("")}, Conversion{Variant::null(), VarType::String, {}, 94},
        Conversion{Variant::nothing(), VarType::Long, {}, 91}));

TEST(VariantText, NumbersPrintLikeTheLanguage) {
  const std::pair<Variant, const char*> cases[] = {
      {D(0.1 + 0.2), "0.3"},
      {D(1e20), "1E+20"},
      {D(1.0 / 3), "0.333333333333333"},
      {D(-2.0 / 3), "-0.666666666666667"},
      {D(123456789012345.0), "123456789012345"},
      {D(1e15), "1E+15"},
      {D(1234567890123456.0), "1.23456789012346E+15"},
      {D(0.000001), "0.000001"},
      {D(0.0000001), "1E-07"},
      {D(1.5e-10), "1.5E-10"},
      {D(100), "100"},
      {D(-0.0), "0"},
      {F(0.1f), "0.1"},
      {F(1.0f / 3), "0.3333333"},
      {F(12345678.0f), "1.234568E+07"},
      {I(-32768), "-32768"},
      {B(255), "255"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(value.toString(), QString::fromLatin1(text)) << describe(value);
}

TEST(VariantText, DatesReadAndPrintInYearMonthDayForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"2026/12/11 09:05:03", "2026/12/11 09:05:03"},
      {"2026-12-11T09:05", "2026/12/11 09:05:00"},
      {"2026/1/2", "2026/01/02"},
      {"12/31/2026", "2026/12/31"},
      {"31/12/2026", "2026/12/31"},
      {"12/31/99", "1999/12/31"},
      {"1/2/29", "2029/01/02"},
      {"14:30", "14:30:00"},
      {"2:30:15 PM", "14:30:15"},
      {"12:00 AM", "00:00:00"},
      {"11 December 2026", "2026/12/11"},
      {"Dec 11, 2026 10:00", "2026/12/11 10:00:00"},
      {" 9999/12/31 23:59:59 ", "9999/12/31 23:59:59"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(Variant(in).convertedTo(VarType::Date).toString(), QString::fromLatin1(out)) << in;

  for (const char* bad : {"2026/13/01", "2026/02/30", "25:00", "hello", "2026/1", "10:61"})
    EXPECT_EQ(errorOf([&] { (void)Variant(bad).toDate(); }), 13) << bad;
}

TEST(VariantText, DateSerialsCountFromTheEpochAndKeepTheTimePositiveBeforeIt) {
  EXPECT_EQ(formatDate(0), QStringLiteral("00:00:00"));
  EXPECT_EQ(formatDate(1), QStringLiteral("1899/12/31"));
  EXPECT_EQ(formatDate(-1.25), QStringLiteral("1899/12/29 06:00:00"));
  EXPECT_EQ(formatDate(46000.5), QStringLiteral("2025/12/09 12:00:00"));
  EXPECT_DOUBLE_EQ(serialFromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
  EXPECT_DOUBLE_EQ(*daySerial(2026, 14, 0), *daySerial(2027, 1, 31));
  EXPECT_DOUBLE_EQ(*daySerial(2026, 0, 1), *daySerial(2025, 12, 1));
  // Half a second before midnight rounds into the next day.
  EXPECT_EQ(formatDate(46000.0 - 0.4 / 86400), QStringLiteral("2025/12/09"));
  EXPECT_EQ(errorOf([] { (void)D(3e6).toDate(); }), 6);
}

}  // namespace
}  // namespace tarvix
