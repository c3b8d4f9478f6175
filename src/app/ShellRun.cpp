#include "app/ShellRun.h"

#include <signal.h>

#include <cerrno>

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace tarvix {
namespace {

constexpr int kPollMs = 50;

bool isOpenVerb(const QString& verb) {
  static const QStringList openVerbs = {QString(), QStringLiteral("open"), QStringLiteral("edit"),
                                        QStringLiteral("explore")};
  return openVerbs.contains(verb.trimmed().toLower());
}

// A started process is not our child, so whoever adopted it reaps it; until
// then it lingers as a zombie, which has ended all the same.
bool isZombie(ProcessHandle handle) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(handle));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray line = stat.readAll();
  const qsizetype afterName = line.lastIndexOf(')');
  return afterName >= 0 && line.mid(afterName + 1).trimmed().startsWith('Z');
}

bool isRunning(ProcessHandle handle) {
  if (handle <= 0) return false;
  const bool exists = ::kill(static_cast<pid_t>(handle), 0) == 0 || errno == EPERM;
  return exists && !isZombie(handle);
}

// Executable bits alone do not make a program: files on some mounted
// volumes carry them all, and those are documents to open.
bool isProgram(const QFileInfo& info) {
  if (!info.isFile() || !info.isExecutable()) return false;
  QFile file(info.absoluteFilePath());
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray start = file.read(4);
  return start.startsWith("#!") || start == "\x7F" "ELF";
}

}  // namespace

ProcessHandle ShellRun(const QString& verb, const QString& file, int /*show*/) {
  const QFileInfo info(file);
  if (!isOpenVerb(verb) || !info.exists()) return 0;
  const bool program = isProgram(info);
  qint64 pid = 0;
  const bool started = program ? QProcess::startDetached(info.absoluteFilePath(), {}, {}, &pid)
                               : QProcess::startDetached(QStringLiteral("xdg-open"), {info.absoluteFilePath()}, {}, &pid);
  return started ? pid : 0;
}

void WaitForProcessEnd(ProcessHandle handle) {
  if (!isRunning(handle)) return;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!isRunning(handle)) loop.quit();
  });
  poll.start(kPollMs);
  loop.exec();
}

}  // namespace tarvix
