#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>

#include "ErrorOf.h"
#include "dispatch/SafeArray.h"
#include "engine/context/EngineRoot.h"
#include "engine/store/ProcessVarsStore.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {
namespace {

TEST(VarsStore, EveryAccessRefusesSlotsOutsideTheStore) {
  VarsStore store({}, 20, 10);
  const std::vector<std::function<void(int)>> accesses{
      [&](int i) { store.value(i); },          [&](int i) { store.setValue(i, Variant(1)); },
      [&](int i) { store.changed(i); },        [&](int i) { store.setChanged(i, false); },
      [&](int i) { store.helpText(i); },       [&](int i) { store.setHelpText(i, "x"); },
      [&](int i) { store.macroText(i); },      [&](int i) { store.setMacroText(i, "x"); },
      [&](int i) { store.attribute(i); },      [&](int i) { store.setAttribute(i, 8); },
  };
  for (const auto& access : accesses) {
    EXPECT_EQ(errorOf([&] { access(0); }), 9);
    EXPECT_EQ(errorOf([&] { access(21); }), 9);
    EXPECT_EQ(errorOf([&] { access(-1); }), 9);
    EXPECT_EQ(errorOf([&] { access(1); }), 0);
    EXPECT_EQ(errorOf([&] { access(20); }), 0);
  }
}

TEST(VarsStore, AnyWriteSetsTheChangeFlagEvenWithTheSameValue) {
  VarsStore store({}, 10, 5);
  EXPECT_FALSE(store.changed(7));
  store.setValue(7, Variant(3));
  EXPECT_TRUE(store.changed(7));
  store.setChanged(7, false);
  store.setValue(7, Variant(3));
  EXPECT_TRUE(store.changed(7));
  EXPECT_FALSE(store.changed(6));
}

TEST(VarsStore, FirstGroupValuesSurviveARestartAndTheSecondGroupStartsEmpty) {
  QTemporaryDir folder;
  {
    VarsStore store(folder.path(), 10, 5);
    store.setValue(1, Variant("kept"));
    store.setValue(5, makeArray({Variant(1), Variant("two")}));
    store.setValue(4, Variant(2.5));
    store.setValue(4, Variant());  // emptied again: nothing to keep
    store.setValue(3, Variant::nothing());
    store.setValue(6, Variant("second group"));
    store.setHelpText(1, "help is the project's business");
  }
  VarsStore store(folder.path(), 10, 5);
  EXPECT_EQ(store.value(1).toString(), "kept");
  ASSERT_TRUE(store.value(5).isArray());
  EXPECT_EQ(store.value(5).rawArray().data()[1].toString(), "two");
  EXPECT_TRUE(store.value(4).isEmpty());
  EXPECT_TRUE(store.value(3).isEmpty());
  EXPECT_TRUE(store.value(6).isEmpty());
  EXPECT_EQ(store.helpText(1), "");
  EXPECT_FALSE(store.changed(1));
}

TEST(VarsStore, ADamagedKeptValueLeavesOnlyItsSlotEmpty) {
  QTemporaryDir folder;
  {
    VarsStore store(folder.path(), 10, 5);
    store.setValue(1, Variant(1));
    store.setValue(2, Variant(2));
  }
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("damage"));
    db.setDatabaseName(folder.filePath("Vars.db"));
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec(QStringLiteral("UPDATE vars SET value = '3,not a number' WHERE slot = 1"));
    QSqlQuery(db).exec(QStringLiteral("INSERT INTO vars VALUES (999, '3,1')"));
    db.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("damage"));
  VarsStore store(folder.path(), 10, 5);
  EXPECT_TRUE(store.value(1).isEmpty());
  EXPECT_EQ(store.value(2).toLong(), 2);
}

TEST(VarsStore, AnUnwritableFolderKeepsValuesPendingWithoutLosingThem) {
  QTemporaryDir folder;
  const QString blocked = folder.filePath("file-not-folder");
  QFile(blocked).open(QIODevice::WriteOnly);
  VarsStore store(blocked, 10, 5);
  store.setValue(1, Variant(1));
  EXPECT_FALSE(store.flush());
  EXPECT_EQ(store.value(1).toLong(), 1);
}

// The process store names its folder from the environment when first used,
// not when the program loads, so a data folder set before (as every test
// binary does) is the one it keeps its slots in.
TEST(ProcessVarsStore, KeepsItsSlotsInTheDataFolderSetBeforeFirstUse) {
  QTemporaryDir dataHome;
  const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
  setProcessVarsStore(nullptr);
  {
    Ref<EngineRoot> root(new EngineRoot);
    root->store()->setValue(1, Variant(42));
    EXPECT_TRUE(root->store()->flush());
  }
  EXPECT_TRUE(QFile::exists(dataHome.filePath("Tarvix/Vars.db")));
  EXPECT_EQ(Ref<EngineRoot>(new EngineRoot)->store()->value(1).toLong(), 42);
  qputenv("XDG_DATA_HOME", savedDataHome);
}

}  // namespace
}  // namespace tarvix::engine
