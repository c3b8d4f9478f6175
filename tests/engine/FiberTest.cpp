// The fiber API the script instances drive: slices, delays, pause, step,
// abort, calls from C++ into script objects, and several fibers sharing the
// event loop.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <memory>

#include "ScriptRunner.h"
#include "TestVars.h"
#include "base/Clock.h"
#include "engine/language/Scheduler.h"
#include "engine/language/Script.h"

namespace tarvix::test {
namespace {

using script::FiberState;

class Fiber : public ::testing::Test {
 protected:
  void SetUp() override {
    setClock(&clock);
    vars = Ref<TestVars>(new TestVars(3));
    script.addObject(QStringLiteral("Vars"), vars.get());
    script.setOutput([this](const QString& line) { output << line; });
  }
  void TearDown() override { setClock(nullptr); }
  void load(const char* source) {
    script.addModule(QStringLiteral("main.vbs"), QString::fromUtf8(source));
    ASSERT_TRUE(script.compile()) << script.compileError().number << " line " << script.compileError().line;
  }
  int counter() { return vars->at(0).value.toLong(); }

  ManualClock clock;
  Ref<TestVars> vars;
  script::Script script;
  QStringList output;
};

TEST_F(Fiber, SliceBudgetSuspendsAnEndlessLoopThatLaterContinues) {
  load("Vars(0).Value = 0\nDo : Vars(0).Value = Vars(0).Value + 1 : Loop\n");
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice({500, -1}), FiberState::Running);
  const int first = counter();
  EXPECT_GT(first, 100);
  EXPECT_LE(first, 500);
  EXPECT_EQ(script.fiber().runSlice({500, -1}), FiberState::Running);
  EXPECT_GT(counter(), first);
  EXPECT_EQ(script.fiber().currentLine(), 2);
}

TEST_F(Fiber, DelaySuspendsUntilTheWakeTime) {
  load("Ext.Print \"before\"\nExt.Delay 500\nExt.Print \"after\"\n");
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Delayed);
  EXPECT_EQ(output, QStringList{QStringLiteral("before")});
  EXPECT_EQ(script.fiber().wakeAtMs(), 500);
  EXPECT_FALSE(script.fiber().isRunnable());
  clock.advanceMs(499);
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Delayed);
  EXPECT_EQ(output.size(), 1);
  clock.advanceMs(1);
  EXPECT_TRUE(script.fiber().isRunnable());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Finished);
  EXPECT_EQ(output, (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
}

TEST_F(Fiber, DelayZeroOnlyYields) {
  load("Ext.Delay 0\nExt.Print \"done\"\n");
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Delayed);
  EXPECT_TRUE(script.fiber().isRunnable());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Finished);
}

TEST_F(Fiber, StepOverRunsOneStatementAtTheCurrentDepth) {
  load("Sub Work()\n"          // 1
       "  Ext.Print \"in\"\n"  // 2
       "End Sub\n"             // 3
       "Ext.Print \"a\"\n"     // 4
       "Work\n"                // 5
       "Ext.Print \"b\"\n");   // 6
  ASSERT_TRUE(script.fiber().start());
  script.fiber().stepOver();
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Paused);
  EXPECT_EQ(script.fiber().currentLine(), 4);
  EXPECT_TRUE(output.isEmpty());
  script.fiber().stepOver();
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Paused);
  EXPECT_EQ(script.fiber().currentLine(), 5);
  EXPECT_EQ(output, QStringList{QStringLiteral("a")});
  script.fiber().stepOver();  // the call runs through
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Paused);
  EXPECT_EQ(script.fiber().currentLine(), 6);
  EXPECT_EQ(output, (QStringList{QStringLiteral("a"), QStringLiteral("in")}));
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Paused);  // paused stays paused
  script.fiber().resume();
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Finished);
  EXPECT_EQ(output.size(), 3);
}

