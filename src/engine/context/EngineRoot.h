#pragma once

#include <QList>
#include <memory>

#include "dispatch/DispatchClass.h"

namespace tarvix::engine {

class VarsStore;
class EngineContext;

// The engine root: a list of engine contexts, item 0 being the default one.
// All contexts of a root share the root's Vars store (by default the
// process store, so every root of the program sees the same slots).
//
// AddContext(name, option): a new context. With the option
// "@CRDFile=" + path it first preloads the model file into the store (see
// ModelFile); a missing file raises error 53, a broken one error 5 naming the
// line, and then no context is added and the store is untouched.
class EngineRoot final : public DispatchClass<EngineRoot> {
 public:
  EngineRoot();
  explicit EngineRoot(std::shared_ptr<VarsStore> store);
  ~EngineRoot() override;
  static const MemberTable<EngineRoot>& table();

  const std::shared_ptr<VarsStore>& store() const { return store_; }
  Ref<EngineContext> addContext(const QString& name, const QString& option);
  EngineContext* defaultContext() const;
  QList<Ref<EngineContext>>& contexts() { return contexts_; }

 private:
  Variant contextsMember(Call&);
  Variant addContextMember(Call& call);

  std::shared_ptr<VarsStore> store_;
  QList<Ref<EngineContext>> contexts_;
  int nextIndex_ = 0;
};

// The Contexts list of a root: Item(index) (default, 0 = the default
// context), Remove(index) (the default context stays), Count.
class ContextList final : public DispatchClass<ContextList> {
 public:
  explicit ContextList(Ref<EngineRoot> root) : root_(std::move(root)) {}
  static const MemberTable<ContextList>& table();
  std::vector<Variant> enumerate() override;

 private:
  Variant item(Call& call);
  Variant remove(Call& call);
  Variant count(Call&);
  int checkedIndex(const Variant& index) const;

  Ref<EngineRoot> root_;
};

}  // namespace tarvix::engine
