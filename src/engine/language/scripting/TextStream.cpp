#include "engine/language/scripting/TextStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "base/TextFile.h"

namespace tarvix::scripting {
namespace {

QString decodeFile(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
  if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
  return decodeText(bytes);
}

}  // namespace

const MemberTable<TextStream>& TextStream::table() {
  static const auto t = MemberTable<TextStream>(u"TextStream")
                            .method(u"ReadLine", &TextStream::readLine)
                            .method(u"ReadAll", &TextStream::readAll)
                            .method(u"Read", &TextStream::read, 1, 1)
                            .method(u"Skip", &TextStream::skip, 1, 1)
                            .method(u"SkipLine", &TextStream::skipLine)
                            .get(u"AtEndOfStream", &TextStream::atEndOfStream)
                            .get(u"AtEndOfLine", &TextStream::atEndOfLine)
                            .method(u"Write", &TextStream::write, 1, 1)
                            .method(u"WriteLine", &TextStream::writeLine, 0, 1)
                            .method(u"WriteBlankLines", &TextStream::writeBlankLines, 1, 1)
                            .get(u"Line", &TextStream::line)
                            .get(u"Column", &TextStream::column)
                            .method(u"Close", &TextStream::close);
  return t;
}

TextStream::TextStream(QString path, IoMode mode, TextFormat format)
    : path_(std::move(path)), mode_(mode), format_(format) {}

TextStream::~TextStream() {
  try {
    flush();
  } catch (const AutomationError&) {
  }
}

Ref<TextStream> TextStream::open(const QString& path, IoMode mode, bool create, TextFormat format) {
  const QFileInfo info(path);
  if (info.isDir()) raiseError(ErrorNumber::PermissionDenied);
  const bool exists = info.exists();
  if (!exists && !info.dir().exists()) raiseError(ErrorNumber::PathNotFound);
  if (!exists && !create) raiseError(ErrorNumber::FileNotFound);

  Ref<TextStream> stream(new TextStream(path, mode, format));
  if (mode == IoMode::Reading) {
    if (exists) {
      const std::optional<QByteArray> bytes = readFileBytes(path);
      if (!bytes) raiseError(ErrorNumber::PermissionDenied);
      stream->text_ = decodeFile(*bytes);
    }
    return stream;
  }
  if (!exists) {
    // The file exists from now on; its text is written on Close.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) raiseError(ErrorNumber::PermissionDenied);
  } else if (!info.isWritable()) {
    raiseError(ErrorNumber::PermissionDenied);
  } else if (mode == IoMode::Appending) {
    // Appending keeps the file's own encoding when it is UTF-16.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.read(2) == QByteArray("\xFF\xFE")) stream->format_ = TextFormat::Unicode;
  }
  return stream;
}

QByteArray TextStream::encoded(const QString& text, bool startOfFile) const {
  if (format_ == TextFormat::Unicode) {
    const QByteArray bytes = QStringEncoder(QStringEncoder::Utf16LE).encode(text);
    return startOfFile ? QByteArray("\xFF\xFE") + bytes : bytes;
  }
  return encodeText(text);
}

void TextStream::flush() {
  if (closed_ || mode_ == IoMode::Reading) return;
  if (mode_ == IoMode::Writing) {
    if (!writeFileAtomic(path_, encoded(text_, true))) raiseError(ErrorNumber::PermissionDenied);
    return;
  }
  if (text_.isEmpty()) return;
  QFile file(path_);
  if (!file.open(QIODevice::Append) || file.write(encoded(text_, file.size() == 0)) < 0)
    raiseError(ErrorNumber::PermissionDenied);
  text_.clear();
}

void TextStream::requireReading() const {
  if (closed_ || mode_ != IoMode::Reading) raiseError(ErrorNumber::BadFileMode);
}

void TextStream::requireWriting() const {
  if (closed_ || mode_ == IoMode::Reading) raiseError(ErrorNumber::BadFileMode);
}

// Line and Column follow the text read or written; CR LF counts as one end.
void TextStream::advanceOver(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
      ++line_;
      column_ = 1;
    } else if (text[i] != u'\r') {
      ++column_;
    }
  }
}

void TextStream::put(const QString& text) {
  requireWriting();
  text_ += text;
  advanceOver(text);
}

Variant TextStream::readLine(Call&) {
  requireReading();
  if (pos_ >= text_.size()) raiseError(ErrorNumber::InputPastEndOfFile);
  qsizetype end = pos_;
  while (end < text_.size() && text_[end] != u'\n' && text_[end] != u'\r') ++end;
  const QString result = text_.mid(pos_, end - pos_);
  qsizetype next = end;
  if (next < text_.size() && text_[next] == u'\r') ++next;
  if (next < text_.size() && text_[next] == u'\n' && (next == end || text_[end] == u'\r')) ++next;
  advanceOver(QStringView(text_).mid(pos_, next - pos_));
  pos_ = next;
  return Variant(result);
}

Variant TextStream::readAll(Call&) {
  requireReading();
  if (pos_ >= text_.size()) raiseError(ErrorNumber::InputPastEndOfFile);
  const QString result = text_.mid(pos_);
  advanceOver(result);
  pos_ = text_.size();
  return Variant(result);
}

Variant TextStream::read(Call& c) {
  requireReading();
  const std::int32_t n = c.arg(0).toLong();
  if (n < 0) raiseError(ErrorNumber::InvalidProcedureCall);
  if (pos_ >= text_.size() && n > 0) raiseError(ErrorNumber::InputPastEndOfFile);
  const QString result = text_.mid(pos_, n);
  advanceOver(result);
  pos_ += result.size();
  return Variant(result);
}

Variant TextStream::skip(Call& c) {
  read(c);
  return {};
}

Variant TextStream::skipLine(Call& c) {
  readLine(c);
  return {};
}

Variant TextStream::atEndOfStream(Call&) {
  requireReading();
  return Variant(pos_ >= text_.size());
}

Variant TextStream::atEndOfLine(Call&) {
  requireReading();
  return Variant(pos_ >= text_.size() || text_[pos_] == u'\r' || text_[pos_] == u'\n');
}

Variant TextStream::write(Call& c) {
  put(c.arg(0).toString());
  return {};
}

Variant TextStream::writeLine(Call& c) {
  put((c.has(0) ? c.arg(0).toString() : QString()) + QStringLiteral("\r\n"));
  return {};
}

Variant TextStream::writeBlankLines(Call& c) {
  const std::int32_t n = c.arg(0).toLong();
  if (n < 0) raiseError(ErrorNumber::InvalidProcedureCall);
  put(QStringLiteral("\r\n").repeated(n));
  return {};
}

Variant TextStream::line(Call&) { return Variant(line_); }
Variant TextStream::column(Call&) { return Variant(column_); }

Variant TextStream::close(Call&) {
  if (closed_) return {};
  flush();
  closed_ = true;
  text_.clear();
  return {};
}

}  // namespace tarvix::scripting
