#include "engine/language/Compiler.h"

#include <QHash>
#include <QSet>

#include "dispatch/DispatchObject.h"
#include "engine/language/Bytecode.h"
#include "engine/language/ScriptError.h"
#include "dispatch/VariantOps.h"

namespace tarvix::script {
namespace {

using namespace ast;

// Names the VM itself answers instead of the built-in table.
enum class Intrinsic { None, Err, Eval, Execute, ExecuteGlobal, GetRef };

Intrinsic intrinsicOf(const QString& lower) {
  if (lower == QLatin1String("err")) return Intrinsic::Err;
  if (lower == QLatin1String("eval")) return Intrinsic::Eval;
  if (lower == QLatin1String("execute")) return Intrinsic::Execute;
  if (lower == QLatin1String("executeglobal")) return Intrinsic::ExecuteGlobal;
  if (lower == QLatin1String("getref")) return Intrinsic::GetRef;
  return Intrinsic::None;
}

Variant literalValue(const Literal& lit) {
  switch (lit.kind) {
    case Literal::Kind::Empty: return Variant();
    case Literal::Kind::Null: return Variant::null();
    case Literal::Kind::Nothing: return Variant::nothing();
    case Literal::Kind::Boolean: return Variant(lit.number != 0);
    case Literal::Kind::Integer: return Variant(static_cast<std::int16_t>(lit.number));
    case Literal::Kind::Long: return Variant(static_cast<std::int32_t>(lit.number));
    case Literal::Kind::Double: return Variant(lit.number);
    case Literal::Kind::String: return Variant(lit.text);
    case Literal::Kind::Date: return Variant::date(lit.number);
  }
  return Variant();
}

Op binaryOp(BinaryOp op) {
  switch (op) {
    case BinaryOp::Power: return Op::Power;
    case BinaryOp::Multiply: return Op::Multiply;
    case BinaryOp::Divide: return Op::Divide;
    case BinaryOp::IntDivide: return Op::IntDivide;
    case BinaryOp::Mod: return Op::Mod;
    case BinaryOp::Add: return Op::Add;
    case BinaryOp::Subtract: return Op::Subtract;
    case BinaryOp::Concat: return Op::Concat;
    case BinaryOp::Equal: return Op::Equal;
    case BinaryOp::NotEqual: return Op::NotEqual;
    case BinaryOp::Less: return Op::Less;
    case BinaryOp::Greater: return Op::Greater;
    case BinaryOp::LessEqual: return Op::LessEqual;
    case BinaryOp::GreaterEqual: return Op::GreaterEqual;
    case BinaryOp::Is: return Op::Is;
    case BinaryOp::And: return Op::And;
    case BinaryOp::Or: return Op::Or;
    case BinaryOp::Xor: return Op::Xor;
    case BinaryOp::Eqv: return Op::Eqv;
    case BinaryOp::Imp: return Op::Imp;
  }
  return Op::Nop;
}

CompiledProc::Kind procKind(Procedure::Kind k) {
  switch (k) {
    case Procedure::Kind::Sub: return CompiledProc::Kind::Sub;
    case Procedure::Kind::Function: return CompiledProc::Kind::Function;
    case Procedure::Kind::PropertyGet: return CompiledProc::Kind::PropertyGet;
    case Procedure::Kind::PropertyLet: return CompiledProc::Kind::PropertyLet;
    case Procedure::Kind::PropertySet: return CompiledProc::Kind::PropertySet;
  }
  return CompiledProc::Kind::Sub;
}

// A name as the code of one procedure sees it.
struct Target {
  enum class Kind { Local, Global, Field, Const, Proc, Member, Builtin, Intrinsic, Class, Unknown } kind = Kind::Unknown;
  int index = -1;
  Variant value;
  const ScriptClass::Member* member = nullptr;
  const builtins::Builtin* builtin = nullptr;
  Intrinsic intrinsic = Intrinsic::None;
  bool isVariable() const { return kind == Kind::Local || kind == Kind::Global || kind == Kind::Field; }
};

// Compiles the body of one procedure.
class ProcCompiler {
 public:
  ProcCompiler(Program& program, CompiledProc& proc, bool explicitNames, bool implicitGlobals)
      : program_(program), proc_(proc), explicit_(explicitNames), implicitGlobals_(implicitGlobals) {}

  void declareLocal(const QString& name, int line) {
    const QString key = name.toLower();
    if (locals_.contains(key)) throw CompileError(1041, line);
    locals_.insert(key, newSlot(name));
  }
  void bindLocal(const QString& name, int slot) { locals_.insert(name.toLower(), slot); }
  int newSlot(const QString& name = {}) {
    proc_.localNames.push_back(name);
    return proc_.slotCount++;
  }

  // Dim and ReDim anywhere in the body declare for the whole procedure.
  void hoistDeclarations(const Block& block) {
    for (const StmtPtr& s : block) {
      if (s->kind == Stmt::Kind::Dim) {
        for (const DimItem& item : s->items) declareLocal(item.name, item.line);
      } else if (s->kind == Stmt::Kind::ReDim) {
        for (const DimItem& item : s->items)
          if (!locals_.contains(item.name.toLower()) && !resolvesOutside(item.name)) declareLocal(item.name, item.line);
      }
      for (const IfBranch& b : s->branches) hoistDeclarations(b.body);
      for (const CaseClause& c : s->cases) hoistDeclarations(c.body);
      hoistDeclarations(s->body);
    }
  }

  void compileBody(const Block& body) {
    block(body);
    gen(Op::Return, 0, 0);
    finish();
  }

  void compileTopLevelModule(const Block& body, int module) {
    gen(Op::SetModule, module, 0);
    block(body);
  }
  void finishTopLevel() {
    gen(Op::Return, 0, 0);
    finish();
  }

  void compileEvalExpr(const Expr& e) {
    expr(e);
    gen(Op::StoreLocal, 0, -1);
    gen(Op::Return, 0, 0);
    finish();
  }

 private:
  // ---- emission ----
  void gen(Op op, std::int32_t a, int delta) {
    proc_.code.push_back(encode(op, a));
    depth_ += delta;
    if (depth_ > proc_.maxStack) proc_.maxStack = depth_;
  }
  void word(std::uint32_t w) { proc_.code.push_back(w); }
  int here() const { return static_cast<int>(proc_.code.size()); }
  // A jump whose target is filled in later; returns its position.
  int genJump(Op op, int delta) {
    int at = here();
    gen(op, 0, delta);
    return at;
  }
  void patch(int at, int target) {
    proc_.code[at] = encode(opOf(proc_.code[at]), target);
  }
  void patchWord(int at, int target) { proc_.code[at] = static_cast<std::uint32_t>(target); }
  void patchHere(int at) { patch(at, here()); }

