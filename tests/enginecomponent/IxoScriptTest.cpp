#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <functional>

#include "ErrorOf.h"
#include "SevenDispatcher.h"
#include "base/Clock.h"
#include "base/TextFile.h"
#include "dispatch/SafeArray.h"
#include "engine/context/EngineContext.h"
#include "engine/context/EngineRoot.h"
#include "engine/editor/ScriptEditor.h"
#include "engine/instance/EngineScheduler.h"
#include "engine/instance/IxoScript.h"
#include "engine/instance/ScriptWindow.h"
#include "engine/language/Scheduler.h"
#include "engine/store/ProcessVarsStore.h"
#include "engine/store/VarsStore.h"
#include "support/ScriptedPrompts.h"

namespace tarvix::engine {
namespace {

// Scripts run on the engine's scheduler; tests drive its rounds directly so
// that nothing depends on timing.
bool runUntil(const std::function<bool()>& done, int rounds = 2000) {
  for (int i = 0; i < rounds; ++i) {
    if (done()) return true;
    engineScheduler().runRound();
    QCoreApplication::processEvents();
  }
  return done();
}

class IxoScriptTest : public ::testing::Test {
 protected:
  std::shared_ptr<VarsStore> store = std::make_shared<VarsStore>(QString(), 100, 50);
  Ref<EngineRoot> root{new EngineRoot(store)};
  QTemporaryDir folder;

  void SetUp() override { setProcessVarsStore(store); }
  void TearDown() override { setProcessVarsStore(nullptr); }

  Ref<IxoScript> hosted(const QString& source, const QString& startup = {}) {
    Ref<IxoScript> script(new IxoScript);
    script->call(u"SetupInstance", CallKind::Method, {makeArray({Variant(), Variant(true), Variant(32)})});
    script->call(u"AddObject", CallKind::Method, {"Ixo", Variant(root->defaultContext())});
    script->setSourceText(source);
    script->setStartupProcedure(startup);
    return script;
  }

  QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    writeFileAtomic(path, bytes);
    return path;
  }
};

TEST_F(IxoScriptTest, RunExecutesTheTopLevelThenTheStartProcedure) {
  auto script = hosted("Ext.Print \"top\"\nSub Main()\n  Ext.Print \"main \" & Ixo.ContextIndex\nEnd Sub\n", "Main");
  script->startScript(1);
  EXPECT_EQ(script->scriptState(), 1);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 0; }));
  EXPECT_EQ(script->output(), (QStringList{"top", "main 0"}));
  EXPECT_EQ(script->window().outputText(), "top\nmain 0");
}

TEST_F(IxoScriptTest, CycleRunRepeatsTheStartProcedureUntilTheCycleIsEnded) {
  auto script = hosted("Vars(2).Value = 100\nSub Pass()\n  Vars(1).Value = Vars(1).Value + 1\nEnd Sub\n", "Pass");
  script->startScript(2);
  ASSERT_TRUE(runUntil([&] { return store->value(1).toLong() >= 5; }));
  EXPECT_EQ(script->scriptState(), 1);
  script->stopScript(3);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 0; }));
  const int passes = store->value(1).toLong();
  runUntil([] { return false; }, 20);
  EXPECT_EQ(store->value(1).toLong(), passes);
  EXPECT_EQ(store->value(2).toLong(), 100);  // the top level ran once
}

TEST_F(IxoScriptTest, StepOverStopsAfterEachStatementAndMarksTheLine) {
  auto script = hosted("a = 1\nb = 2\nc = 3\nExt.Print a + b + c\n");
  script->startScript(3);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 2; }));
  const int first = script->currentLine();
  EXPECT_GT(first, 0);
  EXPECT_EQ(script->window().editor()->executionLine(), first);
  script->startScript(3);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 2 && script->currentLine() != first; }));
  EXPECT_EQ(script->currentLine(), first + 1);
  EXPECT_TRUE(script->output().isEmpty());
  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 0; }));
  EXPECT_EQ(script->output(), QStringList{"6"});
}

