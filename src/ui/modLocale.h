#pragma once

// Localised texts. Every text the program shows is a numbered resource in
// LangRes.dll (see ui/LangResLibrary.h), read in the language chosen once at
// start-up by InitLocale.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <type_traits>

namespace tarvix {

// Loads the library (empty path: the program folder plus "LangRes.dll") and
// chooses the language: the requested one when > 0, else the system default,
// then 1033; the first whose text 3 is not empty wins. Also sets the legacy
// code page used to read old files.
void InitLocale(int language = 0, const QString& libraryPath = {});

// Text `number` in the current language; empty when absent or no library.
QString LStr(int number);
// A literal text is returned unchanged.
QString LStr(const QString& literal);
QString LStr(const char* literal);
// Text when the value holds text, otherwise the text of its whole-number value.
QString LStr(const QVariant& numberOrLiteral);

// LStr(format) with "%1%", "%2%", ... replaced by the arguments in order.
// Placeholders without an argument stay; surplus arguments are ignored.
QString LFormat(const QVariant& format, const QVariantList& args);

namespace locale_detail {
template <typename T>
QVariant toVariant(const T& value) {
  if constexpr (std::is_constructible_v<QVariant, const T&>)
    return QVariant(value);
  else
    return QVariant::fromValue(value);
}
}  // namespace locale_detail

template <typename... Args>
QString LFormat(const QVariant& format, const Args&... args) {
  return LFormat(format, QVariantList{locale_detail::toVariant(args)...});
}

// "Open Project#3002" -> text 3002. A text without "#", or whose part after the
// last "#" is not a whole number, stays as it is.
QString ResolveCaption(const QString& text);

int CurrentLanguage();

// The kernel's major version; 5 when it cannot be read.
int OsMajorVersion();

// The language id of the user's locale (LC_ALL, LC_MESSAGES, LANG in that
// order): 1041 for Japanese, 1033 otherwise.
int SystemDefaultLanguage();
int LanguageOfLocaleName(const QString& localeName);

}  // namespace tarvix
