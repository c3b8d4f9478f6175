#include "datasheet/SheetFileFormat.h"

namespace tarvix {
namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kComma = u',';

// Reads the fields of a file text left to right in one pass.
class SheetFileParser {
 public:
  explicit SheetFileParser(QStringView text) : text_(text) {}

  QList<QStringList> parse() {
    QList<QStringList> rows;
    while (pos_ < text_.size()) {
      QStringList row{readField()};
      while (pos_ < text_.size() && text_[pos_] == kComma) {
        ++pos_;
        row.append(readField());
      }
      pos_ += lineEndLength(pos_);
      rows.append(std::move(row));
    }
    return rows;
  }

 private:
  // 0 when pos is not at a line end, else the length of the CR LF or LF.
  qsizetype lineEndLength(qsizetype pos) const {
    if (pos >= text_.size()) return 0;
    if (text_[pos] == u'\n') return 1;
    if (text_[pos] == u'\r' && pos + 1 < text_.size() && text_[pos + 1] == u'\n') return 2;
    return 0;
  }

  bool atFieldEnd(qsizetype pos) const {
    return pos >= text_.size() || text_[pos] == kComma || lineEndLength(pos) > 0;
  }

  QString readField() {
    if (pos_ < text_.size() && text_[pos_] == kQuote) {
      const qsizetype closing = closingQuoteOf(pos_);
      if (closing >= 0 && atFieldEnd(closing + 1)) {
        QString field = text_.sliced(pos_ + 1, closing - pos_ - 1).toString();
        field.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        pos_ = closing + 1;
        return field;
      }
    }
    const qsizetype start = pos_;
    while (!atFieldEnd(pos_)) ++pos_;
    return text_.sliced(start, pos_ - start).toString();
  }

  qsizetype quoteRunEnd(qsizetype pos) const {
    while (pos < text_.size() && text_[pos] == kQuote) ++pos;
    return pos;
  }

  // The quote that closes a quoted field opened at `open`, or -1. Inside the
  // field quotes come in pairs, so the closing one is the last quote of the
  // first run of quotes that leaves one over.
  qsizetype closingQuoteOf(qsizetype open) {
    const qsizetype firstRunEnd = quoteRunEnd(open);
    if ((firstRunEnd - open) % 2 == 0) return firstRunEnd - 1;
    return lastQuoteOfFirstOddRunFrom(firstRunEnd);
  }

  // Fields are read left to right, so these searches only move forward; the
  // answer found for one start stays right for any later start up to it,
  // which keeps a file full of unmatched quotes linear.
  qsizetype lastQuoteOfFirstOddRunFrom(qsizetype from) {
    if (from <= oddRunStart_ && oddRunSearchFrom_ <= from) return oddRunLastQuote_;
    qsizetype pos = from;
    oddRunSearchFrom_ = from;
    oddRunStart_ = text_.size();
    oddRunLastQuote_ = -1;
    while (pos < text_.size()) {
      const qsizetype runStart = text_.indexOf(kQuote, pos);
      if (runStart < 0) break;
      const qsizetype runEnd = quoteRunEnd(runStart);
      if ((runEnd - runStart) % 2 == 1) {
        oddRunStart_ = runStart;
        oddRunLastQuote_ = runEnd - 1;
        break;
      }
      pos = runEnd;
    }
    return oddRunLastQuote_;
  }

  QStringView text_;
  qsizetype pos_ = 0;
  qsizetype oddRunSearchFrom_ = 1;
  qsizetype oddRunStart_ = -1;
  qsizetype oddRunLastQuote_ = -1;
};

bool needsQuotes(const QString& field) {
  if (field.startsWith(kQuote)) return true;
  for (QChar ch : field) {
    if (ch == kComma || ch == u'\r' || ch == u'\n') return true;
  }
  return false;
}

void appendField(QString& out, const QString& field) {
  if (!needsQuotes(field)) {
    out += field;
    return;
  }
  out += kQuote;
  for (QChar ch : field) {
    if (ch == kQuote) out += kQuote;
    out += ch;
  }
  out += kQuote;
}

}  // namespace

QList<QStringList> parseSheetFile(QStringView text) { return SheetFileParser(text).parse(); }

QString formatSheetFile(const QList<QString>& cells, int columnCount) {
  QString out;
  qsizetype length = 0;
  for (const QString& cell : cells) length += cell.size() + 1;
  out.reserve(length + cells.size() / qMax(columnCount, 1) + 16);
  for (qsizetype i = 0; i < cells.size(); ++i) {
    appendField(out, cells[i]);
    out += (i + 1) % columnCount == 0 ? QStringLiteral("\r\n") : QStringLiteral(",");
  }
  return out;
}

}  // namespace tarvix
