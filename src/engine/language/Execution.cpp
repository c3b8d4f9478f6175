#include "engine/language/Execution.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>

#include "base/Clock.h"
#include "dispatch/SafeArray.h"
#include "dispatch/VariantOps.h"
#include "engine/language/Bytecode.h"
#include "engine/language/Compiler.h"
#include "engine/language/ErrObject.h"
#include "engine/language/Parser.h"
#include "engine/language/Runtime.h"
#include "engine/language/ScriptObject.h"

namespace tarvix::script {
namespace {

constexpr std::size_t kSegmentSize = std::size_t{1} << 15;
// Script calls deeper than this end in error 28 "Out of stack space".
constexpr std::size_t kMaxFrames = 3000;
// Calls from C++ back into the script (Class_Terminate, host callbacks) nest at most this deep.
constexpr int kMaxNested = 60;
// Room above a frame's operand stack for the VM's own temporaries.
constexpr int kFrameMargin = 4;
constexpr long long kCheckInterval = 1024;

thread_local Execution* currentExecution = nullptr;

[[noreturn]] void raiseNamed(int number, const QString& name) {
  QString text = standardErrorText(number);
  if (!name.isEmpty()) text += QStringLiteral(": '%1'").arg(name);
  throw AutomationError(number, text);
}

inline bool isIntegral(VarType t) { return t == VarType::Long || t == VarType::Integer; }
inline std::int32_t intOf(const Variant& v) { return v.type() == VarType::Long ? v.rawLong() : v.rawInteger(); }

inline std::int32_t indexValue(const Variant& v) {
  const Variant& d = v.deref();
  if (d.type() == VarType::Long) return d.rawLong();
  if (d.type() == VarType::Integer) return d.rawInteger();
  return d.toLong();
}

inline void clearRange(Variant* from, Variant* to) {
  for (Variant* p = from; p < to; ++p) *p = Variant();
}

// Offset of an element; error 9 outside the bounds.
std::size_t elementOffset(const SafeArray& array, const Variant* args, int argc) {
  if (argc == 1 && array.rank() == 1) {
    const SafeArray::Bound& b = array.bounds()[0];
    const std::int64_t offset = std::int64_t{indexValue(args[0])} - b.lower;
    if (offset < 0 || offset >= b.count) raiseError(ErrorNumber::SubscriptOutOfRange);
    return static_cast<std::size_t>(offset);
  }
  std::vector<std::int32_t> indices(argc);
  for (int i = 0; i < argc; ++i) indices[i] = indexValue(args[i]);
  return array.offsetOf(indices);
}

void storeElement(Variant& arrayValue, const Variant* args, int argc, Variant&& value) {
  SafeArray& array = arrayValue.mutableArray();
  if (array.elementType() == VarType::Variant) {
    array.data()[elementOffset(array, args, argc)] = std::move(value);
    return;
  }
  std::vector<std::int32_t> indices(argc);
  for (int i = 0; i < argc; ++i) indices[i] = indexValue(args[i]);
  array.set(indices, value);
}

std::vector<SafeArray::Bound> boundsFrom(const Variant* args, int n) {
  std::vector<SafeArray::Bound> bounds;
  bounds.reserve(n);
  for (int i = 0; i < n; ++i) {
    const std::int32_t upper = indexValue(args[i]);
    if (upper < -1) raiseError(ErrorNumber::SubscriptOutOfRange);
    bounds.push_back({0, upper + 1});
  }
  return bounds;
}

// Let assignment: an object stands for its default value.
inline void letValue(Variant& v) {
  if (v.isObject()) v = v.resolved();
}
inline void requireObject(const Variant& v) {
  if (!v.isObject()) raiseError(ErrorNumber::ObjectRequired);
}

inline Variant arith(Op op, const Variant& a, const Variant& b) {
  switch (op) {
    case Op::Add: return ops::add(a, b);
    case Op::Subtract: return ops::subtract(a, b);
    case Op::Multiply: return ops::multiply(a, b);
    case Op::Divide: return ops::divide(a, b);
    case Op::IntDivide: return ops::intDivide(a, b);
    case Op::Mod: return ops::modulo(a, b);
    case Op::Power: return ops::power(a, b);
    case Op::Concat: return ops::concat(a, b);
    case Op::Equal: return ops::equal(a, b);
    case Op::NotEqual: return ops::notEqual(a, b);
    case Op::Less: return ops::less(a, b);
    case Op::Greater: return ops::greater(a, b);
    case Op::LessEqual: return ops::lessEqual(a, b);
    case Op::GreaterEqual: return ops::greaterEqual(a, b);
    case Op::Is: return Variant(ops::is(a, b));
    case Op::And: return ops::logicalAnd(a, b);
    case Op::Or: return ops::logicalOr(a, b);
    case Op::Xor: return ops::logicalXor(a, b);
    case Op::Eqv: return ops::logicalEqv(a, b);
    case Op::Imp: return ops::logicalImp(a, b);
    default: return Variant();
  }
}

// Integer fast paths: mixed 16/32-bit operands without the general rules' detour.
inline bool fastInt(Op op, const Variant& a, const Variant& b, Variant& out) {
  if (!isIntegral(a.type()) || !isIntegral(b.type())) return false;
  const std::int64_t x = intOf(a), y = intOf(b);
  const bool small = a.type() == VarType::Integer && b.type() == VarType::Integer;
  std::int64_t r;
  switch (op) {
    case Op::Add: r = x + y; break;
    case Op::Subtract: r = x - y; break;
    case Op::Multiply: r = x * y; break;
    case Op::Mod:
      if (y == 0) return false;
      r = x % y;
      break;
    case Op::IntDivide:
      if (y == 0) return false;
      r = x / y;
      break;
    case Op::Equal: out = Variant(x == y); return true;
    case Op::NotEqual: out = Variant(x != y); return true;
    case Op::Less: out = Variant(x < y); return true;
    case Op::Greater: out = Variant(x > y); return true;
    case Op::LessEqual: out = Variant(x <= y); return true;
    case Op::GreaterEqual: out = Variant(x >= y); return true;
    default: return false;
  }
  if (small && r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max())
    out = Variant(static_cast<std::int16_t>(r));
  else if (r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max())
    out = Variant(static_cast<std::int32_t>(r));
  else
    out = Variant(static_cast<double>(r));
  return true;
}

inline bool fastDouble(Op op, const Variant& a, const Variant& b, Variant& out) {
  const VarType ta = a.type(), tb = b.type();
  if (!((ta == VarType::Double || isIntegral(ta)) && (tb == VarType::Double || isIntegral(tb)))) return false;
  const double x = ta == VarType::Double ? a.rawDouble() : intOf(a);
  const double y = tb == VarType::Double ? b.rawDouble() : intOf(b);
  switch (op) {
    case Op::Add: out = Variant(x + y); break;
    case Op::Subtract: out = Variant(x - y); break;
    case Op::Multiply: out = Variant(x * y); break;
    case Op::Equal: out = Variant(x == y); return true;
    case Op::NotEqual: out = Variant(x != y); return true;
    case Op::Less: out = Variant(x < y); return true;
    case Op::Greater: out = Variant(x > y); return true;
    case Op::LessEqual: out = Variant(x <= y); return true;
    case Op::GreaterEqual: out = Variant(x >= y); return true;
    default: return false;
  }
  if (!std::isfinite(out.rawDouble())) raiseError(ErrorNumber::Overflow);
  return true;
}

inline bool truth(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.rawBool();
  return ops::isTrue(v.isObject() ? v.resolved() : v);
}

// Appends without copying when the text is not shared (when Variant offers it).
template <class V>
bool appendInPlace(V& target, const QString& text) {
  if constexpr (requires { target.appendInPlace(text); }) return target.appendInPlace(text);
  else return false;
}

const void* cacheKeyOf(DispatchObject* obj) {
  if (ScriptObject* so = asScriptObject(obj)) return &so->scriptClass();
  return &typeid(*obj);
}

}  // namespace

struct Execution::Frame {
  const CompiledProc* proc = nullptr;
  const std::uint32_t* ip = nullptr;
  Variant* base = nullptr;
  Variant* sp = nullptr;
  ObjectRef me;
  int seg = 0;
  int line = 0;
  int module = 0;
  bool resumeNext = false;
  ResultMode mode = ResultMode::Push;
};

Execution::Execution(Runtime& runtime) : runtime_(runtime) {
  segments_.push_back({std::make_unique<Variant[]>(kSegmentSize), kSegmentSize});
}

Execution::~Execution() { unwindAll(); }

Execution* Execution::current() { return currentExecution; }

int Execution::segmentOf(const Variant* p) const {
  for (int i = 0; i < static_cast<int>(segments_.size()); ++i)
    if (p >= segments_[i].data.get() && p <= segmentEnd(i)) return i;
  return 0;
}

Variant* Execution::frameLimit() const {
  if (frames_.empty()) return segments_[0].data.get();
  const Frame& top = frames_.back();
  return top.base + top.proc->slotCount + top.proc->maxStack + kFrameMargin;
}

Variant* Execution::scratch(std::size_t count) {
  Variant* at = frameLimit();
  int seg = frames_.empty() ? 0 : frames_.back().seg;
  if (at + count + kFrameMargin <= segmentEnd(seg)) return at;
  ++seg;
  if (seg >= static_cast<int>(segments_.size()))
    segments_.push_back({std::make_unique<Variant[]>(std::max(kSegmentSize, count + kFrameMargin)),
                         std::max(kSegmentSize, count + kFrameMargin)});
  if (segments_[seg].size < count + kFrameMargin) raiseError(ErrorNumber::OutOfStackSpace);
  return segments_[seg].data.get();
}

void Execution::enterFrame(int procIndex, Variant* base, int argc, DispatchObject* me, ResultMode mode) {
  const CompiledProc& proc = *runtime_.program.procs[procIndex];
  if (argc != proc.paramCount) raiseError(ErrorNumber::WrongArgumentCount);
  if (frames_.size() >= kMaxFrames) raiseError(ErrorNumber::OutOfStackSpace);
  const std::size_t need = static_cast<std::size_t>(proc.slotCount + proc.maxStack + kFrameMargin);
  int seg = frames_.empty() ? segmentOf(base) : frames_.back().seg;
  if (base < segments_[seg].data.get() || base > segmentEnd(seg)) seg = segmentOf(base);
  if (base + need > segmentEnd(seg)) {
    const int next = seg + 1;
    if (next >= static_cast<int>(segments_.size()))
      segments_.push_back({std::make_unique<Variant[]>(std::max(kSegmentSize, need)), std::max(kSegmentSize, need)});
    if (segments_[next].size < need) segments_[next] = {std::make_unique<Variant[]>(need), need};
    Variant* moved = segments_[next].data.get();
    for (int i = 0; i <= argc; ++i) moved[i] = std::move(base[i]);
    base = moved;
    seg = next;
  }
  Frame& f = frames_.emplace_back();
  f.proc = &proc;
  f.ip = proc.code.data();
  f.base = base;
  f.sp = base + proc.slotCount;
  f.me = me;
  f.seg = seg;
  f.line = proc.line;
  f.module = proc.module;
  f.mode = mode;
  for (int slot : proc.byValSlots)
    if (base[slot].isByRef()) base[slot] = Variant(base[slot].deref());
}

void Execution::popFrame() {
  Frame& f = frames_.back();
  clearRange(f.base + 1, f.base + f.proc->slotCount + f.proc->maxStack + kFrameMargin);
  frames_.pop_back();
}

void Execution::unwindAll() {
  while (!frames_.empty()) {
    frames_.back().base[0] = Variant();
    popFrame();
  }
}

Variant& Execution::variable(Frame& f, std::int32_t ref) {
  const std::int32_t index = varIndexOf(ref);
  switch (varKindOf(ref)) {
    case VarKind::Local: return f.base[index].deref();
    case VarKind::Global: return runtime_.program.globals.slot(index);
    default: return static_cast<ScriptObject*>(f.me.get())->fields()[index];
  }
}

bool Execution::callObject(DispatchObject* obj, int id, CallKind kind, Variant* slot, int argc, Variant*& sp,
                           ResultMode mode) {
  if (ScriptObject* so = asScriptObject(obj); so && &so->runtime() == &runtime_)
    return callScriptMember(so, id, kind, slot, argc, sp, mode);
  ObjectRef keep(obj);
  completeCall(obj->invoke(id, kind, std::span<Variant>(slot + 1, argc)), slot, argc, sp, mode);
  return false;
}

void Execution::completeCall(Variant result, Variant* slot, int argc, Variant*& sp, ResultMode mode) {
  clearRange(slot + 1, slot + 1 + argc);
  if (mode == ResultMode::Discard) {
    *slot = Variant();
    sp = slot;
  } else {
    *slot = std::move(result);
    sp = slot + 1;
  }
}

bool Execution::callScriptMember(ScriptObject* so, int id, CallKind kind, Variant* slot, int argc, Variant*& sp,
                                 ResultMode mode) {
  const ScriptClass& cls = so->scriptClass();
  if (id == DispId::Value) id = cls.defaultMember;
  if (id <= 0) raiseError(ErrorNumber::ObjectDoesNotSupport);
  const ScriptClass::Member& m = cls.members[id - 1];
  if (!m.isPublic && (frames_.empty() || frames_.back().proc->owner != &cls))
    raiseError(ErrorNumber::ObjectDoesNotSupport);
  if (m.field >= 0) {
    ObjectRef keep(so);
    Variant& field = so->fields()[m.field];
    Variant result;
    if (kind == CallKind::PropertyLet || kind == CallKind::PropertySet) {
      Variant value = slot[argc].deref();
      if (kind == CallKind::PropertyLet) letValue(value);
      else requireObject(value);
      if (argc == 1) field = std::move(value);
      else if (field.isArray()) storeElement(field, slot + 1, argc - 1, std::move(value));
      else raiseError(ErrorNumber::TypeMismatch);
    } else if (argc == 0) {
      result = field;
    } else if (field.isArray()) {
      result = field.rawArray().data()[elementOffset(field.rawArray(), slot + 1, argc)];
    } else {
      raiseError(ErrorNumber::TypeMismatch);
    }
    completeCall(std::move(result), slot, argc, sp, mode);
    return false;
  }
  int proc = m.get;
  if (kind == CallKind::PropertyLet) proc = m.let >= 0 ? m.let : m.set;
  else if (kind == CallKind::PropertySet) proc = m.set >= 0 ? m.set : m.let;
  if (proc < 0) raiseError(ErrorNumber::ObjectDoesNotSupport);
  ObjectRef me(so);
  *slot = Variant();
  frames_.back().sp = slot;
  enterFrame(proc, slot, argc, so, mode);
  return true;
}

int Execution::compileText(const QString& text, const CompiledProc& scope, bool expression, bool global) {
  const CompiledProc* key = global ? nullptr : &scope;
  const QString cacheText = (expression ? QStringLiteral("E") : QStringLiteral("S")) + text;
  auto it = runtime_.snippets.constFind(qMakePair(key, cacheText));
  if (it != runtime_.snippets.constEnd()) return *it;
  int proc;
  try {
    Compiler compiler(runtime_.program);
    if (expression) {
      ast::ExprPtr e = parseExpressionText(text);
      proc = compiler.compileEval(*e, scope);
    } else {
      ast::Module m = parseModule(text);
      proc = global ? compiler.compileGlobalText(m, scope.module) : compiler.compileLocalText(m, scope);
    }
  } catch (const CompileError& e) {
    throw AutomationError(e.error.number, e.error.description);
  }
  runtime_.snippets.insert(qMakePair(key, cacheText), proc);
  return proc;
}

void Execution::runSnippet(int procIndex, ResultMode mode, Variant*& sp) {
  Frame& f = frames_.back();
  const CompiledProc& snippet = *runtime_.program.procs[procIndex];
  const int argc = static_cast<int>(snippet.outerSlots.size());
  f.sp = sp;
  Variant* base = scratch(argc + 1);
  base[0] = Variant();
  for (int i = 0; i < argc; ++i) base[i + 1] = Variant::byRef(&f.base[snippet.outerSlots[i]].deref());
  try {
    enterFrame(procIndex, base, argc, f.me.get(), mode);
  } catch (...) {
    clearRange(base, base + argc + 1);
    throw;
  }
}

void Execution::recordError(const AutomationError& e, const Frame* at) {
  error_ = ScriptError();
  error_.number = e.number();
  error_.description = e.description().isEmpty() ? standardErrorText(e.number()) : e.description();
  error_.source = e.source();
  if (at) {
    error_.line = at->line;
    error_.module = at->module;
  }
  errorRecorded_ = true;
}

bool Execution::handleError(const AutomationError& e, std::size_t stopDepth) {
  if (!errorRecorded_) recordError(e, frames_.empty() ? nullptr : &frames_.back());
  while (frames_.size() > stopDepth) {
    Frame& f = frames_.back();
    if (f.resumeNext) {
      runtime_.err().set(e.number(), error_.description,
                         e.source().isEmpty() ? QStringLiteral("Script runtime error") : e.source());
      errorRecorded_ = false;
      Variant* operands = f.base + f.proc->slotCount;
      clearRange(operands, operands + f.proc->maxStack + kFrameMargin);
      f.sp = operands;
      // Continue with the next statement; unconditional jumps are followed so
      // that the end of a loop body or of a Then branch goes where it would.
      const std::uint32_t* code = f.proc->code.data();
      const std::uint32_t* p = f.ip;
      for (std::size_t steps = 0; steps <= f.proc->code.size(); ++steps) {
        const Op op = opOf(*p);
        if (op == Op::Line || op == Op::Return) break;
        if (op == Op::Jump) p = code + operandOf(*p);
        else p += opLength(op);
      }
      f.ip = p;
      return true;
    }
    f.base[0] = Variant();
    popFrame();
  }
  return false;
}

bool Execution::run(std::size_t stopDepth) {
  Execution* previous = currentExecution;
  currentExecution = this;
  struct Restore {
    Execution*& slot;
    Execution* value;
    ~Restore() { slot = value; }
  } restore{currentExecution, previous};
  for (;;) {
    std::optional<AutomationError> error;
    try {
      return loop(stopDepth);
    } catch (const AutomationError& e) {
      error = e;
    } catch (const std::bad_alloc&) {
      error.emplace(ErrorNumber::OutOfMemory);
    }
    if (handleError(*error, stopDepth)) continue;
    if (stopDepth > 0 || nested_ > 0) {
      errorRecorded_ = false;
      throw *error;
    }
    state_ = FiberState::Error;
    entries_.clear();
    return true;
  }
}

bool Execution::sliceCheck() {
  if (nested_ > 0) {
    countdown_ = kCheckInterval;
    return false;
  }
  if (abortRequested_) {
    abortRequested_ = false;
    state_ = FiberState::Idle;
    return true;
  }
  if (delayRequested_) {
    delayRequested_ = false;
    state_ = FiberState::Delayed;
    countdown_ = 0;
    return true;
  }
  if (pauseRequested_) {
    pauseRequested_ = false;
    state_ = FiberState::Paused;
    return true;
  }
  if (stepping_) {
    if (frames_.size() <= stepDepth_) {
      stepping_ = false;
      state_ = FiberState::Paused;
      return true;
    }
    countdown_ = 1;
    return false;
  }
  budgetLeft_ -= chunk_;
  if (budgetLeft_ <= 0) return true;
  if (deadline_ >= 0 && tarvix::clock().monotonicMs() >= deadline_) return true;
  chunk_ = std::min(budgetLeft_, kCheckInterval);
  countdown_ = chunk_;
  return false;
}

__attribute__((flatten)) bool Execution::loop(std::size_t stopDepth) {
  Frame* f = &frames_.back();
  const CompiledProc* proc = f->proc;
  const std::uint32_t* ip = f->ip;
  const std::uint32_t* code = proc->code.data();
  Variant* base = f->base;
  Variant* sp = f->sp;
  Globals& globals = runtime_.program.globals;

#define TARVIX_RELOAD()        \
  do {                         \
    f = &frames_.back();       \
    proc = f->proc;            \
    ip = f->ip;                \
    code = proc->code.data();  \
    base = f->base;            \
    sp = f->sp;                \
  } while (0)

  for (;;) {
    const std::uint32_t w = *ip++;
    const std::int32_t a = operandOf(w);
    const Op op = opOf(w);
    switch (op) {
      case Op::Nop: break;
      case Op::Line:
        f->line = a;
        f->ip = ip;
        if (--countdown_ <= 0 && sliceCheck()) {
          f->sp = sp;
          return false;
        }
        break;
      case Op::SetModule: f->module = a; break;
      case Op::PushConst: *sp++ = proc->constants[a]; break;
      case Op::PushEmpty: *sp++ = Variant(); break;
      case Op::PushMissing: *sp++ = Variant::missing(); break;
      case Op::PushMe: *sp++ = Variant(f->me.get()); break;
      case Op::PushErr: *sp++ = Variant(runtime_.errObject()); break;
      case Op::Pop: *--sp = Variant(); break;
      case Op::Dup:
        *sp = sp[-1];
        ++sp;
        break;

      case Op::LoadLocal: *sp++ = base[a].deref(); break;
      case Op::StoreLocal: {
        Variant& v = *--sp;
        letValue(v);
        base[a].deref() = std::move(v);
        break;
      }
      case Op::SetLocal: {
        Variant& v = *--sp;
        requireObject(v);
        base[a].deref() = std::move(v);
        break;
      }
      case Op::RefLocal: *sp++ = Variant::byRef(&base[a].deref()); break;
      case Op::ClearLocal: base[a] = Variant(); break;
      case Op::LoadGlobal: *sp++ = globals.slot(a); break;
      case Op::StoreGlobal: {
        Variant& v = *--sp;
        letValue(v);
        globals.slot(a) = std::move(v);
        break;
      }
      case Op::SetGlobal: {
        Variant& v = *--sp;
        requireObject(v);
        globals.slot(a) = std::move(v);
        break;
      }
      case Op::RefGlobal: *sp++ = Variant::byRef(&globals.slot(a)); break;
      case Op::LoadField: *sp++ = static_cast<ScriptObject*>(f->me.get())->fields()[a]; break;
      case Op::StoreField: {
        Variant& v = *--sp;
        letValue(v);
        static_cast<ScriptObject*>(f->me.get())->fields()[a] = std::move(v);
        break;
      }
      case Op::SetField: {
        Variant& v = *--sp;
        requireObject(v);
        static_cast<ScriptObject*>(f->me.get())->fields()[a] = std::move(v);
        break;
      }
      case Op::RefField: *sp++ = Variant::byRef(&static_cast<ScriptObject*>(f->me.get())->fields()[a]); break;

      case Op::IndexVar: {
        const int argc = static_cast<int>(*ip++);
        Variant& v = variable(*f, a);
        Variant* args = sp - argc;
        if (v.isArray()) {
          Variant value = v.rawArray().data()[elementOffset(v.rawArray(), args, argc)];
          clearRange(args, sp);
          sp = args;
          *sp++ = std::move(value);
          break;
        }
        if (v.isObject()) {
          ObjectRef obj(v.rawObject());
          if (!obj) raiseError(ErrorNumber::ObjectVariableNotSet);
          for (int i = argc; i > 0; --i) args[i] = std::move(args[i - 1]);
          args[0] = Variant();
          ++sp;
          f->ip = ip;
          if (callObject(obj.get(), DispId::Value, CallKind::PropertyGet, args, argc, sp, ResultMode::Push))
            TARVIX_RELOAD();
          break;
        }
        if (argc == 0) {
          *sp++ = v;
          break;
        }
        raiseError(ErrorNumber::TypeMismatch);
      }
      case Op::StoreIndexVar:
      case Op::SetIndexVar: {
        const int argc = static_cast<int>(*ip++);
        Variant& v = variable(*f, a);
        Variant* args = sp - argc - 1;
        if (v.isArray()) {
          Variant value = std::move(sp[-1]);
          if (op == Op::StoreIndexVar) letValue(value);
          else requireObject(value);
          storeElement(v, args, argc, std::move(value));
          clearRange(args, sp);
          sp = args;
          break;
        }
        if (v.isObject()) {
          ObjectRef obj(v.rawObject());
          if (!obj) raiseError(ErrorNumber::ObjectVariableNotSet);
          for (int i = argc + 1; i > 0; --i) args[i] = std::move(args[i - 1]);
          args[0] = Variant();
          ++sp;
          f->ip = ip;
          if (callObject(obj.get(), DispId::Value,
                         op == Op::StoreIndexVar ? CallKind::PropertyLet : CallKind::PropertySet, args, argc + 1, sp,
                         ResultMode::Discard))
            TARVIX_RELOAD();
          break;
        }
        raiseError(ErrorNumber::TypeMismatch);
      }
      case Op::Index: {
        const int argc = a;
        Variant* slot = sp - argc - 1;
        if (slot->isArray()) {
          Variant value = slot->rawArray().data()[elementOffset(slot->rawArray(), slot + 1, argc)];
          clearRange(slot, sp);
          sp = slot;
          *sp++ = std::move(value);
          break;
        }
        if (slot->isObject()) {
          ObjectRef obj(slot->rawObject());
          if (!obj) raiseError(ErrorNumber::ObjectVariableNotSet);
          f->ip = ip;
          if (callObject(obj.get(), DispId::Value, CallKind::PropertyGet, slot, argc, sp, ResultMode::Push))
            TARVIX_RELOAD();
          break;
        }
        if (argc == 0) break;
        raiseError(ErrorNumber::TypeMismatch);
      }
      case Op::CallProc:
      case Op::CallMethod: {
        const int argc = static_cast<int>(*ip++);
        Variant* slot = sp - argc - 1;
        f->ip = ip;
        f->sp = slot;
        enterFrame(a, slot, argc, op == Op::CallMethod ? f->me.get() : nullptr, ResultMode::Push);
        TARVIX_RELOAD();
        break;
      }
      case Op::CallBuiltin: {
        const int argc = static_cast<int>(*ip++);
        const builtins::Builtin* b = proc->builtins[a];
        checkArgumentCount(argc, b->minArgs, b->maxArgs);
        Variant* args = sp - argc;
        f->ip = ip;
        builtins::BuiltinCall call{std::span<Variant>(args, argc)};
        Variant result = b->fn(call);
        clearRange(args, sp);
        sp = args;
        *sp++ = std::move(result);
        break;
      }
      case Op::CallMember: {
        const std::uint32_t w2 = *ip++;
        MemberCache& cache = proc->caches[*ip++];
        const int argc = static_cast<int>(w2 & 0xFFFF);
        const CallKind kind = static_cast<CallKind>(w2 >> 16);
        Variant* slot = sp - argc - 1;
        if (!slot->isObject()) raiseError(ErrorNumber::ObjectRequired);
        DispatchObject* obj = slot->rawObject();
        if (!obj) raiseError(ErrorNumber::ObjectVariableNotSet);
        const void* key = cacheKeyOf(obj);
        int id = cache.id;
        if (cache.key != key) {
          const QString& name = proc->names[a];
          if (ScriptObject* so = asScriptObject(obj)) id = so->scriptClass().memberIdOf(name);
          else id = obj->memberId(name);
          if (id == DispId::Unknown || (asScriptObject(obj) && id <= 0 && !name.isEmpty()))
            raiseNamed(ErrorNumber::ObjectDoesNotSupport, name);
          cache.key = key;
          cache.id = id;
        }
        f->ip = ip;
        ObjectRef keep(obj);
        if (callObject(obj, id, kind, slot, argc, sp, ResultMode::Push)) TARVIX_RELOAD();
        break;
      }
      case Op::CallByName: {
        const int argc = static_cast<int>(*ip++);
        const QString& name = proc->names[a];
        const Globals::Entry* g = globals.find(name);
        if (!g || g->kind != Globals::Entry::Kind::Procedure) raiseNamed(ErrorNumber::TypeMismatch, name);
        Variant* slot = sp - argc - 1;
        f->ip = ip;
        f->sp = slot;
        enterFrame(g->index, slot, argc, nullptr, ResultMode::Push);
        TARVIX_RELOAD();
        break;
      }
      case Op::NewObject: {
        const ScriptClass& cls = *runtime_.program.classes[a];
        Ref<ScriptObject> obj(new ScriptObject(runtime_, cls));
        if (cls.initialize >= 0) {
          f->ip = ip;
          f->sp = sp;
          *sp = Variant();
          enterFrame(cls.initialize, sp, 0, obj.get(), ResultMode::PushMe);
          TARVIX_RELOAD();
          break;
        }
        *sp++ = Variant(static_cast<DispatchObject*>(obj.get()));
        break;
      }
      case Op::Jump: ip = code + a; break;
      case Op::JumpIfFalse: {
        Variant& v = *--sp;
        const bool t = truth(v);
        v = Variant();
        if (!t) ip = code + a;
        break;
      }
      case Op::JumpIfTrue: {
        Variant& v = *--sp;
        const bool t = truth(v);
        v = Variant();
        if (t) ip = code + a;
        break;
      }
      case Op::Add:
      case Op::Subtract:
      case Op::Multiply:
      case Op::Mod:
      case Op::IntDivide:
      case Op::Equal:
      case Op::NotEqual:
      case Op::Less:
      case Op::Greater:
      case Op::LessEqual:
      case Op::GreaterEqual: {
        Variant& l = sp[-2];
        Variant& r = sp[-1];
        Variant out;
        if (!fastInt(op, l, r, out) && !fastDouble(op, l, r, out)) out = arith(op, l, r);
        l = std::move(out);
        r = Variant();
        --sp;
        break;
      }
      case Op::Divide:
      case Op::Power:
      case Op::Concat:
      case Op::Is:
      case Op::And:
      case Op::Or:
      case Op::Xor:
      case Op::Eqv:
      case Op::Imp: {
        Variant& l = sp[-2];
        Variant& r = sp[-1];
        l = arith(op, l, r);
        r = Variant();
        --sp;
        break;
      }
      case Op::Negate: sp[-1] = ops::negate(sp[-1]); break;
      case Op::Not: sp[-1] = ops::logicalNot(sp[-1]); break;
      case Op::ToValue: letValue(sp[-1]); break;
      case Op::AppendLocal: {
        Variant& v = *--sp;
        Variant& s = base[a].deref();
        bool done = false;
        if (s.isString() && !v.isNull() && !v.isObject())
          done = appendInPlace(s, v.isString() ? v.rawString() : v.toString());
        if (!done) s = ops::concat(s, v);
        v = Variant();
        break;
      }
      case Op::ForPrep: {
        const int hidden = static_cast<int>(*ip++);
        const std::uint32_t exit = *ip++;
        Variant& v = variable(*f, a);
        Variant& limit = base[hidden];
        Variant& step = base[hidden + 1];
        letValue(limit);
        letValue(step);
        if (isIntegral(v.type()) && isIntegral(limit.type()) && isIntegral(step.type())) {
          if (v.type() == VarType::Long || limit.type() == VarType::Long || step.type() == VarType::Long) {
            v = Variant(intOf(v));
            limit = Variant(intOf(limit));
            step = Variant(intOf(step));
          }
          const std::int32_t x = intOf(v), l = intOf(limit);
          if (intOf(step) >= 0 ? x > l : x < l) ip = code + exit;
          break;
        }
        if (!v.isNumeric() || !limit.isNumeric() || !step.isNumeric()) {
          v = Variant(v.toDouble());
          limit = Variant(limit.toDouble());
          step = Variant(step.toDouble());
        }
        const ops::Order o = ops::compare(v, limit);
        if (ops::isTrue(ops::greaterEqual(step, Variant(std::int16_t{0}))) ? o == ops::Order::Greater
                                                                            : o == ops::Order::Less)
          ip = code + exit;
        break;
      }
      case Op::ForNext: {
        const int hidden = static_cast<int>(*ip++);
        const std::uint32_t body = *ip++;
        Variant& v = variable(*f, a);
        const Variant& limit = base[hidden];
        const Variant& step = base[hidden + 1];
        if (v.type() == VarType::Long && step.type() == VarType::Long && limit.type() == VarType::Long) {
          const std::int64_t n = std::int64_t{v.rawLong()} + step.rawLong();
          if (n > std::numeric_limits<std::int32_t>::max() || n < std::numeric_limits<std::int32_t>::min())
            raiseError(ErrorNumber::Overflow);
          v = Variant(static_cast<std::int32_t>(n));
          if (step.rawLong() >= 0 ? n <= limit.rawLong() : n >= limit.rawLong()) ip = code + body;
          break;
        }
        v = ops::add(v, step);
        const ops::Order o = ops::compare(v, limit);
        const bool up = ops::isTrue(ops::greaterEqual(step, Variant(std::int16_t{0})));
        if (up ? o != ops::Order::Greater : o != ops::Order::Less) ip = code + body;
        break;
      }
      case Op::ForEachPrep: {
        ip += 2;
        Variant group = std::move(*--sp);
        if (group.isArray()) {
          base[a] = std::move(group);
        } else if (group.isObject() && group.rawObject()) {
          ObjectRef obj(group.rawObject());
          f->ip = ip;
          base[a] = makeArray(obj->enumerate());
        } else {
          raiseError(ErrorNumber::ObjectNotACollection);
        }
        base[a + 1] = Variant(std::int32_t{0});
        break;
      }
      case Op::ForEachNext: {
        const std::int32_t target = static_cast<std::int32_t>(*ip++);
        const std::uint32_t exit = *ip++;
        const SafeArray& items = base[a].rawArray();
        const std::int32_t position = base[a + 1].rawLong();
        if (static_cast<std::size_t>(position) >= items.size()) {
          ip = code + exit;
          break;
        }
        Variant item = items.data()[position];
        base[a + 1] = Variant(position + 1);
        variable(*f, target) = std::move(item);
        break;
      }
      case Op::Return: {
        Variant result = std::move(base[0]);
        const ResultMode mode = f->mode;
        ObjectRef me = mode == ResultMode::PushMe ? f->me : ObjectRef();
        popFrame();
        if (frames_.size() == stopDepth) {
          nestedResult_ = std::move(result);
          return true;
        }
        TARVIX_RELOAD();
        if (mode == ResultMode::Push) *sp++ = std::move(result);
        else if (mode == ResultMode::PushMe) *sp++ = Variant(me.get());
        break;
      }
      case Op::OnErrorResumeNext:
        f->resumeNext = true;
        runtime_.err().clear();
        break;
      case Op::OnErrorGoto0:
        f->resumeNext = false;
        runtime_.err().clear();
        break;
      case Op::Raise: {
        const std::int32_t name = static_cast<std::int32_t>(*ip++);
        raiseNamed(a, name >= 0 ? proc->names[name] : QString());
      }
      case Op::DimArray: {
        const int n = static_cast<int>(*ip++);
        Variant* args = sp - n;
        Variant array(new SafeArray(VarType::Variant, boundsFrom(args, n)));
        clearRange(args, sp);
        sp = args;
        variable(*f, a) = std::move(array);
        break;
      }
      case Op::ReDim: {
        const std::uint32_t w2 = *ip++;
        const int n = static_cast<int>(w2 & 0xFFFF);
        const bool preserve = (w2 >> 16) != 0;
        Variant* args = sp - n;
        std::vector<SafeArray::Bound> bounds = boundsFrom(args, n);
        clearRange(args, sp);
        sp = args;
        Variant& v = variable(*f, a);
        if (preserve && v.isArray()) v.mutableArray().redim(std::move(bounds), true);
        else v = Variant(new SafeArray(VarType::Variant, std::move(bounds)));
        break;
      }
      case Op::Erase: {
        Variant& v = variable(*f, a);
        if (!v.isArray()) raiseError(ErrorNumber::TypeMismatch);
        v.mutableArray().clearElements();
        break;
      }
      case Op::Eval: {
        const QString text = sp[-1].toString();
        *--sp = Variant();
        f->ip = ip;
        runSnippet(compileText(text, *proc, true, false), ResultMode::Push, sp);
        TARVIX_RELOAD();
        break;
      }
      case Op::Execute: {
        const QString text = sp[-1].toString();
        *--sp = Variant();
        f->ip = ip;
        runSnippet(compileText(text, *proc, false, a == 1), ResultMode::Discard, sp);
        TARVIX_RELOAD();
        break;
      }
      case Op::GetRef: {
        const QString name = sp[-1].toString();
        const Globals::Entry* g = globals.find(name);
        if (!g || g->kind != Globals::Entry::Kind::Procedure) raiseError(ErrorNumber::InvalidProcedureCall);
        sp[-1] = Variant(static_cast<DispatchObject*>(new ProcedureRef(runtime_, g->index)));
        break;
      }
      case Op::Count_: break;
    }
  }
#undef TARVIX_RELOAD
}

// ---- fiber control ----

void Execution::reset() {
  unwindAll();
  entries_.clear();
  nextEntry_ = 0;
  error_ = ScriptError();
  errorRecorded_ = false;
  pauseRequested_ = delayRequested_ = abortRequested_ = stepping_ = false;
}

void Execution::beginEntry() {
  auto& [proc, args] = entries_[nextEntry_++];
  Variant* base = scratch(args.size() + 1);
  base[0] = Variant();
  for (std::size_t i = 0; i < args.size(); ++i) base[i + 1] = args[i];
  enterFrame(proc, base, static_cast<int>(args.size()), nullptr, ResultMode::Discard);
}

namespace {
int findProcedure(Runtime& runtime, const QString& name) {
  const Globals::Entry* g = runtime.program.globals.find(name);
  return g && g->kind == Globals::Entry::Kind::Procedure ? g->index : -1;
}
}  // namespace

bool Execution::start(const QString& startupProcedure) {
  reset();
  const int main = runtime_.program.mainProc;
  if (main < 0) return false;
  entries_.push_back({main, {}});
  if (!startupProcedure.isEmpty()) {
    const int proc = findProcedure(runtime_, startupProcedure);
    if (proc < 0) {
      recordError(AutomationError(ErrorNumber::SubOrFunctionNotDefined,
                                  standardErrorText(ErrorNumber::SubOrFunctionNotDefined) +
                                      QStringLiteral(": '%1'").arg(startupProcedure)),
                  nullptr);
      errorRecorded_ = false;
      entries_.clear();
      state_ = FiberState::Error;
      return false;
    }
    entries_.push_back({proc, {}});
  }
  beginEntry();
  state_ = FiberState::Running;
  return true;
}

bool Execution::startProcedure(const QString& name, std::vector<Variant> args) {
  reset();
  const int proc = findProcedure(runtime_, name);
  if (proc < 0) {
    recordError(AutomationError(ErrorNumber::SubOrFunctionNotDefined), nullptr);
    errorRecorded_ = false;
    state_ = FiberState::Error;
    return false;
  }
  entries_.push_back({proc, std::move(args)});
  try {
    beginEntry();
  } catch (const AutomationError& e) {
    recordError(e, nullptr);
    errorRecorded_ = false;
    state_ = FiberState::Error;
    return false;
  }
  state_ = FiberState::Running;
  return true;
}

bool Execution::isRunnable() const {
  if (active_ > 0) return false;
  if (state_ == FiberState::Running) return true;
  return state_ == FiberState::Delayed && tarvix::clock().monotonicMs() >= wakeAt_;
}

FiberState Execution::runSlice(const SliceBudget& budget) {
  if (active_ > 0) return state_;
  if (state_ == FiberState::Delayed) {
    if (tarvix::clock().monotonicMs() < wakeAt_) return state_;
    state_ = FiberState::Running;
  }
  if (state_ != FiberState::Running) return state_;
  ++active_;
  budgetLeft_ = budget.statements > 0 ? budget.statements : std::numeric_limits<long long>::max();
  deadline_ = budget.milliseconds >= 0 ? tarvix::clock().monotonicMs() + budget.milliseconds : -1;
  chunk_ = std::min(budgetLeft_, stepping_ ? 1LL : kCheckInterval);
  countdown_ = chunk_;
  for (;;) {
    if (frames_.empty()) {
      if (nextEntry_ < entries_.size()) {
        try {
          beginEntry();
        } catch (const AutomationError& e) {
          recordError(e, nullptr);
          errorRecorded_ = false;
          state_ = FiberState::Error;
          break;
        }
      } else {
        state_ = FiberState::Finished;
        break;
      }
    }
    const bool done = run(0);
    if (state_ == FiberState::Error) break;
    if (!done) break;  // suspended: budget, delay, pause or abort
  }
  if (state_ == FiberState::Idle) reset();
  --active_;
  return state_;
}

void Execution::pause() {
  if (active_ > 0) {
    pauseRequested_ = true;
    countdown_ = 0;
    return;
  }
  if (state_ == FiberState::Running || state_ == FiberState::Delayed) state_ = FiberState::Paused;
}

void Execution::resume() {
  if (state_ == FiberState::Paused) state_ = FiberState::Running;
  stepping_ = false;
}

void Execution::stepOver() {
  if (state_ != FiberState::Paused && state_ != FiberState::Running && state_ != FiberState::Delayed) return;
  stepping_ = true;
  stepDepth_ = frames_.size();
  state_ = FiberState::Running;
  countdown_ = 0;
}

void Execution::abort() {
  if (active_ > 0) {
    abortRequested_ = true;
    countdown_ = 0;
    return;
  }
  reset();
  state_ = FiberState::Idle;
}

void Execution::requestDelay(long long ms) {
  if (nested_ > 0 || active_ == 0) return;
  wakeAt_ = tarvix::clock().monotonicMs() + std::max(0LL, ms);
  delayRequested_ = true;
  countdown_ = 0;
}

int Execution::currentLine() const {
  if (!frames_.empty()) return frames_.back().line;
  return error_.line;
}

int Execution::currentModule() const {
  if (!frames_.empty()) return frames_.back().module;
  return error_.module;
}

Variant Execution::callNested(int proc, DispatchObject* me, std::span<Variant> args) {
  if (nested_ >= kMaxNested) raiseError(ErrorNumber::OutOfStackSpace);
  const std::size_t depth = frames_.size();
  Variant* base = scratch(args.size() + 1);
  base[0] = Variant();
  for (std::size_t i = 0; i < args.size(); ++i) base[i + 1] = args[i];
  const long long savedCountdown = countdown_;
  ++nested_;
  ++active_;
  struct Leave {
    Execution& e;
    long long countdown;
    ~Leave() {
      --e.nested_;
      --e.active_;
      e.countdown_ = countdown;
    }
  } leave{*this, savedCountdown};
  try {
    enterFrame(proc, base, static_cast<int>(args.size()), me, ResultMode::Push);
  } catch (...) {
    clearRange(base, base + args.size() + 1);
    throw;
  }
  countdown_ = kCheckInterval;
  run(depth);
  return std::move(nestedResult_);
}

}  // namespace tarvix::script
