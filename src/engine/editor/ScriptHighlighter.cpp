#include "engine/editor/ScriptHighlighter.h"

#include <QSet>

namespace tarvix::engine {

namespace {

const QSet<QString>& keywords() {
  static const QSet<QString> words = [] {
    QSet<QString> set;
    for (const char* word :
         {"and", "as", "byref", "byval", "call", "case", "class", "const", "default", "dim", "do",
          "each", "else", "elseif", "empty", "end", "eqv", "erase", "error", "exit", "explicit",
          "false", "for", "function", "get", "goto", "if", "imp", "in", "is", "let", "loop", "mod",
          "new", "next", "not", "nothing", "null", "on", "option", "or", "preserve", "private",
          "property", "public", "redim", "resume", "select", "set", "step", "stop", "sub", "then",
          "to", "true", "until", "wend", "while", "with", "xor"})
      set.insert(QString::fromLatin1(word));
    return set;
  }();
  return words;
}

bool isIdentifierChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
  keywordFormat_.setForeground(QColor(0, 0, 192));
  keywordFormat_.setFontWeight(QFont::Bold);
  stringFormat_.setForeground(QColor(163, 21, 21));
  numberFormat_.setForeground(QColor(9, 134, 88));
  commentFormat_.setForeground(QColor(0, 128, 0));
  commentFormat_.setFontItalic(true);
}

bool ScriptHighlighter::isKeyword(const QString& word) { return keywords().contains(word.toLower()); }

// One pass over the line: strings and date literals are skipped as a whole so
// that a quote or apostrophe inside them never starts a comment.
void ScriptHighlighter::highlightBlock(const QString& text) {
  const qsizetype length = text.size();
  qsizetype i = 0;
  while (i < length) {
    const QChar c = text[i];
    if (c == u'"') {
      qsizetype end = i + 1;
      while (end < length) {
        if (text[end] == u'"') {
          if (end + 1 < length && text[end + 1] == u'"') {
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        ++end;
      }
      setFormat(int(i), int(end - i), stringFormat_);
      i = end;
    } else if (c == u'\'') {
      setFormat(int(i), int(length - i), commentFormat_);
      return;
    } else if (c == u'#') {
      const qsizetype close = text.indexOf(u'#', i + 1);
      const qsizetype end = close < 0 ? length : close + 1;
      setFormat(int(i), int(end - i), numberFormat_);
      i = end;
    } else if (c.isDigit() || (c == u'&' && i + 1 < length && (text[i + 1] == u'H' || text[i + 1] == u'h'))) {
      qsizetype end = i + 1;
      while (end < length && (isIdentifierChar(text[end]) || text[end] == u'.')) ++end;
      setFormat(int(i), int(end - i), numberFormat_);
      i = end;
    } else if (c.isLetter() || c == u'_') {
      qsizetype end = i + 1;
      while (end < length && isIdentifierChar(text[end])) ++end;
      const QString word = text.mid(i, end - i);
      const bool afterDot = i > 0 && text[i - 1] == u'.';
      if (!afterDot && word.compare(u"rem", Qt::CaseInsensitive) == 0) {
        setFormat(int(i), int(length - i), commentFormat_);
        return;
      }
      if (!afterDot && isKeyword(word)) setFormat(int(i), int(end - i), keywordFormat_);
      i = end;
    } else {
      ++i;
    }
  }
}

}  // namespace tarvix::engine
