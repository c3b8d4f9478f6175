#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/ProfileDocument.h"

namespace tarvix {

// The parsed contents of one profile file, shared by every clsProfile that
// names the file. Each access checks the file's identity, size and
// modification time, and parses it again only when one of them changed, so a
// loader that reads thousands of keys parses the file once. Everything runs on
// the one UI thread.
class ProfileFile {
 public:
  explicit ProfileFile(QString path);

  // The file as it is on disk now (empty when it is missing or unreadable).
  const ProfileDocument& document();

  // Applies the change to the current contents and replaces the file
  // atomically. False when the change is refused (change returns false), when
  // an existing file cannot be read, or when the disk refuses the write; the
  // file on disk then stays as it was.
  bool update(const std::function<bool(ProfileDocument&)>& change);

  // Writes the file's cached contents to disk now.
  bool flush();

  // The shared instance for a path; paths are compared after making them
  // absolute and clean.
  static std::shared_ptr<ProfileFile> forPath(const QString& path);

 private:
  struct Signature {
    bool exists = false;
    quint64 device = 0, inode = 0;
    qint64 size = 0, modifiedSeconds = 0, modifiedNanoseconds = 0;
    bool operator==(const Signature&) const = default;
  };
  static Signature signatureOf(const QByteArray& encodedPath);
  void refresh();

  QString path_;
  QByteArray encodedPath_;  // for stat(), encoded once
  ProfileDocument document_;
  Signature signature_;
  bool loaded_ = false;
  bool readable_ = true;
};

}  // namespace tarvix
