#include "app/clsProfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <limits>

#include "app/ProfileFile.h"
#include "app/ProgramFolder.h"

namespace tarvix {
namespace {

// Optional sign and decimal digits at the start; saturates instead of
// overflowing.
int leadingNumber(QStringView text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  qint64 magnitude = 0;
  constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[i].unicode() - u'0'));
  }
  const qint64 signedValue = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<qint64>(signedValue, std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()));
}

QString defaultFileName() {
  return ProgramFolder() + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
         QStringLiteral(".ini");
}

}  // namespace

clsProfile::clsProfile() : clsProfile(defaultFileName()) {}

clsProfile::clsProfile(const QString& fileName) { setFileName(fileName); }

clsProfile::~clsProfile() { Flush(); }

void clsProfile::setFileName(const QString& fileName) {
  fileName_ = fileName;
  file_ = ProfileFile::forPath(fileName);
}

QString clsProfile::GetString(const QString& section, const QString& key,
                              const QString& defaultValue) const {
  return file_->document().value(section, key).value_or(defaultValue);
}

int clsProfile::GetInt(const QString& section, const QString& key, int defaultValue) const {
  const auto value = file_->document().value(section, key);
  return value ? leadingNumber(*value) : defaultValue;
}

QStringList clsProfile::GetSectNames() const { return file_->document().sectionNames(); }

bool clsProfile::WriteString(const QString& section, const QString& key, const QString& value) {
  return file_->update([&](ProfileDocument& document) { return document.setValue(section, key, value); });
}

bool clsProfile::DeleteSection(const QString& section) {
  if (!file_->document().hasSection(section)) return true;
  return file_->update([&](ProfileDocument& document) { return document.removeSection(section); });
}

void clsProfile::Flush() { file_->flush(); }

}  // namespace tarvix