  int constant(const Variant& v) {
    proc_.constants.push_back(v);
    return static_cast<int>(proc_.constants.size()) - 1;
  }
  void pushConst(const Variant& v) {
    if (v.isEmpty()) gen(Op::PushEmpty, 0, 1);
    else gen(Op::PushConst, constant(v), 1);
  }
  int nameIndex(const QString& name) {
    auto it = names_.constFind(name);
    if (it != names_.constEnd()) return *it;
    proc_.names.push_back(name);
    int index = static_cast<int>(proc_.names.size()) - 1;
    names_.insert(name, index);
    return index;
  }
  int builtinIndex(const builtins::Builtin* b) {
    for (size_t i = 0; i < proc_.builtins.size(); ++i)
      if (proc_.builtins[i] == b) return static_cast<int>(i);
    proc_.builtins.push_back(b);
    return static_cast<int>(proc_.builtins.size()) - 1;
  }
  void genRaise(int number, const QString& name) {
    gen(Op::Raise, number, 0);
    word(static_cast<std::uint32_t>(name.isEmpty() ? -1 : nameIndex(name)));
  }
  void genLine(int line) { gen(Op::Line, line, 0); }

  void finish() {
    proc_.caches.resize(cacheCount_);
    proc_.compiled = true;
  }

  // ---- names ----
  bool resolvesOutside(const QString& name) const {
    if (proc_.owner && proc_.owner->memberIdOf(name) > 0) return true;
    return program_.globals.find(name) != nullptr;
  }

  // With arguments, a function's own name inside it is a recursive call, not its result.
  Target resolveCallee(const QString& name) {
    Target t = resolve(name);
    if (t.kind == Target::Kind::Local && t.index == 0) t = resolve(name, true);
    return t;
  }

  Target resolve(const QString& name, bool skipLocals = false) {
    Target t;
    const QString key = name.toLower();
    if (auto it = locals_.constFind(key); !skipLocals && it != locals_.constEnd()) {
      t.kind = Target::Kind::Local;
      t.index = *it;
      return t;
    }
    if (auto it = localConsts_.constFind(key); it != localConsts_.constEnd()) {
      t.kind = Target::Kind::Const;
      t.value = *it;
      return t;
    }
    if (ScriptClass* cls = proc_.owner) {
      int id = cls->memberIdOf(name);
      if (id > 0) {
        const ScriptClass::Member& m = cls->members[id - 1];
        if (m.field >= 0) {
          t.kind = Target::Kind::Field;
          t.index = m.field;
        } else {
          t.kind = Target::Kind::Member;
          t.member = &m;
        }
        return t;
      }
    }
    if (const Globals::Entry* g = program_.globals.find(name)) {
      switch (g->kind) {
        case Globals::Entry::Kind::Variable: t.kind = Target::Kind::Global; break;
        case Globals::Entry::Kind::Constant:
          t.kind = Target::Kind::Const;
          t.value = program_.globals.constant(g->index);
          break;
        case Globals::Entry::Kind::Procedure: t.kind = Target::Kind::Proc; break;
        case Globals::Entry::Kind::Class: t.kind = Target::Kind::Class; break;
      }
      t.index = g->index;
      return t;
    }
    if (Intrinsic i = intrinsicOf(key); i != Intrinsic::None) {
      t.kind = Target::Kind::Intrinsic;
      t.intrinsic = i;
      return t;
    }
    if (const builtins::Builtin* b = builtins::findBuiltin(name)) {
      t.kind = Target::Kind::Builtin;
      t.builtin = b;
      return t;
    }
    if (std::optional<Variant> c = builtins::findConstant(name)) {
      t.kind = Target::Kind::Const;
      t.value = *c;
      return t;
    }
    return t;
  }

  // An undeclared name that is assigned or read: a new variable, or error 500
  // under Option Explicit (raised when the statement runs).
  Target declareImplicit(const QString& name) {
    Target t;
    if (explicit_) return t;
    if (implicitGlobals_) {
      t.kind = Target::Kind::Global;
      t.index = program_.globals.addVariable(name);
    } else {
      t.kind = Target::Kind::Local;
      t.index = newSlot(name);
      locals_.insert(name.toLower(), t.index);
    }
    return t;
  }

  static std::int32_t refOf(const Target& t) {
    switch (t.kind) {
      case Target::Kind::Local: return varRef(VarKind::Local, t.index);
      case Target::Kind::Global: return varRef(VarKind::Global, t.index);
      default: return varRef(VarKind::Field, t.index);
    }
  }
  void load(const Target& t) {
    Op op = t.kind == Target::Kind::Local ? Op::LoadLocal : t.kind == Target::Kind::Global ? Op::LoadGlobal : Op::LoadField;
    gen(op, t.index, 1);
  }
  void store(const Target& t, bool isSet) {
    Op op;
    if (t.kind == Target::Kind::Local) op = isSet ? Op::SetLocal : Op::StoreLocal;
    else if (t.kind == Target::Kind::Global) op = isSet ? Op::SetGlobal : Op::StoreGlobal;
    else op = isSet ? Op::SetField : Op::StoreField;
    gen(op, t.index, -1);
  }
  void pushRef(const Target& t) {
    Op op = t.kind == Target::Kind::Local ? Op::RefLocal : t.kind == Target::Kind::Global ? Op::RefGlobal : Op::RefField;
    gen(op, t.index, 1);
  }
  // A variable for a loop counter or ReDim: declared implicitly when needed.
  Target variable(const QString& name, int line) {
    Target t = resolve(name);
    if (t.kind == Target::Kind::Unknown) t = declareImplicit(name);
    if (!t.isVariable()) {
      if (t.kind == Target::Kind::Unknown) genRaise(500, name);
      else throw CompileError(1040, line);
    }
    return t;
  }

