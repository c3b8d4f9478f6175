#include <gtest/gtest.h>

#include <QtEndian>

#include "ui/LangResLibrary.h"
#include "ui/LangResWriter.h"
#include "ui/LanguageTextFile.h"

namespace tarvix {
namespace {

const LangResTexts kSample = {
    {1033, {{0, u"zero"_qs}, {3, u"English"_qs}, {15, u"last of block 1"_qs}, {16, u"first of block 2"_qs},
            {3002, u"Open Project"_qs}, {65535, u"top"_qs}, {124, u"Line one\nline two %1%"_qs}}},
    {1041, {{3, u"\u65E5\u672C\u8A9E"_qs}, {17, u"\U0001F600 surrogate pair"_qs}}},
};

TEST(LangResLibrary, ReadsBackEveryTextOfEveryLanguageItWasBuiltFrom) {
  const auto image = buildLangRes(kSample);
  ASSERT_TRUE(image);
  const auto library = LangResLibrary::fromBytes(*image);
  ASSERT_TRUE(library);
  for (const auto& [language, texts] : kSample)
    for (const auto& [number, text] : texts) EXPECT_EQ(library->text(language, number), text) << language << "/" << number;

  // Neighbours in a present block, an absent block, another language's block,
  // an unknown language and numbers out of range are all empty.
  EXPECT_EQ(library->text(1033, 4), QString());
  EXPECT_EQ(library->text(1033, 100), QString());
  EXPECT_EQ(library->text(1041, 3002), QString());
  EXPECT_EQ(library->text(1031, 3), QString());
  EXPECT_EQ(library->text(1033, -1), QString());
  EXPECT_EQ(library->text(1033, 65536), QString());

  const QList<QPair<int, int>> expectedBlocks = {{1033, 1}, {1033, 2}, {1033, 8}, {1033, 188}, {1033, 4096},
                                                 {1041, 1}, {1041, 2}};
  EXPECT_EQ(library->blocks(), expectedBlocks);
}

TEST(LangResLibrary, WriterRefusesWhatTheLayoutCannotHold) {
  QString error;
  EXPECT_FALSE(buildLangRes({{1033, {{65536, u"x"_qs}}}}, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(buildLangRes({{1033, {{-1, u"x"_qs}}}}));
  EXPECT_FALSE(buildLangRes({{70000, {{1, u"x"_qs}}}}));
  EXPECT_FALSE(buildLangRes({{1033, {{1, QString(65536, u'x')}}}}));
  EXPECT_TRUE(buildLangRes({{1033, {{1, QString(65535, u'x')}}}}));
}

// A damaged library is refused whole, never read past its end.
TEST(LangResLibrary, RefusesDamagedFiles) {
  const QByteArray good = *buildLangRes({{1033, {{3, u"English"_qs}}}, {1041, {{3, u"J"_qs}}}});
  ASSERT_TRUE(LangResLibrary::fromBytes(good));

  auto patchedU32 = [&](qsizetype offset, quint32 value) {
    QByteArray bytes = good;
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
  };
  const qsizetype firstEntry = langres::kHeaderSize;
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"wrong magic", QByteArray("MZ\x90\x00", 4) + good.mid(4)},
      {"truncated block", good.chopped(1)},
      {"truncated directory", good.left(langres::kHeaderSize + 3)},
      {"block count beyond the file", patchedU32(4, 0xFFFFFFFF)},
      {"block offset beyond the file", patchedU32(firstEntry + 8, 0x7FFFFFFF)},
      {"block size beyond the file", patchedU32(firstEntry + 12, 0xFFFFFFF0)},
      {"block number 0", patchedU32(firstEntry + 4, 0)},
      {"block number beyond the last text", patchedU32(firstEntry + 4, 4097)},
      {"block size not filled by its entries", patchedU32(firstEntry + 12, 2)},
      {"same block twice", patchedU32(firstEntry + 16, 1033)},
  };
  for (const auto& c : cases) EXPECT_FALSE(LangResLibrary::fromBytes(c.bytes)) << c.what;
}

TEST(LanguageTextFile, ParsesNumberTabTextLinesWithEscapesAndKeepsBlanks) {
  const auto parsed = parseLanguageTexts(
      u"# comment\r\n\n3\tEnglish\r\n4002\tProduct Name : \n124\tFailed: %1%\\nSecond\\tline \\\\ end\n5\t\n"_qs);
  EXPECT_TRUE(parsed.errors.isEmpty()) << parsed.errors.join(u'\n').toStdString();
  const LanguageTexts expected = {
      {3, u"English"_qs}, {4002, u"Product Name : "_qs}, {124, u"Failed: %1%\nSecond\tline \\ end"_qs}, {5, QString()}};
  EXPECT_EQ(parsed.texts, expected);
}

TEST(LanguageTextFile, ReportsEachBadLineByNumber) {
  const struct {
    QString line;
  } cases[] = {{u"3 English"_qs}, {u"x3\tEnglish"_qs}, {u"65536\tToo big"_qs}, {u"-1\tNegative"_qs},
               {u"3\tbad \\q escape"_qs}, {u"3\ttrailing backslash \\"_qs}, {u"\tno number"_qs}};
  for (const auto& c : cases) {
    const auto parsed = parseLanguageTexts(u"1\tok\n"_qs + c.line);
    ASSERT_EQ(parsed.errors.size(), 1) << c.line.toStdString();
    EXPECT_TRUE(parsed.errors[0].startsWith(u"line 2:"_qs)) << parsed.errors[0].toStdString();
  }
  const auto duplicate = parseLanguageTexts(u"3\tone\n3\ttwo\n"_qs);
  EXPECT_EQ(duplicate.errors, QStringList{u"line 2: text 3 appears twice"_qs});
  EXPECT_EQ(duplicate.texts.at(3), u"one"_qs);
}

}  // namespace
}  // namespace tarvix
