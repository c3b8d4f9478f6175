#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/TextFile.h"

namespace tarvix {
namespace {

struct LegacyLanguageGuard {
  int saved = legacyCodePageLanguage();
  ~LegacyLanguageGuard() { setLegacyCodePageLanguage(saved); }
};

TEST(TextFile, DecodesUtf8WithOrWithoutBomAndFallsBackToTheLegacyCodePage) {
  LegacyLanguageGuard guard;
  EXPECT_EQ(decodeText("caf\xC3\xA9"), QStringLiteral("caf\u00E9"));
  EXPECT_EQ(decodeText("\xEF\xBB\xBF" "abc"), QStringLiteral("abc"));

  setLegacyCodePageLanguage(1033);
  EXPECT_EQ(decodeText("caf\xE9"), QStringLiteral("caf\u00E9"));
  setLegacyCodePageLanguage(1041);
  EXPECT_EQ(decodeText("\x83\x65\x83\x58\x83\x67"), QStringLiteral("\u30C6\u30B9\u30C8"));
}

TEST(TextFile, AtomicWriteReplacesTheFileAndAFailedWriteKeepsTheOldOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.txt");
  ASSERT_TRUE(writeTextFileAtomic(path, QStringLiteral("one")));
  ASSERT_TRUE(writeTextFileAtomic(path, QStringLiteral("two")));
  EXPECT_EQ(readTextFile(path).value(), QStringLiteral("two"));

  EXPECT_FALSE(writeTextFileAtomic(dir.filePath("missing/folder/b.txt"), QStringLiteral("x")));
  EXPECT_FALSE(readTextFile(dir.filePath("missing.txt")).has_value());
}

}  // namespace
}  // namespace tarvix