  // ---- expressions ----
  void expr(const Expr& e) {
    switch (e.kind) {
      case Expr::Kind::Literal: pushConst(literalValue(e.literal)); return;
      case Expr::Kind::Name: loadName(e); return;
      case Expr::Kind::Member: memberCall(e, nullptr, CallKind::PropertyGet); return;
      case Expr::Kind::Call: callExpr(e, CallKind::PropertyGet); return;
      case Expr::Kind::Unary:
        expr(*e.object);
        gen(e.unary == UnaryOp::Negate ? Op::Negate : e.unary == UnaryOp::Not ? Op::Not : Op::ToValue, 0, 0);
        return;
      case Expr::Kind::Binary:
        expr(*e.object);
        expr(*e.right);
        gen(binaryOp(e.binary), 0, -1);
        return;
      case Expr::Kind::New: {
        const Globals::Entry* g = program_.globals.find(e.name);
        if (!g || g->kind != Globals::Entry::Kind::Class) {
          genRaise(506, e.name);
          gen(Op::PushEmpty, 0, 1);
          return;
        }
        gen(Op::NewObject, g->index, 1);
        return;
      }
      case Expr::Kind::Me:
        if (!proc_.owner) throw CompileError(1037, e.line);
        gen(Op::PushMe, 0, 1);
        return;
    }
  }

  void loadName(const Expr& e) {
    Target t = resolve(e.name);
    switch (t.kind) {
      case Target::Kind::Local:
      case Target::Kind::Global:
      case Target::Kind::Field: load(t); return;
      case Target::Kind::Const: pushConst(t.value); return;
      case Target::Kind::Proc:
        gen(Op::PushEmpty, 0, 1);
        gen(Op::CallProc, t.index, 0);
        word(0);
        return;
      case Target::Kind::Member:
        gen(Op::PushEmpty, 0, 1);
        gen(Op::CallMethod, t.member->get >= 0 ? t.member->get : t.member->let, 0);
        word(0);
        return;
      case Target::Kind::Builtin:
        gen(Op::CallBuiltin, builtinIndex(t.builtin), 1);
        word(0);
        return;
      case Target::Kind::Intrinsic:
        if (t.intrinsic == Intrinsic::Err) gen(Op::PushErr, 0, 1);
        else {
          genRaise(450, e.name);
          gen(Op::PushEmpty, 0, 1);
        }
        return;
      case Target::Kind::Class:
        genRaise(13, e.name);
        gen(Op::PushEmpty, 0, 1);
        return;
      case Target::Kind::Unknown: {
        Target v = declareImplicit(e.name);
        if (v.kind == Target::Kind::Unknown) {
          genRaise(500, e.name);
          gen(Op::PushEmpty, 0, 1);
        } else {
          load(v);
        }
        return;
      }
    }
  }

  bool plainVariable(const Expr* e, Target& t) {
    if (!e || e->kind != Expr::Kind::Name || e->parenthesized) return false;
    t = resolve(e->name);
    return t.isVariable();
  }

  void argument(const Expr* e, bool byRef) {
    if (!e) {
      gen(Op::PushMissing, 0, 1);
      return;
    }
    Target t;
    if (byRef && plainVariable(e, t)) pushRef(t);
    else expr(*e);
  }

  // Arguments of a call; byRef(i) tells whether parameter i takes a reference.
  template <class ByRef>
  int arguments(const std::vector<ExprPtr>& args, ByRef byRef) {
    for (size_t i = 0; i < args.size(); ++i) argument(args[i].get(), byRef(i));
    return static_cast<int>(args.size());
  }
  int valueArguments(const std::vector<ExprPtr>& args) {
    return arguments(args, [](size_t) { return false; });
  }
  int refArguments(const std::vector<ExprPtr>& args) {
    return arguments(args, [](size_t) { return true; });
  }
  int procArguments(int procIndex, const std::vector<ExprPtr>& args) {
    const CompiledProc& callee = *program_.procs[procIndex];
    return arguments(args, [&](size_t i) { return i < callee.paramByRef.size() && callee.paramByRef[i]; });
  }

  void callProc(Op op, int procIndex, const std::vector<ExprPtr>& args, int extraValue) {
    gen(Op::PushEmpty, 0, 1);
    int argc = procArguments(procIndex, args) + extraValue;
    gen(op, procIndex, -argc);
    word(static_cast<std::uint32_t>(argc));
  }

  void callMember(int nameIdx, int argc, CallKind kind) {
    gen(Op::CallMember, nameIdx, -argc);
    word(static_cast<std::uint32_t>(argc) | (static_cast<std::uint32_t>(kind) << 16));
    word(static_cast<std::uint32_t>(cacheCount_++));
  }

  // The object of a member access: the expression, or the With object.
  void memberObject(const Expr& e) {
    if (e.object) {
      expr(*e.object);
    } else if (withSlots_.empty()) {
      genRaise(505, e.name);
      gen(Op::PushEmpty, 0, 1);
    } else {
      gen(Op::LoadLocal, withSlots_.back(), 1);
    }
  }

  // Me.name inside the class: the member of this class, bound directly.
  const ScriptClass::Member* ownMember(const Expr& e) const {
    if (!e.object || e.object->kind != Expr::Kind::Me || !proc_.owner) return nullptr;
    int id = proc_.owner->memberIdOf(e.name);
    return id > 0 ? &proc_.owner->members[id - 1] : nullptr;
  }

  // obj.name or obj.name(args) as a value (or as a statement when kind is Method).
  void memberCall(const Expr& e, const std::vector<ExprPtr>* args, CallKind kind) {
    static const std::vector<ExprPtr> none;
    const std::vector<ExprPtr>& list = args ? *args : none;
    if (const ScriptClass::Member* m = ownMember(e)) {
      if (m->field >= 0) {
        Target f;
        f.kind = Target::Kind::Field;
        f.index = m->field;
        if (list.empty()) {
          load(f);
        } else {
          int argc = valueArguments(list);
          gen(Op::IndexVar, refOf(f), 1 - argc);
          word(static_cast<std::uint32_t>(argc));
        }
        return;
      }
      if (m->get >= 0) {
        callProc(Op::CallMethod, m->get, list, 0);
        return;
      }
    }
    memberObject(e);
    int argc = refArguments(list);
    callMember(nameIndex(e.name), argc, kind);
  }

