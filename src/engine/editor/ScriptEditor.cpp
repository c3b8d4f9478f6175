#include "engine/editor/ScriptEditor.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

#include "engine/editor/ScriptHighlighter.h"

namespace tarvix::engine {

namespace {

class LineNumberArea final : public QWidget {
 public:
  explicit LineNumberArea(ScriptEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->lineNumberAreaWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->paintLineNumbers(event); }

 private:
  ScriptEditor* editor_;
};

const QColor kExecutionLineColour(255, 238, 128);

}  // namespace

ScriptEditor::ScriptEditor(QWidget* parent)
    : QPlainTextEdit(parent), lineNumberArea_(new LineNumberArea(this)), highlighter_(new ScriptHighlighter(document())) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(u' ') * 4);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(lineNumberAreaWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, &ScriptEditor::updateLineNumberArea);
  setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
}

int ScriptEditor::lineNumberAreaWidth() const {
  int digits = 1;
  for (int count = qMax(1, blockCount()); count >= 10; count /= 10) ++digits;
  return 10 + fontMetrics().horizontalAdvance(u'9') * qMax(3, digits);
}

void ScriptEditor::setExecutionLine(int line) {
  executionLine_ = line;
  updateMarks();
  if (line > 0) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (block.isValid()) {
      QTextCursor cursor(block);
      setTextCursor(cursor);
      ensureCursorVisible();
    }
  }
  lineNumberArea_->update();
}

void ScriptEditor::updateMarks() {
  QList<QTextEdit::ExtraSelection> marks;
  if (executionLine_ > 0) {
    const QTextBlock block = document()->findBlockByNumber(executionLine_ - 1);
    if (block.isValid()) {
      QTextEdit::ExtraSelection mark;
      mark.format.setBackground(kExecutionLineColour);
      mark.format.setProperty(QTextFormat::FullWidthSelection, true);
      mark.cursor = QTextCursor(block);
      marks.append(mark);
    }
  }
  setExtraSelections(marks);
}

void ScriptEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect area = contentsRect();
  lineNumberArea_->setGeometry(QRect(area.left(), area.top(), lineNumberAreaWidth(), area.height()));
}

void ScriptEditor::updateLineNumberArea(const QRect& rect, int dy) {
  if (dy != 0)
    lineNumberArea_->scroll(0, dy);
  else
    lineNumberArea_->update(0, rect.y(), lineNumberArea_->width(), rect.height());
}

void ScriptEditor::paintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumberArea_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  const int lineHeight = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible() && top + height >= event->rect().top()) {
      const int line = block.blockNumber() + 1;
      if (line == executionLine_) {
        painter.fillRect(0, top, lineNumberArea_->width(), height, kExecutionLineColour.darker(115));
        painter.setPen(Qt::black);
      } else {
        painter.setPen(palette().color(QPalette::PlaceholderText));
      }
      painter.drawText(0, top, lineNumberArea_->width() - 5, lineHeight, Qt::AlignRight, QString::number(line));
    }
    block = block.next();
    top += height;
  }
}

}  // namespace tarvix::engine
