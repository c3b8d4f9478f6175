#include "engine/store/ProcessVarsStore.h"

#include <QStandardPaths>

#include "engine/store/VarsStore.h"

namespace tarvix::engine {

namespace {
std::weak_ptr<VarsStore>& current() {
  static std::weak_ptr<VarsStore> store;
  return store;
}
// An installed store is kept alive until another one replaces it.
std::shared_ptr<VarsStore>& installed() {
  static std::shared_ptr<VarsStore> store;
  return store;
}
}  // namespace

QString defaultVarsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tarvix");
}

std::shared_ptr<VarsStore> processVarsStore() {
  if (auto store = current().lock()) return store;
  auto store = std::make_shared<VarsStore>(defaultVarsFolder());
  current() = store;
  return store;
}

void setProcessVarsStore(std::shared_ptr<VarsStore> store) {
  current() = store;
  installed() = std::move(store);
}

}  // namespace tarvix::engine
