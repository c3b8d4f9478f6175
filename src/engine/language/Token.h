#pragma once

#include <QString>
#include <cstdint>

namespace tarvix::script {

enum class TokenKind : uint8_t {
  EndOfFile,
  Newline,     // line end or ':'
  Identifier,  // also keywords; see Token::keyword
  Integer,     // fits 16 bits unless Token::isLong
  Double,
  String,
  Date,
  Operator,  // one of + - * / \ ^ & = <> < > <= >= ( ) , .
};

enum class Keyword : uint8_t {
  None, And, ByRef, ByVal, Call, Case, Class, Const, Default, Dim, Do, Each, Else, ElseIf, Empty,
  End, Eqv, Erase, Error, Exit, Explicit, False, For, Function, Get, GoTo, If, Imp, In, Is, Let,
  Loop, Me, Mod, New, Next, Not, Nothing, Null, On, Option, Or, Preserve, Private, Property, Public,
  ReDim, Resume, Select, Set, Step, Stop, Sub, Then, To, True, Until, Wend, While, With, Xor,
};

struct Token {
  TokenKind kind = TokenKind::EndOfFile;
  Keyword keyword = Keyword::None;
  bool isColon = false;        // a Newline that was written as ':'
  bool spaceBefore = false;    // whitespace precedes the token
  bool isLong = false;         // Integer that needs 32 bits
  QString text;                // identifier spelling, string value or operator
  double number = 0;           // Integer, Double and Date values
  int line = 1;

  bool isOp(char16_t c) const { return kind == TokenKind::Operator && text.size() == 1 && text[0] == c; }
  bool isOp(const char* op) const { return kind == TokenKind::Operator && text == QLatin1String(op); }
  bool is(Keyword k) const { return kind == TokenKind::Identifier && keyword == k; }
  bool endsStatement() const { return kind == TokenKind::Newline || kind == TokenKind::EndOfFile; }
};

}  // namespace tarvix::script
