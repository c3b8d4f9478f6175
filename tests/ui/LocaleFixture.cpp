#include "LocaleFixture.h"

#include <gtest/gtest.h>

#include "base/TextFile.h"
#include "ui/modLocale.h"

namespace tarvix::test {

LocaleFixture::LocaleFixture(const LangResTexts& texts) : path_(dir_.filePath(QStringLiteral("LangRes.dll"))) {
  const auto image = buildLangRes(texts);
  EXPECT_TRUE(image && writeFileAtomic(path_, *image));
}

LocaleFixture::~LocaleFixture() { InitLocale(1033, QStringLiteral(TARVIX_BIN_DIR "/LangRes.dll")); }

void LocaleFixture::init(int language) const { InitLocale(language, path_); }

}  // namespace tarvix::test
