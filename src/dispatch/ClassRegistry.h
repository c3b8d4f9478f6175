#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

#include "dispatch/DispatchObject.h"

namespace tarvix {

// Create-by-name: class names (letter case ignored) to factories.
class ClassRegistry {
 public:
  using Factory = std::function<ObjectRef()>;

  // Replaces an earlier factory of the same name.
  void add(const QString& className, Factory factory);
  void remove(const QString& className);
  bool contains(QStringView className) const;
  QStringList classNames() const;
  // A new object; error 429 for an unknown name or a factory that gives none.
  ObjectRef create(QStringView className) const;

  // The process-wide registry that CreateObject uses.
  static ClassRegistry& global();

 private:
  struct Entry {
    QString name;
    Factory factory;
  };
  QHash<QString, Entry> entries_;  // key: lower-case name
};

}  // namespace tarvix
