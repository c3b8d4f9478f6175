#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace tarvix {

class ProfileFile;

// Typed access to one sectioned key-value file (the settings file, project
// files). Reads of a missing file give defaults; each write replaces the file
// at once and returns false, leaving the old file intact, when the disk
// refuses it. Flush (also called on destruction) makes the writes durable.
class clsProfile {
 public:
  // Names the settings file: the program folder, the executable's name without
  // extension and ".ini".
  clsProfile();
  explicit clsProfile(const QString& fileName);
  ~clsProfile();
  clsProfile(const clsProfile&) = delete;
  clsProfile& operator=(const clsProfile&) = delete;

  const QString& FileName() const { return fileName_; }
  void setFileName(const QString& fileName);

  // The default when the section or key is missing; empty text when the key
  // exists with an empty value.
  QString GetString(const QString& section, const QString& key, const QString& defaultValue) const;
  // The leading decimal number of the value (0 when it has none), or the
  // default when the key is missing.
  int GetInt(const QString& section, const QString& key, int defaultValue) const;
  // Section names in file order; empty when the file is missing.
  QStringList GetSectNames() const;

  // Refuses (false) a section, key or value that holds a line break, and a
  // key that would not read back as the same key (empty, with "=", or starting
  // with "[" or ";").
  bool WriteString(const QString& section, const QString& key, const QString& value);
  // True also when there is no such section.
  bool DeleteSection(const QString& section);
  // Writes the file's cached contents to disk now.
  void Flush();

 private:
  QString fileName_;
  std::shared_ptr<ProfileFile> file_;
};

}  // namespace tarvix
