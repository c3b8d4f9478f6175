// Runs every tests/engine/conformance/NAME.vbs and compares what it prints
// with NAME.out. A run that stops on an error adds "error NUMBER at line LINE".
// "%TESTDIR%" in a script stands for a fresh temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "ScriptRunner.h"
#include "base/TextFile.h"

namespace tarvix::test {
namespace {

QString conformanceDir() { return QStringLiteral(TARVIX_TEST_DATA "/../conformance"); }

std::vector<std::string> conformanceScripts() {
  std::vector<std::string> names;
  const QStringList files = QDir(conformanceDir()).entryList({QStringLiteral("*.vbs")}, QDir::Files, QDir::Name);
  for (const QString& file : files) names.push_back(file.chopped(4).toStdString());
  return names;
}

class Conformance : public ::testing::TestWithParam<std::string> {};

TEST_P(Conformance, PrintsTheExpectedOutput) {
  const QString name = QString::fromStdString(GetParam());
  std::optional<QString> source = readTextFile(conformanceDir() + "/" + name + ".vbs");
  std::optional<QString> expected = readTextFile(conformanceDir() + "/" + name + ".out");
  ASSERT_TRUE(source && expected) << name.toStdString();
  QTemporaryDir dir;
  ScriptRun run = runScript(QString(*source).replace(QStringLiteral("%TESTDIR%"), dir.path()));
  QStringList lines = run.output;
  if (run.state == script::FiberState::Error)
    lines << QStringLiteral("error %1 at line %2").arg(run.error.number).arg(run.error.line);
  QString want = *expected;
  want.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (want.endsWith(u'\n')) want.chop(1);
  EXPECT_EQ(lines.join(u'\n').toStdString(), want.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Scripts, Conformance, ::testing::ValuesIn(conformanceScripts()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tarvix::test
