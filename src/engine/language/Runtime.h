#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>

#include "dispatch/DispatchObject.h"
#include "engine/language/Program.h"

namespace tarvix::script {

class Execution;
class ErrObject;

// What one script shares between its fiber and the objects it hands out
// (instances of its classes, GetRef references): the compiled program, its
// globals, the Err object and the output of Ext.Print. Objects keep it alive
// after the Script is gone.
class Runtime final : public RefCounted {
 public:
  Runtime();
  ~Runtime() override;

  Program program;
  std::function<void(const QString&)> output;
  ErrObject& err() { return *err_; }
  DispatchObject* errObject();
  Execution& fiber() { return *fiber_; }

  // Compiled Execute/Eval texts, by scope and text.
  QHash<QPair<const CompiledProc*, QString>, int> snippets;

  // Releases every global and member so that objects referring back to the
  // runtime can go (their Class_Terminate runs here).
  void shutdown();

 private:
  Ref<ErrObject> err_;
  std::unique_ptr<Execution> fiber_;
};

}  // namespace tarvix::script
