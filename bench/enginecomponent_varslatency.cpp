// Latency from one script writing Vars(7).Value to the bound handler running
// in another script instance, through the generated dispatcher
// ("Dispatcher__" in the handler's module text). The writer script marks the
// time just before each write; the handler marks the time it runs. Prints
// the median and 99th percentile, idle and with ten other scripts spinning.
//
//   scripts/bench.sh enginecomponent_varslatency
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <vector>

#include "dispatch/DispatchClass.h"
#include "dispatch/SafeArray.h"
#include "engine/context/EngineContext.h"
#include "engine/context/EngineRoot.h"
#include "engine/instance/IxoScript.h"
#include "support/EngineBench.h"
#include "../tests/enginecomponent/SevenDispatcher.h"

namespace {

using namespace tarvix;
using bench::percentile;
using Clock = std::chrono::steady_clock;

// "Probe": Mark before the write, Hit in the handler.
class Probe final : public DispatchClass<Probe> {
 public:
  static const MemberTable<Probe>& table() {
    static const auto t = MemberTable<Probe>(u"Probe").method(u"Mark", &Probe::mark).method(u"Hit", &Probe::hit);
    return t;
  }
  std::vector<double> latenciesUs;

 private:
  Variant mark(Call&) {
    marked_ = Clock::now();
    return {};
  }
  Variant hit(Call&) {
    latenciesUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - marked_).count());
    return {};
  }
  Clock::time_point marked_;
};

Ref<engine::IxoScript> instance(engine::EngineRoot& root, Probe* probe, const QString& source) {
  Ref<engine::IxoScript> script(new engine::IxoScript);
  script->addObject(QStringLiteral("Ixo"), root.defaultContext());
  if (probe) script->addObject(QStringLiteral("Probe"), probe);
  script->setSourceText(source);
  return script;
}

void measure(engine::EngineRoot& root, int spinning, int samples) {
  Ref<Probe> probe(new Probe);
  auto handler = instance(root, probe.get(), "Sub OnSeven()\n  Probe.Hit\nEnd Sub\n");
  handler->call(u"Execute", CallKind::Method, {"PutModuleText", engine::kSevenDispatcher});
  handler->setStartupProcedure(QStringLiteral("Dispatcher__"));
  auto writer = instance(root, probe.get(),
                         QStringLiteral("For i = 1 To %1\n  Ext.Delay 5\n  Probe.Mark\n  Vars(7).Value = i\nNext\n").arg(samples));
  std::vector<Ref<engine::IxoScript>> load;
  for (int i = 0; i < spinning; ++i) {
    load.push_back(instance(root, nullptr, QStringLiteral("Do\n  Vars(%1).Value = Vars(%1).Value + 1\nLoop\n").arg(20 + i)));
  }
  // The scheduler runs fibers in the order they started: writer first, the
  // spinning scripts, then the handler, so a write waits for every other
  // slice of the round (the worst order).
  writer->startScript(1);
  for (auto& script : load) script->startScript(1);
  handler->startScript(1);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (writer->scriptState() != 1 && probe->latenciesUs.size() >= static_cast<std::size_t>(samples)) QApplication::quit();
  });
  poll.start(20);
  QTimer::singleShot(120000, [] { QApplication::quit(); });
  QApplication::exec();
  for (auto& script : load) script->stopScript(1);
  handler->stopScript(1);
  if (probe->latenciesUs.empty()) {
    std::printf("spinning=%d: no handler calls\n", spinning);
    return;
  }
  std::printf("spinning scripts %2d: %zu writes, handler latency median %.0f us, p99 %.0f us, max %.0f us\n", spinning,
              probe->latenciesUs.size(), percentile(probe->latenciesUs, 0.5), percentile(probe->latenciesUs, 0.99),
              percentile(probe->latenciesUs, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
  return tarvix::bench::runOnEngineRoot(argc, argv, [](tarvix::engine::EngineRoot& root) {
    measure(root, 0, 500);
    measure(root, 10, 300);
  });
}
