// Syntax errors carry the number users know and the line they are on.
#include <gtest/gtest.h>

#include "engine/language/Script.h"

namespace tarvix::test {
namespace {

struct BadSource {
  const char* name;
  const char* source;
  int number;
  int line;
};

class CompileErrors : public ::testing::TestWithParam<BadSource> {};

TEST_P(CompileErrors, ReportNumberAndLine) {
  const BadSource& c = GetParam();
  script::Script script;
  script.addModule(QStringLiteral("ok.vbs"), QStringLiteral("x = 1\n"));
  script.addModule(QStringLiteral("bad.vbs"), QString::fromUtf8(c.source));
  ASSERT_FALSE(script.compile());
  EXPECT_EQ(script.compileError().number, c.number);
  EXPECT_EQ(script.compileError().line, c.line);
  EXPECT_EQ(script.compileError().module, 1);
  EXPECT_FALSE(script.compileError().description.isEmpty());
}

const BadSource kCases[] = {
    {"SyntaxError", "x = 1\nx = = 2\n", 1023, 2},
    {"UnclosedParenthesis", "x = (1 + 2\n", 1006, 1},
    {"ExpectedIdentifier", "Dim 5\n", 1010, 1},
    {"ExpectedEndOfStatement", "x = 1 2\n", 1025, 1},
    {"ExpectedTo", "For i = 1 10\nNext\n", 1013, 1},
    {"ExpectedThen", "If x\nEnd If\n", 1017, 1},
    {"MissingEndIf", "If x Then\n  y = 1\n", 1014, 3},
    {"MissingLoop", "Do\n  x = 1\n", 1019, 3},
    {"MissingWend", "While x\n", 1018, 2},
    {"MissingNext", "For i = 1 To 2\n", 1020, 2},
    {"EndSubForFunction", "Function F()\nEnd Sub\n", 1015, 2},
    {"UnterminatedString", "x = 1\ny = \"abc\n", 1033, 2},
    {"InvalidCharacter", "x = 1 @ 2\n", 1032, 1},
    {"InvalidExit", "Exit Do\n", 1039, 1},
    {"ExitSubInFunction", "Function F()\n  Exit Sub\nEnd Function\n", 1039, 2},
    {"NameRedefined", "Sub A\nEnd Sub\nSub A\nEnd Sub\n", 1041, 3},
    {"MeOutsideClass", "x = 1\nSet y = Me\n", 1037, 2},
    {"PropertyOutsideClass", "Property Get P\nEnd Property\n", 1048, 1},
    {"DefaultPropertyLet", "Class C\n  Public Default Property Let P(v)\n  End Property\nEnd Class\n", 1058, 2},
    {"ReDimWithoutBounds", "ReDim x\n", 1005, 1},
    {"ExpectedCase", "Select x\nEnd Select\n", 1021, 1},
    {"LineAfterContinuation", "a = 1 + _\r\n  2\r\nb = (\r\n", 1023, 3},
    {"CrLfLineEnds", "a = 1\r\nb = 2\r\nc = 3 3\r\n", 1025, 3},
    {"InvalidNumber", "x = &HZZ\n", 1031, 1},
};

INSTANTIATE_TEST_SUITE_P(Table, CompileErrors, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvix::test
