#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "dispatch/DispatchObject.h"
#include "engine/language/Program.h"
#include "engine/language/ScriptError.h"

namespace tarvix::script {

class Runtime;

enum class FiberState {
  Idle,       // nothing started, or aborted
  Running,    // runnable: the next slice continues it
  Delayed,    // in Ext.Delay until wakeAtMs()
  Paused,     // stopped at a statement boundary by pause() or stepOver()
  Finished,   // ran to its end
  Error,      // stopped by a runtime error: see error()
};

// How much one slice may run: a number of statements and/or a time.
struct SliceBudget {
  long long statements = 100000;  // <= 0: no limit
  long long milliseconds = -1;    // < 0: no limit (measured with clock().monotonicMs())
};

// The virtual machine and the one fiber of a script. Frames and operand
// stack live in the execution's own memory, so the fiber can stop at any
// statement boundary and continue later; script calls never recurse in C++.
class Execution {
 public:
  explicit Execution(Runtime& runtime);
  ~Execution();
  Execution(const Execution&) = delete;
  Execution& operator=(const Execution&) = delete;

  // Starts the top-level code of the modules, then the procedure when one is
  // named. False (and state Error, error 35) when there is no such procedure.
  bool start(const QString& startupProcedure = {});
  // Starts a procedure alone, with the given arguments (the top level is not run again).
  bool startProcedure(const QString& name, std::vector<Variant> args = {});

  // Runs until the budget is used, the script ends or fails, Ext.Delay
  // suspends it or a pause/step boundary is reached. A fiber whose wake time
  // has not come, or that is already running (a host call inside it), is not
  // run. Returns the state after the slice.
  FiberState runSlice(const SliceBudget& budget = {});

  void pause();
  void resume();
  // Runs one statement at the current call depth (calls in it run through), then pauses.
  void stepOver();
  void abort();

  FiberState state() const { return state_; }
  bool isRunnable() const;
  // Whether the fiber is inside runSlice (for example in a host call).
  bool isBusy() const { return active_ > 0; }
  long long wakeAtMs() const { return wakeAt_; }
  int currentLine() const;
  int currentModule() const;
  const ScriptError& error() const { return error_; }

  // Ext.Delay: suspend at the next statement boundary until now + ms.
  void requestDelay(long long ms);

  // Calls a procedure of the script from C++ (script objects called by host
  // code, GetRef references, Class_Terminate) and runs it to its end.
  // Throws AutomationError when the script fails.
  Variant callNested(int proc, DispatchObject* me, std::span<Variant> args);

  // The execution running on this thread right now, if any.
  static Execution* current();

 private:
  struct Frame;
  enum class ResultMode : std::uint8_t { Push, PushMe, Discard };

  void reset();
  void beginEntry();
  // Runs until the frame count falls to stopDepth (true) or the fiber suspends (false).
  bool loop(std::size_t stopDepth);
  bool run(std::size_t stopDepth);
  bool handleError(const AutomationError& e, std::size_t stopDepth);
  void enterFrame(int proc, Variant* base, int argc, DispatchObject* me, ResultMode mode);
  Variant* frameLimit() const;
  void popFrame();
  bool callObject(DispatchObject* obj, int id, CallKind kind, Variant* slot, int argc, Variant*& sp, ResultMode mode);
  bool callScriptMember(class ScriptObject* obj, int id, CallKind kind, Variant* slot, int argc, Variant*& sp,
                        ResultMode mode);
  // Ends a call that ran no script frame: drops its arguments and leaves the result in slot unless discarded.
  static void completeCall(Variant result, Variant* slot, int argc, Variant*& sp, ResultMode mode);
  Variant& variable(Frame& f, std::int32_t ref);
  void runSnippet(int proc, ResultMode mode, Variant*& sp);
  int compileText(const QString& text, const CompiledProc& scope, bool expression, bool global);
  void unwindAll();
  bool sliceCheck();
  void recordError(const AutomationError& e, const Frame* at);

  struct Segment {
    std::unique_ptr<Variant[]> data;
    std::size_t size;
  };
  Variant* segmentEnd(int seg) const { return segments_[seg].data.get() + segments_[seg].size; }
  int segmentOf(const Variant* p) const;
  // A place above every live frame where count values may be written.
  Variant* scratch(std::size_t count);

  Runtime& runtime_;
  std::deque<Frame> frames_;
  std::vector<Segment> segments_;
  std::vector<std::pair<int, std::vector<Variant>>> entries_;  // queued (procedure, arguments)
  std::size_t nextEntry_ = 0;
  Variant nestedResult_;
  FiberState state_ = FiberState::Idle;
  ScriptError error_;
  bool errorRecorded_ = false;
  long long wakeAt_ = 0;
  long long countdown_ = 0;
  long long chunk_ = 0;
  long long budgetLeft_ = 0;
  long long deadline_ = -1;
  bool pauseRequested_ = false;
  bool delayRequested_ = false;
  bool abortRequested_ = false;
  std::size_t stepDepth_ = 0;
  bool stepping_ = false;
  int active_ = 0;
  int nested_ = 0;
};

}  // namespace tarvix::script
