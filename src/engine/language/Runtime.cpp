#include "engine/language/Runtime.h"

#include "engine/language/ErrObject.h"
#include "engine/language/Execution.h"

namespace tarvix::script {

Runtime::Runtime() : err_(new ErrObject), fiber_(std::make_unique<Execution>(*this)) {}

Runtime::~Runtime() { shutdown(); }

DispatchObject* Runtime::errObject() { return err_.get(); }

void Runtime::shutdown() {
  fiber_->abort();
  // Newest first: script variables go before the host's objects (and Ext),
  // which their Class_Terminate may still use.
  for (int i = program.globals.variableCount() - 1; i >= 0; --i) program.globals.slot(i) = Variant();
}

}  // namespace tarvix::script
