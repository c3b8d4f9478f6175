#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dispatch/AutomationError.h"
#include "dispatch/SafeArray.h"
#include "engine/converter/ValueConverter.h"
#include "engine/converter/ValueText.h"

namespace tarvix::engine {
namespace {

int errorOf(const QString& text) {
  try {
    textToValue(text);
  } catch (const AutomationError& error) {
    return error.number();
  }
  return 0;
}

Variant typedArray(VarType type, std::vector<SafeArray::Bound> bounds, std::vector<Variant> values) {
  Ref<SafeArray> array(new SafeArray(type, std::move(bounds)));
  for (std::size_t i = 0; i < values.size(); ++i)
    array->data()[i] = type == VarType::Variant ? values[i] : values[i].convertedTo(type);
  return Variant(array.get());
}

// Structural equality that also compares array elements (identical() compares
// arrays by storage).
bool sameValue(const Variant& a, const Variant& b) {
  if (a.vartype() != b.vartype()) return false;
  if (!a.isArray()) {
    if (a.type() == VarType::Double) return std::memcmp(&a, &b, sizeof a) == 0 || a.identical(b);
    return a.identical(b);
  }
  const SafeArray& x = a.rawArray();
  const SafeArray& y = b.rawArray();
  if (x.rank() != y.rank() || x.size() != y.size()) return false;
  for (int d = 0; d < x.rank(); ++d)
    if (x.bounds()[d].lower != y.bounds()[d].lower || x.bounds()[d].count != y.bounds()[d].count) return false;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!sameValue(x.data()[i], y.data()[i])) return false;
  return true;
}

struct TextCase {
  Variant value;
  QString text;
};

TEST(ValueText, WritesEachTypeInItsDocumentedForm) {
  const std::vector<TextCase> cases{
      {Variant(), "0,"},
      {Variant::null(), "1,"},
      {Variant(std::int16_t(-32768)), "2,-32768"},
      {Variant(std::int32_t(2147483647)), "3,2147483647"},
      {Variant(0.1f), "4,0.1"},
      {Variant(0.1 + 0.2), "5,0.30000000000000004"},
      {Variant(1e20), "5,1e+20"},
      {Variant::currency(-125000), "6,-12.5"},
      {Variant::currency(std::numeric_limits<std::int64_t>::min()), "6,-922337203685477.5808"},
      {Variant::date(46053.5), "7,2026/01/31 12:00:00"},
      {Variant::date(46053.0), "7,2026/01/31"},
      {Variant::date(0.25), "7,06:00:00"},
      {Variant::date(46053.123456789), "7,46053.123456789"},
      {Variant(QStringLiteral("a,b\nc")), "8,a,b\nc"},
      {Variant(QString()), "8,"},
      {Variant::error(-5), "10,-5"},
      {Variant(true), "11,True"},
      {Variant(false), "11,False"},
      {Variant(std::uint8_t(255)), "17,255"},
      {typedArray(VarType::Long, {{0, 3}}, {1, 2, 3}), "8195,{1,2,3}"},
      {typedArray(VarType::String, {{0, 3}}, {"a", "b,\"c\"", ""}), "8200,{\"a\",\"b,\"\"c\"\"\",\"\"}"},
      {typedArray(VarType::Double, {{1, 2}, {0, 2}}, {1.5, 2.0, 3.0, 4.0}), "8197,(1 to 2, 0 to 1){1.5,2,3,4}"},
      {typedArray(VarType::Byte, {{0, 0}}, {}), "8209,{}"},
      {typedArray(VarType::Variant, {{0, 2}}, {std::int32_t(7), Variant("x y")}), "8204,{\"3,7\",\"8,x y\"}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(valueToText(c.value), c.text);
    EXPECT_TRUE(sameValue(textToValue(c.text), c.value));
  }
}

TEST(ValueText, EveryKindOfValueRoundTrips) {
  const Variant nested = typedArray(VarType::Variant, {{0, 2}}, {Variant(true), typedArray(VarType::String, {{0, 1}}, {"}{"})});
  const std::vector<Variant> values{
      Variant(std::nan("")).convertedTo(VarType::Double), Variant(-0.0), Variant(std::numeric_limits<double>::max()),
      Variant(std::numeric_limits<double>::denorm_min()), Variant(std::numeric_limits<float>::infinity()),
      Variant(1.0f / 3.0f), Variant::currency(std::numeric_limits<std::int64_t>::max()), Variant::currency(1),
      Variant::date(-1.25), Variant::date(2958465.5), Variant::date(1e9), Variant(QStringLiteral(" lead and trail ")),
      Variant(QStringLiteral("\"")), typedArray(VarType::Date, {{0, 2}}, {Variant::date(1.5), Variant::date(0.0)}),
      typedArray(VarType::Currency, {{-3, 1}}, {Variant::currency(5)}),
      typedArray(VarType::Boolean, {{0, 2}}, {true, false}), typedArray(VarType::Single, {{0, 1}}, {0.2f}),
      typedArray(VarType::Integer, {{0, 2}, {0, 0}}, {}), nested,
      typedArray(VarType::Variant, {{0, 3}}, {Variant(), Variant::null(), Variant(std::int16_t(1))}),
  };
  for (const Variant& value : values) {
    SCOPED_TRACE(value.vartype());
    const QString text = valueToText(value);
    SCOPED_TRACE(text.toStdString());
    Variant back;
    ASSERT_NO_THROW(back = textToValue(text));
    if (value.type() == VarType::Double && std::isnan(value.rawDouble()))
      EXPECT_TRUE(back.type() == VarType::Double && std::isnan(back.rawDouble()));
    else
      EXPECT_TRUE(sameValue(back, value));
    EXPECT_EQ(valueToText(back), text);
  }
}

TEST(ValueText, ReadsTheFormsScriptsWrite) {
  EXPECT_EQ(textToValue("3,&H1F").rawLong(), 31);
  EXPECT_EQ(textToValue("3, 42 ").rawLong(), 42);
  EXPECT_EQ(textToValue("2,2.5").rawInteger(), 2);  // banker's rounding
  EXPECT_TRUE(textToValue("11,true").rawBool());
  EXPECT_TRUE(textToValue("0").isEmpty());
  EXPECT_TRUE(textToValue("1").isNull());
  EXPECT_EQ(textToValue("6,0.00005").rawCurrency(), 0);   // half to even
  EXPECT_EQ(textToValue("6,0.00015").rawCurrency(), 2);
  EXPECT_EQ(textToValue("6,1.000051").rawCurrency(), 10001);
  EXPECT_EQ(textToValue("7,2026-01-31").rawDate(), 46053.0);
  EXPECT_EQ(textToValue("8195, ( 1 to 2 ) { 5 , 6 } ").rawArray().lbound(), 1);
}

TEST(ValueText, RefusesTextThatIsNotAValueOfItsCode) {
  const std::vector<std::pair<QString, int>> cases{
      {"", 5}, {"x,1", 5}, {"99,1", 5}, {"8192,{}", 5}, {"3", 5},
      {"9,...", 13}, {"9", 13},
      {"3,abc", 13}, {"2,40000", 6}, {"17,-1", 6}, {"6,1e400", 13},
      {"6,922337203685477.5808", 6}, {"11,maybe", 13}, {"7,not a date", 13}, {"10,x", 13},
      {"8195,{1,2", 13}, {"8195,1,2", 13}, {"8195,{1}x", 13}, {"8195,{\"1}", 13},
      {"8195,(0 to 1){1}", 13}, {"8195,(0 to 1){1,2,3}", 13}, {"8195,(1 to 0, 0 to 9){}", 0}, {"8195,(1 to 0, 0 to 2147483647){}", 13},
      {"8195,(0 to 2147483647, 0 to 2147483647){1}", 13}, {"8195,(0 to -2){}", 13}, {"8195,(a to b){}", 13},
      {"8195,{x}", 13}, {"8204,{\"9,x\"}", 13},
  };
  for (const auto& [text, number] : cases) {
    SCOPED_TRACE(text.toStdString());
    EXPECT_EQ(errorOf(text), number);
  }
}

TEST(ValueText, ObjectsHaveNoTextForm) {
  try {
    valueToText(Variant::nothing());
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.number(), 13);
  }
}

TEST(ValueConverter, AnswersBothDirectionsByMemberName) {
  Ref<ValueConverter> converter(new ValueConverter);
  const Variant value = converter->call(u"TextToValue", CallKind::Method, {"8200,{\"a\",\"b\"}"});
  EXPECT_EQ(value.vartype(), 8200);
  EXPECT_EQ(converter->call(u"ValueToText", CallKind::Method, {value, 0}).toString(), "8200,{\"a\",\"b\"}");
  try {
    converter->call(u"TextToValue", CallKind::Method, {"3,x"});
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.number(), 13);
  }
}

}  // namespace
}  // namespace tarvix::engine
