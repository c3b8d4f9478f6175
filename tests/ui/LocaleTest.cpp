#include <gtest/gtest.h>

#include <QSysInfo>

#include "LocaleFixture.h"
#include "base/TextFile.h"
#include "ui/modLocale.h"

namespace tarvix {
namespace {

using test::LocaleFixture;

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
 public:
  LocaleEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
    set("LC_ALL", lcAll);
    set("LC_MESSAGES", lcMessages);
    set("LANG", lang);
  }
  ~LocaleEnvironment() {
    for (const auto& [name, value] : saved_) value.isNull() ? qunsetenv(name) : qputenv(name, value);
  }

 private:
  void set(const char* name, const char* value) {
    saved_.push_back({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    value ? qputenv(name, value) : qunsetenv(name);
  }
  std::vector<std::pair<const char*, QByteArray>> saved_;
};

TEST(Locale, SystemDefaultLanguageFollowsTheLocaleVariablesInPrecedenceOrder) {
  const struct {
    const char *lcAll, *lcMessages, *lang;
    int expected;
  } cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", 1041},
      {nullptr, nullptr, "ja", 1041},
      {nullptr, nullptr, "en_US.UTF-8", 1033},
      {nullptr, nullptr, "C", 1033},
      {nullptr, nullptr, "POSIX", 1033},
      {nullptr, nullptr, "xx_YY", 1033},
      {nullptr, nullptr, nullptr, 1033},
      {"", "ja_JP.eucJP", "en_US.UTF-8", 1041},
      {"en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", 1033},
      {"ja_JP.UTF-8", "C", "C", 1041},
  };
  for (const auto& c : cases) {
    LocaleEnvironment environment(c.lcAll, c.lcMessages, c.lang);
    EXPECT_EQ(SystemDefaultLanguage(), c.expected)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
  }
}

TEST(Locale, LanguageIsTheFirstOfRequestedSystemDefaultAndEnglishThatHasTheProbeText) {
  const LocaleFixture both({{1033, {{3, u"English"_qs}, {50, u"en"_qs}}}, {1041, {{3, u"J"_qs}, {50, u"ja"_qs}}}});
  const LocaleFixture englishOnly({{1033, {{3, u"English"_qs}, {50, u"en"_qs}}}, {1041, {{50, u"ja"_qs}}}});
  const LocaleFixture japaneseOnly({{1041, {{3, u"J"_qs}, {50, u"ja"_qs}}}});
  const LocaleFixture none({{1033, {{50, u"en"_qs}}}});

  const struct {
    const char* what;
    const LocaleFixture& library;
    int request;
    const char* lang;
    int language;
    QString text50;
  } cases[] = {
      {"system default Japanese", both, 0, "ja_JP.UTF-8", 1041, u"ja"_qs},
      {"system default English", both, 0, "en_US.UTF-8", 1033, u"en"_qs},
      {"request beats system default", both, 1033, "ja_JP.UTF-8", 1033, u"en"_qs},
      {"system default without tables falls to 1033", englishOnly, 0, "ja_JP.UTF-8", 1033, u"en"_qs},
      {"requested language without tables falls to system default", japaneseOnly, 1031, "ja_JP.UTF-8", 1041, u"ja"_qs},
      {"requested and system default without tables", englishOnly, 1041, "ja_JP.UTF-8", 1033, u"en"_qs},
      {"no language has the probe", none, 0, "ja_JP.UTF-8", 1033, u"en"_qs},
      {"requested, none has the probe", none, 1041, "C", 1033, u"en"_qs},
  };
  for (const auto& c : cases) {
    LocaleEnvironment environment(nullptr, nullptr, c.lang);
    c.library.init(c.request);
    EXPECT_EQ(CurrentLanguage(), c.language) << c.what;
    EXPECT_EQ(LStr(50), c.text50) << c.what;
    EXPECT_EQ(legacyCodePageLanguage(), c.language) << c.what;
  }
}

TEST(Locale, MissingOrDamagedLibraryGivesEmptyTextsInEnglish) {
  const LocaleFixture fixture({{1033, {{3, u"English"_qs}}}});
  for (const QString& path : {fixture.path() + u".missing"_qs, QStringLiteral(TARVIX_TEST_DATA "/not-a-library.dll")}) {
    InitLocale(1041, path);
    EXPECT_EQ(CurrentLanguage(), 1033);
    EXPECT_EQ(LStr(3), QString());
    EXPECT_EQ(ResolveCaption(u"Open Project#3002"_qs), QString());
  }
}

TEST(Locale, LStrTakesNumbersAndReturnsLiteralTextsUnchanged) {
  const LocaleFixture fixture({{1033, {{3, u"English"_qs}, {3002, u"Open Project"_qs}}}});
  fixture.init(1033);
  EXPECT_EQ(LStr(3002), u"Open Project"_qs);
  EXPECT_EQ(LStr(QVariant(3002)), u"Open Project"_qs);
  EXPECT_EQ(LStr(QVariant(3002.0)), u"Open Project"_qs);
  EXPECT_EQ(LStr("Main"), u"Main"_qs);
  EXPECT_EQ(LStr(u"3002"_qs), u"3002"_qs);
  EXPECT_EQ(LStr(QVariant(u"Main"_qs)), u"Main"_qs);
  EXPECT_EQ(LStr(0), QString());
  EXPECT_EQ(LStr(3003), QString());
  EXPECT_EQ(LStr(-1), QString());
  EXPECT_EQ(LStr(QVariant()), QString());
  EXPECT_EQ(LStr(QVariant(QDate(2026, 1, 1))), QString());
}

TEST(Locale, LFormatFillsNumberedPlaceholders) {
  const LocaleFixture fixture({{1033, {{3, u"English"_qs}, {124, u"%1% failed: %2%"_qs}}}});
  fixture.init(1033);
  const struct {
    const char* what;
    QVariant format;
    QVariantList args;
    QString expected;
  } cases[] = {
      {"two placeholders, two arguments", 124, {u"Open"_qs, 53}, u"Open failed: 53"_qs},
      {"second placeholder without argument stays", 124, {u"Open"_qs}, u"Open failed: %2%"_qs},
      {"surplus arguments ignored", u"%1%"_qs, {1, 2, 3}, u"1"_qs},
      {"placeholder twice", u"%1% and %1%"_qs, {u"x"_qs}, u"x and x"_qs},
      {"argument holding its own placeholder is inserted once", u"<%1%>"_qs, {u"%1%%1%"_qs}, u"<%1%%1%>"_qs},
      {"earlier argument's placeholder is filled by the later one", u"%1%"_qs, {u"a%2%"_qs, u"b"_qs}, u"ab"_qs},
      {"ten and more", u"%10%-%1%"_qs, {1, 2, 3, 4, 5, 6, 7, 8, 9, u"ten"_qs}, u"ten-1"_qs},
      {"printable kinds", u"%1% %2% %3% %4%"_qs, {true, false, 2.5, QVariant()}, u"True False 2.5 "_qs},
      {"no placeholders", u"plain"_qs, {u"x"_qs}, u"plain"_qs},
  };
  for (const auto& c : cases) EXPECT_EQ(LFormat(c.format, c.args), c.expected) << c.what;
  EXPECT_EQ(LFormat(124, u"Save"_qs, 7), u"Save failed: 7"_qs);
  EXPECT_EQ(LFormat(u"%1%/%2%/%3%"_qs, "text", qsizetype(3), 1.5), u"text/3/1.5"_qs);
}

TEST(Locale, ResolveCaptionUsesTheNumberAfterTheLastHash) {
  const LocaleFixture fixture({{1033, {{3, u"English"_qs}, {3002, u"Open Project"_qs}, {9011, u"Vars value"_qs}}}});
  fixture.init(1033);
  const struct {
    QString caption, expected;
  } cases[] = {
      {u"Open Project#3002"_qs, u"Open Project"_qs},
      {u"Whatever#3002"_qs, u"Open Project"_qs},
      {u"Vars(           ).value <> 0 #9011"_qs, u"Vars value"_qs},
      {u"Item#12#3002"_qs, u"Open Project"_qs},
      {u"Open#  3002 "_qs, u"Open Project"_qs},
      {u"Missing#3003"_qs, QString()},
      {u"Open Project"_qs, u"Open Project"_qs},
      {u"Ends with#"_qs, u"Ends with#"_qs},
      {u"C#"_qs, u"C#"_qs},
      {u"Letters#30a2"_qs, u"Letters#30a2"_qs},
      {u"#3002 then text"_qs, u"#3002 then text"_qs},
      {u"Too large#99999999999"_qs, u"Too large#99999999999"_qs},
      {QString(), QString()},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveCaption(c.caption), c.expected) << c.caption.toStdString();
}

TEST(Locale, OsMajorVersionIsTheKernelMajor) {
  EXPECT_EQ(OsMajorVersion(), QSysInfo::kernelVersion().section(u'.', 0, 0).toInt());
}

}  // namespace
}  // namespace tarvix