  void callExpr(const Expr& e, CallKind kind) {
    const Expr& callee = *e.object;
    if (callee.kind == Expr::Kind::Member) {
      memberCall(callee, &e.args, kind);
      return;
    }
    if (callee.kind == Expr::Kind::Name) {
      Target t = e.args.empty() ? resolve(callee.name) : resolveCallee(callee.name);
      switch (t.kind) {
        case Target::Kind::Local:
        case Target::Kind::Global:
        case Target::Kind::Field: {
          int argc = valueArguments(e.args);
          gen(Op::IndexVar, refOf(t), 1 - argc);
          word(static_cast<std::uint32_t>(argc));
          return;
        }
        case Target::Kind::Proc: callProc(Op::CallProc, t.index, e.args, 0); return;
        case Target::Kind::Member:
          callProc(Op::CallMethod, t.member->get >= 0 ? t.member->get : t.member->let, e.args, 0);
          return;
        case Target::Kind::Builtin: {
          int argc = valueArguments(e.args);
          gen(Op::CallBuiltin, builtinIndex(t.builtin), 1 - argc);
          word(static_cast<std::uint32_t>(argc));
          return;
        }
        case Target::Kind::Intrinsic: intrinsicCall(t.intrinsic, e.args, callee.name); return;
        case Target::Kind::Const: {
          pushConst(t.value);
          int argc = valueArguments(e.args);
          gen(Op::Index, argc, -argc);
          return;
        }
        case Target::Kind::Class:
        case Target::Kind::Unknown: {
          gen(Op::PushEmpty, 0, 1);
          int argc = refArguments(e.args);
          gen(Op::CallByName, nameIndex(callee.name), -argc);
          word(static_cast<std::uint32_t>(argc));
          return;
        }
      }
    }
    expr(callee);
    int argc = valueArguments(e.args);
    gen(Op::Index, argc, -argc);
  }

  void intrinsicCall(Intrinsic which, const std::vector<ExprPtr>& args, const QString& name) {
    switch (which) {
      case Intrinsic::Err: {
        gen(Op::PushErr, 0, 1);
        int argc = valueArguments(args);
        gen(Op::Index, argc, -argc);
        return;
      }
      case Intrinsic::Eval:
      case Intrinsic::GetRef:
      case Intrinsic::Execute:
      case Intrinsic::ExecuteGlobal:
        if (args.size() != 1 || !args[0]) {
          genRaise(450, name);
          gen(Op::PushEmpty, 0, 1);
          return;
        }
        expr(*args[0]);
        if (which == Intrinsic::Eval) gen(Op::Eval, 1, 0);
        else if (which == Intrinsic::GetRef) gen(Op::GetRef, 0, 0);
        else {
          gen(Op::Execute, which == Intrinsic::ExecuteGlobal ? 1 : 0, -1);
          gen(Op::PushEmpty, 0, 1);
        }
        return;
      case Intrinsic::None: return;
    }
  }

  // Whether evaluating the expression cannot change variables (no script
  // procedures or object members are called), so its order may change.
  bool isPure(const Expr* e) {
    if (!e) return true;
    switch (e->kind) {
      case Expr::Kind::Literal: return true;
      case Expr::Kind::Name: {
        Target t = resolve(e->name);
        return t.isVariable() || t.kind == Target::Kind::Const ||
               (t.kind == Target::Kind::Builtin && t.builtin->minArgs == 0);
      }
      case Expr::Kind::Unary: return isPure(e->object.get());
      case Expr::Kind::Binary: return isPure(e->object.get()) && isPure(e->right.get());
      case Expr::Kind::Call: {
        if (e->object->kind != Expr::Kind::Name) return false;
        Target t = resolve(e->object->name);
        if (t.kind != Target::Kind::Builtin && !t.isVariable()) return false;
        for (const ExprPtr& a : e->args)
          if (!isPure(a.get())) return false;
        return true;
      }
      default: return false;
    }
  }

  // "s = s & a & b" for a local s: appends the pieces in place when nothing
  // in them can see the difference (no calls of script code).
  bool appendsTo(const QString& name, const Expr& value) {
    std::vector<const Expr*> pieces;
    const Expr* e = &value;
    while (e->kind == Expr::Kind::Binary && e->binary == BinaryOp::Concat && !e->parenthesized) {
      pieces.push_back(e->right.get());
      e = e->object.get();
    }
    if (pieces.empty() || e->kind != Expr::Kind::Name || e->parenthesized ||
        e->name.compare(name, Qt::CaseInsensitive) != 0)
      return false;
    for (const Expr* piece : pieces)
      if (!isPure(piece)) return false;
    const int slot = resolve(name).index;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
      expr(**it);
      gen(Op::AppendLocal, slot, -1);
    }
    return true;
  }

  // ---- statements ----
  void block(const Block& b) {
    for (const StmtPtr& s : b) statement(*s);
  }

  void statement(const Stmt& s) {
    const bool loop = s.kind == Stmt::Kind::DoLoop || s.kind == Stmt::Kind::While;
    if (!loop && s.kind != Stmt::Kind::Dim) genLine(s.line);
    switch (s.kind) {
      case Stmt::Kind::Assign: assign(s); break;
      case Stmt::Kind::CallStmt: callStatement(s); break;
      case Stmt::Kind::Dim: dim(s); break;
      case Stmt::Kind::ReDim: redim(s); break;
      case Stmt::Kind::Const: localConst(s); break;
      case Stmt::Kind::Erase:
        for (const DimItem& item : s.items) gen(Op::Erase, refOf(variable(item.name, item.line)), 0);
        break;
      case Stmt::Kind::If: ifStatement(s); break;
      case Stmt::Kind::Select: selectStatement(s); break;
      case Stmt::Kind::For: forStatement(s); break;
      case Stmt::Kind::ForEach: forEachStatement(s); break;
      case Stmt::Kind::DoLoop:
      case Stmt::Kind::While: doLoop(s); break;
      case Stmt::Kind::With: withStatement(s); break;
      case Stmt::Kind::Exit: exitStatement(s); break;
      case Stmt::Kind::OnErrorResumeNext: gen(Op::OnErrorResumeNext, 0, 0); break;
      case Stmt::Kind::OnErrorGoto0: gen(Op::OnErrorGoto0, 0, 0); break;
      case Stmt::Kind::OptionExplicit:
      case Stmt::Kind::Nop: break;
    }
  }