TEST_F(Fiber, PauseFromInsideAHostCallStopsAtTheNextStatement) {
  load("Ext.Print \"one\"\nExt.Print \"two\"\n");
  script.setOutput([this](const QString& line) {
    output << line;
    script.fiber().pause();
  });
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Paused);
  EXPECT_EQ(output, QStringList{QStringLiteral("one")});
  EXPECT_EQ(script.fiber().currentLine(), 2);
}

TEST_F(Fiber, AbortEndsTheScriptAndReleasesItsFrames) {
  load("Class Noisy\n  Private Sub Class_Terminate() : Ext.Print \"terminated\" : End Sub\nEnd Class\n"
       "Sub Spin()\n  Dim keep\n  Set keep = New Noisy\n  Do : Loop\nEnd Sub\nSpin\n");
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice({1000, -1}), FiberState::Running);
  script.fiber().abort();
  EXPECT_EQ(script.fiber().state(), FiberState::Idle);
  EXPECT_EQ(output, QStringList{QStringLiteral("terminated")});
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Idle);
}

TEST_F(Fiber, StartsANamedProcedureWithArguments) {
  load("Sub Show(a, b)\n  Ext.Print a & \"+\" & b\nEnd Sub\n");
  ASSERT_TRUE(script.fiber().startProcedure(QStringLiteral("show"), {Variant(std::int16_t{1}), Variant("x")}));
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Finished);
  EXPECT_EQ(output, QStringList{QStringLiteral("1+x")});
  EXPECT_FALSE(script.fiber().startProcedure(QStringLiteral("Missing")));
  EXPECT_EQ(script.fiber().error().number, 35);
}

TEST_F(Fiber, RuntimeErrorReportsNumberLineAndModule) {
  script.addModule(QStringLiteral("first.vbs"), QStringLiteral("Sub Fail()\n  x = 1\n  y = 1 / 0\nEnd Sub\n"));
  script.addModule(QStringLiteral("second.vbs"), QStringLiteral("Option Explicit\nFail\n"));
  ASSERT_TRUE(script.compile());
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Error);
  EXPECT_EQ(script.fiber().error().number, 11);
  EXPECT_EQ(script.fiber().error().line, 3);
  EXPECT_EQ(script.fiber().error().module, 0);
}

TEST_F(Fiber, UndefinedVariableUnderOptionExplicit) {
  load("Option Explicit\nDim a\na = 1\nb = 2\n");
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice(), FiberState::Error);
  EXPECT_EQ(script.fiber().error().number, 500);
  EXPECT_EQ(script.fiber().error().line, 4);
}

TEST_F(Fiber, DeepRecursionEndsInOutOfStackSpace) {
  load("Function Down(n)\n  Down = Down(n + 1)\nEnd Function\nDown 0\n");
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice({0, -1}), FiberState::Error);
  EXPECT_EQ(script.fiber().error().number, 28);
  EXPECT_EQ(script.fiber().error().line, 2);
}

TEST_F(Fiber, HostCodeCallsIntoAScriptObject) {
  load("Class Calc\n"
       "  Public Base\n"
       "  Public Function Twice(x) : Twice = (x + Base) * 2 : End Function\n"
       "  Public Property Let Offset(v) : Base = v : End Property\n"
       "End Class\n"
       "Set Vars(1).Value = New Calc\n");
  ASSERT_TRUE(script.fiber().start());
  ASSERT_EQ(script.fiber().runSlice(), FiberState::Finished);
  DispatchObject* calc = vars->at(1).value.rawObject();
  ASSERT_NE(calc, nullptr);
  calc->call(u"Offset", CallKind::PropertyLet, {Variant(std::int16_t{1})});
  EXPECT_EQ(calc->call(u"Twice", CallKind::Method, {Variant(std::int16_t{20})}).toLong(), 42);
  EXPECT_EQ(calc->call(u"base", CallKind::PropertyGet).toLong(), 1);
  EXPECT_THROW(calc->call(u"Missing", CallKind::Method), AutomationError);
}

