#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "LocaleFixture.h"
#include "ui/modLocale.h"
#include "ui/windows/LocalizeForm.h"

namespace tarvix {
namespace {

using test::LocaleFixture;

const LanguageTexts kWindowTexts = {
    {3, u"English"_qs},         {2000, u"File"_qs},          {2001, u"Open Project"_qs},
    {2002, u"Open a project"_qs}, {2003, u"Recent"_qs},      {2004, u"Press #2001"_qs},
    {3000, u"Tarvix"_qs},       {3001, u"Scripts"_qs},       {3002, u"Script list"_qs},
    {3003, u"File name"_qs},    {3004, u"Procedure"_qs},     {3005, u"State"_qs},
    {3006, u"Start"_qs},        {3007, u"Options"_qs},       {3008, u"Type here"_qs},
    {3009, u"Row"_qs},          {3010, u"Script count"_qs},  {3011, u"Shows the scripts"_qs},
};

// A main window with one control of each kind the walk must reach.
struct SampleWindow {
  QMainWindow window;
  QMenu* fileMenu = window.menuBar()->addMenu(u"&File#2000"_qs);
  QAction* open = fileMenu->addAction(u"&Open Project#2001"_qs);
  QMenu* recent = fileMenu->addMenu(u"Recent#2003"_qs);
  QAction* recentItem = recent->addAction(u"/tmp/a#1.ixp"_qs);
  QMenu* pressMenu = window.menuBar()->addMenu(u"Press#2004"_qs);
  QToolBar* toolBar = window.addToolBar(u"Tools#3006"_qs);
  QTabWidget* tabs = new QTabWidget;
  QTableWidget* table = new QTableWidget(2, 2);
  QTreeWidget* tree = new QTreeWidget;
  QLabel* label = new QLabel(u"Caption#3001"_qs);
  QPushButton* button = new QPushButton(u"&Start#3006"_qs);
  QGroupBox* group = new QGroupBox(u"Options#3007"_qs);
  QLineEdit* edit = new QLineEdit;
  QComboBox* combo = new QComboBox;
  QLabel* panel = new QLabel(u"Count#3010"_qs);

  SampleWindow() {
    window.setWindowTitle(u"Tarvix#3000"_qs);
    open->setToolTip(u"Open a project#2002"_qs);
    open->setStatusTip(u"Open a project#2002"_qs);
    toolBar->addAction(open);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QWidget* w : std::initializer_list<QWidget*>{label, button, group, edit, combo, table}) layout->addWidget(w);
    tabs->addTab(page, u"Scripts#3002"_qs);
    tabs->setTabToolTip(0, u"Shows#3011"_qs);
    tabs->addTab(tree, u"Tree"_qs);
    window.setCentralWidget(tabs);

    table->setHorizontalHeaderLabels({u"File name#3003"_qs, u"Procedure#3004"_qs});
    table->setVerticalHeaderLabels({u"Row#3009"_qs, u"2"_qs});
    tree->setHeaderLabels({u"State#3005"_qs});
    edit->setPlaceholderText(u"Type#3008"_qs);
    combo->setEditable(true);
    combo->addItem(u"Channel #3001"_qs);

