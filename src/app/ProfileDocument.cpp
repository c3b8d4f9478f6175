#include "app/ProfileDocument.h"

namespace tarvix {
namespace {

QString fold(QStringView name) { return name.trimmed().toString().toCaseFolded(); }

bool isQuote(QChar c) { return c == u'"' || c == u'\''; }

bool enclosedInQuotes(QStringView text) {
  return text.size() >= 2 && text.front() == text.back() && isQuote(text.front());
}

// "[name]": the name runs to the last closing bracket, so a name that itself
// holds a "]" reads back as written.
std::optional<QString> sectionNameOf(QStringView line) {
  const QStringView t = line.trimmed();
  if (!t.startsWith(u'[')) return std::nullopt;
  const qsizetype close = t.lastIndexOf(u']');
  if (close < 1) return std::nullopt;
  return t.mid(1, close - 1).trimmed().toString();
}

// The folded key of an entry line, or empty text for a comment or a line
// without "key=".
QString entryKeyOf(QStringView line) {
  const QStringView t = line.trimmed();
  if (t.startsWith(u';')) return {};
  const qsizetype equals = t.indexOf(u'=');
  if (equals <= 0) return {};
  return fold(t.left(equals));
}

QString entryValueOf(QStringView line) {
  QStringView value = line.mid(line.indexOf(u'=') + 1).trimmed();
  if (enclosedInQuotes(value)) value = value.mid(1, value.size() - 2);
  return value.toString();
}

bool holdsLineBreak(QStringView text) { return text.contains(u'\n') || text.contains(u'\r'); }

bool isStorableSection(QStringView section) {
  return !section.trimmed().isEmpty() && !holdsLineBreak(section);
}

bool isStorableKey(QStringView key) {
  const QStringView t = key.trimmed();
  return !t.isEmpty() && !holdsLineBreak(t) && !t.contains(u'=') && !t.startsWith(u'[') &&
         !t.startsWith(u';');
}

// Blanks around a value and one pair of enclosing quotes are dropped on
// reading; such a value is quoted on writing so that it reads back unchanged.
QString storedFormOf(const QString& value) {
  if (value != value.trimmed() || enclosedInQuotes(value)) return u'"' + value + u'"';
  return value;
}

}  // namespace

ProfileDocument ProfileDocument::parse(QStringView text) {
  ProfileDocument document;
  Section* current = nullptr;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    QStringView line = text.mid(start, end - start);
    if (line.endsWith(u'\r')) line.chop(1);
    start = end + 1;

    if (auto name = sectionNameOf(line)) {
      current = &document.appendSection(line.toString(), *name);
    } else if (current) {
      appendLine(*current, {line.toString(), entryKeyOf(line)});
    } else {
      document.leadingLines_.push_back(line.toString());
    }
  }
  return document;
}

QString ProfileDocument::toText() const {
  static const QString lineEnd = QStringLiteral("\r\n");
  QString text;
  const auto append = [&](const QString& line) {
    text += line;
    text += lineEnd;
  };
  for (const QString& line : leadingLines_) append(line);
  for (const Section& section : sections_) {
    append(section.header);
    for (const Line& line : section.lines) append(line.text);
  }
  return text;
}

std::optional<QString> ProfileDocument::value(QStringView section, QStringView key) const {
  const auto found = firstSection_.constFind(fold(section));
  if (found == firstSection_.cend()) return std::nullopt;
  const Section& s = sections_[*found];
  const auto entry = s.firstEntry.constFind(fold(key));
  if (entry == s.firstEntry.cend()) return std::nullopt;
  return entryValueOf(s.lines[*entry].text);
}

bool ProfileDocument::hasSection(QStringView section) const {
  return firstSection_.contains(fold(section));
}

QStringList ProfileDocument::sectionNames() const {
  QStringList names;
  names.reserve(static_cast<qsizetype>(sections_.size()));
  for (const Section& section : sections_) names.append(section.name);
  return names;
}

bool ProfileDocument::setValue(const QString& section, const QString& key, const QString& value) {
  if (!isStorableSection(section) || !isStorableKey(key) || holdsLineBreak(value)) return false;
  const QString storedValue = storedFormOf(value);
  const QString foldedKey = fold(key);

  const auto found = firstSection_.constFind(fold(section));
  Section& s = found != firstSection_.cend()
                   ? sections_[*found]
                   : appendSection(u'[' + section.trimmed() + u']', section.trimmed());

  if (const auto entry = s.firstEntry.constFind(foldedKey); entry != s.firstEntry.cend()) {
    Line& line = s.lines[*entry];
    // The key keeps the spelling it already has in the file.
    line.text = line.text.left(line.text.indexOf(u'=')).trimmed() + u'=' + storedValue;
    return true;
  }

  const int at = s.lastEntry + 1;
  for (int& index : s.firstEntry) {
    if (index >= at) ++index;
  }
  s.lines.insert(s.lines.begin() + at, Line{key.trimmed() + u'=' + storedValue, foldedKey});
  s.firstEntry.insert(foldedKey, at);
  s.lastEntry = at;
  return true;
}

bool ProfileDocument::removeSection(QStringView section) {
  const auto found = firstSection_.constFind(fold(section));
  if (found == firstSection_.cend()) return false;
  sections_.erase(sections_.begin() + *found);
  rebuildSectionIndex();
  return true;
}

ProfileDocument::Section& ProfileDocument::appendSection(const QString& header, const QString& name) {
  sections_.push_back(Section{header, name, {}, {}, -1});
  const QString folded = fold(name);
  if (!firstSection_.contains(folded)) firstSection_.insert(folded, static_cast<int>(sections_.size() - 1));
  return sections_.back();
}

void ProfileDocument::appendLine(Section& section, Line line) {
  const int index = static_cast<int>(section.lines.size());
  if (!line.foldedKey.isEmpty()) {
    if (!section.firstEntry.contains(line.foldedKey)) section.firstEntry.insert(line.foldedKey, index);
    section.lastEntry = index;
  }
  section.lines.push_back(std::move(line));
}

void ProfileDocument::rebuildSectionIndex() {
  firstSection_.clear();
  for (int i = 0; i < static_cast<int>(sections_.size()); ++i) {
    const QString folded = fold(sections_[i].name);
    if (!firstSection_.contains(folded)) firstSection_.insert(folded, i);
  }
}

}  // namespace tarvix
