#include "ui/LangResWriter.h"

#include <QtEndian>
#include <array>
#include <vector>

#include "ui/LangResLibrary.h"

namespace tarvix {
namespace {

void appendU16(QByteArray& out, quint16 value) {
  char bytes[2];
  qToLittleEndian(value, bytes);
  out.append(bytes, 2);
}

void appendU32(QByteArray& out, quint32 value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  out.append(bytes, 4);
}

struct Block {
  int language;
  int number;
  QByteArray data;
};

// Groups the texts into blocks of 16 counted entries, in language then block order.
std::optional<std::vector<Block>> encodeBlocks(const LangResTexts& texts, QString* error) {
  auto failWith = [error](const QString& reason) {
    if (error) *error = reason;
    return std::nullopt;
  };
  std::vector<Block> blocks;
  for (const auto& [language, numbered] : texts) {
    if (language < 0 || language > 0xFFFF) return failWith(QStringLiteral("language id %1 is out of range").arg(language));
    std::map<int, std::array<QString, langres::kTextsPerBlock>> byBlock;
    for (const auto& [number, text] : numbered) {
      if (number < 0 || number > langres::kMaxTextNumber)
        return failWith(QStringLiteral("text number %1 is out of range").arg(number));
      if (text.size() > langres::kMaxTextLength)
        return failWith(QStringLiteral("text %1 is longer than %2 characters").arg(number).arg(langres::kMaxTextLength));
      byBlock[langres::blockOf(number)][number % langres::kTextsPerBlock] = text;
    }
    for (const auto& [blockNumber, entries] : byBlock) {
      Block block{language, blockNumber, {}};
      for (const QString& text : entries) {
        appendU16(block.data, quint16(text.size()));
        for (QChar unit : text) appendU16(block.data, unit.unicode());
      }
      blocks.push_back(std::move(block));
    }
  }
  return blocks;
}

}  // namespace

std::optional<QByteArray> buildLangRes(const LangResTexts& texts, QString* error) {
  const auto blocks = encodeBlocks(texts, error);
  if (!blocks) return std::nullopt;
  QByteArray out(langres::kMagic, 4);
  appendU32(out, quint32(blocks->size()));
  quint32 offset = quint32(langres::kHeaderSize + blocks->size() * langres::kDirectoryEntrySize);
  for (const Block& block : *blocks) {
    appendU16(out, quint16(block.language));
    appendU16(out, 0);
    appendU32(out, quint32(block.number));
    appendU32(out, offset);
    appendU32(out, quint32(block.data.size()));
    offset += quint32(block.data.size());
  }
  for (const Block& block : *blocks) out.append(block.data);
  return out;
}

}  // namespace tarvix
