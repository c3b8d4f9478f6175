#pragma once

namespace tarvix::script {
class Scheduler;
}

namespace tarvix::engine {

// The one scheduler that runs every script instance's fiber from the event
// loop. Slices are short (about a millisecond per weight unit) so that many
// busy scripts still leave the event loop responsive.
script::Scheduler& engineScheduler();

// The share of the scheduler's time an instance gets for a process priority
// class (64 idle, 16384 below normal, 32 normal, 32768 above normal, 128
// high, 256 real time): normal is 2, idle 1, real time 6. Unknown classes
// count as normal.
int priorityWeight(int priorityClass);

}  // namespace tarvix::engine
