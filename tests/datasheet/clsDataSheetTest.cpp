#include "datasheet/clsDataSheet.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "base/TextFile.h"
#include "datasheet/DataSheet.h"
#include "dispatch/ClassRegistry.h"
#include "dispatch/SafeArray.h"
#include "support/ScriptedPrompts.h"

namespace tarvix {
namespace {

class CsvObject : public ::testing::Test {
 protected:
  CsvObject() { sheet.ResizeTable(3, 3); }

  Variant get(QStringView member, std::initializer_list<Variant> args) {
    return csv->call(member, CallKind::PropertyGet, args);
  }
  void let(QStringView member, std::initializer_list<Variant> args) { csv->call(member, CallKind::PropertyLet, args); }

  DataSheet sheet;
  ObjectRef csv{new clsDataSheet(sheet)};
  QSignalSpy modified{&sheet, &DataSheet::projectModified};
};

TEST_F(CsvObject, TextMatrixTakesOptionalCornersAndDelimiters) {
  let(u"TextMatrix", {Variant(1), Variant(1), Variant(2), Variant(2), Variant("|"), Variant(";"), Variant("a;b|c;d")});
  EXPECT_EQ(modified.count(), 1);
  EXPECT_EQ(get(u"textmatrix", {Variant(2), Variant(2)}).rawString(), QStringLiteral("d"));
  EXPECT_EQ(get(u"TextMatrix", {Variant(1), Variant(1), Variant(2), Variant(2), Variant("/"), Variant(",")}).rawString(),
            QStringLiteral("a,b/c,d"));
  // Omitted arguments: the second corner is the first, the delimiters CR LF and tab.
  EXPECT_EQ(get(u"TextMatrix", {Variant(1), Variant(1), Variant(2), Variant(2)}).rawString(),
            QStringLiteral("a\tb\r\nc\td"));
  EXPECT_EQ(get(u"TextMatrix", {Variant(1), Variant(2), Variant::missing(), Variant::missing()}).rawString(),
            QStringLiteral("b"));
  // Corners may come as texts and delimiters by reference.
  Variant rowDelimiter("!");
  EXPECT_EQ(get(u"TextMatrix", {Variant("2"), Variant(1), Variant(1), Variant(1), Variant::byRef(&rowDelimiter)}).rawString(),
            QStringLiteral("a!c"));
}

TEST_F(CsvObject, RangeErrorsAndBadArgumentsReachTheScript) {
  const struct {
    std::initializer_list<Variant> args;
    int error;
  } cases[] = {
      {{Variant(0), Variant(1)}, ErrorNumber::SubscriptOutOfRange},
      {{Variant(1), Variant(1), Variant(-1), Variant(3)}, ErrorNumber::SubscriptOutOfRange},
      {{Variant(4), Variant(1)}, ErrorNumber::SubscriptOutOfRange},
      {{Variant("x"), Variant(1)}, ErrorNumber::TypeMismatch},
      {{Variant(1)}, ErrorNumber::WrongArgumentCount},
  };
  for (const auto& c : cases) {
    for (QStringView member : {u"TextMatrix", u"ValueMatrix"}) {
      try {
        get(member, c.args);
        ADD_FAILURE() << "no error from " << member.toString().toStdString();
      } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), c.error);
      }
    }
  }
  EXPECT_EQ(modified.count(), 0);
}

TEST_F(CsvObject, ValueMatrixGivesNumbersAndArrays) {
  let(u"ValueMatrix", {Variant(3), Variant(3), Variant("12")});
  const Variant single = get(u"ValueMatrix", {Variant(3), Variant(3)});
  EXPECT_EQ(single.type(), VarType::Long);
  EXPECT_EQ(single.rawLong(), 12);
  const Variant block = get(u"ValueMatrix", {Variant(2), Variant(2), Variant(3), Variant(3)});
  ASSERT_TRUE(block.isArray());
  EXPECT_EQ(block.rawArray().ubound(1), 2);
  EXPECT_EQ(block.rawArray().ubound(2), 2);
  EXPECT_EQ(modified.count(), 1);
}

TEST_F(CsvObject, FileOperationsReportFailuresInAWarningAndReturnNormally) {
  test::ScriptedPrompts prompts;
  QTemporaryDir dir;
  Variant missing(dir.filePath("missing.csv"));
  EXPECT_NO_THROW(csv->call(u"LoadFile", CallKind::Method, {Variant::byRef(&missing)}));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(MsgBox::iconOf(prompts.records[0].style), MsgBox::Exclamation);

  sheet.setCell(1, 2, "x");
  const QString file = dir.filePath("saved.csv");
  csv->call(u"SaveFile", CallKind::Method, {Variant(file)});
  EXPECT_EQ(readFileBytes(file).value(), QByteArray(",x,\r\n,,\r\n,,\r\n"));
  EXPECT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(modified.count(), 0);
}

TEST(CsvClass, IsCreatableByNameAndSharesTheOneSheet) {
  DataSheet sheet;
  ClassRegistry registry;
  registerDataSheetClass(registry, sheet);
  const ObjectRef created = registry.create(u"tarvix.clsdatasheet");
  ASSERT_TRUE(created);
  EXPECT_EQ(created->typeName(), QStringLiteral("clsDataSheet"));
  created->call(u"TextMatrix", CallKind::PropertyLet, {Variant(1), Variant(1), Variant("shared")});
  EXPECT_EQ(sheet.cell(1, 1), QStringLiteral("shared"));
}

}  // namespace
}  // namespace tarvix
