#include "ui/LangResLibrary.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "base/TextFile.h"

namespace tarvix {
namespace {

// Reads little-endian integers with bounds checks; a read past the end marks
// the reader as failed and yields 0.
class ByteReader {
 public:
  ByteReader(const QByteArray& bytes, qsizetype offset, qsizetype end) : bytes_(bytes), pos_(offset), end_(end) {}
  quint16 u16() { return read<quint16>(); }
  quint32 u32() { return read<quint32>(); }
  bool skip(qsizetype count) {
    if (count > end_ - pos_) return fail();
    pos_ += count;
    return true;
  }
  bool ok() const { return ok_; }
  qsizetype pos() const { return pos_; }

 private:
  template <typename T>
  T read() {
    if (qsizetype(sizeof(T)) > end_ - pos_) {
      fail();
      return 0;
    }
    T value = qFromLittleEndian<T>(bytes_.constData() + pos_);
    pos_ += sizeof(T);
    return value;
  }
  bool fail() {
    ok_ = false;
    return false;
  }

  const QByteArray& bytes_;
  qsizetype pos_;
  qsizetype end_;
  bool ok_ = true;
};

// True when the block's 16 counted entries fill [offset, offset + size) exactly.
bool blockIsWellFormed(const QByteArray& bytes, qsizetype offset, qsizetype size) {
  ByteReader reader(bytes, offset, offset + size);
  for (int entry = 0; entry < langres::kTextsPerBlock; ++entry) {
    if (!reader.skip(qsizetype(reader.u16()) * 2) || !reader.ok()) return false;
  }
  return reader.pos() == offset + size;
}

}  // namespace

std::optional<LangResLibrary> LangResLibrary::load(const QString& path) {
  const auto bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  return fromBytes(*bytes);
}

std::optional<LangResLibrary> LangResLibrary::fromBytes(const QByteArray& bytes) {
  if (bytes.size() < langres::kHeaderSize || std::memcmp(bytes.constData(), langres::kMagic, 4) != 0)
    return std::nullopt;
  ByteReader header(bytes, 4, bytes.size());
  const quint32 count = header.u32();
  if (count > quint64(bytes.size() - langres::kHeaderSize) / langres::kDirectoryEntrySize) return std::nullopt;

  LangResLibrary library;
  library.bytes_ = bytes;
  library.blocks_.reserve(count);
  ByteReader directory(bytes, langres::kHeaderSize, bytes.size());
  for (quint32 i = 0; i < count; ++i) {
    const int language = directory.u16();
    directory.u16();
    const quint32 block = directory.u32();
    const quint64 offset = directory.u32();
    const quint64 size = directory.u32();
    if (block < 1 || block > quint32(langres::blockOf(langres::kMaxTextNumber))) return std::nullopt;
    if (offset + size > quint64(bytes.size()) || !blockIsWellFormed(bytes, qsizetype(offset), qsizetype(size)))
      return std::nullopt;
    const quint64 blockKey = key(language, block);
    if (library.blocks_.contains(blockKey)) return std::nullopt;
    library.blocks_.insert(blockKey, {qsizetype(offset), qsizetype(size)});
  }
  return library;
}

QString LangResLibrary::text(int language, int number) const {
  if (number < 0 || number > langres::kMaxTextNumber) return {};
  const auto found = blocks_.constFind(key(language, quint32(langres::blockOf(number))));
  if (found == blocks_.constEnd()) return {};
  ByteReader reader(bytes_, found->offset, found->offset + found->size);
  for (int entry = 0; entry < number % langres::kTextsPerBlock; ++entry) reader.skip(qsizetype(reader.u16()) * 2);
  const qsizetype length = reader.u16();
  const qsizetype start = reader.pos();
  if (!reader.skip(length * 2)) return {};
  QString text(length, Qt::Uninitialized);
  qFromLittleEndian<quint16>(bytes_.constData() + start, length, text.data());
  return text;
}

QList<QPair<int, int>> LangResLibrary::blocks() const {
  QList<QPair<int, int>> result;
  result.reserve(blocks_.size());
  for (auto it = blocks_.constBegin(); it != blocks_.constEnd(); ++it)
    result.append({int(it.key() >> 32), int(it.key() & 0xFFFFFFFFu)});
  std::sort(result.begin(), result.end());
  return result;
}

}  // namespace tarvix
