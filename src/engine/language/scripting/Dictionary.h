#pragma once

#include <QHash>
#include <vector>

#include "dispatch/DispatchClass.h"

namespace tarvix::scripting {

// "Scripting.Dictionary": items under unique keys, in insertion order.
// Keys are compared by value (numbers of any type alike, text binary or
// without letter case by CompareMode), objects by identity. Reading a
// missing Item adds the key with an Empty item.
class Dictionary final : public DispatchClass<Dictionary> {
 public:
  static const MemberTable<Dictionary>& table();
  std::vector<Variant> enumerate() override;

  // For C++ callers and tests.
  void add(const Variant& key, const Variant& item);
  bool exists(const Variant& key) const;
  qsizetype count() const { return hash_.size(); }

 private:
  struct Key {
    enum class Kind : std::uint8_t { Empty, Null, Number, Text, Object } kind = Kind::Empty;
    double number = 0;
    QString text;
    const void* object = nullptr;
    bool operator==(const Key& o) const {
      return kind == o.kind && number == o.number && object == o.object && text == o.text;
    }
    friend size_t qHash(const Key& k, size_t seed) {
      return qHashMulti(seed, static_cast<int>(k.kind), k.number, k.text, k.object);
    }
  };
  struct Entry {
    Variant key;
    Variant item;
    bool live = true;
  };

  Key keyOf(const Variant& key) const;
  // Index of the live entry with that key, or -1.
  qsizetype find(const Variant& key) const;
  Entry& insert(const Variant& key, const Variant& item);
  void compact();
  std::vector<Variant> liveValues(bool keys) const;

  Variant addMember(Call& c);
  Variant existsMember(Call& c);
  Variant item(Call& c);
  Variant setItem(Call& c);
  Variant setKey(Call& c);
  Variant items(Call& c);
  Variant keys(Call& c);
  Variant remove(Call& c);
  Variant removeAll(Call& c);
  Variant countMember(Call& c);
  Variant compareMode(Call& c);
  Variant setCompareMode(Call& c);

  std::vector<Entry> entries_;
  QHash<Key, qsizetype> hash_;
  CompareMode mode_ = CompareMode::Binary;
};

}  // namespace tarvix::scripting
