#include "engine/language/Scheduler.h"

#include <algorithm>
#include <limits>

#include "base/Clock.h"

namespace tarvix::script {

Scheduler::Scheduler(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] {
    runRound();
    plan();
  });
}

void Scheduler::add(Execution* fiber, int weight) {
  remove(fiber);
  fibers_.push_back({fiber, std::max(1, weight)});
  wake();
}

void Scheduler::remove(Execution* fiber) {
  fibers_.erase(std::remove_if(fibers_.begin(), fibers_.end(), [&](const Entry& e) { return e.fiber == fiber; }),
                fibers_.end());
}

void Scheduler::setWeight(Execution* fiber, int weight) {
  for (Entry& e : fibers_)
    if (e.fiber == fiber) e.weight = std::max(1, weight);
}

void Scheduler::setBaseSlice(long long milliseconds, long long statements) {
  sliceMs_ = milliseconds;
  sliceStatements_ = statements;
}

void Scheduler::wake() { timer_.start(0); }

int Scheduler::runRound() {
  int ran = 0;
  // A copy: a slice may add or remove fibers (through host calls).
  const std::vector<Entry> round = fibers_;
  if (round.empty()) return 0;
  const long long started = tarvix::clock().monotonicMs();
  const std::size_t first = cursor_ % round.size();
  for (std::size_t n = 0; n < round.size(); ++n) {
    const Entry& e = round[(first + n) % round.size()];
    if (std::none_of(fibers_.begin(), fibers_.end(), [&](const Entry& x) { return x.fiber == e.fiber; })) continue;
    if (!e.fiber->isRunnable()) continue;
    SliceBudget budget;
    budget.milliseconds = sliceMs_ >= 0 ? sliceMs_ * e.weight : -1;
    budget.statements = sliceStatements_ > 0 ? sliceStatements_ * e.weight : 0;
    const FiberState state = e.fiber->runSlice(budget);
    ++ran;
    cursor_ = first + n + 1;
    emit sliceEnded(e.fiber, state);
    if (roundLimitMs_ >= 0 && tarvix::clock().monotonicMs() - started >= roundLimitMs_) break;
  }
  return ran;
}

void Scheduler::plan() {
  long long earliest = std::numeric_limits<long long>::max();
  for (const Entry& e : fibers_) {
    if (e.fiber->isRunnable()) {
      timer_.start(0);
      return;
    }
    if (e.fiber->state() == FiberState::Delayed) earliest = std::min(earliest, e.fiber->wakeAtMs());
  }
  if (earliest == std::numeric_limits<long long>::max()) return;
  const long long wait = std::max(0LL, earliest - tarvix::clock().monotonicMs());
  timer_.start(static_cast<int>(std::min<long long>(wait, 60000)));
}

}  // namespace tarvix::script
