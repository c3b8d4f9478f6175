#include "engine/store/ModelFile.h"

#include <QStringList>

#include "dispatch/AutomationError.h"
#include "engine/converter/ValueText.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {

namespace {

QString unescape(QStringView text) {
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    const QChar next = text[++i];
    result += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
  }
  return result;
}

std::optional<ModelFile::Field> fieldOf(QStringView word) {
  if (word.compare(u"value", Qt::CaseInsensitive) == 0) return ModelFile::Field::Value;
  if (word.compare(u"help", Qt::CaseInsensitive) == 0) return ModelFile::Field::Help;
  if (word.compare(u"macro", Qt::CaseInsensitive) == 0) return ModelFile::Field::Macro;
  if (word.compare(u"attribute", Qt::CaseInsensitive) == 0) return ModelFile::Field::Attribute;
  return std::nullopt;
}

// Splits "WORD REST" at the first run of blanks; REST keeps its inner blanks.
std::pair<QStringView, QStringView> splitFirst(QStringView text) {
  qsizetype end = 0;
  while (end < text.size() && !text[end].isSpace()) ++end;
  qsizetype rest = end;
  while (rest < text.size() && text[rest].isSpace()) ++rest;
  return {text.left(end), text.mid(rest)};
}

}  // namespace

std::optional<ModelFile> ModelFile::parse(const QString& text, int slotCount, QString* error) {
  ModelFile model;
  bool headerSeen = false;
  const QStringList lines = text.split(u'\n');
  for (int number = 1; number <= lines.size(); ++number) {
    QStringView line = QStringView(lines[number - 1]);
    if (line.endsWith(u'\r')) line.chop(1);
    const QStringView trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';')) continue;
    auto fail = [&](const QString& why) {
      if (error) *error = QStringLiteral("line %1: %2").arg(number).arg(why);
      return std::nullopt;
    };
    if (!headerSeen) {
      if (trimmed != u"IxoModel 1") return fail(QStringLiteral("not a model file"));
      headerSeen = true;
      continue;
    }
    const auto [word, afterWord] = splitFirst(line.trimmed());
    const auto field = fieldOf(word);
    if (!field) return fail(QStringLiteral("unknown statement"));
    const auto [slotText, rest] = splitFirst(afterWord);
    bool ok = false;
    const int slot = slotText.toInt(&ok);
    if (!ok || slot < 1 || slot > slotCount) return fail(QStringLiteral("slot number out of range"));
    Entry entry{*field, slot, {}, {}, 0};
    switch (*field) {
      case Field::Value:
        try {
          entry.value = textToValue(rest.toString());
        } catch (const AutomationError& e) {
          return fail(e.description());
        }
        break;
      case Field::Help:
      case Field::Macro:
        entry.text = unescape(rest);
        break;
      case Field::Attribute:
        entry.bits = rest.toInt(&ok);
        if (!ok) return fail(QStringLiteral("attribute bits must be a number"));
        break;
    }
    model.entries.append(std::move(entry));
  }
  if (!headerSeen) {
    if (error) *error = QStringLiteral("empty model file");
    return std::nullopt;
  }
  return model;
}

void ModelFile::applyTo(VarsStore& store) const {
  for (const Entry& entry : entries) {
    switch (entry.field) {
      case Field::Value:
        store.setValue(entry.slot, entry.value);
        store.setChanged(entry.slot, false);
        break;
      case Field::Help: store.setHelpText(entry.slot, entry.text); break;
      case Field::Macro: store.setMacroText(entry.slot, entry.text); break;
      case Field::Attribute: store.setAttribute(entry.slot, entry.bits); break;
    }
  }
}

}  // namespace tarvix::engine
