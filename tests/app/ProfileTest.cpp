#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <climits>

#include "app/clsProfile.h"
#include "base/TextFile.h"

namespace tarvix {
namespace {

QByteArray fileBytes(const QString& path) { return readFileBytes(path).value_or("<missing>"); }

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

class ProfileTest : public ::testing::Test {
 protected:
  QString path(const QString& name = QStringLiteral("p.ini")) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

// One file that holds every shape a hand-edited or Windows-made file may have.
constexpr const char kSample[] =
    "; leading comment\n"
    "stray=before any section\n"
    "[General]\n"
    "Name =  Alpha  \n"
    "Quoted = \"  padded  \"\n"
    "Single='x'\n"
    "Mismatched=\"x'\n"
    "Empty=\n"
    "Equals=a=b\n"
    "Dup=first\n"
    "dup=second\n"
    "; hidden=comment\n"
    "Number= 42abc\n"
    "Negative=-17\n"
    "Plus=+5\n"
    "Text=abc\n"
    "Huge=99999999999\n"
    "NegHuge=-99999999999\n"
    "[general]\n"
    "Name=shadowed\n"
    "  [ Other ]  \n"
    "Key=v\r\n";

TEST_F(ProfileTest, ReadsValuesByTheFileRules) {
  writeBytes(path(), kSample);
  const clsProfile profile(path());
  const QString unknown = QStringLiteral("Unkown");
  struct Case {
    const char* section;
    const char* key;
    QString expected;
  };
  const Case cases[] = {
      {"General", "Name", "Alpha"},
      {"GENERAL", "name", "Alpha"},          // no letter case; first section wins
      {" General ", " Name ", "Alpha"},      // names are trimmed
      {"General", "Quoted", "  padded  "},   // one pair of quotes, inner blanks kept
      {"General", "Single", "x"},
      {"General", "Mismatched", "\"x'"},
      {"General", "Empty", ""},              // empty value, not the default
      {"General", "Equals", "a=b"},          // value runs from the first "="
      {"General", "Dup", "first"},           // first key wins
      {"General", "; hidden", unknown},      // comments are not entries
      {"General", "Missing", unknown},
      {"Missing", "Name", unknown},
      {"", "stray", unknown},                // lines before any section are not entries
      {"Other", "Key", "v"},                 // blanks around the header, CR LF line end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(profile.GetString(c.section, c.key, unknown), c.expected) << c.section << "/" << c.key;
  }
}

TEST_F(ProfileTest, ReadsTheLeadingDecimalNumber) {
  writeBytes(path(), kSample);
  const clsProfile profile(path());
  const std::pair<const char*, int> cases[] = {
      {"Number", 42},      {"Negative", -17}, {"Plus", 5},        {"Text", 0},
      {"Empty", 0},        {"Missing", -1},   {"Huge", INT_MAX}, {"NegHuge", INT_MIN},
  };
  for (const auto& [key, expected] : cases) EXPECT_EQ(profile.GetInt("General", key, -1), expected) << key;
}

TEST_F(ProfileTest, ListsSectionNamesInFileOrder) {
  writeBytes(path(), kSample);
  EXPECT_EQ(clsProfile(path()).GetSectNames(), QStringList({"General", "general", "Other"}));
}

TEST_F(ProfileTest, AMissingFileReadsAsDefaultsAndIsNotCreatedByReading) {
  const clsProfile profile(path());
  EXPECT_TRUE(profile.GetSectNames().isEmpty());
  EXPECT_EQ(profile.GetString("S", "K", "Unkown"), "Unkown");
  EXPECT_EQ(profile.GetInt("S", "K", -1), -1);
  EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(ProfileTest, WritesCreateReplaceAndAppendWhileOtherLinesSurvive) {
  clsProfile profile(path());
  ASSERT_TRUE(profile.WriteString("New", "A", "1"));  // creates the file
  ASSERT_TRUE(profile.WriteString("New", "B", "2"));
  EXPECT_EQ(fileBytes(path()), "[New]\r\nA=1\r\nB=2\r\n");

  writeBytes(path(),
             "; keep me\n"
             "[One]\n"
             "Key = old\n"
             "\n"
             "; trailing comment of One\n"
             "[Two]\n"
             "X=1");
  ASSERT_TRUE(profile.WriteString("one", "KEY", "new"));   // replaces, keeps the key's spelling
  ASSERT_TRUE(profile.WriteString("ONE", "Added", "a"));   // after the last entry of its section
  ASSERT_TRUE(profile.WriteString("Three", "Z", "z"));     // a new section goes to the end
  EXPECT_EQ(fileBytes(path()),
            "; keep me\r\n"
            "[One]\r\n"
            "Key=new\r\n"
            "Added=a\r\n"
            "\r\n"
            "; trailing comment of One\r\n"
            "[Two]\r\n"
            "X=1\r\n"
            "[Three]\r\n"
            "Z=z\r\n");
  EXPECT_EQ(profile.GetString("One", "Added", ""), "a");
}

TEST_F(ProfileTest, DeleteSectionRemovesTheFirstMatchWithItsEntries) {
  writeBytes(path(), "[A]\nx=1\n; note\n[b]\ny=2\n[a]\nz=3\n");
  clsProfile profile(path());
  ASSERT_TRUE(profile.DeleteSection("a"));
  EXPECT_EQ(fileBytes(path()), "[b]\r\ny=2\r\n[a]\r\nz=3\r\n");
  EXPECT_EQ(profile.GetString("A", "z", ""), "3");

  // Deleting every listed name empties the file, duplicates included.
  for (const QString& name : profile.GetSectNames()) ASSERT_TRUE(profile.DeleteSection(name));
  EXPECT_TRUE(profile.GetSectNames().isEmpty());

  clsProfile missing(path("missing.ini"));
  EXPECT_TRUE(missing.DeleteSection("A"));
  EXPECT_FALSE(QFile::exists(path("missing.ini")));
}

TEST_F(ProfileTest, ValuesReadBackExactlyAsWritten) {
  clsProfile profile(path());
  const QString values[] = {"", " lead", "trail ", "\"quoted\"", "'single'", "\"", "a = b", "caf\u00E9 \u30C6"};
  for (const QString& value : values) {
    ASSERT_TRUE(profile.WriteString("S", "K", value)) << value.toStdString();
    EXPECT_EQ(clsProfile(path()).GetString("S", "K", "default"), value) << value.toStdString();
  }
}

TEST_F(ProfileTest, RefusesNamesAndValuesThatWouldBreakTheFile) {
  clsProfile profile(path());
  ASSERT_TRUE(profile.WriteString("S", "K", "v"));
  const QByteArray before = fileBytes(path());
  const std::tuple<const char*, const char*, const char*> refused[] = {
      {"S", "K", "two\nlines"}, {"S", "K", "cr\rhere"}, {"S\n[Evil]", "K", "v"}, {"", "K", "v"},
      {"S", "", "v"},           {"S", "a=b", "v"},      {"S", "[x]", "v"},      {"S", ";x", "v"},
  };
  for (const auto& [section, key, value] : refused) {
    EXPECT_FALSE(profile.WriteString(section, key, value)) << section << "/" << key << "/" << value;
  }
  EXPECT_EQ(fileBytes(path()), before);
}

TEST_F(ProfileTest, ReadsLegacyCodePageBomAndLfFilesAndWritesUtf8WithCrLf) {
  writeBytes(path(), "\xEF\xBB\xBF[S]\nK=caf\xC3\xA9\n");
  EXPECT_EQ(clsProfile(path()).GetString("S", "K", ""), QStringLiteral("caf\u00E9"));

  const int savedLanguage = legacyCodePageLanguage();
  setLegacyCodePageLanguage(1033);
  writeBytes(path(), "[S]\r\nK=caf\xE9\r\n");
  clsProfile profile(path());
  EXPECT_EQ(profile.GetString("S", "K", ""), QStringLiteral("caf\u00E9"));
  ASSERT_TRUE(profile.WriteString("S", "L", "x"));
  EXPECT_EQ(fileBytes(path()), "[S]\r\nK=caf\xC3\xA9\r\nL=x\r\n");
  setLegacyCodePageLanguage(savedLanguage);
}

TEST_F(ProfileTest, ChangesMadeElsewhereAreSeen) {
  clsProfile reader(path());
  clsProfile writer(path());
  EXPECT_EQ(reader.GetString("S", "K", "none"), "none");
  ASSERT_TRUE(writer.WriteString("S", "K", "1"));
  EXPECT_EQ(reader.GetString("S", "K", "none"), "1");

  ASSERT_TRUE(writeTextFileAtomic(path(), "[S]\r\nK=2\r\n"));  // replaced by another program
  EXPECT_EQ(reader.GetString("S", "K", "none"), "2");
  writeBytes(path(), "[S]\nK=three\n");  // rewritten in place
  EXPECT_EQ(reader.GetString("S", "K", "none"), "three");
  QFile::remove(path());
  EXPECT_EQ(reader.GetString("S", "K", "none"), "none");
}

// Makes every write beyond `bytes` fail, as a full disk does, even for root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  sighandler_t previousHandler_{};
};

TEST_F(ProfileTest, ARefusedWriteReturnsFalseAndKeepsTheOldFile) {
  clsProfile profile(path());
  ASSERT_TRUE(profile.WriteString("S", "K", "old"));
  const QByteArray before = fileBytes(path());
  {
    FileSizeLimit limit(64);
    EXPECT_FALSE(profile.WriteString("S", "Long", QString(200, u'x')));
  }
  EXPECT_EQ(fileBytes(path()), before);
  EXPECT_EQ(profile.GetString("S", "Long", "none"), "none");
  EXPECT_EQ(profile.GetString("S", "K", ""), "old");

  clsProfile nowhere(path("missing-folder/p.ini"));
  EXPECT_FALSE(nowhere.WriteString("S", "K", "v"));
  EXPECT_EQ(nowhere.GetString("S", "K", "none"), "none");
}

}  // namespace
}  // namespace tarvix
