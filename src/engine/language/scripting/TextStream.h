#pragma once

#include "dispatch/DispatchClass.h"

namespace tarvix::scripting {

enum class IoMode { Reading = 1, Writing = 2, Appending = 8 };
// Text format of OpenTextFile: 0 (ASCII) and -2 (system default) are UTF-8
// here; -1 is UTF-16 (little endian, with BOM).
enum class TextFormat { Default, Unicode };

// A text file opened by OpenTextFile / CreateTextFile.
//
// Reading loads the file at once (UTF-8, UTF-16 with BOM, or the legacy code
// page for bytes that are not UTF-8). Writing collects the text and replaces
// the file atomically on Close (or when the stream goes away), so a failing
// script never leaves half a file; appending writes through to the file.
// Lines end with CR LF when written; reading accepts CR LF, LF or CR.
class TextStream final : public DispatchClass<TextStream> {
 public:
  static const MemberTable<TextStream>& table();

  // Error 53 (reading a missing file), 76 (missing folder), 70 (no access).
  static Ref<TextStream> open(const QString& path, IoMode mode, bool create, TextFormat format);
  ~TextStream() override;

 private:
  TextStream(QString path, IoMode mode, TextFormat format);

  void requireReading() const;
  void requireWriting() const;
  void advanceOver(QStringView text);
  void put(const QString& text);
  void flush();
  QByteArray encoded(const QString& text, bool startOfFile) const;

  Variant readLine(Call& c);
  Variant readAll(Call& c);
  Variant read(Call& c);
  Variant skip(Call& c);
  Variant skipLine(Call& c);
  Variant atEndOfStream(Call& c);
  Variant atEndOfLine(Call& c);
  Variant write(Call& c);
  Variant writeLine(Call& c);
  Variant writeBlankLines(Call& c);
  Variant line(Call& c);
  Variant column(Call& c);
  Variant close(Call& c);

  QString path_;
  IoMode mode_;
  TextFormat format_;
  bool closed_ = false;
  QString text_;         // reading: the whole file; writing: text not yet flushed
  qsizetype pos_ = 0;    // reading position in text_
  std::int32_t line_ = 1;
  std::int32_t column_ = 1;
};

}  // namespace tarvix::scripting
