#pragma once

#include <QString>
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
  qsizetype count() const { return live_; }

 private:
  // A key as looked up: numbers by value, text (hashed folded in text
  // mode), objects by identity.
  struct Key {
    enum class Kind : std::uint8_t { Empty, Null, Number, Text, Object } kind = Kind::Empty;
    double number = 0;
    QString text;
    const void* object = nullptr;
  };
  // A removed entry keeps its place with an Error key (never a valid key).
  struct Entry {
    Variant key;
    Variant item;
    std::size_t hash = 0;
    bool live() const { return !key.isError(); }
  };

  // Entries stay in insertion order in entries_; slots_ is an open-addressing
  // index into them (linear probing), so a lookup hashes once and compares
  // the stored hash before the key.
  static constexpr std::int32_t kFree = -1;
  static constexpr std::int32_t kRemoved = -2;

  Key keyOf(const Variant& key) const;
  std::size_t hashOf(const Key& key) const;
  bool matches(const Variant& stored, const Key& key) const;
  // Index of the live entry with that key, or -1.
  qsizetype find(const Key& key, std::size_t hash) const;
  qsizetype find(const Variant& key) const;
  Entry& append(std::size_t hash, const Variant& key, const Variant& item);
  void placeInSlots(std::size_t hash, std::int32_t index);
  void unplace(qsizetype index);
  // Drops removed entries and sizes the index for the live ones.
  void rebuild();
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
  std::vector<std::int32_t> slots_;
  std::size_t usedSlots_ = 0;  // slots not free (entries and removed marks)
  qsizetype live_ = 0;
  CompareMode mode_ = CompareMode::Binary;
};

}  // namespace tarvix::scripting
