// Localised texts: loading and choosing the language, reading texts by number,
// filling placeholders, and localising a large window the way every window
// does as it loads.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "base/TextFile.h"
#include "ui/LangResWriter.h"
#include "ui/modLocale.h"
#include "ui/windows/LocalizeForm.h"

namespace {

constexpr int kTexts = 2000;
constexpr int kFirstText = 2000;

// A library the size of the program's: 2,000 texts in two languages.
const QString& libraryPath() {
  static QTemporaryDir dir;
  static const QString path = [] {
    tarvix::LangResTexts texts;
    for (int language : {1033, 1041}) {
      texts[language][3] = QStringLiteral("probe");
      texts[language][11] = QStringLiteral("DejaVu Sans");
      for (int n = kFirstText; n < kFirstText + kTexts; ++n)
        texts[language][n] = QStringLiteral("Text number %1 with an argument %1%").arg(n);
    }
    const QString file = dir.filePath(QStringLiteral("LangRes.dll"));
    tarvix::writeFileAtomic(file, *tarvix::buildLangRes(texts));
    return file;
  }();
  return path;
}

void BM_InitLocale(benchmark::State& state) {
  for (auto _ : state) tarvix::InitLocale(0, libraryPath());
}
BENCHMARK(BM_InitLocale);

void BM_LStr(benchmark::State& state) {
  tarvix::InitLocale(1033, libraryPath());
  int n = kFirstText;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tarvix::LStr(n));
    n = n + 1 < kFirstText + kTexts ? n + 1 : kFirstText;
  }
}
BENCHMARK(BM_LStr);

void BM_LFormat(benchmark::State& state) {
  tarvix::InitLocale(1033, libraryPath());
  for (auto _ : state) benchmark::DoNotOptimize(tarvix::LFormat(kFirstText, QStringLiteral("/home/user/script.vbs")));
}
BENCHMARK(BM_LFormat);

// A window with `controls` labels and buttons and a menu of as many items.
void BM_LocalizeForm(benchmark::State& state) {
  tarvix::InitLocale(1033, libraryPath());
  const int controls = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Window#%1").arg(kFirstText));
    auto* layout = new QVBoxLayout(&window);
    auto* menu = (new QMenuBar(&window))->addMenu(QStringLiteral("&File#%1").arg(kFirstText));
    for (int i = 0; i < controls; ++i) {
      const int number = kFirstText + i % kTexts;
      layout->addWidget(i % 2 ? static_cast<QWidget*>(new QLabel(QStringLiteral("Label#%1").arg(number)))
                              : new QPushButton(QStringLiteral("Button#%1").arg(number)));
      menu->addAction(QStringLiteral("Item#%1").arg(number));
    }
    state.ResumeTiming();
    tarvix::LocalizeForm(&window);
  }
  state.SetItemsProcessed(state.iterations() * controls * 2);
}
BENCHMARK(BM_LocalizeForm)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
