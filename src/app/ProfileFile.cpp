#include "app/ProfileFile.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "base/TextFile.h"

namespace tarvix {
namespace {

// Files that no clsProfile names any more are dropped once the registry
// grows past this many entries.
constexpr qsizetype kRegistryTrimSize = 32;

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)), encodedPath_(QFile::encodeName(path_)) {}

ProfileFile::Signature ProfileFile::signatureOf(const QByteArray& encodedPath) {
  struct stat info {};
  if (::stat(encodedPath.constData(), &info) != 0) return {};
  return {true,
          static_cast<quint64>(info.st_dev),
          static_cast<quint64>(info.st_ino),
          static_cast<qint64>(info.st_size),
          static_cast<qint64>(info.st_mtim.tv_sec),
          static_cast<qint64>(info.st_mtim.tv_nsec)};
}

void ProfileFile::refresh() {
  // The signature is taken before reading: a change made while reading shows
  // as a different signature next time and the file is read again.
  const Signature current = signatureOf(encodedPath_);
  if (loaded_ && current == signature_) return;
  signature_ = current;
  loaded_ = true;
  readable_ = true;
  document_ = {};
  if (!current.exists) return;
  const auto text = readTextFile(path_);
  if (!text) {
    readable_ = false;
    return;
  }
  document_ = ProfileDocument::parse(*text);
}

const ProfileDocument& ProfileFile::document() {
  refresh();
  return document_;
}

bool ProfileFile::update(const std::function<bool(ProfileDocument&)>& change) {
  refresh();
  // Writing over a file that could not be read would lose its contents.
  if (!readable_) return false;
  if (!change(document_)) return false;
  // Each write replaces the file at once but leaves the trip to the disk to
  // Flush: a project save writes thousands of keys, one fsync each would take
  // minutes.
  if (!writeFileAtomic(path_, encodeText(document_.toText()), nullptr, Durability::Deferred)) {
    loaded_ = false;  // the disk still holds the old contents: read them again
    return false;
  }
  signature_ = signatureOf(encodedPath_);
  return true;
}

bool ProfileFile::flush() { return !QFileInfo::exists(path_) || syncFileToDisk(path_); }

std::shared_ptr<ProfileFile> ProfileFile::forPath(const QString& path) {
  static QHash<QString, std::shared_ptr<ProfileFile>> registry;
  const QString key = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  auto& entry = registry[key];
  if (!entry) entry = std::make_shared<ProfileFile>(key);
  auto result = entry;
  if (registry.size() > kRegistryTrimSize) {
    registry.removeIf([](const auto& item) { return item.value().use_count() == 1; });
  }
  return result;
}

}  // namespace tarvix
