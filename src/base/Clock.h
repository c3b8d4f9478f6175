#pragma once

#include <QDateTime>

namespace tarvix {

// The one source of "now" for the program. Tests install a clock they can set
// and advance, so time-driven behaviour is checked without sleeping.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;
  // Milliseconds of a monotonic counter, for delays and time slices.
  virtual qint64 monotonicMs() const = 0;
};

Clock& clock();
// Installs a clock (not owned); nullptr restores the system clock.
void setClock(Clock* clock);

// A clock that only moves when told to.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
  QDateTime now() const override { return now_; }
  qint64 monotonicMs() const override { return monotonic_; }
  void set(const QDateTime& when);
  void advanceMs(qint64 ms);

 private:
  QDateTime now_;
  qint64 monotonic_ = 0;
};

}  // namespace tarvix
