#include "ui/LanguageTextFile.h"

#include <optional>

#include "ui/LangResLibrary.h"

namespace tarvix {
namespace {

std::optional<QString> unescape(QStringView escaped) {
  QString text;
  text.reserve(escaped.size());
  for (qsizetype i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != u'\\') {
      text.append(escaped[i]);
      continue;
    }
    if (++i == escaped.size()) return std::nullopt;
    switch (escaped[i].unicode()) {
      case u'n': text.append(u'\n'); break;
      case u't': text.append(u'\t'); break;
      case u'\\': text.append(u'\\'); break;
      default: return std::nullopt;
    }
  }
  return text;
}

std::optional<int> textNumber(QStringView digits) {
  if (digits.isEmpty() || digits.size() > 5) return std::nullopt;
  for (QChar c : digits)
    if (c < u'0' || c > u'9') return std::nullopt;
  const int number = digits.toInt();
  if (number > langres::kMaxTextNumber) return std::nullopt;
  return number;
}

}  // namespace

ParsedLanguageTexts parseLanguageTexts(const QString& content) {
  ParsedLanguageTexts result;
  const QStringList lines = content.split(u'\n');
  for (qsizetype index = 0; index < lines.size(); ++index) {
    QStringView line = lines[index];
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
    auto fail = [&](const QString& reason) { result.errors.append(QStringLiteral("line %1: %2").arg(index + 1).arg(reason)); };
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0) {
      fail(QStringLiteral("expected NUMBER<TAB>TEXT"));
      continue;
    }
    const auto number = textNumber(line.first(tab));
    if (!number) {
      fail(QStringLiteral("\"%1\" is not a text number from 0 to %2").arg(line.first(tab)).arg(langres::kMaxTextNumber));
      continue;
    }
    const auto text = unescape(line.sliced(tab + 1));
    if (!text) {
      fail(QStringLiteral("unknown escape; use \\n, \\t or \\\\"));
      continue;
    }
    if (text->size() > langres::kMaxTextLength) {
      fail(QStringLiteral("text is too long"));
      continue;
    }
    if (!result.texts.emplace(*number, *text).second) fail(QStringLiteral("text %1 appears twice").arg(*number));
  }
  return result;
}

}  // namespace tarvix