TEST(FiberScheduler, TwoScriptsProgressWhileTheEventLoopRuns) {
  Ref<TestVars> vars(new TestVars(1));
  script::Script spinner;
  spinner.addObject(QStringLiteral("Vars"), vars.get());
  spinner.addModule(QStringLiteral("spin.vbs"),
                    QStringLiteral("Vars(0).Value = 0\nDo : Vars(0).Value = Vars(0).Value + 1 : Loop\n"));
  script::Script worker;
  QStringList printed;
  worker.setOutput([&](const QString& line) { printed << line; });
  worker.addModule(QStringLiteral("work.vbs"),
                   QStringLiteral("For i = 1 To 5\n  Ext.Print i\n  Ext.Delay 2\nNext\n"));
  ASSERT_TRUE(spinner.compile());
  ASSERT_TRUE(worker.compile());
  ASSERT_TRUE(spinner.fiber().start());
  ASSERT_TRUE(worker.fiber().start());

  script::Scheduler scheduler;
  scheduler.setBaseSlice(5, 0);
  scheduler.add(&spinner.fiber());
  scheduler.add(&worker.fiber(), 2);
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(1);
  QEventLoop loop;
  QElapsedTimer elapsed;
  elapsed.start();
  while (elapsed.elapsed() < 5000 && (worker.fiber().state() != FiberState::Finished || ticks < 5))
    loop.processEvents(QEventLoop::AllEvents, 10);

  EXPECT_EQ(worker.fiber().state(), FiberState::Finished);
  EXPECT_EQ(printed.size(), 5);
  EXPECT_GE(ticks, 5);
  EXPECT_EQ(spinner.fiber().state(), FiberState::Running);
  EXPECT_GT(vars->at(0).value.toLong(), 1000);
}

}  // namespace
}  // namespace tarvix::test

namespace tarvix::test {
namespace {

TEST(FiberScheduler, RoundStopsAtItsTimeLimitAndTheNextRoundContinuesWithTheNextFiber) {
  ManualClock clock;
  setClock(&clock);
  QStringList ran;
  std::vector<std::unique_ptr<script::Script>> scripts;
  script::Scheduler scheduler;
  scheduler.setBaseSlice(-1, 3);
  scheduler.setRoundLimit(15);
  for (int i = 0; i < 3; ++i) {
    auto s = std::make_unique<script::Script>();
    s->setOutput([&ran, &clock, i](const QString&) {
      ran << QString::number(i);
      clock.advanceMs(10);  // every statement "takes" 10 ms
    });
    s->addModule(QStringLiteral("m.vbs"), QStringLiteral("Do : Ext.Print 1 : Loop\n"));
    ASSERT_TRUE(s->compile());
    ASSERT_TRUE(s->fiber().start());
    scheduler.add(&s->fiber());
    scripts.push_back(std::move(s));
  }
  EXPECT_EQ(scheduler.runRound(), 2);
  EXPECT_EQ(scheduler.runRound(), 2);
  EXPECT_EQ(ran.join(QString()).left(4), QStringLiteral("0120"));
  setClock(nullptr);
}

}  // namespace
}  // namespace tarvix::test

namespace tarvix::test {
namespace {

TEST(FiberGuards, CompilingFromInsideTheRunningScriptIsRefused) {
  script::Script script;
  bool refused = false;
  script.setOutput([&](const QString&) {
    refused = !script.compile() && script.compileError().number == 5;
  });
  script.addModule(QStringLiteral("m.vbs"), QStringLiteral("Ext.Print 1\nExt.Print 2\n"));
  ASSERT_TRUE(script.compile());
  ASSERT_TRUE(script.fiber().start());
  EXPECT_EQ(script.fiber().runSlice(), script::FiberState::Finished);
  EXPECT_TRUE(refused);
}

}  // namespace
}  // namespace tarvix::test
