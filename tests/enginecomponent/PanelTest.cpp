#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "ErrorOf.h"
#include "base/TextFile.h"
#include "dispatch/SafeArray.h"
#include "engine/panel/Dialdeck.h"
#include "engine/panel/PanelLayout.h"
#include "engine/panel/PanelModel.h"
#include "engine/panel/PanelWindow.h"
#include "engine/store/VarsStore.h"
#include "support/ScriptedPrompts.h"

namespace tarvix::engine {
namespace {

const char* const kLayoutText =
    "Dialdeck 1\n"
    "interval 250\n"
    "page \"Main\"\n"
    "page \"Pump \"\"A\"\"\"\n"
    "label 1 10 10 120 24 0 \"Motor\"\n"
    "lamp 1 10 40 120 20 7 Running\n"
    "display 1 140 40 100 24 8 \"\"\n"
    "button 2 10 10 100 28 7 \"Start\" \"11,True\"\n"
    "input 2 10 50 100 24 9 \"Set point\"\n";

TEST(PanelLayout, TheFileFormReadsAndWritesBackUnchanged) {
  QString error;
  const auto layout = PanelLayout::fromText(kLayoutText, &error);
  ASSERT_TRUE(layout) << error.toStdString();
  EXPECT_EQ(layout->interval, 250);
  EXPECT_EQ(layout->pages, (QStringList{"Main", "Pump \"A\""}));
  ASSERT_EQ(layout->controls.size(), 5);
  EXPECT_EQ(layout->controls[1].kind, ControlKind::Lamp);
  EXPECT_EQ(layout->controls[1].caption, "Running");
  EXPECT_EQ(layout->controls[3].value, "11,True");
  EXPECT_EQ(layout->controls[4].geometry, QRect(10, 50, 100, 24));
  EXPECT_EQ(PanelLayout::fromText(layout->toText()), layout);
}

TEST(PanelLayout, BadFilesAreRefusedWithTheLine) {
  const std::vector<std::pair<QString, QString>> cases{
      {"", "empty file"},
      {"Panel 2\n", "line 1"},
      {"Dialdeck 1\ninterval 5\n", "line 2"},
      {"Dialdeck 1\npage A\nknob 1 0 0 1 1 0\n", "line 3"},
      {"Dialdeck 1\npage A\nlamp 2 0 0 1 1 0\n", "line 3"},
      {"Dialdeck 1\npage A\nlamp 1 0 0 0 1 0\n", "line 3"},
      {"Dialdeck 1\npage \"A\n", "line 2"},
  };
  for (const auto& [text, where] : cases) {
    QString error;
    EXPECT_FALSE(PanelLayout::fromText(text, &error)) << text.toStdString();
    EXPECT_TRUE(error.startsWith(where)) << error.toStdString();
  }
}

class Panel : public ::testing::Test {
 protected:
  std::shared_ptr<VarsStore> store = std::make_shared<VarsStore>(QString(), 100, 50);
  PanelModel model{store};
  QTemporaryDir folder;

  void loadSample() {
    const QString path = folder.filePath("sample.pnl");
    ASSERT_TRUE(writeTextFileAtomic(path, kLayoutText));
    ASSERT_TRUE(model.loadLayout(path));
  }
};

TEST_F(Panel, LayoutChangesMarkItModifiedAndSavingClearsTheMark) {
  EXPECT_FALSE(model.isModified());
  const int index = model.addControl(PanelControl{ControlKind::Display, 1, QRect(0, 0, 50, 20), 3, "x", {}});
  EXPECT_TRUE(model.isModified());
  ASSERT_TRUE(model.saveLayout(folder.filePath("a.pnl")));
  EXPECT_FALSE(model.isModified());

  const std::vector<std::function<bool()>> edits{
      [&] { return model.moveControl(index, QPoint(5, 5)); },
      [&] { return model.setTimeInterval(100); },
      [&] { return model.addPage("Two") > 0; },
      [&] { return model.renamePage(2, "2"); },
      [&] { return model.removePage(2); },
      [&] { return model.removeControl(index); },
  };
  for (const auto& edit : edits) {
    model.saveLayout(folder.filePath("a.pnl"));
    EXPECT_TRUE(edit());
    EXPECT_TRUE(model.isModified());
  }
  model.saveLayout(folder.filePath("a.pnl"));
  EXPECT_FALSE(model.moveControl(7, QPoint()));
  EXPECT_FALSE(model.removePage(1));  // the last page stays
  EXPECT_FALSE(model.setTimeInterval(1));
  EXPECT_EQ(model.addControl(PanelControl{ControlKind::Lamp, 3, {}, 1, {}, {}}), -1);
  EXPECT_FALSE(model.isModified());
}

TEST_F(Panel, RemovingAPageTakesItsControlsAndShiftsLaterOnes) {
  loadSample();
  model.addPage("Third");
  model.addControl(PanelControl{ControlKind::Label, 3, QRect(1, 1, 5, 5), 0, "on three", {}});
  ASSERT_TRUE(model.removePage(2));
  ASSERT_EQ(model.layout().controls.size(), 4);
  EXPECT_EQ(model.layout().controls.back().page, 2);
  EXPECT_EQ(model.layout().controls.back().caption, "on three");
}

TEST_F(Panel, RunModeReadsTheSlotsEveryIntervalAndEditModeStops) {
  loadSample();
  model.setTimeInterval(10);
  store->setValue(7, Variant(true));
  store->setValue(8, Variant(12.5));
  model.start();
  EXPECT_EQ(model.mode(), 1);
  EXPECT_TRUE(model.lampLit(1));
  EXPECT_EQ(model.displayText(2), "12.5");

  store->setValue(8, Variant("next"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return model.displayText(2) == "next"; }));

