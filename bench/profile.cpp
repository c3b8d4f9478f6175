// Reading and writing a project file of 1,000 script sections with five keys
// each through clsProfile, the way the project loader and saver do: one key
// per call.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "app/clsProfile.h"
#include "base/TextFile.h"

namespace {

constexpr int kSections = 1000;
const char* const kKeys[] = {"File", "Startup", "Checked", "Locked", "System"};

QString sectionName(int n) { return QStringLiteral("grdScripts(%1)").arg(n); }

QString projectText() {
  QString text;
  for (int n = 1; n <= kSections; ++n) {
    text += QStringLiteral("[%1]\r\nFile=.\\scripts\\script%2.vbs\r\nStartup=Main\r\nChecked=True\r\n"
                           "Locked=False\r\nSystem=False\r\n")
                .arg(sectionName(n))
                .arg(n);
  }
  return text + QStringLiteral("[Version]\r\nVersion=1.2\r\n");
}

void readEveryKey(const tarvix::clsProfile& profile, benchmark::State& state) {
  const QStringList sections = profile.GetSectNames();
  for (const QString& section : sections) {
    for (const char* key : kKeys) benchmark::DoNotOptimize(profile.GetString(section, key, QString()));
  }
  if (sections.size() != kSections + 1) state.SkipWithError("unexpected section count");
}

// The file is replaced before every pass, so each pass reads and parses it.
void BM_ReadEveryKeyOfAFreshFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("project.ixp");
  const QString text = projectText();
  for (auto _ : state) {
    state.PauseTiming();
    tarvix::writeTextFileAtomic(path, text);
    state.ResumeTiming();
    const tarvix::clsProfile profile(path);
    readEveryKey(profile, state);
  }
  state.counters["keys"] = kSections * 5;
}
BENCHMARK(BM_ReadEveryKeyOfAFreshFile)->Unit(benchmark::kMillisecond);

// The file stays as it is, so every pass reads from the parsed copy.
void BM_ReadEveryKeyOfAnUnchangedFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("project.ixp");
  tarvix::writeTextFileAtomic(path, projectText());
  for (auto _ : state) {
    const tarvix::clsProfile profile(path);
    readEveryKey(profile, state);
  }
  state.counters["keys"] = kSections * 5;
}
BENCHMARK(BM_ReadEveryKeyOfAnUnchangedFile)->Unit(benchmark::kMillisecond);

// Every key written one by one into a new file, as saving a project does.
void BM_WriteEveryKeyIntoANewFile(benchmark::State& state) {
  QTemporaryDir dir;
  int round = 0;
  for (auto _ : state) {
    tarvix::clsProfile profile(dir.filePath(QStringLiteral("save%1.ixp").arg(++round)));
    for (int n = 1; n <= kSections; ++n) {
      for (const char* key : kKeys) profile.WriteString(sectionName(n), key, QStringLiteral("value"));
    }
  }
}
BENCHMARK(BM_WriteEveryKeyIntoANewFile)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
