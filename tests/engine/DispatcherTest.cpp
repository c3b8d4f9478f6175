// The dispatcher procedure that the Vars event bindings generate, run as the
// engine runs it: its own module next to the script's handlers.
#include <gtest/gtest.h>

#include "TestVars.h"
#include "engine/language/Script.h"

namespace tarvix::test {
namespace {

using script::FiberState;

// The generated text: CR LF between lines, none after the last.
QString dispatcherText(const std::vector<std::pair<QString, QString>>& bindings) {
  QStringList lines{QStringLiteral("Sub Dispatcher__()"), QStringLiteral("  Do")};
  for (const auto& [varsId, handler] : bindings)
    lines << QStringLiteral("     If Vars(") + varsId + QStringLiteral(").Changed Then ") + handler +
                 QStringLiteral(":Vars(") + varsId + QStringLiteral(").Changed = False");
  lines << QStringLiteral("     Ext.Delay 0") << QStringLiteral("  Loop") << QStringLiteral("End Sub");
  return lines.join(QStringLiteral("\r\n"));
}

const char* kHandlers =
    "Sub OnTemperature()\n"
    "  Ext.Print \"temperature \" & Vars(3).Value\n"
    "End Sub\n"
    "Sub OnPressure\n"
    "  Ext.Print \"pressure \" & Vars(7).Value & \" changed=\" & Vars(7).Changed\n"
    "End Sub\n";

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    vars = Ref<TestVars>(new TestVars(10));
    script.addObject(QStringLiteral("Vars"), vars.get());
    script.setOutput([this](const QString& line) { output << line; });
    script.addModule(QStringLiteral("handlers.vbs"), QString::fromUtf8(kHandlers));
    script.addModule(QStringLiteral("(module text)"),
                     dispatcherText({{QStringLiteral("3"), QStringLiteral("OnTemperature")},
                                     {QStringLiteral("7"), QStringLiteral("OnPressure")}}));
    ASSERT_TRUE(script.compile()) << script.compileError().number << " line " << script.compileError().line;
    ASSERT_TRUE(script.fiber().start(QStringLiteral("Dispatcher__")));
  }
  // Runs the fiber until it yields in Ext.Delay 0.
  void untilYield() {
    for (int i = 0; i < 10; ++i) {
      FiberState state = script.fiber().runSlice({100000, -1});
      if (state == FiberState::Delayed) {
        // Delay 0: runnable again right away.
        ASSERT_TRUE(script.fiber().isRunnable());
        return;
      }
      ASSERT_EQ(state, FiberState::Running);
    }
    FAIL() << "the dispatcher never yielded";
  }

  Ref<TestVars> vars;
  script::Script script;
  QStringList output;
};

TEST_F(Dispatcher, CallsTheHandlerOfEachChangedVariableAndClearsItsFlag) {
  untilYield();
  EXPECT_TRUE(output.isEmpty());
  vars->at(3).value = Variant(std::int32_t{21});
  vars->at(3).changed = true;
  untilYield();
  EXPECT_EQ(output, QStringList{QStringLiteral("temperature 21")});
  EXPECT_FALSE(vars->at(3).changed);

  output.clear();
  vars->at(7).value = Variant(QStringLiteral("high"));
  vars->at(7).changed = true;
  vars->at(3).changed = true;
  untilYield();
  // Bindings run in their order; the flag is cleared only after the handler.
  EXPECT_EQ(output, (QStringList{QStringLiteral("temperature 21"), QStringLiteral("pressure high changed=True")}));
  EXPECT_FALSE(vars->at(7).changed);
  EXPECT_EQ(script.fiber().state(), FiberState::Delayed);
}

TEST_F(Dispatcher, UnboundVariablesAreLeftAlone) {
  vars->at(5).changed = true;
  untilYield();
  EXPECT_TRUE(output.isEmpty());
  EXPECT_TRUE(vars->at(5).changed);
}

TEST(DispatcherText, MissingHandlerFailsAtRunTimeWithItsLine) {
  Ref<TestVars> vars(new TestVars(2));
  script::Script script;
  script.addObject(QStringLiteral("Vars"), vars.get());
  script.addModule(QStringLiteral("(module text)"), dispatcherText({{QStringLiteral("1"), QStringLiteral("NoSuchSub")}}));
  ASSERT_TRUE(script.compile());
  ASSERT_TRUE(script.fiber().start(QStringLiteral("Dispatcher__")));
  vars->at(1).changed = true;
  EXPECT_EQ(script.fiber().runSlice({100000, -1}), FiberState::Error);
  EXPECT_EQ(script.fiber().error().number, 13);
  EXPECT_EQ(script.fiber().error().line, 3);
  EXPECT_EQ(script.fiber().error().module, 0);
}

}  // namespace
}  // namespace tarvix::test
