#pragma once

#include <QObject>
#include <QTimer>
#include <vector>

#include "engine/language/Execution.h"

namespace tarvix::script {

// Runs the runnable fibers in turn on the UI thread: each gets one slice
// (its share weighted by its priority), then the event loop runs again. A
// zero timer drives the rounds while a fiber is runnable; otherwise the
// scheduler sleeps until the earliest Ext.Delay wake time. A fiber inside a
// host call (a message box, another object's method) is skipped, also when
// that call runs the event loop and with it a nested round.
class Scheduler final : public QObject {
  Q_OBJECT
 public:
  explicit Scheduler(QObject* parent = nullptr);

  // weight >= 1: how many base slices the fiber gets per round.
  void add(Execution* fiber, int weight = 1);
  void remove(Execution* fiber);
  void setWeight(Execution* fiber, int weight);
  void setBaseSlice(long long milliseconds, long long statements);
  // A round ends once it has used this much time (< 0: no limit); the next
  // round goes on with the fiber after the last one that ran.
  void setRoundLimit(long long milliseconds) { roundLimitMs_ = milliseconds; }

  // Call after starting, resuming or stepping a fiber: plans the next round.
  void wake();
  // One round now: each runnable fiber runs one slice, in turn, until the
  // round limit is used. Returns how many ran.
  int runRound();

 signals:
  // After each slice, with the fiber's state then.
  void sliceEnded(tarvix::script::Execution* fiber, tarvix::script::FiberState state);

 private:
  void plan();

  struct Entry {
    Execution* fiber;
    int weight;
  };
  std::vector<Entry> fibers_;
  QTimer timer_;
  long long sliceMs_ = 10;
  long long sliceStatements_ = 50000;
  long long roundLimitMs_ = 15;
  std::size_t cursor_ = 0;
};

}  // namespace tarvix::script
