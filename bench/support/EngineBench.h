#pragma once

#include <QApplication>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "engine/context/EngineRoot.h"
#include "engine/store/VarsStore.h"

namespace tarvix::bench {

// The value at fraction p (0 .. 1) of the sorted values.
inline double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

// Runs `measure` in a Qt application (offscreen unless QT_QPA_PLATFORM says
// otherwise) on an engine root with its own Vars store, which keeps nothing
// on disk.
inline int runOnEngineRoot(int argc, char** argv, const std::function<void(engine::EngineRoot&)>& measure) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  auto store = std::make_shared<engine::VarsStore>(QString(), 2000, 1000);
  Ref<engine::EngineRoot> root(new engine::EngineRoot(store));
  measure(*root);
  return 0;
}

}  // namespace tarvix::bench
