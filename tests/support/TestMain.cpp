#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Every test binary runs inside a headless Qt application. The user's data and
// settings folders point into a temporary folder, so nothing a test does can
// reach the real home folder.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir userFolders;
  qputenv("XDG_DATA_HOME", userFolders.filePath(QStringLiteral("data")).toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", userFolders.filePath(QStringLiteral("config")).toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
