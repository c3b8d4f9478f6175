// Fuzzes the engine's two text formats: model files (preloaded Vars) and
// panel layouts. A layout that reads must write back to the same layout.
#include <cstdint>
#include <cstdlib>

#include "engine/panel/PanelLayout.h"
#include "engine/store/ModelFile.h"
#include "engine/store/VarsStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (const auto model = tarvix::engine::ModelFile::parse(text, 50)) {
    tarvix::engine::VarsStore store({}, 50, 10);
    model->applyTo(store);
  }
  if (const auto layout = tarvix::engine::PanelLayout::fromText(text)) {
    if (tarvix::engine::PanelLayout::fromText(layout->toText()) != layout) std::abort();
  }
  return 0;
}
