#pragma once

#include <memory>

#include "dispatch/DispatchClass.h"

namespace tarvix::engine {

class VarsStore;
class DataStoreLink;

// An engine context: the object scripts get as "Ixo". Its data store holds
// the shared variables; ConnectDataStore opens a link to it with the
// provider "IxoProv.DataStore" (or an empty provider name).
class EngineContext final : public DispatchClass<EngineContext> {
 public:
  EngineContext(std::shared_ptr<VarsStore> store, QString name, int index)
      : store_(std::move(store)), name_(std::move(name)), index_(index) {}
  static const MemberTable<EngineContext>& table();

  const std::shared_ptr<VarsStore>& store() const { return store_; }
  const QString& name() const { return name_; }
  int index() const { return index_; }
  Ref<DataStoreLink> connectDataStore(const QString& provider = QStringLiteral("IxoProv.DataStore"));

 private:
  Variant contextIndex(Call&);
  Variant nameMember(Call&);
  Variant connectDataStoreMember(Call& call);

  std::shared_ptr<VarsStore> store_;
  QString name_;
  int index_;
};

}  // namespace tarvix::engine
