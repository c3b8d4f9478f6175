#include "base/Clock.h"

#include <QElapsedTimer>

namespace tarvix {
namespace {

class SystemClock final : public Clock {
 public:
  SystemClock() { timer_.start(); }
  QDateTime now() const override { return QDateTime::currentDateTime(); }
  qint64 monotonicMs() const override { return timer_.elapsed(); }

 private:
  QElapsedTimer timer_;
};

SystemClock& systemClock() {
  static SystemClock instance;
  return instance;
}

Clock* current = nullptr;

}  // namespace

Clock& clock() { return current ? *current : systemClock(); }

void setClock(Clock* clock) { current = clock; }

ManualClock::ManualClock(QDateTime start) : now_(std::move(start)) {}

void ManualClock::set(const QDateTime& when) {
  monotonic_ += now_.msecsTo(when) > 0 ? now_.msecsTo(when) : 0;
  now_ = when;
}

void ManualClock::advanceMs(qint64 ms) {
  now_ = now_.addMSecs(ms);
  monotonic_ += ms;
}

}  // namespace tarvix
