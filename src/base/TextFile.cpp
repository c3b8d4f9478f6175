#include "base/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace tarvix {
namespace {

int legacyLanguage = 1033;

const char* legacyCodecName() { return legacyLanguage == 1041 ? "Shift_JIS" : "windows-1252"; }

}  // namespace

void setLegacyCodePageLanguage(int languageId) { legacyLanguage = languageId; }
int legacyCodePageLanguage() { return legacyLanguage; }

QString decodeText(const QByteArray& bytes) {
  QByteArrayView view(bytes);
  static const QByteArray bom("\xEF\xBB\xBF");
  if (view.startsWith(bom)) view = view.sliced(3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(view);
  if (!utf8.hasError()) return text;
  QStringDecoder legacy(legacyCodecName());
  if (!legacy.isValid()) return QString::fromLatin1(view);
  return legacy.decode(view);
}

QByteArray encodeText(const QString& text) { return text.toUtf8(); }

std::optional<QByteArray> readFileBytes(const QString& path, QString* error) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (file.error() == QFileDevice::NoError) return bytes;
  if (error) *error = file.errorString();
  return std::nullopt;
}

std::optional<QString> readTextFile(const QString& path) {
  auto bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return decodeText(*bytes);
}

bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile file(path);
  // flush() reports a full disk or a size limit; commit() alone would not.
  bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
  if (written) {
    written = file.commit();
  } else {
    file.cancelWriting();
  }
  if (!written && error) *error = file.errorString();
  return written;
}

bool writeTextFileAtomic(const QString& path, const QString& text) {
  return writeFileAtomic(path, encodeText(text));
}

}  // namespace tarvix