  void assign(const Stmt& s) {
    const Expr& target = *s.target;
    const Expr& value = *s.value;
    switch (target.kind) {
      case Expr::Kind::Name: {
        Target t = resolve(target.name);
        if (t.kind == Target::Kind::Unknown) t = declareImplicit(target.name);
        if (t.isVariable()) {
          if (!s.isSet && t.kind == Target::Kind::Local && appendsTo(target.name, value)) return;
          expr(value);
          store(t, s.isSet);
          return;
        }
        if (t.kind == Target::Kind::Member) {
          int setter = s.isSet ? (t.member->set >= 0 ? t.member->set : t.member->let)
                               : (t.member->let >= 0 ? t.member->let : t.member->set);
          if (setter < 0) {
            genRaise(501, target.name);
            return;
          }
          gen(Op::PushEmpty, 0, 1);
          expr(value);
          gen(Op::CallMethod, setter, -1);
          word(1);
          gen(Op::Pop, 0, -1);
          return;
        }
        genRaise(t.kind == Target::Kind::Unknown ? 500 : 501, target.name);
        return;
      }
      case Expr::Kind::Member: {
        if (const ScriptClass::Member* m = ownMember(target); m && m->field >= 0) {
          expr(value);
          Target f;
          f.kind = Target::Kind::Field;
          f.index = m->field;
          store(f, s.isSet);
          return;
        }
        memberObject(target);
        expr(value);
        callMember(nameIndex(target.name), 1, s.isSet ? CallKind::PropertySet : CallKind::PropertyLet);
        gen(Op::Pop, 0, -1);
        return;
      }
      case Expr::Kind::Call: {
        const Expr& callee = *target.object;
        if (callee.kind == Expr::Kind::Name) {
          Target t = resolve(callee.name);
          if (t.kind == Target::Kind::Unknown) t = declareImplicit(callee.name);
          if (t.isVariable()) {
            int argc = valueArguments(target.args);
            expr(value);
            gen(s.isSet ? Op::SetIndexVar : Op::StoreIndexVar, refOf(t), -argc - 1);
            word(static_cast<std::uint32_t>(argc));
            return;
          }
          if (t.kind == Target::Kind::Member) {
            int setter = s.isSet ? t.member->set : t.member->let;
            if (setter < 0) {
              genRaise(501, callee.name);
              return;
            }
            gen(Op::PushEmpty, 0, 1);
            int argc = procArguments(setter, target.args);
            expr(value);
            gen(Op::CallMethod, setter, -argc - 1);
            word(static_cast<std::uint32_t>(argc + 1));
            gen(Op::Pop, 0, -1);
            return;
          }
          genRaise(t.kind == Target::Kind::Unknown ? 500 : 501, callee.name);
          return;
        }
        if (callee.kind == Expr::Kind::Member) {
          memberObject(callee);
          int argc = refArguments(target.args);
          expr(value);
          callMember(nameIndex(callee.name), argc + 1, s.isSet ? CallKind::PropertySet : CallKind::PropertyLet);
          gen(Op::Pop, 0, -1);
          return;
        }
        expr(callee);
        int argc = valueArguments(target.args);
        expr(value);
        callMember(nameIndex(QString()), argc + 1, s.isSet ? CallKind::PropertySet : CallKind::PropertyLet);
        gen(Op::Pop, 0, -1);
        return;
      }
      case Expr::Kind::Me: throw CompileError(1037, s.line);
      default: genRaise(501, QString()); return;
    }
  }

  void callStatement(const Stmt& s) {
    const Expr& target = *s.target;
    // "Foo(a)" without Call passes a by value: the parentheses belong to the argument.
    const bool singleParenArg =
        !s.explicitCall && target.kind == Expr::Kind::Call && target.args.size() == 1 && target.args[0];
    const Expr* calleeExpr = target.kind == Expr::Kind::Call ? target.object.get() : &target;
    const std::vector<ExprPtr>& args = target.kind == Expr::Kind::Call ? target.args : s.args;
    if (singleParenArg) target.args[0]->parenthesized = true;

    if (calleeExpr->kind == Expr::Kind::Name) {
      Target t = resolve(calleeExpr->name);
      switch (t.kind) {
        case Target::Kind::Proc: callProc(Op::CallProc, t.index, args, 0); break;
        case Target::Kind::Member:
          callProc(Op::CallMethod, t.member->get >= 0 ? t.member->get : t.member->let, args, 0);
          break;
        case Target::Kind::Builtin: {
          int argc = valueArguments(args);
          gen(Op::CallBuiltin, builtinIndex(t.builtin), 1 - argc);
          word(static_cast<std::uint32_t>(argc));
          break;
        }
        case Target::Kind::Intrinsic:
          if (t.intrinsic == Intrinsic::Execute || t.intrinsic == Intrinsic::ExecuteGlobal) {
            if (args.size() != 1 || !args[0]) {
              genRaise(450, calleeExpr->name);
              return;
            }
            expr(*args[0]);
            gen(Op::Execute, t.intrinsic == Intrinsic::ExecuteGlobal ? 1 : 0, -1);
            return;
          }
          intrinsicCall(t.intrinsic, args, calleeExpr->name);
          break;
        case Target::Kind::Local:
        case Target::Kind::Global:
        case Target::Kind::Field: {
          int argc = valueArguments(args);
          gen(Op::IndexVar, refOf(t), -argc + 1);
          word(static_cast<std::uint32_t>(argc));
          break;
        }
        case Target::Kind::Const:
          pushConst(t.value);
          break;
        case Target::Kind::Class:
        case Target::Kind::Unknown: {
          gen(Op::PushEmpty, 0, 1);
          int argc = refArguments(args);
          gen(Op::CallByName, nameIndex(calleeExpr->name), -argc);
          word(static_cast<std::uint32_t>(argc));
          break;
        }
      }
      gen(Op::Pop, 0, -1);
      return;
    }
    if (calleeExpr->kind == Expr::Kind::Member) {
      memberCall(*calleeExpr, &args, CallKind::Method);
      gen(Op::Pop, 0, -1);
      return;
    }
    expr(target);
    gen(Op::Pop, 0, -1);
  }

  void dim(const Stmt& s) {
    for (const DimItem& item : s.items) {
      if (!item.isArray) continue;
      genLine(item.line);
      Target t = variable(item.name, item.line);
      int n = valueArguments(item.bounds);
      gen(Op::DimArray, refOf(t), -n);
      word(static_cast<std::uint32_t>(n));
    }
  }

  void redim(const Stmt& s) {
    for (const DimItem& item : s.items) {
      Target t = variable(item.name, item.line);
      int n = valueArguments(item.bounds);
      gen(Op::ReDim, refOf(t), -n);
      word(static_cast<std::uint32_t>(n) | (s.preserve ? 1u << 16 : 0u));
    }
  }

  void localConst(const Stmt& s) {
    for (int i = 0; i < s.constNames.size(); ++i) {
      std::optional<Variant> v = foldConstant(*s.constValues[i]);
      if (v && !implicitGlobals_) {
        localConsts_.insert(s.constNames[i].toLower(), *v);
        continue;
      }
      if (implicitGlobals_ && program_.globals.find(s.constNames[i]) &&
          program_.globals.find(s.constNames[i])->kind == Globals::Entry::Kind::Constant)
        continue;  // folded when the module was declared
      Target t = resolve(s.constNames[i]);
      if (!t.isVariable()) {
        t = Target();
        t.kind = implicitGlobals_ ? Target::Kind::Global : Target::Kind::Local;
        t.index = implicitGlobals_ ? program_.globals.addVariable(s.constNames[i]) : newSlot(s.constNames[i]);
      }
      if (t.kind == Target::Kind::Local) locals_.insert(s.constNames[i].toLower(), t.index);
      expr(*s.constValues[i]);
      store(t, false);
    }
  }

