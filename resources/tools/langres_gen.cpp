// Builds LangRes.dll from the per-language text files.
//   langres_gen OUTPUT LANGUAGE_FILE...
// Each file is named after its language id (1033.txt, 1041.txt); its format is
// described in ui/LanguageTextFile.h. Any error stops the build with the file
// name and line, and leaves an existing OUTPUT untouched.

#include <QFileInfo>
#include <QStringDecoder>
#include <QTextStream>

#include "base/TextFile.h"
#include "ui/LangResWriter.h"
#include "ui/LanguageTextFile.h"

namespace {

QTextStream& err() {
  static QTextStream stream(stderr);
  return stream;
}

bool readLanguageFile(const QString& path, tarvix::LangResTexts& texts) {
  bool isNumber = false;
  const int language = QFileInfo(path).completeBaseName().toInt(&isNumber);
  if (!isNumber || language <= 0 || language > 0xFFFF) {
    err() << path << ": the file name must be a language id such as 1033.txt\n";
    return false;
  }
  const auto bytes = tarvix::readFileBytes(path);
  if (!bytes) {
    err() << path << ": cannot read the file\n";
    return false;
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString content = utf8.decode(*bytes);
  if (utf8.hasError()) {
    err() << path << ": the file is not valid UTF-8\n";
    return false;
  }
  const auto parsed = tarvix::parseLanguageTexts(content);
  for (const QString& error : parsed.errors) err() << path << ": " << error << "\n";
  texts[language] = parsed.texts;
  return parsed.errors.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    err() << "usage: langres_gen OUTPUT LANGUAGE_FILE...\n";
    return 2;
  }
  tarvix::LangResTexts texts;
  bool ok = true;
  for (int i = 2; i < argc; ++i) ok = readLanguageFile(QString::fromLocal8Bit(argv[i]), texts) && ok;
  if (!ok) return 1;
  QString error;
  const auto image = tarvix::buildLangRes(texts, &error);
  if (!image) {
    err() << error << "\n";
    return 1;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  if (!tarvix::writeFileAtomic(output, *image)) {
    err() << output << ": cannot write the file\n";
    return 1;
  }
  return 0;
}
