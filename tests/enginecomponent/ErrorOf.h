#pragma once

#include <functional>

#include "dispatch/AutomationError.h"

namespace tarvix::engine {

// The automation error number `action` raises, or 0 when it raises none.
inline int errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const AutomationError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace tarvix::engine
