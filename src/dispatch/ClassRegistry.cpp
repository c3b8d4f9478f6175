#include "dispatch/ClassRegistry.h"

namespace tarvix {

void ClassRegistry::add(const QString& className, Factory factory) {
  entries_.insert(className.toLower(), Entry{className, std::move(factory)});
}

void ClassRegistry::remove(const QString& className) { entries_.remove(className.toLower()); }

bool ClassRegistry::contains(QStringView className) const { return entries_.contains(className.toString().toLower()); }

QStringList ClassRegistry::classNames() const {
  QStringList names;
  for (const Entry& e : entries_) names << e.name;
  names.sort(Qt::CaseInsensitive);
  return names;
}

ObjectRef ClassRegistry::create(QStringView className) const {
  const auto it = entries_.constFind(className.trimmed().toString().toLower());
  if (it != entries_.constEnd()) {
    if (ObjectRef object = it->factory()) return object;
  }
  raiseError(ErrorNumber::CannotCreateObject);
}

ClassRegistry& ClassRegistry::global() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace tarvix
