#pragma once

#include <cstdint>

namespace tarvix::script {

// One instruction is a 32-bit word: the opcode in the low 8 bits and a signed
// 24-bit operand above it. Some instructions carry further 32-bit operand
// words; opLength() gives the number of words of each.
enum class Op : std::uint8_t {
  Nop,
  Line,          // a: line; a statement starts here (step, budget, Resume Next)
  SetModule,     // a: module index of the code that follows
  PushConst,     // a: constant index
  PushEmpty,
  PushMissing,   // an omitted optional argument
  PushMe,
  PushErr,       // the Err object
  Pop,
  Dup,
  // Variables; a = slot. Store applies Let rules, Set requires an object.
  LoadLocal, StoreLocal, SetLocal, RefLocal, ClearLocal,
  LoadGlobal, StoreGlobal, SetGlobal, RefGlobal,
  LoadField, StoreField, SetField, RefField,
  // Element of a variable or a call of its default member; a = variable
  // reference (VarRef), word 2 = argument count.
  IndexVar,
  // a = variable reference, word 2 = argument count; value on top of the indices.
  StoreIndexVar,
  SetIndexVar,
  // Element or default member of a value below the arguments; a = argument count.
  Index,
  CallProc,      // a: procedure, word 2: argument count
  CallMethod,    // a: procedure of Me's class, word 2: argument count
  CallBuiltin,   // a: builtin index, word 2: argument count
  // a: name index, word 2: argument count | call kind << 16, word 3: cache slot.
  // Object below the arguments; for Let/Set the value is the last argument.
  CallMember,
  CallByName,    // a: name index, word 2: argument count; a procedure found at run time
  NewObject,     // a: class index
  Jump,          // a: target
  JumpIfFalse,   // a: target; pops the condition
  JumpIfTrue,
  Add, Subtract, Multiply, Divide, IntDivide, Mod, Power, Concat,
  Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Is,
  And, Or, Xor, Eqv, Imp,
  Negate, Not, ToValue,
  // s = s & value for a local string: appends in place when not shared.
  AppendLocal,   // a: slot
  // For loops; a = variable reference, word 2 = first of two hidden slots
  // (limit, step), word 3 = jump target.
  ForPrep,       // start value stored already; jumps to target when done
  ForNext,       // steps; jumps back to target while inside the range
  // For Each; a = first of two hidden slots (items, position), word 2 = variable
  // reference, word 3 = jump target (the end of the loop).
  ForEachPrep,   // pops the group
  ForEachNext,
  Return,
  OnErrorResumeNext,
  OnErrorGoto0,
  Raise,         // a: error number, word 2: name index for the message or -1
  DimArray,      // a: variable reference, word 2: number of bounds on the stack
  ReDim,         // a: variable reference, word 2: number of bounds | preserve << 16
  Erase,         // a: variable reference
  Eval,          // a: argument count (1)
  Execute,       // a: 0 in the current scope, 1 global; pops the text
  GetRef,        // pops a procedure name, pushes a reference to it
  Count_
};

inline constexpr int opLength(Op op) {
  switch (op) {
    case Op::IndexVar: case Op::StoreIndexVar: case Op::SetIndexVar: case Op::CallProc: case Op::CallMethod:
    case Op::CallBuiltin: case Op::CallByName: case Op::Raise: case Op::DimArray: case Op::ReDim:
      return 2;
    case Op::CallMember: case Op::ForPrep: case Op::ForNext: case Op::ForEachPrep: case Op::ForEachNext:
      return 3;
    default:
      return 1;
  }
}

inline constexpr std::uint32_t encode(Op op, std::int32_t a = 0) {
  return static_cast<std::uint32_t>(op) | (static_cast<std::uint32_t>(a) << 8);
}
inline constexpr Op opOf(std::uint32_t word) { return static_cast<Op>(word & 0xFF); }
inline constexpr std::int32_t operandOf(std::uint32_t word) { return static_cast<std::int32_t>(word) >> 8; }

// Where a variable lives: a local slot, a global slot or a field of Me.
enum class VarKind : std::uint8_t { Local = 0, Global = 1, Field = 2 };
inline constexpr std::int32_t varRef(VarKind kind, std::int32_t index) {
  return (index << 2) | static_cast<std::int32_t>(kind);
}
inline constexpr VarKind varKindOf(std::int32_t ref) { return static_cast<VarKind>(ref & 3); }
inline constexpr std::int32_t varIndexOf(std::int32_t ref) { return ref >> 2; }

}  // namespace tarvix::script
