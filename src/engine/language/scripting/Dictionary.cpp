#include "engine/language/scripting/Dictionary.h"

#include "dispatch/SafeArray.h"

namespace tarvix::scripting {
const MemberTable<Dictionary>& Dictionary::table() {
  static const auto t = MemberTable<Dictionary>(u"Dictionary")
                            .method(u"Add", &Dictionary::addMember, 2, 2)
                            .method(u"Exists", &Dictionary::existsMember, 1, 1)
                            .get(u"Item", &Dictionary::item, 1, 1)
                            .let(u"Item", &Dictionary::setItem, 1, 1)
                            .set(u"Item", &Dictionary::setItem, 1, 1)
                            .let(u"Key", &Dictionary::setKey, 1, 1)
                            .method(u"Items", &Dictionary::items)
                            .method(u"Keys", &Dictionary::keys)
                            .method(u"Remove", &Dictionary::remove, 1, 1)
                            .method(u"RemoveAll", &Dictionary::removeAll)
                            .get(u"Count", &Dictionary::countMember)
                            .get(u"CompareMode", &Dictionary::compareMode)
                            .let(u"CompareMode", &Dictionary::setCompareMode)
                            .defaultMember(u"Item");
  return t;
}

Dictionary::Key Dictionary::keyOf(const Variant& key0) const {
  const Variant& key = key0.deref();
  Key k;
  switch (key.type()) {
    case VarType::Empty: k.kind = Key::Kind::Empty; break;
    case VarType::Null: k.kind = Key::Kind::Null; break;
    case VarType::String:
      k.kind = Key::Kind::Text;
      k.text = key.rawString();
      break;
    case VarType::Object:
      k.kind = Key::Kind::Object;
      k.object = key.rawObject();
      break;
    case VarType::Array:
    case VarType::Error: raiseError(ErrorNumber::TypeMismatch);
    default:
      k.kind = Key::Kind::Number;
      k.number = key.toDouble();
      break;
  }
  return k;
}

bool Dictionary::matches(const Variant& stored, const Key& key) const {
  switch (key.kind) {
    case Key::Kind::Text:
      return stored.isString() &&
             stored.rawString().compare(key.text, mode_ == CompareMode::Text ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    case Key::Kind::Number: return stored.isNumeric() && stored.toDouble() == key.number;
    case Key::Kind::Object: return stored.isObject() && stored.rawObject() == key.object;
    case Key::Kind::Empty: return stored.isEmpty();
    case Key::Kind::Null: return stored.isNull();
  }
  return false;
}

std::size_t Dictionary::hashOf(const Key& key) const {
  switch (key.kind) {
    case Key::Kind::Text: return qHash(mode_ == CompareMode::Text ? key.text.toCaseFolded() : key.text, 0);
    case Key::Kind::Number: return qHash(key.number, 0);
    case Key::Kind::Object: return qHash(key.object, 0);
    default: return static_cast<std::size_t>(key.kind);
  }
}

qsizetype Dictionary::find(const Key& key, std::size_t hash) const {
  if (slots_.empty()) return -1;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::int32_t slot = slots_[i];
    if (slot == kFree) return -1;
    if (slot >= 0) {
      const Entry& e = entries_[slot];
      if (e.hash == hash && matches(e.key, key)) return slot;
    }
  }
}

qsizetype Dictionary::find(const Variant& key) const {
  const Key k = keyOf(key);
  return find(k, hashOf(k));
}

void Dictionary::placeInSlots(std::size_t hash, std::int32_t index) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i] != kFree) i = (i + 1) & mask;
  slots_[i] = index;
  ++usedSlots_;
}

void Dictionary::unplace(qsizetype index) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = entries_[index].hash & mask;; i = (i + 1) & mask)
    if (slots_[i] == index) {
      slots_[i] = kRemoved;
      return;
    }
}

void Dictionary::rebuild() {
  std::vector<Entry> live;
  live.reserve(static_cast<std::size_t>(live_) + 1);
  for (Entry& e : entries_)
    if (e.live()) live.push_back(std::move(e));
  entries_ = std::move(live);
  std::size_t size = 8;
  while (size < (entries_.size() + 1) * 2) size *= 2;
  slots_.assign(size, kFree);
  usedSlots_ = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) placeInSlots(entries_[i].hash, static_cast<std::int32_t>(i));
}