    panel->setToolTip(u"Count tip#3010"_qs);
    window.statusBar()->addPermanentWidget(panel);
  }
};

TEST(LocalizeForm, ResolvesEveryCaptionOfTheWindowAndItsControls) {
  const LocaleFixture fixture({{1033, kWindowTexts}});
  fixture.init(1033);
  SampleWindow s;
  LocalizeForm(&s.window);

  EXPECT_EQ(s.window.windowTitle(), u"Tarvix"_qs);
  EXPECT_EQ(s.fileMenu->title(), u"File"_qs);
  EXPECT_EQ(s.open->text(), u"Open Project"_qs);
  EXPECT_EQ(s.open->toolTip(), u"Open a project"_qs);
  EXPECT_EQ(s.open->statusTip(), u"Open a project"_qs);
  EXPECT_EQ(s.recent->title(), u"Recent"_qs);
  EXPECT_EQ(s.toolBar->windowTitle(), u"Start"_qs);
  EXPECT_EQ(s.tabs->tabText(0), u"Script list"_qs);
  EXPECT_EQ(s.tabs->tabToolTip(0), u"Shows the scripts"_qs);
  EXPECT_EQ(s.tabs->tabText(1), u"Tree"_qs);
  EXPECT_EQ(s.table->horizontalHeaderItem(0)->text(), u"File name"_qs);
  EXPECT_EQ(s.table->horizontalHeaderItem(1)->text(), u"Procedure"_qs);
  EXPECT_EQ(s.table->verticalHeaderItem(0)->text(), u"Row"_qs);
  EXPECT_EQ(s.tree->headerItem()->text(0), u"State"_qs);
  EXPECT_EQ(s.label->text(), u"Scripts"_qs);
  EXPECT_EQ(s.button->text(), u"Start"_qs);
  EXPECT_EQ(s.group->title(), u"Options"_qs);
  EXPECT_EQ(s.edit->placeholderText(), u"Type here"_qs);
  EXPECT_EQ(s.panel->toolTip(), u"Script count"_qs);
}

TEST(LocalizeForm, LeavesValuesAloneAndResolvesEachTextOnlyOnce) {
  const LocaleFixture fixture({{1033, kWindowTexts}});
  fixture.init(1033);
  SampleWindow s;
  LocalizeForm(&s.window);

  // A status-bar panel shows a value; a combo box holds an item.
  EXPECT_EQ(s.panel->text(), u"Count#3010"_qs);
  EXPECT_EQ(s.combo->currentText(), u"Channel #3001"_qs);
  // A resource text that itself ends in "#NNNN" is not resolved a second time,
  // whether reached through the menu bar or through the menu.
  EXPECT_EQ(s.pressMenu->title(), u"Press #2001"_qs);
  // A caption whose part after "#" is no number stays.
  EXPECT_EQ(s.recentItem->text(), u"/tmp/a#1.ixp"_qs);
}

class LocalizeFormFonts : public ::testing::Test {
 protected:
  // An installed family that covers `script` and, when given, lacks `lacking`.
  static QString installedFamily(QFontDatabase::WritingSystem script,
                                 std::optional<QFontDatabase::WritingSystem> lacking = {}) {
    for (const QString& family : QFontDatabase::families(script))
      if (!lacking || !QFontDatabase::families(*lacking).contains(family)) return family;
    return {};
  }
  static int usedFontText() { return OsMajorVersion() < 6 ? 10 : 11; }
  static int otherFontText() { return OsMajorVersion() < 6 ? 11 : 10; }

  // Localises a window with a button whose font was set apart, and returns the
  // families of the window and of the button.
  static std::pair<QString, QString> localizedFamilies(const LanguageTexts& fontTexts, const QVariant& font = {}) {
    LanguageTexts texts = fontTexts;
    texts[3] = u"English"_qs;
    const LocaleFixture fixture({{1033, texts}});
    fixture.init(1033);
    QWidget window;
    auto* button = new QPushButton(u"OK"_qs, &window);
    QFont own(u"Some Other Family"_qs);
    own.setBold(true);
    button->setFont(own);
    LocalizeForm(&window, font);
    EXPECT_TRUE(button->font().bold());
    return {window.font().family(), button->font().family()};
  }
};

TEST_F(LocalizeFormFonts, UsesTheFirstInstalledFontOfTheChainOnTheWindowAndEveryControl) {
  const QString latin = installedFamily(QFontDatabase::Latin);
  if (latin.isEmpty()) GTEST_SKIP() << "no font installed";
  const QString unknown = u"No Such Family 1"_qs;
  const QString last = u"Last Resort"_qs;
  const struct {
    const char* what;
    LanguageTexts texts;
    QVariant font;
    QString expected;
  } cases[] = {
      {"preferred installed", {{usedFontText(), latin}, {otherFontText(), unknown}, {12, unknown}, {13, last}}, {}, latin},
      {"first fall-back", {{usedFontText(), unknown}, {otherFontText(), latin}, {12, latin}, {13, last}}, {}, latin},
      {"last fall-back taken as it is", {{usedFontText(), unknown}, {12, unknown}, {13, last}}, {}, last},
      {"given font name", {{usedFontText(), unknown}, {12, unknown}, {13, last}}, latin, latin},
      {"given font text number", {{usedFontText(), unknown}, {40, latin}, {13, last}}, 40, latin},
  };
  for (const auto& c : cases) {
    const auto [window, button] = localizedFamilies(c.texts, c.font);
    EXPECT_EQ(window, c.expected) << c.what;
    EXPECT_EQ(button, c.expected) << c.what;
  }
}

TEST_F(LocalizeFormFonts, AFamilyWithoutTheCharacterSetsScriptCountsAsNotInstalled) {
  const QString latinOnly = installedFamily(QFontDatabase::Latin, QFontDatabase::Japanese);
  const QString japanese = installedFamily(QFontDatabase::Japanese);
  if (latinOnly.isEmpty() || japanese.isEmpty()) GTEST_SKIP() << "needs a Latin-only and a Japanese font";
  const auto [window, button] =
      localizedFamilies({{usedFontText(), latinOnly}, {12, japanese}, {13, u"Last"_qs}, {14, u"128"_qs}});
  EXPECT_EQ(window, japanese);
}

TEST_F(LocalizeFormFonts, WithoutFontTextsTheFontsStayAsTheyAre) {
  const QString before = QWidget().font().family();
  const auto [window, button] = localizedFamilies({});
  EXPECT_EQ(window, before);
  EXPECT_EQ(button, u"Some Other Family"_qs);
}

}  // namespace
}  // namespace tarvix
