#include "engine/instance/EngineScheduler.h"

#include <QCoreApplication>

#include "engine/language/Scheduler.h"

namespace tarvix::engine {

namespace {
constexpr long long kBaseSliceMs = 1;
constexpr long long kBaseSliceStatements = 1000;
}  // namespace

script::Scheduler& engineScheduler() {
  // Owned by the application, so it ends before Qt does.
  static script::Scheduler* scheduler = [] {
    auto* s = new script::Scheduler(QCoreApplication::instance());
    s->setBaseSlice(kBaseSliceMs, kBaseSliceStatements);
    return s;
  }();
  return *scheduler;
}

int priorityWeight(int priorityClass) {
  switch (priorityClass) {
    case 64: return 1;
    case 16384: return 1;
    case 32768: return 3;
    case 128: return 4;
    case 256: return 6;
    default: return 2;
  }
}

}  // namespace tarvix::engine
