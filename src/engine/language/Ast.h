#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tarvix::script::ast {

// A constant written in the source.
struct Literal {
  enum class Kind { Empty, Null, Nothing, Boolean, Integer, Long, Double, String, Date } kind = Kind::Empty;
  double number = 0;  // Boolean (-1/0), numbers and dates
  QString text;
};

enum class BinaryOp {
  Power, Multiply, Divide, IntDivide, Mod, Add, Subtract, Concat,
  Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Is, And, Or, Xor, Eqv, Imp,
};
enum class UnaryOp { Negate, Plus, Not };

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  enum class Kind {
    Literal,
    Name,         // name
    Member,       // object.name, or .name inside With (object == nullptr)
    Call,         // callee(args): call, index or default member
    Unary,
    Binary,
    New,          // New ClassName
    Me,
  } kind;
  int line = 0;
  Literal literal;
  QString name;               // Name, Member, New
  ExprPtr object;             // Member target, Call callee, Unary operand, Binary left
  ExprPtr right;              // Binary right
  std::vector<ExprPtr> args;  // Call arguments; nullptr marks an omitted argument
  BinaryOp binary = BinaryOp::Add;
  UnaryOp unary = UnaryOp::Negate;
  bool parenthesized = false;  // written inside its own parentheses: passed by value
  int depth = 1;               // height of the tree below, kept small for the recursive passes

  Expr(Kind k, int l) : kind(k), line(l) {}
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct DimItem {
  QString name;
  bool isArray = false;          // written with parentheses
  std::vector<ExprPtr> bounds;   // upper bounds; empty for a dynamic array
  int line = 0;
};

struct CaseClause {
  struct Test {
    enum class Kind { Value, Range, Is } kind = Kind::Value;
    ExprPtr value, upper;
    BinaryOp compare = BinaryOp::Equal;
  };
  std::vector<Test> tests;  // empty for Case Else
  bool isElse = false;
  Block body;
  int line = 0;
};

struct IfBranch {
  ExprPtr condition;  // nullptr for Else
  Block body;
  int line = 0;
};

enum class ExitKind { Do, For, Sub, Function, Property };

struct Stmt {
  enum class Kind {
    Assign,      // target = value (Let); Set when isSet
    CallStmt,    // target is the call or name; args for calls without parentheses
    Dim,         // items (Dim/Private/Public variables)
    ReDim,       // items with bounds, preserve
    Const,       // names + values
    Erase,       // names
    If,
    Select,
    For,
    ForEach,
    DoLoop,
    While,
    With,
    Exit,
    OnErrorResumeNext,
    OnErrorGoto0,
    OptionExplicit,
    Nop,
  } kind;
  int line = 0;
  ExprPtr target;                   // Assign, CallStmt, For/ForEach variable, With object
  ExprPtr value;                    // Assign value, Select subject, loop condition, For start, ForEach group
  ExprPtr limit, step;              // For
  std::vector<ExprPtr> args;        // CallStmt without parentheses
  bool isSet = false;               // Set assignment
  bool explicitCall = false;        // written with the Call keyword
  bool preserve = false;            // ReDim Preserve
  bool conditionFirst = true;       // Do While ... Loop versus Do ... Loop While
  bool untilLoop = false;           // Until instead of While
  ExitKind exit = ExitKind::Do;
  std::vector<DimItem> items;       // Dim, ReDim, Erase
  QStringList constNames;
  std::vector<ExprPtr> constValues;
  bool isPublic = true;             // visibility of class members and module declarations
  std::vector<IfBranch> branches;   // If
  std::vector<CaseClause> cases;    // Select
  Block body;                       // loops, With

  Stmt(Kind k, int l) : kind(k), line(l) {}
};

struct Param {
  QString name;
  bool byRef = true;
  bool isArray = false;
};

struct Procedure {
  enum class Kind { Sub, Function, PropertyGet, PropertyLet, PropertySet } kind = Kind::Sub;
  QString name;
  std::vector<Param> params;
  Block body;
  bool isPublic = true;
  bool isDefault = false;
  int line = 0;
  int endLine = 0;
};

struct ClassDecl {
  QString name;
  Block fields;
  std::vector<Procedure> methods;
  int line = 0;
};

// One parsed source text.
struct Module {
  bool optionExplicit = false;
  Block topLevel;               // top-level statements in order (declarations included)
  std::vector<Procedure> procedures;
  std::vector<ClassDecl> classes;
};

}  // namespace tarvix::script::ast
