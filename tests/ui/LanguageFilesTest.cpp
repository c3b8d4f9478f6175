#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include "ui/LangResLibrary.h"

namespace tarvix {
namespace {

constexpr int kLanguages[] = {1033, 1041};

// Every text number the program asks for: the mechanism's own, the window
// layouts' and the ones code fetches.
const std::pair<int, int> kUsedTexts[] = {
    {3, 3},         {10, 14},       {100, 132},     {134, 213},     {223, 256},     {258, 259},
    {262, 262},     {2000, 2082},   {3000, 3017},   {4000, 4004},   {6000, 6010},   {7000, 7009},
    {8000, 8009},   {9000, 9018},   {10000, 10000}, {11000, 11011}, {12000, 12020}, {13000, 13020},
    {14000, 14008}, {15000, 15006}, {20000, 20027}, {21000, 21034},
};

const LangResLibrary& programLibrary() {
  static const auto library = LangResLibrary::load(QStringLiteral(TARVIX_BIN_DIR "/LangRes.dll"));
  if (!library) ADD_FAILURE() << "the build did not produce a readable LangRes.dll";
  static const LangResLibrary empty = *LangResLibrary::fromBytes(QByteArray("TXLR\0\0\0\0", 8));
  return library ? *library : empty;
}

QSet<QString> placeholdersOf(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral("%\\d+%"));
  QSet<QString> found;
  for (const auto& match : placeholder.globalMatch(text)) found.insert(match.captured());
  return found;
}

TEST(LanguageFiles, EveryUsedTextExistsInEveryLanguageWithTheSamePlaceholders) {
  const LangResLibrary& library = programLibrary();
  for (const auto& [first, last] : kUsedTexts) {
    for (int number = first; number <= last; ++number) {
      const QString english = library.text(1033, number);
      EXPECT_FALSE(english.isEmpty()) << "text " << number << " in 1033";
      for (int language : kLanguages) {
        const QString text = library.text(language, number);
        EXPECT_FALSE(text.isEmpty()) << "text " << number << " in " << language;
        EXPECT_EQ(placeholdersOf(text), placeholdersOf(english)) << "text " << number << " in " << language;
      }
    }
  }
}

// The project file stores row flags as texts 212 and 213 and reads them back
// as "True"/"False" in any letter case, whatever the interface language.
TEST(LanguageFiles, TrueAndFalseWordsReadBackAsBooleansInEveryLanguage) {
  for (int language : kLanguages) {
    EXPECT_EQ(programLibrary().text(language, 212).compare(u"True"_qs, Qt::CaseInsensitive), 0) << language;
    EXPECT_EQ(programLibrary().text(language, 213).compare(u"False"_qs, Qt::CaseInsensitive), 0) << language;
  }
}

TEST(LanguageFiles, InterfaceFontCharacterSetIsANumber) {
  for (int language : kLanguages) {
    bool isNumber = false;
    programLibrary().text(language, 14).toInt(&isNumber);
    EXPECT_TRUE(isNumber) << language;
  }
}

}  // namespace
}  // namespace tarvix
