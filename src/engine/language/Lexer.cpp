#include "engine/language/Lexer.h"

#include <QHash>
#include <cmath>

#include "dispatch/DateSerial.h"
#include "engine/language/ScriptError.h"

namespace tarvix::script {
namespace {

Keyword keywordOf(const QString& word) {
  static const QHash<QString, Keyword> words = {
      {"and", Keyword::And},         {"byref", Keyword::ByRef},       {"byval", Keyword::ByVal},
      {"call", Keyword::Call},       {"case", Keyword::Case},         {"class", Keyword::Class},
      {"const", Keyword::Const},     {"default", Keyword::Default},   {"dim", Keyword::Dim},
      {"do", Keyword::Do},           {"each", Keyword::Each},         {"else", Keyword::Else},
      {"elseif", Keyword::ElseIf},   {"empty", Keyword::Empty},       {"end", Keyword::End},
      {"eqv", Keyword::Eqv},         {"erase", Keyword::Erase},       {"error", Keyword::Error},
      {"exit", Keyword::Exit},       {"explicit", Keyword::Explicit}, {"false", Keyword::False},
      {"for", Keyword::For},         {"function", Keyword::Function}, {"get", Keyword::Get},
      {"goto", Keyword::GoTo},       {"if", Keyword::If},             {"imp", Keyword::Imp},
      {"in", Keyword::In},           {"is", Keyword::Is},             {"let", Keyword::Let},
      {"loop", Keyword::Loop},       {"me", Keyword::Me},             {"mod", Keyword::Mod},
      {"new", Keyword::New},         {"next", Keyword::Next},         {"not", Keyword::Not},
      {"nothing", Keyword::Nothing}, {"null", Keyword::Null},         {"on", Keyword::On},
      {"option", Keyword::Option},   {"or", Keyword::Or},             {"preserve", Keyword::Preserve},
      {"private", Keyword::Private}, {"property", Keyword::Property}, {"public", Keyword::Public},
      {"redim", Keyword::ReDim},     {"resume", Keyword::Resume},     {"select", Keyword::Select},
      {"set", Keyword::Set},         {"step", Keyword::Step},         {"stop", Keyword::Stop},
      {"sub", Keyword::Sub},         {"then", Keyword::Then},         {"to", Keyword::To},
      {"true", Keyword::True},       {"until", Keyword::Until},       {"wend", Keyword::Wend},
      {"while", Keyword::While},     {"with", Keyword::With},         {"xor", Keyword::Xor},
  };
  return words.value(word.toLower(), Keyword::None);
}

bool isIdentStart(QChar c) { return c.isLetter(); }
bool isIdentPart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == QChar(0xA0) || c == u'\f' || c == u'\v'; }

class Lexer {
 public:
  explicit Lexer(const QString& source) : src_(source) {}

  std::vector<Token> run() {
    while (pos_ < src_.size()) step();
    pushNewline(false);
    Token end;
    end.line = line_;
    tokens_.push_back(end);
    return std::move(tokens_);
  }

 private:
  QChar peek(qsizetype ahead = 0) const {
    return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : QChar(0);
  }

  void fail(int number) const { throw CompileError(number, line_); }

  void pushNewline(bool colon) {
    // Collapse runs of separators: the parser only needs one.
    if (!tokens_.empty() && tokens_.back().kind == TokenKind::Newline && !colon) {
      tokens_.back().isColon = false;
      return;
    }
    if (tokens_.empty() && !colon) return;
    Token t;
    t.kind = TokenKind::Newline;
    t.isColon = colon;
    t.line = line_;
    tokens_.push_back(t);
  }

  Token& push(TokenKind kind, QString text) {
    Token t;
    t.kind = kind;
    t.text = std::move(text);
    t.line = line_;
    t.spaceBefore = spaceBefore_;
    spaceBefore_ = false;
    tokens_.push_back(std::move(t));
    return tokens_.back();
  }

  void skipComment() {
    while (pos_ < src_.size() && src_[pos_] != u'\n' && src_[pos_] != u'\r') ++pos_;
  }