TEST_F(IxoScriptTest, PauseAndStopASpinningScript) {
  auto script = hosted("Do\n  Vars(3).Value = Vars(3).Value + 1\nLoop\n");
  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return store->value(3).toLong() > 10; }));
  script->stopScript(2);
  runUntil([] { return false; }, 3);
  EXPECT_EQ(script->scriptState(), 2);
  const int count = store->value(3).toLong();
  runUntil([] { return false; }, 10);
  EXPECT_EQ(store->value(3).toLong(), count);
  const Variant states = script->call(u"Execute", CallKind::Method, {"GetScriptStates"});
  EXPECT_EQ(states.rawArray().data()[3].toLong(), 2);
  EXPECT_GE(states.rawArray().data()[4].toLong(), 1);

  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return store->value(3).toLong() > count; }));
  EXPECT_EQ(script->scriptState(), 1);
  script->stopScript(1);
  EXPECT_EQ(script->scriptState(), 0);
  EXPECT_EQ(script->call(u"Execute", CallKind::Method, {"GetScriptStates"}).rawArray().data()[4].toLong(), 0);
}

TEST_F(IxoScriptTest, ErrorsStopTheScriptWithTheirLine) {
  struct Case {
    QString source;
    int number;
    int line;
  };
  const std::vector<Case> cases{
      {"x = 1\nIf x Then\nEnd Sub\n", 0, 3},   // compile error: the script never starts
      {"x = 1\ny = 2\nz = x / 0\n", 11, 3},
      {"Vars(0).Value = 1\n", 9, 1},
      {"Ixo.NoSuchMember\n", 438, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source.toStdString());
    auto script = hosted(c.source);
    script->startScript(1);
    ASSERT_TRUE(runUntil([&] { return script->scriptState() == -1; }));
    EXPECT_EQ(script->currentLine(), c.line);
    ASSERT_FALSE(script->output().isEmpty());
    const QString report = script->output().last();
    EXPECT_TRUE(report.startsWith(QStringLiteral("Line %1: error ").arg(c.line))) << report.toStdString();
    if (c.number) {
      EXPECT_TRUE(report.contains(QStringLiteral("error %1:").arg(c.number))) << report.toStdString();
    }
    EXPECT_TRUE(script->window().outputText().endsWith(report));
    script->stopScript(1);
    EXPECT_EQ(script->scriptState(), 0);
  }
}

TEST_F(IxoScriptTest, AStartProcedureThatDoesNotExistIsAnError) {
  auto script = hosted("Sub Main()\nEnd Sub\n", "Missing");
  script->startScript(1);
  EXPECT_EQ(script->scriptState(), -1);
  EXPECT_TRUE(script->output().last().contains("error 35"));
}

TEST_F(IxoScriptTest, TheDispatcherInOneInstanceCallsTheHandlerWhenAnotherWritesVars) {
  auto handler = hosted("Sub OnSeven()\n  Ext.Print \"seven is \" & Vars(7).Value\nEnd Sub\n");
  handler->call(u"Execute", CallKind::Method, {"PutModuleText", kSevenDispatcher});
  handler->call(u"StartupProcedure", CallKind::PropertyLet, {"Dispatcher__"});
  handler->call(u"ScriptRole", CallKind::PropertyLet, {"Event"});
  handler->call(u"Execute", CallKind::Method, {"LockStartup"});
  handler->startScript(1);

  auto writer = hosted("Vars(7).Value = 42\n");
  writer->startScript(1);
  ASSERT_TRUE(runUntil([&] { return handler->output().size() == 1; }));
  EXPECT_EQ(handler->output().first(), "seven is 42");
  EXPECT_FALSE(store->changed(7));
  EXPECT_EQ(handler->scriptState(), 1);
  EXPECT_EQ(writer->scriptState(), 0);

  writer->startScript(1);
  ASSERT_TRUE(runUntil([&] { return handler->output().size() == 2; }));
  handler->stopScript(1);

  handler->call(u"Execute", CallKind::Method, {"PutModuleText", ""});
  handler->startScript(1);
  EXPECT_EQ(handler->scriptState(), -1);  // Dispatcher__ went with the module text
}

TEST_F(IxoScriptTest, AnErrorInTheModuleTextNamesTheModule) {
  auto script = hosted("Sub Handler()\nEnd Sub\n", "Dispatcher__");
  script->call(u"Execute", CallKind::Method, {"PutModuleText", "Sub Dispatcher__()\r\n  Vars(500).Changed = False\r\nEnd Sub"});
  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == -1; }));
  EXPECT_TRUE(script->output().last().startsWith("Module text line 2: error 9")) << script->output().last().toStdString();
}

