#pragma once

#include <QPlainTextEdit>

namespace tarvix::engine {

class ScriptHighlighter;

// The text editor of a script window: a line-number gutter, syntax colouring,
// and a mark on the line the script is stopped at while paused or stepping.
class ScriptEditor final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ScriptEditor(QWidget* parent = nullptr);

  // 1-based line to mark as the execution point; 0 removes the mark.
  void setExecutionLine(int line);
  int executionLine() const { return executionLine_; }

  int lineNumberAreaWidth() const;
  void paintLineNumbers(QPaintEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void updateLineNumberArea(const QRect& rect, int dy);
  void updateMarks();

  QWidget* lineNumberArea_;
  ScriptHighlighter* highlighter_;
  int executionLine_ = 0;
};

}  // namespace tarvix::engine
