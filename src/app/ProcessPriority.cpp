#include "app/ProcessPriority.h"

#include <sys/resource.h>

#include <array>
#include <optional>

namespace tarvix {
namespace {

struct ClassEntry {
  qint32 priorityClass;
  int niceValue;
};

// In index order, lowest priority first.
constexpr std::array<ClassEntry, 6> kClasses = {{{PriorityClass::Idle, 19},
                                                 {PriorityClass::BelowNormal, 10},
                                                 {PriorityClass::Normal, 0},
                                                 {PriorityClass::AboveNormal, -5},
                                                 {PriorityClass::High, -10},
                                                 {PriorityClass::RealTime, -20}}};

std::optional<int> niceValueOf(qint32 priorityClass) {
  for (const ClassEntry& entry : kClasses) {
    if (entry.priorityClass == priorityClass) return entry.niceValue;
  }
  return std::nullopt;
}

}  // namespace

qint32 PriorityClassOf(qint16 index) {
  return index >= 0 && index < static_cast<qint16>(kClasses.size()) ? kClasses[index].priorityClass : 0;
}

bool ApplyPriorityClass(qint64 processId, qint32 priorityClass) {
  const auto nice = niceValueOf(priorityClass);
  return nice && ::setpriority(PRIO_PROCESS, static_cast<id_t>(processId), *nice) == 0;
}

}  // namespace tarvix