  model.stop();
  EXPECT_EQ(model.mode(), 0);
  store->setValue(8, Variant("unseen"));
  QTest::qWait(50);
  EXPECT_EQ(model.displayText(2), "next");
}

TEST_F(Panel, ButtonsAndInputsWriteTheirSlots) {
  loadSample();
  EXPECT_TRUE(model.press(3));
  EXPECT_TRUE(store->value(7).rawBool());
  EXPECT_TRUE(model.input(4, "42"));
  EXPECT_EQ(store->value(9).toString(), "42");
  EXPECT_TRUE(store->changed(9));

  model.updateControl(3, PanelControl{ControlKind::Button, 2, QRect(0, 0, 9, 9), 7, "bad", "3,x"});
  EXPECT_FALSE(model.press(3));
  model.updateControl(3, PanelControl{ControlKind::Button, 2, QRect(0, 0, 9, 9), 500, "out of range", {}});
  EXPECT_FALSE(model.press(3));
}

TEST_F(Panel, ABrokenLayoutFileKeepsTheCurrentLayout) {
  loadSample();
  const QString path = folder.filePath("broken.pnl");
  writeTextFileAtomic(path, "Dialdeck 1\nlamp 9 0 0 1 1 0\n");
  QString error;
  EXPECT_FALSE(model.loadLayout(path, &error));
  EXPECT_FALSE(model.loadLayout(folder.filePath("missing.pnl")));
  EXPECT_EQ(model.layout().controls.size(), 5);
}

TEST_F(Panel, TheWindowShowsTheCurrentPageAndButtonsActInRunMode) {
  loadSample();
  PanelWindow window(model);
  EXPECT_NE(window.controlWidget(1), nullptr);
  EXPECT_EQ(window.controlWidget(3), nullptr);  // on page 2

  store->setValue(8, Variant("shown"));
  model.start();
  EXPECT_EQ(static_cast<QLabel*>(window.controlWidget(2))->text(), "shown");

  model.setPage(2);
  auto* button = qobject_cast<QPushButton*>(window.controlWidget(3));
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isEnabled());
  button->click();
  EXPECT_TRUE(store->value(7).rawBool());

  model.stop();
  EXPECT_FALSE(qobject_cast<QPushButton*>(window.controlWidget(3))->isEnabled());
}

TEST_F(Panel, EditModeAddsAndSetsUpControlsThroughPrompts) {
  PanelWindow window(model);
  test::ScriptedPrompts prompts;
  prompts.inputs = {QString("Pressure"), QString("12")};
  window.addControlAt(int(ControlKind::Display), QPoint(30, 40));
  ASSERT_EQ(model.layout().controls.size(), 1);
  const PanelControl& added = model.layout().controls[0];
  EXPECT_EQ(added.caption, "Pressure");
  EXPECT_EQ(added.slot, 12);
  EXPECT_EQ(added.geometry.topLeft(), QPoint(30, 40));

  prompts.inputs = {QString("Renamed"), QString("twelve")};
  window.setUpControl(0);
  EXPECT_EQ(model.layout().controls[0].caption, "Pressure");  // a bad slot keeps the control
  EXPECT_EQ(prompts.records.back().kind, test::ScriptedPrompts::Record::Kind::MessageBox);

  QWidget* widget = window.controlWidget(0);
  auto send = [widget](QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &event);
  };
  send(QEvent::MouseButtonPress, {2, 2});
  send(QEvent::MouseMove, {12, 22});
  send(QEvent::MouseButtonRelease, {12, 22});
  EXPECT_EQ(model.layout().controls[0].geometry.topLeft(), QPoint(40, 60));
}

