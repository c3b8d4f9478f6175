#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "app/ProcessPriority.h"
#include "app/ProcessSearch.h"
#include "app/ShellRun.h"
#include "base/TextFile.h"

namespace tarvix {
namespace {

TEST(FindProcess, MatchesExecutableNamesWithoutLetterCaseOrExeSuffix) {
  const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_TRUE(FindProcess(self));
  EXPECT_TRUE(FindProcess(self.toUpper() + ".EXE"));
  EXPECT_FALSE(FindProcess(self + "-not-running"));
  EXPECT_FALSE(FindProcess(""));
  EXPECT_FALSE(FindProcess(".exe"));
}

TEST(PriorityClassOf, FollowsTheIndexTable) {
  const std::pair<qint16, qint32> cases[] = {{0, 64}, {1, 16384}, {2, 32}, {3, 32768},
                                             {4, 128}, {5, 256},  {6, 0},  {-1, 0}};
  for (const auto& [index, expected] : cases) EXPECT_EQ(PriorityClassOf(index), expected) << index;
}

TEST(ApplyPriorityClass, LowersAProcessToIdle) {
  QProcess child;
  child.start("sleep", {"5"});
  ASSERT_TRUE(child.waitForStarted());
  EXPECT_TRUE(ApplyPriorityClass(child.processId(), PriorityClass::Idle));
  errno = 0;
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(child.processId())), 19);
  EXPECT_FALSE(ApplyPriorityClass(child.processId(), 12345));
  child.kill();
  child.waitForFinished();
}

TEST(ShellRun, StartsAProgramAndWaitingKeepsTheEventLoopRunning) {
  QTemporaryDir dir;
  const QString script = dir.filePath("job.sh");
  const QString marker = dir.filePath("done");
  ASSERT_TRUE(writeTextFileAtomic(script, "#!/bin/sh\nsleep 0.4\necho done > '" + marker + "'\n"));
  QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);

  const ProcessHandle handle = ShellRun("open", script, 1);
  ASSERT_NE(handle, 0);
  bool timerRan = false;
  QTimer::singleShot(50, [&] { timerRan = true; });
  WaitForProcessEnd(handle);
  EXPECT_TRUE(timerRan);
  EXPECT_TRUE(QFile::exists(marker));

  WaitForProcessEnd(handle);  // an ended process returns at once
  WaitForProcessEnd(0);
}

TEST(ShellRun, GivesNoHandleForMissingFilesAndUnknownVerbs) {
  QTemporaryDir dir;
  EXPECT_EQ(ShellRun("open", dir.filePath("missing.txt"), 1), 0);
  EXPECT_EQ(ShellRun("print", dir.path(), 1), 0);
}

}  // namespace
}  // namespace tarvix
