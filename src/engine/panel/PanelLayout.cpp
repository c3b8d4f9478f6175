#include "engine/panel/PanelLayout.h"

#include <array>
#include <utility>

namespace tarvix::engine {

namespace {

constexpr int kMinInterval = 10;
constexpr int kMaxInterval = 3600000;
constexpr int kMaxCoordinate = 100000;
const QString kHeader = QStringLiteral("Dialdeck");

const std::array<std::pair<ControlKind, const char*>, 5> kKindNames{{
    {ControlKind::Label, "label"},
    {ControlKind::Lamp, "lamp"},
    {ControlKind::Display, "display"},
    {ControlKind::Button, "button"},
    {ControlKind::Input, "input"},
}};

// Splits a line into words; quoted words keep their blanks, "" inside quotes
// is one quote. std::nullopt for an unterminated quote.
std::optional<QStringList> splitWords(const QString& line) {
  QStringList words;
  qsizetype i = 0;
  const qsizetype n = line.size();
  while (i < n) {
    if (line[i].isSpace()) {
      ++i;
      continue;
    }
    QString word;
    if (line[i] == u'"') {
      ++i;
      bool closed = false;
      while (i < n) {
        if (line[i] == u'"') {
          if (i + 1 < n && line[i + 1] == u'"') {
            word += u'"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        word += line[i++];
      }
      if (!closed) return std::nullopt;
    } else {
      while (i < n && !line[i].isSpace()) word += line[i++];
    }
    words.append(word);
  }
  return words;
}

QString quoted(const QString& text) {
  QString copy = text;
  return u'"' + copy.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

std::optional<int> toInt(const QString& word, int min, int max) {
  bool ok = false;
  const int value = word.toInt(&ok);
  if (!ok || value < min || value > max) return std::nullopt;
  return value;
}

void setError(QString* error, const QString& text) {
  if (error) *error = text;
}

}  // namespace

QString PanelLayout::kindName(ControlKind kind) {
  for (const auto& [k, name] : kKindNames)
    if (k == kind) return QString::fromLatin1(name);
  return {};
}

std::optional<ControlKind> PanelLayout::kindFromName(const QString& name) {
  for (const auto& [kind, text] : kKindNames)
    if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) return kind;
  return std::nullopt;
}

QString PanelLayout::controlToText(const PanelControl& control) {
  QString line = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                     .arg(kindName(control.kind))
                     .arg(control.page)
                     .arg(control.geometry.x())
                     .arg(control.geometry.y())
                     .arg(control.geometry.width())
                     .arg(control.geometry.height())
                     .arg(control.slot)
                     .arg(quoted(control.caption));
  if (!control.value.isEmpty()) line += u' ' + quoted(control.value);
  return line;
}

std::optional<PanelControl> PanelLayout::controlFromText(const QString& line, QString* error) {
  const auto words = splitWords(line);
  if (!words) {
    setError(error, QStringLiteral("unterminated quoted text"));
    return std::nullopt;
  }
  if (words->size() < 7 || words->size() > 9) {
    setError(error, QStringLiteral("a control needs KIND PAGE X Y WIDTH HEIGHT SLOT [CAPTION [VALUE]]"));
    return std::nullopt;
  }
  PanelControl control;
  const auto kind = kindFromName(words->at(0));
  const auto page = toInt(words->at(1), 1, 1000);
  const auto x = toInt(words->at(2), 0, kMaxCoordinate);
  const auto y = toInt(words->at(3), 0, kMaxCoordinate);
  const auto width = toInt(words->at(4), 1, kMaxCoordinate);
  const auto height = toInt(words->at(5), 1, kMaxCoordinate);
  const auto slot = toInt(words->at(6), 0, 1000000);
  if (!kind || !page || !x || !y || !width || !height || !slot) {
    setError(error, QStringLiteral("bad control kind or number"));
    return std::nullopt;
  }
  control.kind = *kind;
  control.page = *page;
  control.geometry = QRect(*x, *y, *width, *height);
  control.slot = *slot;
  if (words->size() > 7) control.caption = words->at(7);
  if (words->size() > 8) control.value = words->at(8);
  return control;
}

QString PanelLayout::toText() const {
  QStringList lines{kHeader + QStringLiteral(" 1"), QStringLiteral("interval %1").arg(interval)};
  for (const QString& page : pages) lines.append(QStringLiteral("page ") + quoted(page));
  for (const PanelControl& control : controls) lines.append(controlToText(control));
  return lines.join(u'\n') + u'\n';
}

std::optional<PanelLayout> PanelLayout::fromText(const QString& text, QString* error) {
  PanelLayout layout;
  layout.pages.clear();
  bool headerSeen = false;
  const QStringList lines = text.split(u'\n');
  for (int number = 1; number <= lines.size(); ++number) {
    const QString line = lines[number - 1].trimmed();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    auto fail = [&](const QString& why) {
      setError(error, QStringLiteral("line %1: %2").arg(number).arg(why));
      return std::nullopt;
    };
    const auto words = splitWords(line);
    if (!words) return fail(QStringLiteral("unterminated quoted text"));
    const QString keyword = words->at(0).toLower();
    if (!headerSeen) {
      if (words->size() != 2 || words->at(0) != kHeader || words->at(1) != u"1")
        return fail(QStringLiteral("not a panel layout file"));
      headerSeen = true;
    } else if (keyword == u"interval") {
      const auto interval = words->size() == 2 ? toInt(words->at(1), kMinInterval, kMaxInterval) : std::nullopt;
      if (!interval) return fail(QStringLiteral("bad interval"));
      layout.interval = *interval;
    } else if (keyword == u"page") {
      if (words->size() != 2) return fail(QStringLiteral("a page needs one title"));
      layout.pages.append(words->at(1));
    } else {
      QString why;
      auto control = controlFromText(line, &why);
      if (!control) return fail(why);
      if (control->page > layout.pages.size()) return fail(QStringLiteral("control on a page that does not exist"));
      layout.controls.append(*control);
    }
  }
  if (!headerSeen) {
    setError(error, QStringLiteral("empty file"));
    return std::nullopt;
  }
  if (layout.pages.isEmpty()) layout.pages.append(QStringLiteral("Page 1"));
  return layout;
}

}  // namespace tarvix::engine
