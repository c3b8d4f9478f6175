#include "engine/language/Runtime.h"

#include "engine/language/ErrObject.h"
#include "engine/language/Execution.h"

namespace tarvix::script {

Runtime::Runtime() : err_(new ErrObject), fiber_(std::make_unique<Execution>(*this)) {}

Runtime::~Runtime() { shutdown(); }

DispatchObject* Runtime::errObject() { return err_.get(); }

void Runtime::shutdown() {
  fiber_->abort();
  for (int i = 0; i < program.globals.variableCount(); ++i) program.globals.slot(i) = Variant();
  output = nullptr;
}

}  // namespace tarvix::script
