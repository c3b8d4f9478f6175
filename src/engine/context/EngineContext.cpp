#include "engine/context/EngineContext.h"

#include "engine/context/DataStoreLink.h"

namespace tarvix::engine {

const MemberTable<EngineContext>& EngineContext::table() {
  static const auto t = MemberTable<EngineContext>(u"EngineContext")
                            .get(u"ContextIndex", &EngineContext::contextIndex)
                            .get(u"Name", &EngineContext::nameMember)
                            .method(u"ConnectDataStore", &EngineContext::connectDataStoreMember, 0, 4);
  return t;
}

Ref<DataStoreLink> EngineContext::connectDataStore(const QString& provider) {
  if (!provider.isEmpty() && provider.compare(u"IxoProv.DataStore", Qt::CaseInsensitive) != 0)
    raiseError(ErrorNumber::CannotCreateObject, QStringLiteral("Unknown data-store provider: %1").arg(provider));
  return Ref<DataStoreLink>(new DataStoreLink(store_));
}

Variant EngineContext::contextIndex(Call&) { return Variant(std::int32_t(index_)); }
Variant EngineContext::nameMember(Call&) { return Variant(name_); }

// Arguments: name, provider, machine, option. Only the provider matters: every
// link of a context reaches the same store.
Variant EngineContext::connectDataStoreMember(Call& call) {
  return Variant(connectDataStore(call.argOr(1, Variant(QString())).toString()));
}

}  // namespace tarvix::engine
