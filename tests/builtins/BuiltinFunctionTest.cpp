#include <gtest/gtest.h>

#include <QStringList>

#include "BuiltinCalls.h"
#include "dispatch/SafeArray.h"

namespace tarvix::builtins {
namespace {

const Variant kNull = Variant::null();
const Variant kMissing = Variant::missing();

class Builtins : public testing::TestWithParam<BuiltinCase> {};

TEST_P(Builtins, GiveTheResultOrTheError) { expectCase(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Conversions, Builtins,
    testing::Values(BuiltinCase{u"CInt", {D(2.5)}, I(2)}, BuiltinCase{u"cint", {S("3.5")}, I(4)},
                    BuiltinCase{u"CLng", {S("&H10")}, L(16)}, BuiltinCase{u"CByte", {I(300)}, {}, 6},
                    BuiltinCase{u"CBool", {S("False")}, Bool(false)}, BuiltinCase{u"CDbl", {S("1e3")}, D(1000)},
                    BuiltinCase{u"CStr", {D(0.5)}, S("0.5")}, BuiltinCase{u"CSng", {I(1)}, F(1)},
                    BuiltinCase{u"CCur", {S("1.23456")}, Cur(1.2346)},
                    BuiltinCase{u"CDate", {S("2026/12/11")}, Variant::date(46367)},
                    BuiltinCase{u"CStr", {kNull}, {}, 94}, BuiltinCase{u"CLng", {}, {}, 450},
                    BuiltinCase{u"CLng", {I(1), I(2)}, {}, 450}));

INSTANTIATE_TEST_SUITE_P(
    Inspection, Builtins,
    testing::Values(BuiltinCase{u"IsNumeric", {S(" 12 ")}, Bool(true)}, BuiltinCase{u"IsNumeric", {S("1a")}, Bool(false)},
                    BuiltinCase{u"IsNumeric", {Variant()}, Bool(true)}, BuiltinCase{u"IsNumeric", {kNull}, Bool(false)},
                    BuiltinCase{u"IsNumeric", {Variant::date(1)}, Bool(false)},
                    BuiltinCase{u"IsEmpty", {Variant()}, Bool(true)}, BuiltinCase{u"IsNull", {kNull}, Bool(true)},
                    BuiltinCase{u"IsArray", {makeArray({})}, Bool(true)},
                    BuiltinCase{u"IsObject", {Variant::nothing()}, Bool(true)},
                    BuiltinCase{u"IsDate", {S("2026/2/28")}, Bool(true)}, BuiltinCase{u"IsDate", {S("2026/2/30")}, Bool(false)},
                    BuiltinCase{u"VarType", {S("x")}, I(8)}, BuiltinCase{u"VarType", {makeArray({})}, I(8204)},
                    BuiltinCase{u"TypeName", {I(1)}, S("Integer")}, BuiltinCase{u"TypeName", {Cur(1)}, S("Currency")},
                    BuiltinCase{u"TypeName", {Variant::nothing()}, S("Nothing")},
                    BuiltinCase{u"TypeName", {makeArray({})}, S("Variant()")},
                    BuiltinCase{u"TypeName", {kNull}, S("Null")}));

INSTANTIATE_TEST_SUITE_P(
    Strings, Builtins,
    testing::Values(
        BuiltinCase{u"Len", {S("abc")}, L(3)}, BuiltinCase{u"Len", {I(123)}, L(3)}, BuiltinCase{u"Len", {kNull}, kNull},
        BuiltinCase{u"LenB", {S("ab")}, L(4)}, BuiltinCase{u"Left", {S("abc"), I(2)}, S("ab")},
        BuiltinCase{u"Left", {S("abc"), I(9)}, S("abc")}, BuiltinCase{u"Left", {S("abc"), I(-1)}, {}, 5},
        BuiltinCase{u"Right", {S("abc"), I(2)}, S("bc")}, BuiltinCase{u"Right", {kNull, I(2)}, kNull},
        BuiltinCase{u"Mid", {S("abcdef"), I(2), I(3)}, S("bcd")}, BuiltinCase{u"Mid", {S("abc"), I(2)}, S("bc")},
        BuiltinCase{u"Mid", {S("abc"), I(5)}, S("")}, BuiltinCase{u"Mid", {S("abc"), I(0)}, {}, 5},
        BuiltinCase{u"InStr", {S("abcabc"), S("c")}, L(3)}, BuiltinCase{u"InStr", {I(4), S("abcabc"), S("c")}, L(6)},
        BuiltinCase{u"InStr", {I(1), S("ABC"), S("b"), I(1)}, L(2)}, BuiltinCase{u"InStr", {S("ABC"), S("b")}, L(0)},
        BuiltinCase{u"InStr", {S("abc"), S("")}, L(1)}, BuiltinCase{u"InStr", {I(0), S("a"), S("a")}, {}, 5},
        BuiltinCase{u"InStr", {kNull, S("a")}, kNull}, BuiltinCase{u"InStrRev", {S("abcabc"), S("b")}, L(5)},
        BuiltinCase{u"InStrRev", {S("abcabc"), S("b"), I(4)}, L(2)},
        BuiltinCase{u"InStrRev", {S("abcabc"), S("bc"), I(2)}, L(0)},
        BuiltinCase{u"Replace", {S("a-b-c"), S("-"), S("+")}, S("a+b+c")},
        BuiltinCase{u"Replace", {S("a-b-c"), S("-"), S("+"), I(3)}, S("b+c")},
        BuiltinCase{u"Replace", {S("a-b-c"), S("-"), S(""), I(1), I(1)}, S("ab-c")},
        BuiltinCase{u"Replace", {S("aAa"), S("a"), S("x"), I(1), I(-1), I(1)}, S("xxx")},
        BuiltinCase{u"Replace", {S("aaa"), S("a"), S("aa")}, S("aaaaaa")},
        BuiltinCase{u"Join", {makeArray({S("a"), I(1), kNull})}, S("a 1 ")},
        BuiltinCase{u"Join", {makeArray({S("a"), S("b")}), S(",")}, S("a,b")}, BuiltinCase{u"Join", {S("a")}, {}, 13},
        BuiltinCase{u"UCase", {S("aBc")}, S("ABC")}, BuiltinCase{u"LCase", {kNull}, kNull},
        BuiltinCase{u"Trim", {S("  a b \t ")}, S("a b \t")}, BuiltinCase{u"LTrim", {S("  a ")}, S("a ")},
        BuiltinCase{u"RTrim", {S("  a ")}, S("  a")}, BuiltinCase{u"Space", {I(3)}, S("   ")},
        BuiltinCase{u"Space", {I(-1)}, {}, 5}, BuiltinCase{u"String", {I(3), S("xy")}, S("xxx")},
        BuiltinCase{u"String", {I(2), I(65)}, S("AA")}, BuiltinCase{u"String", {I(2), S("")}, {}, 5},
        BuiltinCase{u"StrComp", {S("a"), S("B")}, I(1)}, BuiltinCase{u"StrComp", {S("a"), S("A"), I(1)}, I(0)},
        BuiltinCase{u"StrComp", {S("a"), kNull}, kNull}, BuiltinCase{u"StrReverse", {S("abc")}, S("cba")},
        BuiltinCase{u"Asc", {S("A")}, I(65)}, BuiltinCase{u"Asc", {S("")}, {}, 5},
        BuiltinCase{u"AscW", {Variant(u"\uFFFF")}, I(-1)}, BuiltinCase{u"Chr", {I(65)}, S("A")},
        BuiltinCase{u"ChrW", {L(-1)}, Variant(u"\uFFFF")}, BuiltinCase{u"ChrW", {L(65536)}, {}, 5},
        BuiltinCase{u"Hex", {I(-1)}, S("FFFF")}, BuiltinCase{u"Hex", {L(-1)}, S("FFFFFFFF")},
        BuiltinCase{u"Hex", {D(255.5)}, S("100")}, BuiltinCase{u"Oct", {I(8)}, S("10")}, BuiltinCase{u"Hex", {kNull}, kNull}));

INSTANTIATE_TEST_SUITE_P(
    Formatting, Builtins,
    testing::Values(BuiltinCase{u"FormatNumber", {D(1234567.891)}, S("1,234,567.89")},
                    BuiltinCase{u"FormatNumber", {D(0.5), I(0)}, S("1")},
                    BuiltinCase{u"FormatNumber", {D(2.675), I(2)}, S("2.68")},
                    BuiltinCase{u"FormatNumber", {D(-0.25), I(1), I(0), I(-1)}, S("(.3)")},
                    BuiltinCase{u"FormatNumber", {D(1234), I(0), kMissing, kMissing, I(0)}, S("1234")},
                    BuiltinCase{u"FormatNumber", {D(-0.001), I(2)}, S("0.00")},
                    BuiltinCase{u"FormatNumber", {S("x")}, {}, 13},
                    BuiltinCase{u"FormatPercent", {D(0.256), I(1)}, S("25.6%")},
                    BuiltinCase{u"FormatDateTime", {Variant::date(46367.75), I(2)}, S("2026/12/11")},
                    BuiltinCase{u"FormatDateTime", {Variant::date(46367.75), I(4)}, S("18:00")},
                    BuiltinCase{u"FormatDateTime", {Variant::date(46367.75), I(1)}, S("Friday, December 11, 2026")},
                    BuiltinCase{u"FormatDateTime", {Variant::date(46367.75), I(9)}, {}, 5}));

INSTANTIATE_TEST_SUITE_P(
    Maths, Builtins,
    testing::Values(
        BuiltinCase{u"Abs", {I(-5)}, I(5)}, BuiltinCase{u"Abs", {I(-32768)}, L(32768)}, BuiltinCase{u"Abs", {kNull}, kNull},
        BuiltinCase{u"Abs", {S("-1.5")}, D(1.5)}, BuiltinCase{u"Sgn", {D(-0.1)}, I(-1)}, BuiltinCase{u"Sgn", {Variant()}, I(0)},
        BuiltinCase{u"Int", {D(-1.5)}, D(-2)}, BuiltinCase{u"Fix", {D(-1.5)}, D(-1)}, BuiltinCase{u"Int", {I(7)}, I(7)},
        BuiltinCase{u"Int", {Cur(-1.5)}, Cur(-2)}, BuiltinCase{u"Fix", {Cur(-1.5)}, Cur(-1)},
        BuiltinCase{u"Round", {D(2.5)}, D(2)}, BuiltinCase{u"Round", {D(3.5)}, D(4)}, BuiltinCase{u"Round", {D(-2.5)}, D(-2)},
        BuiltinCase{u"Round", {D(2.345), I(2)}, D(2.34)}, BuiltinCase{u"Round", {D(2.355), I(2)}, D(2.36)},
        BuiltinCase{u"Round", {D(1.005), I(2)}, D(1.0)}, BuiltinCase{u"Round", {D(1.5), I(-1)}, {}, 5},
        BuiltinCase{u"Round", {S("7.5")}, D(8)}, BuiltinCase{u"Sqr", {I(16)}, D(4)}, BuiltinCase{u"Sqr", {I(-1)}, {}, 5},
        BuiltinCase{u"Log", {I(0)}, {}, 5}, BuiltinCase{u"Exp", {I(0)}, D(1)}, BuiltinCase{u"Exp", {I(1000)}, {}, 6},
        BuiltinCase{u"Atn", {I(0)}, D(0)}, BuiltinCase{u"Sin", {kNull}, kNull}, BuiltinCase{u"Sin", {S("x")}, {}, 13}));

INSTANTIATE_TEST_SUITE_P(
    Dates, Builtins,
    testing::Values(
        BuiltinCase{u"Year", {S("2026/12/11 10:20:30")}, I(2026)}, BuiltinCase{u"Month", {Variant::date(46367)}, I(12)},
        BuiltinCase{u"Second", {S("10:20:30")}, I(30)}, BuiltinCase{u"Day", {kNull}, kNull},
        BuiltinCase{u"Weekday", {Variant::date(46367)}, I(6)}, BuiltinCase{u"Weekday", {Variant::date(46367), I(2)}, I(5)},
        BuiltinCase{u"WeekdayName", {I(1)}, S("Sunday")}, BuiltinCase{u"WeekdayName", {I(1), Bool(true), I(2)}, S("Mon")},
        BuiltinCase{u"WeekdayName", {I(8)}, {}, 5}, BuiltinCase{u"MonthName", {I(2), Bool(true)}, S("Feb")},
        BuiltinCase{u"DateSerial", {I(2026), I(14), I(0)}, Variant::date(46418)},  // 2027/01/31
        BuiltinCase{u"DateSerial", {I(99), I(1), I(1)}, Variant::date(36161)},     // 1999/01/01
        BuiltinCase{u"TimeSerial", {I(25), I(0), I(0)}, Variant::date(1 + 1.0 / 24)},
        BuiltinCase{u"TimeSerial", {I(-1), I(0), I(0)}, Variant::date(-1 - 23.0 / 24)},
        BuiltinCase{u"DateAdd", {S("m"), I(1), S("2026/01/31")}, Variant::date(46081)},  // 2026/02/28
        BuiltinCase{u"DateAdd", {S("yyyy"), I(-1), S("2024/02/29")}, Variant::date(44985)},  // 2023/02/28
        BuiltinCase{u"DateAdd", {S("h"), I(25), S("2026/12/11")}, Variant::date(46368 + 1.0 / 24)},
        BuiltinCase{u"DateAdd", {S("x"), I(1), S("2026/12/11")}, {}, 5},
        BuiltinCase{u"DateAdd", {S("yyyy"), I(9000), S("2026/12/11")}, {}, 5},
        BuiltinCase{u"DateDiff", {S("d"), S("2026/12/11 23:00"), S("2026/12/12 01:00")}, L(1)},
        BuiltinCase{u"DateDiff", {S("yyyy"), S("2026/12/31"), S("2027/01/01")}, L(1)},
        BuiltinCase{u"DateDiff", {S("m"), S("2027/03/01"), S("2026/12/31")}, L(-3)},
        BuiltinCase{u"DateDiff", {S("h"), S("10:59"), S("11:00")}, L(1)},
        BuiltinCase{u"DateDiff", {S("s"), S("10:00:00"), S("10:01:30")}, L(90)},
        BuiltinCase{u"DateDiff", {S("ww"), S("2026/12/12"), S("2026/12/13")}, L(1)},  // Saturday to Sunday
        BuiltinCase{u"DateDiff", {S("w"), S("2026/12/12"), S("2026/12/13")}, L(0)},
        BuiltinCase{u"DatePart", {S("q"), S("2026/08/01")}, L(3)},
        BuiltinCase{u"DatePart", {S("y"), S("2026/02/01")}, L(32)},
        BuiltinCase{u"DatePart", {S("ww"), S("2026/01/04")}, L(2)},  // 2026/01/01 is a Thursday
        BuiltinCase{u"DateValue", {S("2026/12/11 10:00")}, Variant::date(46367)},
        BuiltinCase{u"TimeValue", {S("2026/12/11 18:00")}, Variant::date(0.75)},
        BuiltinCase{u"DateValue", {S("nonsense")}, {}, 13}));

INSTANTIATE_TEST_SUITE_P(
    Arrays, Builtins,
    testing::Values(BuiltinCase{u"UBound", {makeArray({I(1), I(2)})}, L(1)}, BuiltinCase{u"LBound", {makeArray({})}, L(0)},
                    BuiltinCase{u"UBound", {makeArray({})}, L(-1)}, BuiltinCase{u"UBound", {makeArray({}), I(2)}, {}, 9},
                    BuiltinCase{u"UBound", {S("x")}, {}, 13}, BuiltinCase{u"RGB", {I(1), I(2), I(300)}, L(0xFF0201)}));

TEST(BuiltinArrays, ArrayHoldsItsArgumentsAndSplitGivesStrings) {
  const Variant a = callBuiltin(u"Array", {I(1), S("two"), Variant::null()});
  EXPECT_EQ(a.vartype(), 8204);
  ASSERT_EQ(a.rawArray().size(), 3u);
  EXPECT_TRUE(same(a.rawArray().data()[1], S("two")));

  const std::pair<std::vector<Variant>, std::vector<const char*>> splits[] = {
      {{S("a,b,,c"), S(",")}, {"a", "b", "", "c"}},
      {{S("a b")}, {"a", "b"}},
      {{S("a,b,c"), S(","), I(2)}, {"a", "b,c"}},
      {{S("aXbxc"), S("x"), I(-1), I(1)}, {"a", "b", "c"}},
      {{S(""), S(",")}, {}},
      {{S("abc"), S("")}, {"abc"}},
  };
  for (const auto& [args, parts] : splits) {
    const Variant result = callBuiltin(u"Split", args);
    EXPECT_EQ(result.vartype(), 8200);
    QStringList got;
    for (const Variant& v : result.rawArray().data()) got << v.rawString();
    QStringList want;
    for (const char* p : parts) want << QString::fromLatin1(p);
    EXPECT_EQ(got, want) << describe(args[0]);
  }
}

TEST(BuiltinArrays, FilterKeepsOrDropsMatches) {
  const Variant words = makeArray({S("apple"), S("Banana"), S("cherry")});
  const Variant kept = callBuiltin(u"Filter", {words, S("an")});
  ASSERT_EQ(kept.rawArray().size(), 1u);
  EXPECT_TRUE(same(kept.rawArray().data()[0], S("Banana")));
  EXPECT_EQ(callBuiltin(u"Filter", {words, S("A"), Bool(true), I(1)}).rawArray().size(), 2u);
  EXPECT_EQ(callBuiltin(u"Filter", {words, S("a"), Bool(false)}).rawArray().size(), 1u);
}

TEST(BuiltinMaths, RndRepeatsASeededSequence) {
  const Variant first = callBuiltin(u"Rnd", {I(-1)});
  const Variant second = callBuiltin(u"Rnd", {});
  EXPECT_EQ(first.vartype(), 4);
  EXPECT_TRUE(same(callBuiltin(u"Rnd", {I(0)}), second));
  EXPECT_TRUE(same(callBuiltin(u"Rnd", {I(-1)}), first));
  EXPECT_TRUE(same(callBuiltin(u"Rnd", {}), second));
  for (int i = 0; i < 1000; ++i) {
    const float r = callBuiltin(u"Rnd", {}).rawSingle();
    ASSERT_TRUE(r >= 0 && r < 1) << r;
  }
  callBuiltin(u"Randomize", {I(42)});
  EXPECT_FALSE(callBuiltin(u"Rnd", {}).identical(second));
}

TEST(BuiltinConstants, CarryTheirTypesAndValues) {
  EXPECT_TRUE(same(*findConstant(u"vbcrlf"), S("\r\n")));
  EXPECT_TRUE(same(*findConstant(u"vbTab"), S("\t")));
  EXPECT_TRUE(same(*findConstant(u"vbLong"), I(3)));
  EXPECT_TRUE(same(*findConstant(u"vbYesNo"), I(4)));
  EXPECT_TRUE(same(*findConstant(u"vbArray"), I(8192)));
  EXPECT_TRUE(same(*findConstant(u"vbMsgBoxSetForeground"), L(65536)));
  EXPECT_TRUE(same(*findConstant(u"vbObjectError"), L(-2147221504)));
  EXPECT_EQ(findConstant(u"vbNullChar")->rawString().size(), 1);
  EXPECT_FALSE(findConstant(u"ForReading").has_value());  // scripts declare it themselves
  EXPECT_EQ(findBuiltin(u"Eval"), nullptr);                 // the VM's
}

}  // namespace
}  // namespace tarvix::builtins
