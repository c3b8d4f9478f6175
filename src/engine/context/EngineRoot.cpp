#include "engine/context/EngineRoot.h"

#include <QFileInfo>

#include "base/TextFile.h"
#include "engine/context/EngineContext.h"
#include "engine/store/ModelFile.h"
#include "engine/store/ProcessVarsStore.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {

namespace {
const QString kModelOption = QStringLiteral("@CRDFile=");
}

EngineRoot::EngineRoot() : EngineRoot(processVarsStore()) {}

EngineRoot::EngineRoot(std::shared_ptr<VarsStore> store) : store_(std::move(store)) {
  addContext(QString(), QString());
}

EngineRoot::~EngineRoot() = default;

const MemberTable<EngineRoot>& EngineRoot::table() {
  static const auto t = MemberTable<EngineRoot>(u"EngineRoot")
                            .get(u"Contexts", &EngineRoot::contextsMember)
                            .method(u"AddContext", &EngineRoot::addContextMember, 0, 2);
  return t;
}

Ref<EngineContext> EngineRoot::addContext(const QString& name, const QString& option) {
  if (option.startsWith(kModelOption, Qt::CaseInsensitive)) {
    const QString path = option.mid(kModelOption.size()).trimmed();
    const auto text = QFileInfo(path).isFile() ? readTextFile(path) : std::nullopt;
    if (!text) raiseError(ErrorNumber::FileNotFound, QStringLiteral("Model file not found: %1").arg(path));
    QString why;
    const auto model = ModelFile::parse(*text, store_->count(), &why);
    if (!model) raiseError(ErrorNumber::InvalidProcedureCall, QStringLiteral("%1: %2").arg(path, why));
    model->applyTo(*store_);
  }
  Ref<EngineContext> context(new EngineContext(store_, name, nextIndex_++));
  contexts_.append(context);
  return context;
}

EngineContext* EngineRoot::defaultContext() const { return contexts_.front().get(); }

Variant EngineRoot::contextsMember(Call&) { return Variant(new ContextList(Ref<EngineRoot>(this))); }

Variant EngineRoot::addContextMember(Call& call) {
  return Variant(addContext(call.argOr(0, Variant(QString())).toString(), call.argOr(1, Variant(QString())).toString()));
}

const MemberTable<ContextList>& ContextList::table() {
  static const auto t = MemberTable<ContextList>(u"Contexts")
                            .get(u"Item", &ContextList::item, 1, 1)
                            .method(u"Remove", &ContextList::remove, 1, 1)
                            .get(u"Count", &ContextList::count)
                            .defaultMember(u"Item");
  return t;
}

std::vector<Variant> ContextList::enumerate() {
  std::vector<Variant> contexts;
  for (const auto& context : root_->contexts()) contexts.emplace_back(context.get());
  return contexts;
}

int ContextList::checkedIndex(const Variant& index) const {
  const int i = index.toLong();
  if (i < 0 || i >= root_->contexts().size()) raiseError(ErrorNumber::SubscriptOutOfRange);
  return i;
}

Variant ContextList::item(Call& call) { return Variant(root_->contexts().at(checkedIndex(call.arg(0))).get()); }

Variant ContextList::remove(Call& call) {
  const int i = checkedIndex(call.arg(0));
  if (i == 0) raiseError(ErrorNumber::InvalidProcedureCall, QStringLiteral("The default context cannot be removed"));
  root_->contexts().removeAt(i);
  return {};
}

Variant ContextList::count(Call&) { return Variant(std::int32_t(root_->contexts().size())); }

}  // namespace tarvix::engine
