// Event-loop latency while script instances spin without any delay
// ("Do : Loop"): a timer asks to fire every 10 ms and records how late each
// shot comes. Prints the median, 99th percentile and maximum lateness, with
// no script and with 20 spinning scripts. Goal: p99 under 50 ms with 20.
//
//   scripts/bench.sh enginecomponent_eventloop
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/context/EngineContext.h"
#include "engine/context/EngineRoot.h"
#include "engine/instance/IxoScript.h"
#include "engine/store/VarsStore.h"
#include "support/EngineBench.h"

namespace {

using namespace tarvix;
using bench::percentile;

void measure(engine::EngineRoot& root, int spinning, int seconds) {
  std::vector<Ref<engine::IxoScript>> scripts;
  for (int i = 0; i < spinning; ++i) {
    Ref<engine::IxoScript> script(new engine::IxoScript);
    script->addObject(QStringLiteral("Ixo"), root.defaultContext());
    script->setSourceText(QStringLiteral("Do\n  Vars(%1).Value = Vars(%1).Value + 1\nLoop\n").arg(i + 1));
    script->startScript(1);
    scripts.push_back(script);
  }
  constexpr int kPeriodMs = 10;
  std::vector<double> lateMs;
  QElapsedTimer clock;
  clock.start();
  qint64 due = kPeriodMs;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    lateMs.push_back(std::max(0.0, static_cast<double>(now) / 1e6 - static_cast<double>(due)));
    if (now / 1000000 >= seconds * 1000) {
      QApplication::quit();
      return;
    }
    due = now / 1000000 + kPeriodMs;
    timer.start(kPeriodMs);
  });
  timer.start(kPeriodMs);
  QApplication::exec();
  for (auto& script : scripts) script->stopScript(1);
  long long loops = 0;
  for (int i = 0; i < spinning; ++i) loops += root.store()->value(i + 1).toLong();
  std::printf("spinning scripts %2d: %zu timer shots, lateness median %.2f ms, p99 %.2f ms, max %.2f ms; %lld loop passes\n",
              spinning, lateMs.size(), percentile(lateMs, 0.5), percentile(lateMs, 0.99), percentile(lateMs, 1.0), loops);
}

}  // namespace

int main(int argc, char** argv) {
  return tarvix::bench::runOnEngineRoot(argc, argv, [](tarvix::engine::EngineRoot& root) {
    measure(root, 0, 3);
    measure(root, 20, 10);
  });
}
