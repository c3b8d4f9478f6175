// Data-sheet operations on a full 1000 x 100 sheet, and the same file read by
// python3's csv module for comparison.
//   scripts/bench.sh datasheet
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "datasheet/DataSheet.h"

namespace {

using tarvix::DataSheet;

constexpr int kRows = DataSheet::kMaxRows;
constexpr int kColumns = DataSheet::kMaxColumns;

// Cell texts of mixed kinds, with a few that need quoting in the file.
void fill(DataSheet& sheet) {
  sheet.ResizeTable(kRows, kColumns);
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 1; c <= kColumns; ++c) {
      QString text = c % 10 == 0 ? QStringLiteral("note %1, %2").arg(r).arg(c)
                                 : QString::number(r * 1000 + c * 7 + 0.25 * (c % 4));
      sheet.setCell(r, c, text);
    }
  }
}

struct Fixture {
  QTemporaryDir dir;
  QString file = dir.filePath(QStringLiteral("full.csv"));
  DataSheet sheet;
  Fixture() {
    fill(sheet);
    sheet.SaveFile(file);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ResizeTable(benchmark::State& state) {
  DataSheet sheet;
  for (auto _ : state) {
    sheet.ResizeTable(kRows, kColumns);
    benchmark::DoNotOptimize(sheet.rows());
  }
}
BENCHMARK(BM_ResizeTable)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state) {
  DataSheet sheet;
  sheet.ResizeTable(kRows, kColumns);
  for (auto _ : state) sheet.LoadFile(fixture().file);
  if (sheet.cell(kRows, kColumns) != fixture().sheet.cell(kRows, kColumns)) state.SkipWithError("load differs");
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state) {
  const QString target = fixture().dir.filePath(QStringLiteral("saved.csv"));
  for (auto _ : state) fixture().sheet.SaveFile(target);
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_TextMatrixWholeSheet(benchmark::State& state) {
  for (auto _ : state) {
    QString text = fixture().sheet.TextMatrix(1, 1, kRows, kColumns, QStringLiteral("\r\n"), QStringLiteral(","));
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_TextMatrixWholeSheet)->Unit(benchmark::kMillisecond);

// The comparison counts processor time (best of 20) on both sides, so that
// other work on the machine weighs on neither.

// Milliseconds per load of the file with python3's csv module, or a negative
// number when python3 cannot run.
double pythonCsvLoadMs(const QString& file) {
  const QString program = QStringLiteral(
      "import csv, sys, time\n"
      "best = float('inf')\n"
      "for _ in range(20):\n"
      "    t = time.process_time()\n"
      "    with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
      "        rows = list(csv.reader(f))\n"
      "    best = min(best, time.process_time() - t)\n"
      "assert len(rows) == 1000 and len(rows[0]) == 100\n"
      "print(best * 1000)\n");
  QProcess python;
  python.start(QStringLiteral("python3"), {QStringLiteral("-c"), program, file});
  if (!python.waitForFinished(120000) || python.exitCode() != 0) return -1;
  return python.readAllStandardOutput().trimmed().toDouble();
}

// Milliseconds per LoadFile of the same file.
double ownLoadMs(const QString& file) {
  DataSheet sheet;
  sheet.ResizeTable(kRows, kColumns);
  double best = 1e9;
  for (int i = 0; i < 20; ++i) {
    const std::clock_t start = std::clock();
    sheet.LoadFile(file);
    best = std::min(best, double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const double own = ownLoadMs(fixture().file);
  const double python = pythonCsvLoadMs(fixture().file);
  std::printf("\nLoading the same 1000 x 100 file, processor time, best of 20:\n  LoadFile        %8.2f ms\n", own);
  if (python < 0) {
    std::printf("  python3 csv     (python3 did not run)\n");
  } else {
    std::printf("  python3 csv     %8.2f ms\n  ratio python/own %7.2f\n", python, python / own);
  }
  return 0;
}