TEST_F(IxoScriptTest, LocksRolesAndTheSystemMark) {
  auto script = hosted("Sub Main()\nEnd Sub\n");
  ScriptWindow& window = script->window();
  script->call(u"Show", CallKind::Method);
  EXPECT_TRUE(window.isVisible());
  script->call(u"Hide", CallKind::Method);
  EXPECT_FALSE(window.isVisible());
  script->call(u"EditLocked", CallKind::PropertyLet, {true});
  EXPECT_TRUE(script->call(u"EditLocked", CallKind::PropertyGet).toBool());
  EXPECT_TRUE(window.editor()->isReadOnly());

  EXPECT_TRUE(window.startupBox()->isEnabled());
  script->call(u"Execute", CallKind::Method, {"LockStartup"});
  EXPECT_FALSE(window.startupBox()->isEnabled());
  script->call(u"StartupProcedure", CallKind::PropertyLet, {"Main"});  // the host still may
  EXPECT_EQ(script->startupProcedure(), "Main");
  script->call(u"Execute", CallKind::Method, {"UnlockStartup"});
  EXPECT_TRUE(window.startupBox()->isEnabled());
  script->call(u"SetItemEnabled", CallKind::Method, {"tlbar.startup", false});
  EXPECT_FALSE(window.startupBox()->isEnabled());
  script->call(u"SetItemEnabled", CallKind::Method, {"menu.file.exit", false});
  EXPECT_FALSE(window.command("menu.file.exit")->isEnabled());
  EXPECT_EQ(errorOf([&] { script->call(u"SetItemEnabled", CallKind::Method, {"menu.bogus", false}); }), 5);

  script->call(u"ScriptRole", CallKind::PropertyLet, {"Event"});
  EXPECT_EQ(script->call(u"ScriptRole", CallKind::PropertyGet).toString(), "Event");
  EXPECT_FALSE(script->call(u"Execute", CallKind::Method, {"GetSystem"}).toBool());
  script->call(u"Execute", CallKind::Method, {"PutSystem", true});
  EXPECT_TRUE(script->call(u"Execute", CallKind::Method, {"GetSystem"}).toBool());
  EXPECT_EQ(errorOf([&] { script->call(u"Execute", CallKind::Method, {"Reboot"}); }), 5);
  EXPECT_EQ(errorOf([&] { script->call(u"StartScript", CallKind::Method, {4}); }), 5);
}

TEST_F(IxoScriptTest, NamedObjectsAreSeenFromTheNextStartAndCanBeWithdrawn) {
  auto script = hosted("Ext.Print Ixo.ContextIndex\n");
  const Variant second = root->call(u"AddContext", CallKind::Method, {"", ""});
  const Variant returned = script->call(u"AddObject", CallKind::Method, {"ixo", second});
  EXPECT_EQ(returned.rawObject(), second.rawObject());
  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 0; }));
  EXPECT_EQ(script->output(), QStringList{"1"});

  script->call(u"RemoveObject", CallKind::Method, {"Ixo"});
  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == -1; }));
  EXPECT_EQ(errorOf([&] { script->call(u"AddObject", CallKind::Method, {"X", 5}); }), 424);
}

TEST_F(IxoScriptTest, FilesKeepTheirLineEndsAndAreSavedAsUtf8) {
  IxoScript script;
  EXPECT_FALSE(script.openFile(folder.filePath("missing.vbs")));
  EXPECT_FALSE(script.openFile(folder.path()));
  EXPECT_EQ(script.fileName(), "");

  const QString crlf = writeFile("crlf.vbs", "a = 1\r\nb = 2\r\n");
  ASSERT_TRUE(script.openFile(crlf));
  EXPECT_EQ(script.sourceText(), "a = 1\nb = 2\n");
  EXPECT_EQ(script.fileName(), crlf);
  ASSERT_TRUE(script.saveFile(crlf));
  EXPECT_EQ(readFileBytes(crlf), QByteArray("a = 1\r\nb = 2\r\n"));

  const QString lf = writeFile("lf.vbs", "Ext.Print \"caf\xe9\"\n");  // Windows-1252, not UTF-8
  ASSERT_TRUE(script.openFile(lf));
  EXPECT_EQ(script.sourceText(), QString::fromUtf8("Ext.Print \"caf\xc3\xa9\"\n"));
  const QString copy = folder.filePath("copy.vbs");
  ASSERT_TRUE(script.saveFile(copy));
  EXPECT_EQ(readFileBytes(copy), QByteArray("Ext.Print \"caf\xc3\xa9\"\n"));
  EXPECT_EQ(script.fileName(), copy);
  EXPECT_FALSE(script.fileNameChanged());  // the host chose that path itself
  EXPECT_FALSE(script.saveFile(folder.filePath("no/folder/x.vbs")));
}