 public:
  // The value of a constant expression (literals, signs, other constants).
  std::optional<Variant> foldConstant(const Expr& e) {
    switch (e.kind) {
      case Expr::Kind::Literal: return literalValue(e.literal);
      case Expr::Kind::Name: {
        Target t = resolve(e.name);
        if (t.kind == Target::Kind::Const) return t.value;
        return std::nullopt;
      }
      case Expr::Kind::Unary: {
        std::optional<Variant> v = foldConstant(*e.object);
        if (!v || e.unary == UnaryOp::Not) return std::nullopt;
        if (e.unary == UnaryOp::Plus) return v;
        try {
          return ops::negate(*v);
        } catch (const AutomationError&) {
          return std::nullopt;
        }
      }
      default: return std::nullopt;
    }
  }

 private:
  void condition(const Expr& e, Op jumpOp, std::vector<int>& patches) {
    expr(e);
    patches.push_back(genJump(jumpOp, -1));
  }

  void ifStatement(const Stmt& s) {
    std::vector<int> toEnd;
    for (size_t i = 0; i < s.branches.size(); ++i) {
      const IfBranch& b = s.branches[i];
      if (b.condition) {
        if (i > 0) genLine(b.line);
        expr(*b.condition);
        int skip = genJump(Op::JumpIfFalse, -1);
        block(b.body);
        if (i + 1 < s.branches.size()) toEnd.push_back(genJump(Op::Jump, 0));
        patchHere(skip);
      } else {
        block(b.body);
      }
    }
    for (int at : toEnd) patchHere(at);
  }

  void selectStatement(const Stmt& s) {
    int subject = newSlot();
    expr(*s.value);
    gen(Op::StoreLocal, subject, -1);
    std::vector<int> toEnd;
    for (const CaseClause& c : s.cases) {
      if (c.isElse) {
        block(c.body);
        continue;
      }
      std::vector<int> toBody;
      for (const CaseClause::Test& test : c.tests) {
        gen(Op::LoadLocal, subject, 1);
        switch (test.kind) {
          case CaseClause::Test::Kind::Value:
            expr(*test.value);
            gen(Op::Equal, 0, -1);
            toBody.push_back(genJump(Op::JumpIfTrue, -1));
            break;
          case CaseClause::Test::Kind::Is:
            expr(*test.value);
            gen(binaryOp(test.compare), 0, -1);
            toBody.push_back(genJump(Op::JumpIfTrue, -1));
            break;
          case CaseClause::Test::Kind::Range: {
            expr(*test.value);
            gen(Op::GreaterEqual, 0, -1);
            int skip = genJump(Op::JumpIfFalse, -1);
            gen(Op::LoadLocal, subject, 1);
            expr(*test.upper);
            gen(Op::LessEqual, 0, -1);
            toBody.push_back(genJump(Op::JumpIfTrue, -1));
            patchHere(skip);
            break;
          }
        }
      }
      int nextCase = genJump(Op::Jump, 0);
      for (int at : toBody) patchHere(at);
      genLine(c.line);
      block(c.body);
      toEnd.push_back(genJump(Op::Jump, 0));
      patchHere(nextCase);
    }
    for (int at : toEnd) patchHere(at);
    gen(Op::ClearLocal, subject, 0);
  }

  void forStatement(const Stmt& s) {
    Target var = variable(s.target->name, s.line);
    expr(*s.value);
    store(var, false);
    int hidden = newSlot();
    newSlot();
    expr(*s.limit);
    gen(Op::StoreLocal, hidden, -1);
    if (s.step) expr(*s.step);
    else pushConst(Variant(std::int16_t{1}));
    gen(Op::StoreLocal, hidden + 1, -1);
    int prep = here();
    gen(Op::ForPrep, refOf(var), 0);
    word(static_cast<std::uint32_t>(hidden));
    word(0);
    int bodyStart = here();
    loops_.push_back({false, {}});
    block(s.body);
    genLine(s.line);
    gen(Op::ForNext, refOf(var), 0);
    word(static_cast<std::uint32_t>(hidden));
    word(static_cast<std::uint32_t>(bodyStart));
    patchWord(prep + 2, here());
    closeLoop();
  }

  void forEachStatement(const Stmt& s) {
    Target var = variable(s.target->name, s.line);
    int hidden = newSlot();
    newSlot();
    expr(*s.value);
    gen(Op::ForEachPrep, hidden, -1);
    word(0);
    word(0);
    int top = here();
    genLine(s.line);
    int next = here();
    gen(Op::ForEachNext, hidden, 0);
    word(static_cast<std::uint32_t>(refOf(var)));
    word(0);
    loops_.push_back({false, {}});
    block(s.body);
    int back = genJump(Op::Jump, 0);
    patch(back, top);
    patchWord(next + 2, here());
    closeLoop();
    gen(Op::ClearLocal, hidden, 0);
  }

  void doLoop(const Stmt& s) {
    int top = here();
    genLine(s.line);
    loops_.push_back({true, {}});
    // While ... Wend and Do While loop while true; Until loops until true.
    const Op exitWhen = s.untilLoop ? Op::JumpIfTrue : Op::JumpIfFalse;
    if (s.value && s.conditionFirst) {
      expr(*s.value);
      loops_.back().exits.push_back(genJump(exitWhen, -1));
    }
    block(s.body);
    if (s.value && !s.conditionFirst) {
      expr(*s.value);
      int back = genJump(s.untilLoop ? Op::JumpIfFalse : Op::JumpIfTrue, -1);
      patch(back, top);
    } else {
      patch(genJump(Op::Jump, 0), top);
    }
    closeLoop();
  }

  void closeLoop() {
    for (int at : loops_.back().exits) patchHere(at);
    loops_.pop_back();
  }

  void withStatement(const Stmt& s) {
    int slot = newSlot();
    expr(*s.target);
    gen(Op::SetLocal, slot, -1);
    withSlots_.push_back(slot);
    block(s.body);
    withSlots_.pop_back();
    gen(Op::ClearLocal, slot, 0);
  }

