#include <QHash>

#include "engine/language/builtins/Builtins.h"

namespace tarvix::builtins {
namespace {

struct NumberConstant {
  const char* name;
  std::int32_t value;
};

// Numbers that fit 16 bits are Integers, the others Longs, like literals.
constexpr NumberConstant kNumbers[] = {
    {"vbTrue", -1}, {"vbFalse", 0}, {"vbUseDefault", -2},
    {"vbBinaryCompare", 0}, {"vbTextCompare", 1}, {"vbDatabaseCompare", 2},
    {"vbEmpty", 0}, {"vbNull", 1}, {"vbInteger", 2}, {"vbLong", 3}, {"vbSingle", 4}, {"vbDouble", 5},
    {"vbCurrency", 6}, {"vbDate", 7}, {"vbString", 8}, {"vbObject", 9}, {"vbError", 10}, {"vbBoolean", 11},
    {"vbVariant", 12}, {"vbDataObject", 13}, {"vbDecimal", 14}, {"vbByte", 17}, {"vbArray", 8192},
    {"vbOKOnly", 0}, {"vbOKCancel", 1}, {"vbAbortRetryIgnore", 2}, {"vbYesNoCancel", 3}, {"vbYesNo", 4},
    {"vbRetryCancel", 5}, {"vbCritical", 16}, {"vbQuestion", 32}, {"vbExclamation", 48}, {"vbInformation", 64},
    {"vbDefaultButton1", 0}, {"vbDefaultButton2", 256}, {"vbDefaultButton3", 512}, {"vbDefaultButton4", 768},
    {"vbApplicationModal", 0}, {"vbSystemModal", 4096}, {"vbMsgBoxHelpButton", 16384},
    {"vbMsgBoxSetForeground", 65536}, {"vbMsgBoxRight", 524288}, {"vbMsgBoxRtlReading", 1048576},
    {"vbOK", 1}, {"vbCancel", 2}, {"vbAbort", 3}, {"vbRetry", 4}, {"vbIgnore", 5}, {"vbYes", 6}, {"vbNo", 7},
    {"vbUseSystemDayOfWeek", 0}, {"vbSunday", 1}, {"vbMonday", 2}, {"vbTuesday", 3}, {"vbWednesday", 4},
    {"vbThursday", 5}, {"vbFriday", 6}, {"vbSaturday", 7},
    {"vbUseSystem", 0}, {"vbFirstJan1", 1}, {"vbFirstFourDays", 2}, {"vbFirstFullWeek", 3},
    {"vbGeneralDate", 0}, {"vbLongDate", 1}, {"vbShortDate", 2}, {"vbLongTime", 3}, {"vbShortTime", 4},
    {"vbBlack", 0x000000}, {"vbRed", 0x0000FF}, {"vbGreen", 0x00FF00}, {"vbYellow", 0x00FFFF},
    {"vbBlue", 0xFF0000}, {"vbMagenta", 0xFF00FF}, {"vbCyan", 0xFFFF00}, {"vbWhite", 0xFFFFFF},
    {"vbObjectError", static_cast<std::int32_t>(0x80040000u)},
};

struct TextConstant {
  const char* name;
  const char16_t* value;
};

constexpr TextConstant kTexts[] = {
    {"vbCr", u"\r"},     {"vbLf", u"\n"},       {"vbCrLf", u"\r\n"},      {"vbNewLine", u"\r\n"},
    {"vbTab", u"\t"},    {"vbFormFeed", u"\f"}, {"vbVerticalTab", u"\v"}, {"vbNullString", u""},
};

QHash<QString, Variant> buildConstants() {
  QHash<QString, Variant> table;
  for (const NumberConstant& c : kNumbers) {
    const bool narrow = c.value >= -32768 && c.value <= 32767;
    table.insert(QString::fromLatin1(c.name).toLower(),
                 narrow ? Variant(static_cast<std::int16_t>(c.value)) : Variant(c.value));
  }
  for (const TextConstant& c : kTexts) table.insert(QString::fromLatin1(c.name).toLower(), Variant(c.value));
  table.insert(QStringLiteral("vbnullchar"), Variant(QString(QChar(u'\0'))));
  return table;
}

}  // namespace

std::optional<Variant> findConstant(QStringView name) {
  static const QHash<QString, Variant> table = buildConstants();
  const auto it = table.constFind(name.toString().toLower());
  if (it == table.constEnd()) return std::nullopt;
  return *it;
}

}  // namespace tarvix::builtins
