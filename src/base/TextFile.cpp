#include "base/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QStringDecoder>

namespace tarvix {
namespace {

int legacyLanguage = 1033;

// A replaced file keeps its permissions; a new one gets the usual ones.
mode_t permissionsFor(const QString& target) {
  struct stat info {};
  if (::stat(QFile::encodeName(target).constData(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

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

bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* error, Durability durability) {
  const QFileInfo info(path);
  // Replace what a symbolic link points to, not the link itself.
  const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
  const QFileInfo targetInfo(target);
  QTemporaryFile temp(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() +
                      QStringLiteral(".XXXXXX"));
  auto fail = [&](const QString& reason) {
    if (error) *error = reason;
    return false;
  };
  if (!temp.open()) return fail(temp.errorString());
  // flush() reports a full disk or a size limit that a buffered write hides.
  if (temp.write(bytes) != bytes.size() || !temp.flush()) return fail(temp.errorString());
  if (durability == Durability::SyncNow && ::fsync(temp.handle()) != 0) return fail(qt_error_string(errno));
  if (::fchmod(temp.handle(), permissionsFor(target)) != 0) return fail(qt_error_string(errno));
  temp.close();
  if (::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(target).constData()) != 0) {
    return fail(qt_error_string(errno));
  }
  temp.setAutoRemove(false);
  return true;
}

bool syncFileToDisk(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

bool writeTextFileAtomic(const QString& path, const QString& text) {
  return writeFileAtomic(path, encodeText(text));
}

}  // namespace tarvix