  void exitStatement(const Stmt& s) {
    switch (s.exit) {
      case ExitKind::Do:
      case ExitKind::For: {
        const bool wantDo = s.exit == ExitKind::Do;
        for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
          if (it->isDo == wantDo) {
            it->exits.push_back(genJump(Op::Jump, 0));
            return;
          }
        }
        throw CompileError(1039, s.line);
      }
      case ExitKind::Sub:
        if (proc_.kind != CompiledProc::Kind::Sub) throw CompileError(1039, s.line);
        break;
      case ExitKind::Function:
        if (proc_.kind != CompiledProc::Kind::Function) throw CompileError(1039, s.line);
        break;
      case ExitKind::Property:
        if (proc_.kind != CompiledProc::Kind::PropertyGet && proc_.kind != CompiledProc::Kind::PropertyLet &&
            proc_.kind != CompiledProc::Kind::PropertySet)
          throw CompileError(1039, s.line);
        break;
    }
    gen(Op::Return, 0, 0);
  }

  struct Loop {
    bool isDo;
    std::vector<int> exits;
  };

  Program& program_;
  CompiledProc& proc_;
  bool explicit_;
  bool implicitGlobals_;
  QHash<QString, int> locals_;
  QHash<QString, Variant> localConsts_;
  QHash<QString, int> names_;
  std::vector<Loop> loops_;
  std::vector<int> withSlots_;
  int depth_ = 0;
  int cacheCount_ = 0;
};

int addProc(Program& program, CompiledProc::Kind kind, const QString& name, int module, int line) {
  auto proc = std::make_unique<CompiledProc>();
  proc->kind = kind;
  proc->name = name;
  proc->module = module;
  proc->line = line;
  proc->localNames.push_back(QString());  // the result slot
  program.procs.push_back(std::move(proc));
  return static_cast<int>(program.procs.size()) - 1;
}

// Declares a procedure's signature; its body is compiled later, so calls
// written before it know which parameters take references.
int declareProc(Program& program, const Procedure& p, int module, ScriptClass* owner) {
  int index = addProc(program, procKind(p.kind), p.name, module, p.line);
  CompiledProc& proc = *program.procs[index];
  proc.owner = owner;
  proc.paramCount = static_cast<int>(p.params.size());
  for (const Param& param : p.params) {
    proc.paramByRef.push_back(param.byRef);
    if (!param.byRef) proc.byValSlots.push_back(proc.slotCount);
    proc.localNames.push_back(param.name);
    ++proc.slotCount;
  }
  return index;
}

void compileProcBody(Program& program, int index, const Procedure& p, bool optionExplicit) {
  CompiledProc& proc = *program.procs[index];
  ProcCompiler pc(program, proc, optionExplicit, false);
  QSet<QString> seen;
  for (int i = 0; i < static_cast<int>(p.params.size()); ++i) {
    if (seen.contains(p.params[i].name.toLower())) throw CompileError(1041, p.line);
    seen.insert(p.params[i].name.toLower());
    pc.bindLocal(p.params[i].name, i + 1);
  }
  if (p.kind == Procedure::Kind::Function || p.kind == Procedure::Kind::PropertyGet) pc.bindLocal(p.name, 0);
  pc.hoistDeclarations(p.body);
  pc.compileBody(p.body);
}

// Names assigned at module level without Dim: global variables too.
void collectImplicitGlobals(const Block& block, QStringList& names) {
  for (const StmtPtr& s : block) {
    if ((s->kind == Stmt::Kind::Assign || s->kind == Stmt::Kind::For || s->kind == Stmt::Kind::ForEach) &&
        s->target && s->target->kind == Expr::Kind::Name)
      names << s->target->name;
    if (s->kind == Stmt::Kind::ReDim)
      for (const DimItem& item : s->items) names << item.name;
    for (const IfBranch& b : s->branches) collectImplicitGlobals(b.body, names);
    for (const CaseClause& c : s->cases) collectImplicitGlobals(c.body, names);
    collectImplicitGlobals(s->body, names);
  }
}

struct PendingProc {
  int index;
  const Procedure* procedure;
  bool optionExplicit;
};

void declareClass(Program& program, const ClassDecl& decl, int module, bool optionExplicit,
                  std::vector<PendingProc>& pending) {
  if (program.globals.find(decl.name)) throw CompileError(1041, decl.line);
  auto cls = std::make_unique<ScriptClass>();
  ScriptClass* c = cls.get();
  c->name = decl.name;
  program.classes.push_back(std::move(cls));
  program.globals.addClass(decl.name, static_cast<int>(program.classes.size()) - 1);

  auto memberFor = [&](const QString& name, bool isPublic, int line, bool allowMerge) -> ScriptClass::Member& {
    const QString key = name.toLower();
    int id = c->memberIds.value(key, -1);
    if (id > 0) {
      if (!allowMerge) throw CompileError(1041, line);
      return c->members[id - 1];
    }
    ScriptClass::Member m;
    m.name = name;
    m.isPublic = isPublic;
    c->members.push_back(m);
    c->memberIds.insert(key, static_cast<int>(c->members.size()));
    return c->members.back();
  };

  for (const StmtPtr& field : decl.fields) {
    for (const DimItem& item : field->items) {
      ScriptClass::Member& m = memberFor(item.name, field->isPublic, item.line, false);
      m.field = static_cast<int>(c->fieldNames.size());
      c->fieldNames << item.name;
      if (item.isArray) {
        ScriptClass::FieldArray fa;
        fa.field = m.field;
        for (const ExprPtr& b : item.bounds) {
          if (b->kind != Expr::Kind::Literal ||
              (b->literal.kind != Literal::Kind::Integer && b->literal.kind != Literal::Kind::Long))
            throw CompileError(1026, item.line);
          fa.upperBounds.push_back(static_cast<std::int32_t>(b->literal.number));
        }
        c->fieldArrays.push_back(fa);
      }
    }
  }
  for (const Procedure& p : decl.methods) {
    int index = declareProc(program, p, module, c);
    const bool isProperty = p.kind == Procedure::Kind::PropertyGet || p.kind == Procedure::Kind::PropertyLet ||
                            p.kind == Procedure::Kind::PropertySet;
    ScriptClass::Member& m = memberFor(p.name, p.isPublic, p.line, isProperty);
    if (m.field >= 0) throw CompileError(1041, p.line);
    int& slot = p.kind == Procedure::Kind::PropertyLet ? m.let : p.kind == Procedure::Kind::PropertySet ? m.set : m.get;
    if (slot >= 0) throw CompileError(1041, p.line);
    slot = index;
    if (p.isPublic) m.isPublic = true;
    if (p.isDefault) c->defaultMember = c->memberIds.value(p.name.toLower());
    const QString lower = p.name.toLower();
    if (lower == QLatin1String("class_initialize") || lower == QLatin1String("class_terminate")) {
      if (!p.params.empty()) throw CompileError(1053, p.line);
      (lower == QLatin1String("class_initialize") ? c->initialize : c->terminate) = index;
    }
    pending.push_back({index, &p, optionExplicit});
  }
}

