#pragma once

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace tarvix::engine {

// Colours the script language: keywords, string literals, numbers, date
// literals and comments (' and Rem). Keywords match without letter case, as
// the language reads them.
class ScriptHighlighter final : public QSyntaxHighlighter {
 public:
  explicit ScriptHighlighter(QTextDocument* document);

  static bool isKeyword(const QString& word);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QTextCharFormat keywordFormat_;
  QTextCharFormat stringFormat_;
  QTextCharFormat numberFormat_;
  QTextCharFormat commentFormat_;
};

}  // namespace tarvix::engine
