#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QSignalSpy>

#include "engine/editor/ScriptEditor.h"
#include "engine/editor/ScriptHighlighter.h"
#include "engine/instance/ScriptWindow.h"

namespace tarvix::engine {
namespace {

TEST(ScriptWindow, ClosingOnlyHidesTheWindow) {
  ScriptWindow window;
  window.show();
  window.close();
  EXPECT_FALSE(window.isVisible());
  window.show();
  window.command("menu.file.exit")->trigger();
  EXPECT_FALSE(window.isVisible());
}

TEST(ScriptWindow, CommandsFollowTheHostAndTheRunState) {
  ScriptWindow window;
  EXPECT_FALSE(window.setItemEnabled("menu.file.nothing", false));
  EXPECT_TRUE(window.setItemEnabled("menu.file.exit", false));
  EXPECT_FALSE(window.command("menu.file.exit")->isEnabled());

  window.setRunState(1, 3);
  EXPECT_FALSE(window.command("tlbar.start")->isEnabled());
  EXPECT_TRUE(window.command("tlbar.pause")->isEnabled());
  EXPECT_TRUE(window.command("tlbar.stop")->isEnabled());
  EXPECT_FALSE(window.startupBox()->isEnabled());
  EXPECT_EQ(window.editor()->executionLine(), 0);  // not marked while running

  window.setRunState(2, 3);
  EXPECT_TRUE(window.command("tlbar.start")->isEnabled());
  EXPECT_TRUE(window.command("tlbar.stepover")->isEnabled());
  EXPECT_FALSE(window.command("tlbar.pause")->isEnabled());
  EXPECT_EQ(window.editor()->executionLine(), 3);

  window.setRunState(0, 0);
  EXPECT_TRUE(window.startupBox()->isEnabled());
  window.setItemEnabled("tlbar.startup", false);
  EXPECT_FALSE(window.startupBox()->isEnabled());
  EXPECT_FALSE(window.command("tlbar.stop")->isEnabled());
}

TEST(ScriptWindow, UserActionsLeaveAsSignals) {
  ScriptWindow window;
  QSignalSpy starts(&window, &ScriptWindow::startRequested);
  QSignalSpy stops(&window, &ScriptWindow::stopRequested);
  QSignalSpy saveAs(&window, &ScriptWindow::saveAsRequested);
  QSignalSpy startup(&window, &ScriptWindow::startupProcedureEdited);
  QSignalSpy edits(&window, &ScriptWindow::sourceEdited);

  window.command("tlbar.start")->trigger();
  window.command("tlbar.cycle")->trigger();
  window.command("tlbar.stepover")->trigger();
  ASSERT_EQ(starts.size(), 3);
  EXPECT_EQ(starts[1][0].toInt(), 2);
  EXPECT_EQ(starts[2][0].toInt(), 3);
  window.setRunState(1, 0);
  window.command("tlbar.pause")->trigger();
  window.command("tlbar.endcycle")->trigger();
  ASSERT_EQ(stops.size(), 2);
  EXPECT_EQ(stops[0][0].toInt(), 2);
  EXPECT_EQ(stops[1][0].toInt(), 3);
  window.command("menu.file.saveas")->trigger();
  EXPECT_EQ(saveAs.size(), 1);

  window.setSourceText("Sub Main()\nEnd Sub\nFunction Twice(x)\nEnd Function\n");
  EXPECT_EQ(edits.size(), 0);  // text put by the host is no user edit
  EXPECT_EQ(window.startupBox()->count(), 2);
  EXPECT_EQ(window.startupBox()->itemText(1), "Twice");
  window.setStartupProcedure("Main");
  EXPECT_EQ(startup.size(), 0);
  window.startupBox()->setCurrentIndex(1);
  ASSERT_EQ(startup.size(), 1);
  EXPECT_EQ(startup[0][0].toString(), "Twice");
  window.editor()->insertPlainText("'");
  EXPECT_EQ(edits.size(), 1);
}

TEST(ScriptWindow, ALockedScriptCannotBeEdited) {
  ScriptWindow window;
  window.setEditLocked(true);
  EXPECT_TRUE(window.editor()->isReadOnly());
  window.setEditLocked(false);
  EXPECT_FALSE(window.editor()->isReadOnly());
}

TEST(ScriptWindow, OutputShowsPrintedLinesAndErrors) {
  ScriptWindow window;
  window.appendOutput("hello");
  window.appendError("Line 3: error 13: Type mismatch");
  EXPECT_EQ(window.outputText(), "hello\nLine 3: error 13: Type mismatch");
}

TEST(ScriptHighlighter, KnowsKeywordsWithoutLetterCase) {
  EXPECT_TRUE(ScriptHighlighter::isKeyword("LOOP"));
  EXPECT_TRUE(ScriptHighlighter::isKeyword("redim"));
  EXPECT_FALSE(ScriptHighlighter::isKeyword("Vars"));
}

}  // namespace
}  // namespace tarvix::engine