  void step() {
    QChar c = src_[pos_];
    if (isBlank(c)) {
      ++pos_;
      spaceBefore_ = true;
      return;
    }
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && peek(1) == u'\n') ++pos_;
      ++pos_;
      pushNewline(false);
      ++line_;
      spaceBefore_ = true;
      return;
    }
    if (c == u':') {
      ++pos_;
      pushNewline(true);
      return;
    }
    if (c == u'\'') return skipComment();
    if (c == u'_' && continuationFollows()) return;
    if (c == u'"') return readString();
    if (c == u'#') return readDate();
    if (c.isDigit() || (c == u'.' && peek(1).isDigit() && !memberDotExpected())) return readNumber();
    if (c == u'&' && (peek(1) == u'H' || peek(1) == u'h' || peek(1) == u'O' || peek(1) == u'o' || peek(1).isDigit()))
      return readRadixNumber();
    if (isIdentStart(c)) return readIdentifier();
    if (c == u'[') return readBracketIdentifier();
    readOperator();
  }

  // A '.' directly after an identifier, ')' or ']' is member access even when a digit follows.
  bool memberDotExpected() const {
    if (tokens_.empty() || spaceBefore_) return false;
    const Token& last = tokens_.back();
    return last.kind == TokenKind::Identifier || last.isOp(u')');
  }

  // "_" followed by blanks and a line end joins the next line to this one.
  bool continuationFollows() {
    qsizetype p = pos_ + 1;
    while (p < src_.size() && isBlank(src_[p])) ++p;
    if (p < src_.size() && src_[p] != u'\r' && src_[p] != u'\n') return false;
    if (p < src_.size() && src_[p] == u'\r') ++p;
    if (p < src_.size() && src_[p] == u'\n') ++p;
    pos_ = p;
    ++line_;
    spaceBefore_ = true;
    return true;
  }

  void readString() {
    QString value;
    ++pos_;
    for (;;) {
      if (pos_ >= src_.size() || src_[pos_] == u'\n' || src_[pos_] == u'\r') fail(1033);
      QChar c = src_[pos_++];
      if (c == u'"') {
        if (peek() == u'"') {
          value += u'"';
          ++pos_;
          continue;
        }
        break;
      }
      value += c;
    }
    push(TokenKind::String, value);
  }

  void readDate() {
    qsizetype end = pos_ + 1;
    while (end < src_.size() && src_[end] != u'#' && src_[end] != u'\n' && src_[end] != u'\r') ++end;
    if (end >= src_.size() || src_[end] != u'#') fail(1032);
    QString text = src_.mid(pos_ + 1, end - pos_ - 1);
    double days = 0;
    if (!parseDateLiteral(text, days)) fail(1032);
    pos_ = end + 1;
    push(TokenKind::Date, text).number = days;
  }

  void readNumber() {
    qsizetype start = pos_;
    bool isFloat = false;
    while (peek().isDigit()) ++pos_;
    if (peek() == u'.') {
      isFloat = true;
      ++pos_;
      while (peek().isDigit()) ++pos_;
    }
    if ((peek() == u'e' || peek() == u'E') &&
        (peek(1).isDigit() || ((peek(1) == u'+' || peek(1) == u'-') && peek(2).isDigit()))) {
      isFloat = true;
      pos_ += 2;
      while (peek().isDigit()) ++pos_;
    }
    QString text = src_.mid(start, pos_ - start);
    if (isIdentStart(peek())) fail(1002);
    double value = text.toDouble();
    if (!std::isfinite(value)) fail(1031);
    if (!isFloat && value <= 2147483647.0) {
      Token& t = push(TokenKind::Integer, text);
      t.number = value;
      t.isLong = value > 32767.0;
      if (peek() == u'&') {  // type suffix forcing 32 bits
        ++pos_;
        t.isLong = true;
      }
      return;
    }
    push(TokenKind::Double, text).number = value;
  }

  // &Hxx, &Oxx or &xx (octal): 16-bit when the digits fit, wrapped like the
  // original engine (&HFFFF is -1), 32-bit otherwise; a trailing '&' forces 32.
  void readRadixNumber() {
    qsizetype start = pos_;
    ++pos_;
    int radix = 8;
    if (peek() == u'H' || peek() == u'h') {
      radix = 16;
      ++pos_;
    } else if (peek() == u'O' || peek() == u'o') {
      ++pos_;
    }
    quint64 value = 0;
    int digits = 0;
    for (;;) {
      int d = -1;
      QChar c = peek();
      if (c >= u'0' && c <= u'9') d = c.unicode() - u'0';
      else if (radix == 16 && c >= u'a' && c <= u'f') d = c.unicode() - u'a' + 10;
      else if (radix == 16 && c >= u'A' && c <= u'F') d = c.unicode() - u'A' + 10;
      if (d < 0 || d >= radix) break;
      value = value * radix + d;
      if (value > 0xFFFFFFFFull) fail(1031);
      ++digits;
      ++pos_;
    }
    if (digits == 0) fail(1031);
    bool forceLong = false;
    if (peek() == u'&') {
      forceLong = true;
      ++pos_;
    }
    Token& t = push(TokenKind::Integer, src_.mid(start, pos_ - start));
    if (!forceLong && value <= 0xFFFF) {
      t.number = static_cast<qint16>(static_cast<quint16>(value));
    } else {
      t.number = static_cast<qint32>(static_cast<quint32>(value));
      t.isLong = true;
    }
  }

  void readIdentifier() {
    qsizetype start = pos_;
    while (pos_ < src_.size() && isIdentPart(src_[pos_])) ++pos_;
    QString word = src_.mid(start, pos_ - start);
    if (word.size() > 255) fail(1030);
    Keyword k = keywordOf(word);
    if (k == Keyword::None && word.compare(QLatin1String("rem"), Qt::CaseInsensitive) == 0 &&
        !(!tokens_.empty() && tokens_.back().isOp(u'.'))) {
      skipComment();
      return;
    }
    push(TokenKind::Identifier, word).keyword = k;
  }

  void readBracketIdentifier() {
    qsizetype end = pos_ + 1;
    while (end < src_.size() && src_[end] != u']' && src_[end] != u'\n' && src_[end] != u'\r') ++end;
    if (end >= src_.size() || src_[end] != u']') fail(1010);
    push(TokenKind::Identifier, src_.mid(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
  }

  void readOperator() {
    QChar c = src_[pos_];
    static const QString singles = QStringLiteral("+-*/\\^&=<>(),.");
    if (!singles.contains(c)) fail(1032);
    QString op(c);
    ++pos_;
    if (c == u'<' && (peek() == u'>' || peek() == u'=')) op += src_[pos_++];
    else if (c == u'>' && peek() == u'=') op += src_[pos_++];
    push(TokenKind::Operator, op);
  }

  const QString& src_;
  qsizetype pos_ = 0;
  int line_ = 1;
  bool spaceBefore_ = true;
  std::vector<Token> tokens_;
};

}  // namespace

std::vector<Token> tokenize(const QString& source) { return Lexer(source).run(); }

bool parseDateLiteral(const QString& text, double& days) {
  std::optional<double> serial = parseDateText(text);
  if (!serial) return false;
  days = *serial;
  return true;
}

}  // namespace tarvix::script
