#pragma once

// LangRes.dll: the string-resource library that holds every interface text.
//
// Our own container with the classic string-table layout. All integers are
// little-endian.
//
//   header     4 bytes  magic "TXLR"
//              u32      number of blocks B
//   directory  B entries of 16 bytes:
//              u16      language id (1033 English, 1041 Japanese, ...)
//              u16      0
//              u32      block number: text N lies in block N / 16 + 1
//              u32      offset of the block's data from the start of the file
//              u32      size of the block's data in bytes
//   blocks     16 entries each: a u16 count of UTF-16 code units followed by
//              that many code units, no terminator. Entry k of block b holds
//              text (b - 1) * 16 + k; an absent text has count 0.
//
// A file that breaks any of these rules (wrong magic, a directory or block
// outside the file, a block number outside 1..4096, a block whose 16 entries
// do not fill its size exactly, the same block twice for one language) is
// refused as a whole.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace tarvix {

namespace langres {
inline constexpr char kMagic[4] = {'T', 'X', 'L', 'R'};
inline constexpr int kHeaderSize = 8;
inline constexpr int kDirectoryEntrySize = 16;
inline constexpr int kTextsPerBlock = 16;
inline constexpr int kMaxTextNumber = 0xFFFF;
inline constexpr int kMaxTextLength = 0xFFFF;
inline int blockOf(int number) { return number / kTextsPerBlock + 1; }
}  // namespace langres

class LangResLibrary {
 public:
  // std::nullopt when the file cannot be read or is not a valid library.
  static std::optional<LangResLibrary> load(const QString& path);
  static std::optional<LangResLibrary> fromBytes(const QByteArray& bytes);

  // Text `number` of exactly `language`: empty when that language has no block
  // for it, when the entry is empty or when the number is out of range.
  QString text(int language, int number) const;

  // Every (language, block) pair the library holds, for tools and tests.
  QList<QPair<int, int>> blocks() const;

 private:
  struct BlockSpan {
    qsizetype offset;
    qsizetype size;
  };
  static quint64 key(int language, quint32 block) { return (quint64(quint16(language)) << 32) | block; }

  QByteArray bytes_;
  QHash<quint64, BlockSpan> blocks_;  // (language << 32) | block
};

}  // namespace tarvix
