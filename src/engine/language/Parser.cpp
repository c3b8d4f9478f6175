#include "engine/language/Parser.h"

#include <algorithm>

#include "engine/language/Lexer.h"
#include "engine/language/ScriptError.h"

namespace tarvix::script {
namespace {

using namespace ast;

// Nesting deeper than this is refused as "Out of memory" instead of
// exhausting the C++ stack of the recursive passes over the tree.
constexpr int kMaxNesting = 200;
constexpr int kMaxExpressionDepth = 1000;

// Binding strength, loosest first. Not and the signs are prefixes whose
// operands reach down to the level just above their own.
enum Level : int {
  ImpLevel = 1,
  EqvLevel,
  XorLevel,
  OrLevel,
  AndLevel,
  NotLevel,
  CompareLevel,
  ConcatLevel,
  AddLevel,
  ModLevel,
  IntDivLevel,
  MultiplyLevel,
};

struct BinaryOperator {
  const char* symbol;  // nullptr for the operators written as a keyword
  Keyword keyword;
  BinaryOp op;
  int level;
};

constexpr BinaryOperator kBinaryOperators[] = {
    {nullptr, Keyword::Imp, BinaryOp::Imp, ImpLevel},
    {nullptr, Keyword::Eqv, BinaryOp::Eqv, EqvLevel},
    {nullptr, Keyword::Xor, BinaryOp::Xor, XorLevel},
    {nullptr, Keyword::Or, BinaryOp::Or, OrLevel},
    {nullptr, Keyword::And, BinaryOp::And, AndLevel},
    {"=", Keyword::None, BinaryOp::Equal, CompareLevel},
    {"<>", Keyword::None, BinaryOp::NotEqual, CompareLevel},
    {"<", Keyword::None, BinaryOp::Less, CompareLevel},
    {">", Keyword::None, BinaryOp::Greater, CompareLevel},
    {"<=", Keyword::None, BinaryOp::LessEqual, CompareLevel},
    {">=", Keyword::None, BinaryOp::GreaterEqual, CompareLevel},
    {nullptr, Keyword::Is, BinaryOp::Is, CompareLevel},
    {"&", Keyword::None, BinaryOp::Concat, ConcatLevel},
    {"+", Keyword::None, BinaryOp::Add, AddLevel},
    {"-", Keyword::None, BinaryOp::Subtract, AddLevel},
    {nullptr, Keyword::Mod, BinaryOp::Mod, ModLevel},
    {"\\", Keyword::None, BinaryOp::IntDivide, IntDivLevel},
    {"*", Keyword::None, BinaryOp::Multiply, MultiplyLevel},
    {"/", Keyword::None, BinaryOp::Divide, MultiplyLevel},
};

const BinaryOperator* binaryOperatorAt(const Token& t) {
  for (const BinaryOperator& o : kBinaryOperators)
    if (o.symbol ? t.isOp(o.symbol) : t.is(o.keyword)) return &o;
  return nullptr;
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : toks_(std::move(tokens)) {}

  Module parseModule() {
    Module module;
    skipNewlines();
    while (cur().kind != TokenKind::EndOfFile) {
      parseTopLevel(module);
      skipNewlines();
    }
    return module;
  }

  ExprPtr parseStandaloneExpression() {
    skipNewlines();
    ExprPtr e = parseExpr();
    skipNewlines();
    if (cur().kind != TokenKind::EndOfFile) fail(1025);
    return e;
  }

 private:
  // ---- token helpers ----
  const Token& cur() const { return toks_[pos_]; }
  const Token& peekTok(size_t ahead = 1) const {
    size_t p = pos_ + ahead;
    return p < toks_.size() ? toks_[p] : toks_.back();
  }
  void advance() {
    if (pos_ + 1 < toks_.size()) ++pos_;
  }
  [[noreturn]] void fail(int number) const { throw CompileError(number, cur().line); }
  bool accept(Keyword k) {
    if (!cur().is(k)) return false;
    advance();
    return true;
  }
  bool acceptOp(char16_t c) {
    if (!cur().isOp(c)) return false;
    advance();
    return true;
  }
  void expect(Keyword k, int number) {
    if (!accept(k)) fail(number);
  }
  void expectOp(char16_t c, int number) {
    if (!acceptOp(c)) fail(number);
  }
  void skipNewlines() {
    while (cur().kind == TokenKind::Newline) advance();
  }
  bool atStatementEnd() const {
    return cur().endsStatement() || (singleLine_ > 0 && (cur().is(Keyword::Else) || cur().is(Keyword::ElseIf)));
  }
  void endStatement() {
    if (!atStatementEnd()) fail(1025);
  }
  // A name that may be declared: an identifier that is not a reserved word.
  QString expectName() {
    if (cur().kind != TokenKind::Identifier || cur().keyword != Keyword::None) fail(1010);
    QString n = cur().text;
    advance();
    return n;
  }
  // After '.', keywords are member names too (Err.Raise, obj.Step).
  QString expectMemberName() {
    if (cur().kind != TokenKind::Identifier) fail(1010);
    QString n = cur().text;
    advance();
    return n;
  }

  struct DepthGuard {
    explicit DepthGuard(Parser& p) : parser(p) {
      if (++parser.depth_ > kMaxNesting) parser.fail(1001);
    }
    ~DepthGuard() { --parser.depth_; }
    Parser& parser;
  };

  // ---- module level ----
  void parseTopLevel(Module& module) {
    if (cur().is(Keyword::Option)) {
      advance();
      expect(Keyword::Explicit, 1002);
      module.optionExplicit = true;
      endStatement();
      return;
    }
    bool isPublic = true;
    bool hasVisibility = false;
    size_t start = pos_;
    if (cur().is(Keyword::Public) || cur().is(Keyword::Private)) {
      isPublic = cur().is(Keyword::Public);
      hasVisibility = true;
      advance();
    }
    if (cur().is(Keyword::Default)) fail(1057);
    if (cur().is(Keyword::Sub) || cur().is(Keyword::Function)) {
      module.procedures.push_back(parseProcedure(isPublic, false));
      return;
    }
    if (cur().is(Keyword::Property)) fail(1048);
    if (cur().is(Keyword::Class)) {
      if (hasVisibility) fail(1002);
      module.classes.push_back(parseClass());
      return;
    }
    if (hasVisibility) {
      module.topLevel.push_back(parseVisibilityDeclaration(isPublic));
      return;
    }
    pos_ = start;
    if (StmtPtr s = parseStatement()) module.topLevel.push_back(std::move(s));
    afterStatement();
  }

  // "Public x, y(3)" or "Private Const a = 1".
  StmtPtr parseVisibilityDeclaration(bool isPublic) {
    StmtPtr s;
    if (cur().is(Keyword::Const)) s = parseConst();
    else s = parseDimItems(Stmt::Kind::Dim, cur().line);
    s->isPublic = isPublic;
    afterStatement();
    return s;
  }

  void afterStatement() {
    if (cur().kind == TokenKind::Newline) advance();
    else if (cur().kind != TokenKind::EndOfFile) fail(1025);
  }

  Procedure parseProcedure(bool isPublic, bool inClass) {
    Procedure proc;
    proc.line = cur().line;
    proc.isPublic = isPublic;
    Keyword endWord;
    if (accept(Keyword::Sub)) {
      proc.kind = Procedure::Kind::Sub;
      endWord = Keyword::Sub;
    } else if (accept(Keyword::Function)) {
      proc.kind = Procedure::Kind::Function;
      endWord = Keyword::Function;
    } else {
      expect(Keyword::Property, 1002);
      if (!inClass) fail(1048);
      endWord = Keyword::Property;
      if (accept(Keyword::Get)) proc.kind = Procedure::Kind::PropertyGet;
      else if (accept(Keyword::Let)) proc.kind = Procedure::Kind::PropertyLet;
      else if (accept(Keyword::Set)) proc.kind = Procedure::Kind::PropertySet;
      else fail(1049);
    }
    proc.name = expectName();
    if (acceptOp(u'(')) {
      if (!acceptOp(u')')) {
        do {
          Param p;
          if (accept(Keyword::ByVal)) p.byRef = false;
          else accept(Keyword::ByRef);
          p.name = expectName();
          if (acceptOp(u'(')) {
            expectOp(u')', 1006);
            p.isArray = true;
          }
          proc.params.push_back(p);
        } while (acceptOp(u','));
        expectOp(u')', 1006);
      }
    }
    if ((proc.kind == Procedure::Kind::PropertyLet || proc.kind == Procedure::Kind::PropertySet) &&
        proc.params.empty())
      fail(1054);
    if (cur().kind != TokenKind::Newline) fail(1025);
    advance();
    proc.body = parseBlock();
    if (!cur().is(Keyword::End)) fail(endWord == Keyword::Sub ? 1016 : endWord == Keyword::Function ? 1015 : 1050);
    proc.endLine = cur().line;
    advance();
    if (!accept(endWord)) fail(endWord == Keyword::Sub ? 1016 : endWord == Keyword::Function ? 1015 : 1050);
    afterStatement();
    return proc;
  }

  ClassDecl parseClass() {
    ClassDecl cls;
    cls.line = cur().line;
    advance();  // Class
    cls.name = expectName();
    afterStatement();
    bool haveDefault = false;
    for (;;) {
      skipNewlines();
      if (cur().is(Keyword::End)) {
        advance();
        expect(Keyword::Class, 1047);
        afterStatement();
        return cls;
      }
      if (cur().kind == TokenKind::EndOfFile) fail(1014);
      bool isPublic = true;
      bool isDefault = false;
      if (cur().is(Keyword::Public)) {
        advance();
        if (accept(Keyword::Default)) isDefault = true;
      } else if (cur().is(Keyword::Private)) {
        isPublic = false;
        advance();
      } else if (cur().is(Keyword::Default)) {
        fail(1057);
      }
      if (cur().is(Keyword::Sub) || cur().is(Keyword::Function) || cur().is(Keyword::Property)) {
        Procedure proc = parseProcedure(isPublic, true);
        if (isDefault) {
          if (proc.kind == Procedure::Kind::PropertyLet || proc.kind == Procedure::Kind::PropertySet)
            throw CompileError(1058, proc.line);
          if (haveDefault) throw CompileError(1052, proc.line);
          haveDefault = true;
          proc.isDefault = true;
        }
        cls.methods.push_back(std::move(proc));
        continue;
      }
      if (isDefault) fail(1058);
      bool hadVisibility = pos_ > 0 && (toks_[pos_ - 1].is(Keyword::Public) || toks_[pos_ - 1].is(Keyword::Private));
      if (cur().is(Keyword::Dim)) advance();
      else if (!hadVisibility) fail(1024);
      StmtPtr s = cur().is(Keyword::Const) ? parseConst() : parseDimItems(Stmt::Kind::Dim, cur().line);
      s->isPublic = isPublic;
      cls.fields.push_back(std::move(s));
      afterStatement();
    }
  }

  // ---- blocks and statements ----
  static bool endsBlock(const Token& t) {
    return t.kind == TokenKind::EndOfFile || t.is(Keyword::End) || t.is(Keyword::Loop) || t.is(Keyword::Next) ||
           t.is(Keyword::Wend) || t.is(Keyword::Else) || t.is(Keyword::ElseIf) || t.is(Keyword::Case);
  }

  Block parseBlock() {
    DepthGuard guard(*this);
    Block block;
    for (;;) {
      skipNewlines();
      if (endsBlock(cur())) return block;
      if (cur().is(Keyword::Sub) || cur().is(Keyword::Function) || cur().is(Keyword::Class) ||
          cur().is(Keyword::Property) || cur().is(Keyword::Option))
        fail(1024);
      if (StmtPtr s = parseStatement()) block.push_back(std::move(s));
      afterStatement();
    }
  }

  StmtPtr parseStatement() {
    DepthGuard guard(*this);
    const Token& t = cur();
    int line = t.line;
    if (t.kind == TokenKind::Identifier) {
      switch (t.keyword) {
        case Keyword::Dim: advance(); return parseDimItems(Stmt::Kind::Dim, line);
        case Keyword::Public:
        case Keyword::Private: {
          bool isPublic = t.is(Keyword::Public);
          advance();
          StmtPtr s = cur().is(Keyword::Const) ? parseConst() : parseDimItems(Stmt::Kind::Dim, line);
          s->isPublic = isPublic;
          return s;
        }
        case Keyword::ReDim: {
          advance();
          bool preserve = accept(Keyword::Preserve);
          StmtPtr s = parseDimItems(Stmt::Kind::ReDim, line);
          s->preserve = preserve;
          for (const DimItem& item : s->items)
            if (item.bounds.empty()) fail(1005);
          return s;
        }
        case Keyword::Const: return parseConst();
        case Keyword::Erase: {
          advance();
          auto s = std::make_unique<Stmt>(Stmt::Kind::Erase, line);
          do {
            DimItem item;
            item.line = cur().line;
            item.name = expectName();
            s->items.push_back(std::move(item));
          } while (acceptOp(u','));
          return s;
        }
        case Keyword::If: return parseIf();
        case Keyword::Select: return parseSelect();
        case Keyword::For: return parseFor();
        case Keyword::Do: return parseDo();
        case Keyword::While: return parseWhile();
        case Keyword::With: return parseWith();
        case Keyword::Exit: return parseExit();
        case Keyword::On: return parseOnError();
        case Keyword::Set: {
          advance();
          auto s = std::make_unique<Stmt>(Stmt::Kind::Assign, line);
          s->isSet = true;
          s->target = parsePostfix(true);
          expectOp(u'=', 1011);
          s->value = parseExpr();
          return s;
        }
        case Keyword::Call: {
          advance();
          auto s = std::make_unique<Stmt>(Stmt::Kind::CallStmt, line);
          s->explicitCall = true;
          s->target = parsePostfix(false);
          if (s->target->kind != Expr::Kind::Name && s->target->kind != Expr::Kind::Member &&
              s->target->kind != Expr::Kind::Call)
            fail(1010);
          return s;
        }
        case Keyword::Stop: advance(); return std::make_unique<Stmt>(Stmt::Kind::Nop, line);
        case Keyword::Option: fail(1042);
        case Keyword::None:
        case Keyword::Me:
          return parseAssignOrCall();
        default: fail(1024);
      }
    }
    if (t.isOp(u'.')) return parseAssignOrCall();
    fail(1024);
  }

  StmtPtr parseAssignOrCall() {
    int line = cur().line;
    ExprPtr target = parsePostfix(true);
    if (cur().isOp(u'=')) {
      advance();
      auto s = std::make_unique<Stmt>(Stmt::Kind::Assign, line);
      if (target->kind == Expr::Kind::Me) fail(1037);
      s->target = std::move(target);
      s->value = parseExpr();
      return s;
    }
    auto s = std::make_unique<Stmt>(Stmt::Kind::CallStmt, line);
    if (target->kind == Expr::Kind::Literal || target->kind == Expr::Kind::Me) fail(1024);
    s->target = std::move(target);
    if (!atStatementEnd()) {
      if (s->target->kind == Expr::Kind::Call) fail(1025);
      do {
        if (cur().isOp(u',')) s->args.push_back(nullptr);
        else s->args.push_back(parseExpr());
      } while (acceptOp(u','));
    }
    return s;
  }

  StmtPtr parseDimItems(Stmt::Kind kind, int line) {
    auto s = std::make_unique<Stmt>(kind, line);
    do {
      DimItem item;
      item.line = cur().line;
      item.name = expectName();
      if (acceptOp(u'(')) {
        item.isArray = true;
        if (!acceptOp(u')')) {
          do item.bounds.push_back(parseExpr());
          while (acceptOp(u','));
          expectOp(u')', 1006);
        }
      }
      s->items.push_back(std::move(item));
    } while (acceptOp(u','));
    return s;
  }

  StmtPtr parseConst() {
    auto s = std::make_unique<Stmt>(Stmt::Kind::Const, cur().line);
    advance();  // Const
    do {
      s->constNames << expectName();
      expectOp(u'=', 1011);
      s->constValues.push_back(parseExpr());
    } while (acceptOp(u','));
    return s;
  }

  // Statements of a single-line If branch: "a : b : c" up to Else or the line end.
  Block parseInlineStatements() {
    Block block;
    ++singleLine_;
    for (;;) {
      if (cur().is(Keyword::End) && peekTok().is(Keyword::If)) {  // tolerated "... : End If"
        advance();
        advance();
        break;
      }
      if (StmtPtr s = parseStatement()) block.push_back(std::move(s));
      if (cur().kind == TokenKind::Newline && cur().isColon && !peekTok().endsStatement() &&
          !peekTok().is(Keyword::Else)) {
        advance();
        continue;
      }
      if (cur().kind == TokenKind::Newline && cur().isColon && peekTok().is(Keyword::Else)) advance();
      break;
    }
    --singleLine_;
    return block;
  }

  StmtPtr parseIf() {
    int line = cur().line;
    advance();  // If
    auto s = std::make_unique<Stmt>(Stmt::Kind::If, line);
    IfBranch first;
    first.line = line;
    first.condition = parseExpr();
    expect(Keyword::Then, 1017);
    if (cur().kind != TokenKind::Newline && cur().kind != TokenKind::EndOfFile) {
      first.body = parseInlineStatements();
      s->branches.push_back(std::move(first));
      if (accept(Keyword::Else)) {
        IfBranch other;
        other.line = line;
        if (!atStatementEnd()) other.body = parseInlineStatements();
        s->branches.push_back(std::move(other));
      }
      if (singleLine_ == 0 && cur().kind == TokenKind::Newline && cur().isColon) fail(1025);
      return s;
    }
    first.body = parseBlock();
    s->branches.push_back(std::move(first));
    for (;;) {
      if (cur().is(Keyword::ElseIf)) {
        IfBranch b;
        b.line = cur().line;
        advance();
        b.condition = parseExpr();
        expect(Keyword::Then, 1017);
        if (cur().kind == TokenKind::Newline) b.body = parseBlock();
        else {
          b.body = parseInlineStatements();
          if (!cur().endsStatement()) fail(1025);
          b.body.reserve(b.body.size());
          Block rest = parseBlock();
          for (auto& r : rest) b.body.push_back(std::move(r));
        }
        s->branches.push_back(std::move(b));
        continue;
      }
      if (cur().is(Keyword::Else)) {
        IfBranch b;
        b.line = cur().line;
        advance();
        b.body = parseBlock();
        s->branches.push_back(std::move(b));
        if (!cur().is(Keyword::End)) fail(1012);
      }
      break;
    }
    if (!cur().is(Keyword::End)) fail(1014);
    advance();
    expect(Keyword::If, 1012);
    return s;
  }

  StmtPtr parseSelect() {
    int line = cur().line;
    advance();  // Select
    expect(Keyword::Case, 1021);
    auto s = std::make_unique<Stmt>(Stmt::Kind::Select, line);
    s->value = parseExpr();
    afterStatement();
    skipNewlines();
    while (cur().is(Keyword::Case)) {
      CaseClause clause;
      clause.line = cur().line;
      advance();
      if (accept(Keyword::Else)) {
        clause.isElse = true;
      } else {
        do {
          CaseClause::Test test;
          if (accept(Keyword::Is)) {
            test.kind = CaseClause::Test::Kind::Is;
            test.compare = comparisonOperator();
            test.value = parseBinary(ConcatLevel);
          } else {
            test.value = parseExpr();
            if (accept(Keyword::To)) {
              test.kind = CaseClause::Test::Kind::Range;
              test.upper = parseExpr();
            }
          }
          clause.tests.push_back(std::move(test));
        } while (acceptOp(u','));
      }
      if (cur().kind == TokenKind::Newline) advance();
      else fail(1025);
      clause.body = parseBlock();
      bool wasElse = clause.isElse;
      s->cases.push_back(std::move(clause));
      if (wasElse) break;
    }
    if (!cur().is(Keyword::End)) fail(cur().is(Keyword::Case) ? 1002 : 1014);
    advance();
    expect(Keyword::Select, 1022);
    return s;
  }

  // A comparison written with symbols ("Is" is not one here).
  BinaryOp comparisonOperator() {
    const BinaryOperator* o = binaryOperatorAt(cur());
    if (!o || o->level != CompareLevel || !o->symbol) fail(1002);
    advance();
    return o->op;
  }

  StmtPtr parseFor() {
    int line = cur().line;
    advance();  // For
    if (accept(Keyword::Each)) {
      auto s = std::make_unique<Stmt>(Stmt::Kind::ForEach, line);
      s->target = std::make_unique<Expr>(Expr::Kind::Name, cur().line);
      s->target->name = expectName();
      expect(Keyword::In, 1046);
      s->value = parseExpr();
      afterLoopHeader();
      s->body = parseBlock();
      closeNext();
      return s;
    }
    auto s = std::make_unique<Stmt>(Stmt::Kind::For, line);
    s->target = std::make_unique<Expr>(Expr::Kind::Name, cur().line);
    s->target->name = expectName();
    expectOp(u'=', 1011);
    s->value = parseExpr();
    expect(Keyword::To, 1013);
    s->limit = parseExpr();
    if (accept(Keyword::Step)) s->step = parseExpr();
    afterLoopHeader();
    s->body = parseBlock();
    closeNext();
    return s;
  }

  void afterLoopHeader() {
    if (cur().kind != TokenKind::Newline) fail(1025);
    advance();
  }

  void closeNext() {
    if (!cur().is(Keyword::Next)) fail(1020);
    advance();
    if (cur().kind == TokenKind::Identifier && cur().keyword == Keyword::None) advance();
  }

  StmtPtr parseDo() {
    int line = cur().line;
    advance();  // Do
    auto s = std::make_unique<Stmt>(Stmt::Kind::DoLoop, line);
    if (cur().is(Keyword::While) || cur().is(Keyword::Until)) {
      s->untilLoop = cur().is(Keyword::Until);
      advance();
      s->value = parseExpr();
    }
    afterLoopHeader();
    s->body = parseBlock();
    if (!accept(Keyword::Loop)) fail(1019);
    if (cur().is(Keyword::While) || cur().is(Keyword::Until)) {
      if (s->value) fail(1025);
      s->conditionFirst = false;
      s->untilLoop = cur().is(Keyword::Until);
      advance();
      s->value = parseExpr();
    }
    return s;
  }

  StmtPtr parseWhile() {
    int line = cur().line;
    advance();
    auto s = std::make_unique<Stmt>(Stmt::Kind::While, line);
    s->value = parseExpr();
    afterLoopHeader();
    s->body = parseBlock();
    if (!accept(Keyword::Wend)) fail(1018);
    return s;
  }

  StmtPtr parseWith() {
    int line = cur().line;
    advance();
    auto s = std::make_unique<Stmt>(Stmt::Kind::With, line);
    s->target = parseExpr();
    afterLoopHeader();
    s->body = parseBlock();
    if (!cur().is(Keyword::End)) fail(1014);
    advance();
    expect(Keyword::With, 1029);
    return s;
  }

  StmtPtr parseExit() {
    auto s = std::make_unique<Stmt>(Stmt::Kind::Exit, cur().line);
    advance();
    if (accept(Keyword::Do)) s->exit = ExitKind::Do;
    else if (accept(Keyword::For)) s->exit = ExitKind::For;
    else if (accept(Keyword::Sub)) s->exit = ExitKind::Sub;
    else if (accept(Keyword::Function)) s->exit = ExitKind::Function;
    else if (accept(Keyword::Property)) s->exit = ExitKind::Property;
    else fail(1039);
    return s;
  }

  StmtPtr parseOnError() {
    int line = cur().line;
    advance();  // On
    expect(Keyword::Error, 1002);
    if (accept(Keyword::Resume)) {
      expect(Keyword::Next, 1002);
      return std::make_unique<Stmt>(Stmt::Kind::OnErrorResumeNext, line);
    }
    expect(Keyword::GoTo, 1002);
    if (cur().kind != TokenKind::Integer || cur().number != 0) fail(1002);
    advance();
    return std::make_unique<Stmt>(Stmt::Kind::OnErrorGoto0, line);
  }

  // ---- expressions ----
  ExprPtr binary(BinaryOp op, ExprPtr left, ExprPtr right, int line) {
    auto e = std::make_unique<Expr>(Expr::Kind::Binary, line);
    e->binary = op;
    e->object = std::move(left);
    e->right = std::move(right);
    return measured(std::move(e));
  }

  // Long operator or member chains make deep trees without deep recursion
  // while parsing; their height is bounded here.
  ExprPtr measured(ExprPtr e) {
    int below = 0;
    if (e->object) below = e->object->depth;
    if (e->right) below = std::max(below, e->right->depth);
    for (const ExprPtr& a : e->args)
      if (a) below = std::max(below, a->depth);
    e->depth = below + 1;
    if (e->depth > kMaxExpressionDepth) fail(1001);
    return e;
  }

  ExprPtr parseExpr() {
    DepthGuard guard(*this);
    return parseBinary(ImpLevel);
  }

  // Binary operators by precedence climbing: an operand (with its Not or sign
  // prefix where the level admits one), then every operator of minLevel or a
  // tighter level, each joining to the left.
  ExprPtr parseBinary(int minLevel) {
    ExprPtr left = minLevel <= NotLevel ? parseNot() : parseUnary();
    while (const BinaryOperator* o = binaryOperatorAt(cur())) {
      if (o->level < minLevel) break;
      int line = cur().line;
      advance();
      left = binary(o->op, std::move(left), parseBinary(o->level + 1), line);
    }
    return left;
  }
  ExprPtr parseNot() {
    if (cur().is(Keyword::Not)) {
      DepthGuard guard(*this);
      auto e = std::make_unique<Expr>(Expr::Kind::Unary, cur().line);
      advance();
      e->unary = UnaryOp::Not;
      e->object = parseNot();
      return measured(std::move(e));
    }
    return parseBinary(CompareLevel);
  }
  ExprPtr parseUnary() {
    if (cur().isOp(u'-') || cur().isOp(u'+')) {
      DepthGuard guard(*this);
      auto e = std::make_unique<Expr>(Expr::Kind::Unary, cur().line);
      e->unary = cur().isOp(u'-') ? UnaryOp::Negate : UnaryOp::Plus;
      advance();
      e->object = parseUnary();
      return measured(std::move(e));
    }
    return parsePower();
  }
  ExprPtr parsePower() {
    ExprPtr left = parsePostfix(false);
    while (cur().isOp(u'^')) {
      int line = cur().line;
      advance();
      left = binary(BinaryOp::Power, std::move(left), parseExponent(), line);
    }
    return left;
  }
  // The right side of '^' may carry its own sign: 2 ^ -1.
  ExprPtr parseExponent() {
    if (cur().isOp(u'-') || cur().isOp(u'+')) {
      DepthGuard guard(*this);
      auto e = std::make_unique<Expr>(Expr::Kind::Unary, cur().line);
      e->unary = cur().isOp(u'-') ? UnaryOp::Negate : UnaryOp::Plus;
      advance();
      e->object = parseExponent();
      return measured(std::move(e));
    }
    return parsePostfix(false);
  }

  std::vector<ExprPtr> parseArgList() {
    // current token is '('
    advance();
    std::vector<ExprPtr> args;
    if (acceptOp(u')')) return args;
    do {
      if (cur().isOp(u',') || cur().isOp(u')')) args.push_back(nullptr);
      else args.push_back(parseExpr());
    } while (acceptOp(u','));
    expectOp(u')', 1006);
    return args;
  }

  // A primary followed by ".name" and "(args)" parts. At the head of a
  // statement, a "(" whose group is followed by more expression text (as in
  // "MsgBox (a) & b") starts the first argument instead of an argument list.
  ExprPtr parsePostfix(bool statementHead) {
    DepthGuard guard(*this);
    ExprPtr e = parsePrimary();
    for (;;) {
      if (cur().isOp(u'.') && !cur().spaceBefore) {
        if (e->kind == Expr::Kind::Literal) fail(1025);
        int line = cur().line;
        advance();
        auto m = std::make_unique<Expr>(Expr::Kind::Member, line);
        m->name = expectMemberName();
        m->object = std::move(e);
        e = measured(std::move(m));
        continue;
      }
      if (cur().isOp(u'(') && e->kind != Expr::Kind::Literal && !e->parenthesized) {
        size_t open = pos_;
        int line = cur().line;
        auto args = parseArgList();
        if (statementHead && !atStatementEnd() && !cur().isOp(u'=') && !cur().isOp(u'.') && !cur().isOp(u'(')) {
          pos_ = open;
          return e;
        }
        auto c = std::make_unique<Expr>(Expr::Kind::Call, line);
        c->object = std::move(e);
        c->args = std::move(args);
        e = measured(std::move(c));
        continue;
      }
      return e;
    }
  }

  ExprPtr literal(Literal::Kind kind, double number = 0, QString text = {}) {
    auto e = std::make_unique<Expr>(Expr::Kind::Literal, cur().line);
    e->literal.kind = kind;
    e->literal.number = number;
    e->literal.text = std::move(text);
    advance();
    return e;
  }

  ExprPtr parsePrimary() {
    const Token& t = cur();
    switch (t.kind) {
      case TokenKind::Integer:
        return literal(t.isLong ? Literal::Kind::Long : Literal::Kind::Integer, t.number);
      case TokenKind::Double: return literal(Literal::Kind::Double, t.number);
      case TokenKind::String: return literal(Literal::Kind::String, 0, t.text);
      case TokenKind::Date: return literal(Literal::Kind::Date, t.number);
      case TokenKind::Identifier:
        switch (t.keyword) {
          case Keyword::None: {
            auto e = std::make_unique<Expr>(Expr::Kind::Name, t.line);
            e->name = t.text;
            advance();
            return e;
          }
          case Keyword::True: return literal(Literal::Kind::Boolean, -1);
          case Keyword::False: return literal(Literal::Kind::Boolean, 0);
          case Keyword::Empty: return literal(Literal::Kind::Empty);
          case Keyword::Null: return literal(Literal::Kind::Null);
          case Keyword::Nothing: return literal(Literal::Kind::Nothing);
          case Keyword::Me: {
            auto e = std::make_unique<Expr>(Expr::Kind::Me, t.line);
            advance();
            return e;
          }
          case Keyword::New: {
            auto e = std::make_unique<Expr>(Expr::Kind::New, t.line);
            advance();
            e->name = expectName();
            return e;
          }
          case Keyword::Not: return parseNot();
          default: fail(1023);
        }
      case TokenKind::Operator:
        if (t.isOp(u'(')) {
          advance();
          ExprPtr e = parseExpr();
          expectOp(u')', 1006);
          e->parenthesized = true;
          return e;
        }
        if (t.isOp(u'.')) {
          int line = t.line;
          advance();
          auto m = std::make_unique<Expr>(Expr::Kind::Member, line);
          m->name = expectMemberName();
          return m;
        }
        if (t.isOp(u'-') || t.isOp(u'+')) return parseUnary();
        fail(1023);
      default: fail(1023);
    }
  }

  std::vector<Token> toks_;
  size_t pos_ = 0;
  int singleLine_ = 0;
  int depth_ = 0;
};

}  // namespace

ast::Module parseModule(const QString& source) { return Parser(tokenize(source)).parseModule(); }

ast::ExprPtr parseExpressionText(const QString& source) {
  return Parser(tokenize(source)).parseStandaloneExpression();
}

}  // namespace tarvix::script
