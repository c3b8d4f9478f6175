#include "ui/modLocale.h"

#include <sys/utsname.h>

#include <QCoreApplication>
#include <QDir>
#include <optional>

#include "base/TextFile.h"
#include "ui/LangResLibrary.h"

namespace tarvix {
namespace {

constexpr int kEnglish = 1033;
constexpr int kJapanese = 1041;
constexpr int kProbeText = 3;

struct LocaleState {
  std::optional<LangResLibrary> library;
  int language = kEnglish;
};

LocaleState& state() {
  static LocaleState instance;
  return instance;
}

QString loadStringResource(int language, int number) {
  const auto& library = state().library;
  return library ? library->text(language, number) : QString();
}

QString defaultLibraryPath() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("LangRes.dll"));
}

// The printed form of an argument; Booleans print as the script language does.
QString argumentText(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  return value.toString();
}

// Replaces every "%k%" by `value`, resuming after each insertion so that a value
// holding its own placeholder is inserted once, not forever.
void replacePlaceholder(QString& text, int k, const QString& value) {
  const QString placeholder = u'%' + QString::number(k) + u'%';
  qsizetype from = 0;
  while ((from = text.indexOf(placeholder, from)) >= 0) {
    text.replace(from, placeholder.size(), value);
    from += value.size();
  }
}

std::optional<int> wholeNumber(const QString& text) {
  bool ok = false;
  const int number = text.trimmed().toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

}  // namespace

void InitLocale(int language, const QString& libraryPath) {
  LocaleState& s = state();
  s.library.reset();
  s.library = LangResLibrary::load(libraryPath.isEmpty() ? defaultLibraryPath() : libraryPath);

  int request = language;
  bool retried = false;
  for (;;) {
    s.language = request > 0 ? request : SystemDefaultLanguage();
    if (!loadStringResource(s.language, kProbeText).isEmpty()) break;
    if (request > 0) {
      if (retried) break;
      request = 0;
      retried = true;
    } else {
      request = kEnglish;
    }
  }
  setLegacyCodePageLanguage(s.language);
}

QString LStr(int number) { return loadStringResource(state().language, number); }

QString LStr(const QString& literal) { return literal; }

QString LStr(const char* literal) { return QString::fromUtf8(literal); }

QString LStr(const QVariant& numberOrLiteral) {
  if (numberOrLiteral.typeId() == QMetaType::QString) return numberOrLiteral.toString();
  bool ok = false;
  const qlonglong number = numberOrLiteral.toLongLong(&ok);
  if (!ok || number < 0 || number > langres::kMaxTextNumber) return {};
  return LStr(int(number));
}

QString LFormat(const QVariant& format, const QVariantList& args) {
  QString text = LStr(format);
  for (int k = 1; k <= args.size(); ++k) replacePlaceholder(text, k, argumentText(args[k - 1]));
  return text;
}

QString ResolveCaption(const QString& text) {
  const qsizetype hash = text.lastIndexOf(u'#');
  if (hash < 0) return text;
  const auto number = wholeNumber(text.sliced(hash + 1));
  return number ? LStr(*number) : text;
}

int CurrentLanguage() { return state().language; }

int OsMajorVersion() {
  utsname name{};
  if (uname(&name) != 0) return 5;
  const auto major = wholeNumber(QString::fromLatin1(name.release).section(u'.', 0, 0));
  return major && *major > 0 ? *major : 5;
}

int SystemDefaultLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty()) return LanguageOfLocaleName(value);
  }
  return kEnglish;
}

int LanguageOfLocaleName(const QString& localeName) {
  return localeName.startsWith(QStringLiteral("ja"), Qt::CaseInsensitive) ? kJapanese : kEnglish;
}

}  // namespace tarvix
