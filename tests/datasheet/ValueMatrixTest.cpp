#include <gtest/gtest.h>

#include "datasheet/CellValue.h"
#include "datasheet/DataSheet.h"
#include "dispatch/AutomationError.h"
#include "dispatch/SafeArray.h"

namespace tarvix {
namespace {

TEST(CellValue, NumericTextsBecomeNumbersAndEverythingElseStaysText) {
  const struct {
    const char* text;
    VarType type;
  } cases[] = {
      {"42", VarType::Long},      {"-7", VarType::Long},       {"2147483648", VarType::Double},
      {"1.5", VarType::Double},   {".5", VarType::Double},     {"1E3", VarType::Double},
      {"", VarType::String},      {" 5", VarType::String},     {"5 ", VarType::String},
      {"1,000", VarType::String}, {"inf", VarType::String},    {"nan", VarType::String},
      {"0x10", VarType::String},  {"abc", VarType::String},
  };
  for (const auto& c : cases) {
    const Variant value = cellValue(QString::fromUtf8(c.text));
    EXPECT_EQ(value.type(), c.type) << c.text;
    if (c.type == VarType::String) {
      EXPECT_EQ(value.rawString(), QString::fromUtf8(c.text));
    }
  }
  EXPECT_EQ(cellValue("42").rawLong(), 42);
  EXPECT_DOUBLE_EQ(cellValue("1E3").rawDouble(), 1000.0);
}

TEST(ValueMatrix, ARangeIsATwoDimensionalArrayRowsFirstFromOne) {
  DataSheet sheet;
  sheet.ResizeTable(3, 3);
  sheet.setTextMatrix(2, 2, 3, 3, "1,x\r\n2.5,", "\r\n", ",");

  EXPECT_EQ(sheet.ValueMatrix(2, 2).rawLong(), 1);
  const Variant block = sheet.ValueMatrix(3, 3, 2, 2);
  ASSERT_TRUE(block.isArray());
  const SafeArray& array = block.rawArray();
  ASSERT_EQ(array.rank(), 2);
  EXPECT_EQ(array.lbound(1), 1);
  EXPECT_EQ(array.ubound(1), 2);
  EXPECT_EQ(array.lbound(2), 1);
  EXPECT_EQ(array.ubound(2), 2);
  const std::int32_t topRight[] = {1, 2};
  const std::int32_t bottomLeft[] = {2, 1};
  EXPECT_EQ(array.at(topRight).rawString(), QStringLiteral("x"));
  EXPECT_DOUBLE_EQ(array.at(bottomLeft).rawDouble(), 2.5);
}

TEST(ValueMatrix, PutTakesAScalarForACellAndAnArrayForAnyRange) {
  DataSheet sheet;
  sheet.ResizeTable(3, 3);
  sheet.setValueMatrix(1, 1, -1, -1, Variant(2.5));
  sheet.setValueMatrix(1, 2, -1, -1, Variant(true));
  EXPECT_EQ(sheet.TextMatrix(1, 1, 1, 2, "", "|"), QStringLiteral("2.5|True"));

  // Array from 0: element (0, 0) lands in the top left; the third column of
  // the array falls outside the range, the range's third row keeps its text.
  sheet.setCell(3, 3, "kept");
  auto* array = new SafeArray(VarType::Variant, {{0, 1}, {0, 3}});
  const Variant value(array);
  array->data() = {Variant("a"), Variant(std::int32_t(7)), Variant("dropped")};
  sheet.setValueMatrix(2, 2, 3, 3, value);
  EXPECT_EQ(sheet.TextMatrix(2, 2, 3, 3, "|", ","), QStringLiteral("a,7|,kept"));
  EXPECT_EQ(sheet.cell(1, 3), QString());
}

TEST(ValueMatrix, WrongShapesRaiseTypeMismatchBeforeAnyCellChanges) {
  DataSheet sheet;
  sheet.ResizeTable(2, 2);
  sheet.setCell(1, 1, "before");

  auto* bad = new SafeArray(VarType::Variant, {{1, 1}, {1, 2}});
  const Variant badValue(bad);
  bad->data() = {Variant("fine"), makeArray({Variant(1.0)})};  // an array inside an element
  const Variant shapes[] = {Variant("scalar"), makeArray({Variant(1.0), Variant(2.0)}), badValue};
  for (const Variant& shape : shapes) {
    try {
      sheet.setValueMatrix(1, 1, 2, 2, shape);
      ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.number(), ErrorNumber::TypeMismatch);
    }
  }
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("before"));
}

}  // namespace
}  // namespace tarvix
