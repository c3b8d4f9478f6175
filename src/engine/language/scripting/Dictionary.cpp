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
      k.text = mode_ == CompareMode::Text ? key.rawString().toCaseFolded() : key.rawString();
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

qsizetype Dictionary::find(const Variant& key) const { return hash_.value(keyOf(key), -1); }

Dictionary::Entry& Dictionary::insert(const Variant& key, const Variant& item) {
  hash_.insert(keyOf(key), static_cast<qsizetype>(entries_.size()));
  entries_.push_back(Entry{key.deref(), item.deref(), true});
  return entries_.back();
}

void Dictionary::add(const Variant& key, const Variant& item) {
  if (find(key) >= 0) raiseError(ErrorNumber::DuplicateKey);
  insert(key, item);
}

bool Dictionary::exists(const Variant& key) const { return find(key) >= 0; }

// Removed entries leave holes; close them once they outnumber the live ones.
void Dictionary::compact() {
  if (entries_.size() < 16 || static_cast<qsizetype>(entries_.size()) < 2 * hash_.size()) return;
  std::vector<Entry> live;
  live.reserve(hash_.size());
  for (Entry& e : entries_)
    if (e.live) live.push_back(std::move(e));
  entries_ = std::move(live);
  hash_.clear();
  for (qsizetype i = 0; i < static_cast<qsizetype>(entries_.size()); ++i) hash_.insert(keyOf(entries_[i].key), i);
}

std::vector<Variant> Dictionary::liveValues(bool keys) const {
  std::vector<Variant> values;
  values.reserve(hash_.size());
  for (const Entry& e : entries_)
    if (e.live) values.push_back(keys ? e.key : e.item);
  return values;
}

std::vector<Variant> Dictionary::enumerate() { return liveValues(true); }

Variant Dictionary::addMember(Call& c) {
  add(c.arg(0), c.arg(1));
  return {};
}

Variant Dictionary::existsMember(Call& c) { return Variant(exists(c.arg(0))); }

Variant Dictionary::item(Call& c) {
  const qsizetype i = find(c.arg(0));
  if (i < 0) return insert(c.arg(0), Variant()).item;
  return entries_[i].item;
}

Variant Dictionary::setItem(Call& c) {
  const qsizetype i = find(c.arg(0));
  if (i < 0) insert(c.arg(0), c.value());
  else entries_[i].item = c.value();
  return {};
}

Variant Dictionary::setKey(Call& c) {
  const qsizetype i = find(c.arg(0));
  if (i < 0) raiseError(ErrorNumber::ElementNotFound);
  const Variant& newKey = c.value();
  const qsizetype other = find(newKey);
  if (other >= 0 && other != i) raiseError(ErrorNumber::DuplicateKey);
  hash_.remove(keyOf(entries_[i].key));
  entries_[i].key = newKey;
  hash_.insert(keyOf(newKey), i);
  return {};
}

Variant Dictionary::items(Call&) { return makeArray(liveValues(false)); }
Variant Dictionary::keys(Call&) { return makeArray(liveValues(true)); }

Variant Dictionary::remove(Call& c) {
  const qsizetype i = find(c.arg(0));
  if (i < 0) raiseError(ErrorNumber::ElementNotFound);
  hash_.remove(keyOf(entries_[i].key));
  entries_[i] = Entry{{}, {}, false};
  compact();
  return {};
}

Variant Dictionary::removeAll(Call&) {
  entries_.clear();
  hash_.clear();
  return {};
}

Variant Dictionary::countMember(Call&) { return Variant(static_cast<std::int32_t>(hash_.size())); }

Variant Dictionary::compareMode(Call&) { return Variant(static_cast<std::int32_t>(mode_)); }

// The mode can only change while the dictionary is empty.
Variant Dictionary::setCompareMode(Call& c) {
  const std::int32_t mode = c.value().toLong();
  if (hash_.size() > 0 || mode < 0) raiseError(ErrorNumber::InvalidProcedureCall);
  mode_ = mode == 0 ? CompareMode::Binary : CompareMode::Text;
  return {};
}

}  // namespace tarvix::scripting