// Declares everything a module puts into the global scope.
void declareModule(Program& program, const Module& module, int moduleIndex, std::vector<PendingProc>& pending) {
  for (const Procedure& p : module.procedures) {
    if (const Globals::Entry* g = program.globals.find(p.name); g && g->kind != Globals::Entry::Kind::Variable)
      throw CompileError(1041, p.line);
    int index = declareProc(program, p, moduleIndex, nullptr);
    program.globals.addProcedure(p.name, index);
    pending.push_back({index, &p, module.optionExplicit});
  }
  for (const ClassDecl& c : module.classes) declareClass(program, c, moduleIndex, module.optionExplicit, pending);
  for (const StmtPtr& s : module.topLevel) {
    if (s->kind == Stmt::Kind::Dim)
      for (const DimItem& item : s->items) program.globals.addVariable(item.name);
  }
  if (!module.optionExplicit) {
    QStringList implicit;
    collectImplicitGlobals(module.topLevel, implicit);
    for (const QString& name : implicit)
      if (!program.globals.find(name)) program.globals.addVariable(name);
  }
}

// Module-level constants with literal values are folded into the code that uses them.
void declareConstants(Program& program, const Module& module) {
  CompiledProc scratch;
  ProcCompiler folder(program, scratch, true, true);
  for (const StmtPtr& s : module.topLevel) {
    if (s->kind != Stmt::Kind::Const) continue;
    for (int i = 0; i < s->constNames.size(); ++i) {
      if (program.globals.find(s->constNames[i])) throw CompileError(1041, s->line);
      if (std::optional<Variant> v = folder.foldConstant(*s->constValues[i]))
        program.globals.addConstant(s->constNames[i], *v);
    }
  }
}

void compilePending(Program& program, const std::vector<PendingProc>& pending) {
  for (const PendingProc& p : pending) compileProcBody(program, p.index, *p.procedure, p.optionExplicit);
}

}  // namespace

int Compiler::compileScript(std::vector<ast::Module>& modules) {
  std::vector<PendingProc> pending;
  for (size_t m = 0; m < modules.size(); ++m) {
    try {
      declareConstants(program_, modules[m]);
      declareModule(program_, modules[m], static_cast<int>(m), pending);
    } catch (CompileError& e) {
      e.error.module = static_cast<int>(m);
      throw;
    }
  }
  for (const PendingProc& p : pending) {
    try {
      compileProcBody(program_, p.index, *p.procedure, p.optionExplicit);
    } catch (CompileError& e) {
      e.error.module = program_.procs[p.index]->module;
      throw;
    }
  }
  int main = addProc(program_, CompiledProc::Kind::TopLevel, QStringLiteral("(top level)"), 0, 1);
  program_.mainProc = main;
  CompiledProc& proc = *program_.procs[main];
  for (size_t m = 0; m < modules.size(); ++m) {
    ProcCompiler pc(program_, proc, modules[m].optionExplicit, true);
    try {
      pc.compileTopLevelModule(modules[m].topLevel, static_cast<int>(m));
      if (m + 1 == modules.size()) pc.finishTopLevel();
    } catch (CompileError& e) {
      e.error.module = static_cast<int>(m);
      throw;
    }
  }
  if (modules.empty()) ProcCompiler(program_, proc, false, true).finishTopLevel();
  return main;
}

int Compiler::compileGlobalText(ast::Module& module, int moduleIndex) {
  std::vector<PendingProc> pending;
  declareConstants(program_, module);
  declareModule(program_, module, moduleIndex, pending);
  compilePending(program_, pending);
  int main = addProc(program_, CompiledProc::Kind::TopLevel, QStringLiteral("(global code)"), moduleIndex, 1);
  ProcCompiler pc(program_, *program_.procs[main], module.optionExplicit, true);
  pc.compileTopLevelModule(module.topLevel, moduleIndex);
  pc.finishTopLevel();
  return main;
}

namespace {

// A procedure whose parameters reach the named slots of the scope by reference.
int snippetFor(Program& program, const CompiledProc& scope) {
  int index = addProc(program, CompiledProc::Kind::Snippet, QStringLiteral("(executed code)"), scope.module, 1);
  CompiledProc& proc = *program.procs[index];
  proc.owner = scope.owner;
  if (scope.kind != CompiledProc::Kind::TopLevel) {
    for (int slot = 0; slot < static_cast<int>(scope.localNames.size()); ++slot) {
      const QString& name = scope.localNames[slot];
      if (name.isEmpty() && !(slot == 0 && (scope.kind == CompiledProc::Kind::Function ||
                                           scope.kind == CompiledProc::Kind::PropertyGet)))
        continue;
      proc.outerSlots.push_back(slot);
      proc.paramByRef.push_back(true);
      proc.localNames.push_back(slot == 0 ? scope.name : name);
      ++proc.paramCount;
      ++proc.slotCount;
    }
  }
  return index;
}

void bindSnippetParams(ProcCompiler& pc, const CompiledProc& proc) {
  for (int i = 0; i < proc.paramCount; ++i) pc.bindLocal(proc.localNames[i + 1], i + 1);
}

}  // namespace

int Compiler::compileLocalText(ast::Module& module, const CompiledProc& scope) {
  std::vector<PendingProc> pending;
  declareConstants(program_, module);
  declareModule(program_, module, scope.module, pending);
  compilePending(program_, pending);
  int index = snippetFor(program_, scope);
  CompiledProc& proc = *program_.procs[index];
  const bool global = scope.kind == CompiledProc::Kind::TopLevel;
  ProcCompiler pc(program_, proc, module.optionExplicit, global);
  bindSnippetParams(pc, proc);
  pc.compileTopLevelModule(module.topLevel, scope.module);
  pc.finishTopLevel();
  return index;
}

int Compiler::compileEval(const ast::Expr& expr, const CompiledProc& scope) {
  int index = snippetFor(program_, scope);
  CompiledProc& proc = *program_.procs[index];
  proc.kind = CompiledProc::Kind::Snippet;
  ProcCompiler pc(program_, proc, false, scope.kind == CompiledProc::Kind::TopLevel);
  bindSnippetParams(pc, proc);
  // The result slot of a snippet is its own; the scope's result is a parameter.
  pc.compileEvalExpr(expr);
  return index;
}

}  // namespace tarvix::script
