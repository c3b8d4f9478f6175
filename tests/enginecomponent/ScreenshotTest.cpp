#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "dispatch/SafeArray.h"
#include "engine/context/EngineContext.h"
#include "engine/context/EngineRoot.h"
#include "engine/instance/IxoScript.h"
#include "engine/instance/ScriptWindow.h"
#include "engine/panel/Dialdeck.h"
#include "engine/panel/PanelModel.h"
#include "engine/panel/PanelWindow.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {
namespace {

// Renders a script window paused on a line and a panel in run mode, and
// checks that each shows more than a blank surface. With
// TARVIX_SCREENSHOT_DIR set (and "-platform xcb" under Xvfb) it also saves
// the pictures used in the documentation.
int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  return int(colours.size());
}

void keep(const QPixmap& picture, const char* name) {
  const QString folder = qEnvironmentVariable("TARVIX_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    ASSERT_TRUE(picture.save(QDir(folder).filePath(QString::fromLatin1(name))));
  }
}

TEST(Screenshots, TheScriptWindowAndThePanelRenderTheirContent) {
  auto store = std::make_shared<VarsStore>(QString(), 100, 50);
  Ref<EngineRoot> root(new EngineRoot(store));

  Ref<IxoScript> script(new IxoScript);
  script->addObject("Ixo", root->defaultContext());
  script->setSourceText(
      "' Pump control: keeps the tank between its limits\n"
      "Const LOW = 20\n"
      "Const HIGH = 80\n"
      "\n"
      "Sub Main()\n"
      "  Ext.Print \"Pump control started\"\n"
      "  Do\n"
      "    level = Vars(8).Value\n"
      "    If level < LOW Then Vars(7).Value = True\n"
      "    If level > HIGH Then Vars(7).Value = False\n"
      "    Ext.Delay 100\n"
      "  Loop\n"
      "End Sub\n");
  script->setStartupProcedure("Main");
  store->setValue(8, Variant(12.5));
  script->startScript(3);
  for (int i = 0; i < 40 && script->currentLine() < 9; ++i) {
    script->startScript(3);
    for (int j = 0; j < 20 && script->scriptState() != 2; ++j) QTest::qWait(5);
  }
  ScriptWindow& window = script->window();
  window.setFilePath("/home/operator/plant/pump.vbs");
  window.resize(760, 520);
  window.show();
  QApplication::processEvents();
  const QPixmap scriptPicture = window.grab();
  EXPECT_GT(distinctColours(scriptPicture.toImage()), 20);
  keep(scriptPicture, "script-window.png");
  script->stopScript(1);

  Ref<Dialdeck> panel(new Dialdeck(store));
  for (const char* statement :
       {"label 1 20 20 200 24 0 \"Tank 1\"", "lamp 1 20 60 160 20 7 \"Pump running\"",
        "display 1 200 56 120 28 8 \"Level\"", "label 1 330 60 60 24 0 \"%\"",
        "button 1 20 110 140 32 7 \"Start pump\" \"11,True\"", "button 1 180 110 140 32 7 \"Stop pump\" \"11,False\"",
        "input 1 20 170 140 28 9 \"Set point\""})
    panel->execute("AddControl", Variant(statement));
  panel->execute("AddPage", Variant("Valves"));
  panel->execute("RenamePage", makeArray({Variant(1), Variant("Tank")}));
  store->setValue(7, Variant(true));
  store->setValue(8, Variant(42.5));
  panel->model().start();
  panel->window().resize(460, 280);
  panel->window().show();
  QApplication::processEvents();
  const QPixmap panelPicture = panel->window().grab();
  EXPECT_GT(distinctColours(panelPicture.toImage()), 10);
  keep(panelPicture, "panel.png");
}

}  // namespace
}  // namespace tarvix::engine
