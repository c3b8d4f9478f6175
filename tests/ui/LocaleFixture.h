#pragma once

#include <QTemporaryDir>

#include "ui/LangResWriter.h"

namespace tarvix::test {

// Writes a small LangRes.dll into a temporary folder; restores the program's
// own library (language 1033) when it goes out of scope.
class LocaleFixture {
 public:
  explicit LocaleFixture(const LangResTexts& texts);
  ~LocaleFixture();
  QString path() const { return path_; }
  // InitLocale on this library.
  void init(int language) const;

 private:
  QTemporaryDir dir_;
  QString path_;
};

}  // namespace tarvix::test