TEST_F(IxoScriptTest, EncodedScriptsAreReadAsTextAndLocked) {
  IxoScript script;
  ASSERT_TRUE(script.openFile(writeFile("secret.VBE", "Ext.Print 1\n")));
  EXPECT_TRUE(script.editLocked());
  EXPECT_EQ(script.sourceText(), "Ext.Print 1\n");
}

TEST_F(IxoScriptTest, SaveAsInTheWindowChangesTheFileNameAndFlagsIt) {
  test::ScriptedPrompts prompts;
  auto script = hosted("");
  script->call(u"SourceText", CallKind::PropertyLet, {"Ext.Print 1\r\n"});
  EXPECT_EQ(script->call(u"SourceText", CallKind::PropertyGet).toString(), "Ext.Print 1\n");
  EXPECT_EQ(script->call(u"FileName", CallKind::PropertyGet).toString(), "");
  const QString target = folder.filePath("named.vbs");
  prompts.files = {target};
  script->window().command("menu.file.save")->trigger();  // untitled: Save asks for a name
  EXPECT_EQ(script->fileName(), target);
  EXPECT_TRUE(script->call(u"FileNameChanged", CallKind::PropertyGet).toBool());
  const Variant states = script->call(u"Execute", CallKind::Method, {"GetScriptStates"});
  EXPECT_TRUE(states.rawArray().data()[0].toBool());
  EXPECT_EQ(states.rawArray().data()[1].toString(), target);
  script->call(u"FileNameChanged", CallKind::PropertyLet, {false});
  EXPECT_FALSE(script->fileNameChanged());
  EXPECT_EQ(readFileBytes(target), QByteArray("Ext.Print 1\r\n"));

  prompts.files = {QString()};  // cancelled
  script->window().command("menu.file.saveas")->trigger();
  EXPECT_EQ(script->fileName(), target);
  EXPECT_FALSE(script->fileNameChanged());
}

TEST_F(IxoScriptTest, EditsInTheWindowAreWhatRuns) {
  auto script = hosted("Ext.Print 1\n");
  script->window().editor()->setPlainText("Ext.Print 2\n");
  script->startScript(1);
  ASSERT_TRUE(runUntil([&] { return script->scriptState() == 0; }));
  EXPECT_EQ(script->output(), QStringList{"2"});
}

// A clock that stands still leaves the statement count as the only slice
// limit, so the shares show without timing noise.
TEST_F(IxoScriptTest, PriorityClassWeightsTheShareOfTheScheduler) {
  ManualClock stillClock;
  setClock(&stillClock);
  const QString spin = "Do\n  Vars(%1).Value = Vars(%1).Value + 1\nLoop\n";
  auto normal = hosted(spin.arg(10));
  auto high = hosted(spin.arg(11));
  high->call(u"SetupInstance", CallKind::Method, {makeArray({Variant(), Variant(true), Variant(128)})});
  EXPECT_GT(high->weight(), normal->weight());
  normal->startScript(1);
  high->startScript(1);
  runUntil([] { return false; }, 40);
  normal->stopScript(1);
  high->stopScript(1);
  const double ratio = store->value(11).toDouble() / qMax(1.0, store->value(10).toDouble());
  setClock(nullptr);
  EXPECT_NEAR(ratio, 2.0, 0.05) << store->value(11).toDouble() << " vs " << store->value(10).toDouble();
}

}  // namespace
}  // namespace tarvix::engine