class DialdeckObject : public ::testing::Test {
 protected:
  std::shared_ptr<VarsStore> store = std::make_shared<VarsStore>(QString(), 100, 50);
  Ref<Dialdeck> panel{new Dialdeck(store)};

  Variant call(QStringView name, CallKind kind, std::initializer_list<Variant> args = {}) {
    return panel->call(name, kind, args);
  }
};

TEST_F(DialdeckObject, MembersDriveTheWindowAndModel) {
  EXPECT_FALSE(call(u"Visible", CallKind::PropertyGet).toBool());
  call(u"Show", CallKind::Method);
  EXPECT_TRUE(call(u"Visible", CallKind::PropertyGet).toBool());
  panel->window().close();  // closing hides
  EXPECT_FALSE(call(u"Visible", CallKind::PropertyGet).toBool());

  call(u"PanelStart", CallKind::Method);
  EXPECT_EQ(call(u"Mode", CallKind::PropertyGet).toLong(), 1);
  call(u"PanelStop", CallKind::Method);
  EXPECT_EQ(call(u"Mode", CallKind::PropertyGet).toLong(), 0);
  EXPECT_EQ(errorOf([&] { call(u"Mode", CallKind::PropertyLet, {1}); }), 438);

  call(u"TimeInterval", CallKind::PropertyLet, {200});
  EXPECT_EQ(call(u"TimeInterval", CallKind::PropertyGet).toLong(), 200);
  EXPECT_EQ(errorOf([&] { call(u"TimeInterval", CallKind::PropertyLet, {0}); }), 5);
  EXPECT_EQ(errorOf([&] { call(u"WindowState", CallKind::PropertyLet, {7}); }), 5);
  call(u"WindowState", CallKind::PropertyLet, {2});
  EXPECT_EQ(call(u"WindowState", CallKind::PropertyGet).toLong(), 2);
  EXPECT_TRUE(call(u"IsModified", CallKind::PropertyGet).toBool());
}

TEST_F(DialdeckObject, ExecuteWordsEditTheLayout) {
  call(u"Execute", CallKind::Method, {"AddPage", "Second"});
  call(u"Execute", CallKind::Method, {"AddControl", "lamp 2 10 10 100 20 4 \"Valve open\""});
  call(u"Execute", CallKind::Method, {"RenamePage", makeArray({Variant(2), Variant("Valves")})});
  call(u"Page", CallKind::PropertyLet, {2});
  EXPECT_EQ(call(u"Page", CallKind::PropertyGet).toLong(), 2);
  EXPECT_EQ(panel->model().layout().pages.at(1), "Valves");
  ASSERT_EQ(panel->model().layout().controls.size(), 1);
  EXPECT_EQ(panel->model().layout().controls[0].caption, "Valve open");

  store->setValue(4, Variant(true));
  call(u"Execute", CallKind::Method, {"refresh"});
  EXPECT_TRUE(panel->model().lampLit(0));

  EXPECT_EQ(errorOf([&] { call(u"Page", CallKind::PropertyLet, {3}); }), 9);
  EXPECT_EQ(errorOf([&] { call(u"Execute", CallKind::Method, {"AddControl", "dial 1 0 0 1 1 0"}); }), 5);
  EXPECT_EQ(errorOf([&] { call(u"Execute", CallKind::Method, {"RemoveControl", 2}); }), 9);
  EXPECT_EQ(errorOf([&] { call(u"Execute", CallKind::Method, {"Launch"}); }), 5);
  call(u"Execute", CallKind::Method, {"RemoveControl", 1});
  call(u"Execute", CallKind::Method, {"Clear"});
  EXPECT_EQ(panel->model().pageCount(), 1);
}

TEST_F(DialdeckObject, LayoutFilesAnswerFalseOnFailure) {
  QTemporaryDir folder;
  const QString path = folder.filePath("project.pnl");
  call(u"Execute", CallKind::Method, {"AddControl", "display 1 0 0 80 20 3 Level"});
  EXPECT_TRUE(call(u"SaveLayout", CallKind::Method, {path}).toBool());
  EXPECT_FALSE(call(u"IsModified", CallKind::PropertyGet).toBool());
  EXPECT_FALSE(call(u"SaveLayout", CallKind::Method, {folder.filePath("no/such/folder/x.pnl")}).toBool());
  EXPECT_FALSE(call(u"LoadLayout", CallKind::Method, {folder.filePath("missing.pnl")}).toBool());

  Ref<Dialdeck> other(new Dialdeck(store));
  EXPECT_TRUE(other->call(u"LoadLayout", CallKind::Method, {path}).toBool());
  EXPECT_EQ(other->model().layout(), panel->model().layout());
}

}  // namespace
}  // namespace tarvix::engine