Dictionary::Entry& Dictionary::append(std::size_t hash, const Variant& key, const Variant& item) {
  if ((usedSlots_ + 1) * 4 > slots_.size() * 3) rebuild();
  entries_.push_back(Entry{key.deref(), item.deref(), hash});
  placeInSlots(hash, static_cast<std::int32_t>(entries_.size() - 1));
  ++live_;
  return entries_.back();
}

void Dictionary::add(const Variant& key, const Variant& item) {
  const Key k = keyOf(key);
  const std::size_t h = hashOf(k);
  if (find(k, h) >= 0) raiseError(ErrorNumber::DuplicateKey);
  append(h, key, item);
}

bool Dictionary::exists(const Variant& key) const { return find(key) >= 0; }

std::vector<Variant> Dictionary::liveValues(bool keys) const {
  std::vector<Variant> values;
  values.reserve(static_cast<std::size_t>(live_));
  for (const Entry& e : entries_)
    if (e.live()) values.push_back(keys ? e.key : e.item);
  return values;
}

std::vector<Variant> Dictionary::enumerate() { return liveValues(true); }

Variant Dictionary::addMember(Call& c) {
  add(c.arg(0), c.arg(1));
  return {};
}

Variant Dictionary::existsMember(Call& c) { return Variant(exists(c.arg(0))); }

Variant Dictionary::item(Call& c) {
  const Key k = keyOf(c.arg(0));
  const std::size_t h = hashOf(k);
  const qsizetype i = find(k, h);
  if (i < 0) return append(h, c.arg(0), Variant()).item;
  return entries_[i].item;
}

Variant Dictionary::setItem(Call& c) {
  const Key k = keyOf(c.arg(0));
  const std::size_t h = hashOf(k);
  const qsizetype i = find(k, h);
  if (i < 0) append(h, c.arg(0), c.value());
  else entries_[i].item = c.value();
  return {};
}

Variant Dictionary::setKey(Call& c) {
  const qsizetype i = find(c.arg(0));
  if (i < 0) raiseError(ErrorNumber::ElementNotFound);
  const Variant& newKey = c.value();
  const Key k = keyOf(newKey);
  const std::size_t h = hashOf(k);
  const qsizetype other = find(k, h);
  if (other >= 0 && other != i) raiseError(ErrorNumber::DuplicateKey);
  unplace(i);
  Entry& e = entries_[i];
  e.key = newKey.deref();
  e.hash = h;
  if ((usedSlots_ + 1) * 4 > slots_.size() * 3) rebuild();
  else placeInSlots(h, static_cast<std::int32_t>(i));
  return {};
}

Variant Dictionary::items(Call&) { return makeArray(liveValues(false)); }
Variant Dictionary::keys(Call&) { return makeArray(liveValues(true)); }

Variant Dictionary::remove(Call& c) {
  const qsizetype i = find(c.arg(0));
  if (i < 0) raiseError(ErrorNumber::ElementNotFound);
  unplace(i);
  entries_[i] = Entry{Variant::missing(), {}, 0};
  --live_;
  // Removed entries leave holes; close them once they outnumber the live ones.
  if (entries_.size() >= 16 && static_cast<qsizetype>(entries_.size()) > 2 * live_) rebuild();
  return {};
}

Variant Dictionary::removeAll(Call&) {
  entries_.clear();
  slots_.clear();
  usedSlots_ = 0;
  live_ = 0;
  return {};
}

Variant Dictionary::countMember(Call&) { return Variant(static_cast<std::int32_t>(live_)); }

Variant Dictionary::compareMode(Call&) { return Variant(static_cast<std::int32_t>(mode_)); }

// The mode can only change while the dictionary is empty.
Variant Dictionary::setCompareMode(Call& c) {
  const std::int32_t mode = c.value().toLong();
  if (live_ > 0 || mode < 0) raiseError(ErrorNumber::InvalidProcedureCall);
  mode_ = mode == 0 ? CompareMode::Binary : CompareMode::Text;
  return {};
}

}  // namespace tarvix::scripting
