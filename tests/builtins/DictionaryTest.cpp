#include <gtest/gtest.h>

#include "../dispatch/VariantMatchers.h"
#include "dispatch/SafeArray.h"
#include "engine/language/scripting/Dictionary.h"

namespace tarvix::scripting {
namespace {

class DictionaryTest : public testing::Test {
 protected:
  Variant call(QStringView member, std::initializer_list<Variant> args, CallKind kind = CallKind::Method) {
    return dict->call(member, kind, args);
  }
  QStringList keyTexts() {
    QStringList out;
    for (const Variant& k : dict->enumerate()) out << k.toString();
    return out;
  }
  Ref<Dictionary> dict{new Dictionary};
};

TEST_F(DictionaryTest, AddsLooksUpAndKeepsInsertionOrder) {
  call(u"Add", {S("b"), I(2)});
  call(u"Add", {S("a"), I(1)});
  call(u"add", {I(3), S("three")});
  EXPECT_TRUE(same(call(u"Count", {}, CallKind::PropertyGet), L(3)));
  EXPECT_TRUE(same(call(u"Item", {S("a")}, CallKind::PropertyGet), I(1)));
  EXPECT_TRUE(same(call(u"", {D(3.0)}, CallKind::PropertyGet), S("three")));  // default member; numbers by value
  EXPECT_TRUE(same(call(u"Exists", {S("A")}), Bool(false)));                   // binary compare by default
  EXPECT_EQ(keyTexts(), QStringList({"b", "a", "3"}));
  const Variant items = call(u"Items", {});
  EXPECT_EQ(items.vartype(), 8204);
  EXPECT_TRUE(same(items.rawArray().data()[2], S("three")));
}

TEST_F(DictionaryTest, DuplicateAddRaises457AndReadingAMissingItemAddsIt) {
  call(u"Add", {S("k"), I(1)});
  EXPECT_EQ(errorOf([&] { call(u"Add", {S("k"), I(2)}); }), 457);
  EXPECT_TRUE(same(call(u"Item", {S("new")}, CallKind::PropertyGet), Variant()));
  EXPECT_TRUE(same(call(u"Exists", {S("new")}), Bool(true)));
  call(u"Item", {S("k"), S("changed")}, CallKind::PropertyLet);
  call(u"Item", {S("added"), I(5)}, CallKind::PropertyLet);
  EXPECT_TRUE(same(call(u"Item", {S("k")}, CallKind::PropertyGet), S("changed")));
  EXPECT_TRUE(same(call(u"Count", {}, CallKind::PropertyGet), L(3)));
}

TEST_F(DictionaryTest, KeyRenamesRemoveAndRemoveAll) {
  for (int i = 0; i < 40; ++i) call(u"Add", {L(i), L(i * 10)});
  call(u"Key", {L(5), S("five")}, CallKind::PropertyLet);
  EXPECT_TRUE(same(call(u"Item", {S("five")}, CallKind::PropertyGet), L(50)));
  EXPECT_EQ(errorOf([&] { call(u"Key", {L(6), S("five")}, CallKind::PropertyLet); }), 457);
  EXPECT_EQ(errorOf([&] { call(u"Key", {S("none"), S("x")}, CallKind::PropertyLet); }), 32811);
  // Removing most entries compacts the storage; order and lookups survive.
  for (int i = 0; i < 38; ++i)
    if (i != 5) call(u"Remove", {L(i)});
  EXPECT_EQ(keyTexts(), QStringList({"five", "38", "39"}));
  EXPECT_TRUE(same(call(u"Item", {L(39)}, CallKind::PropertyGet), L(390)));
  EXPECT_EQ(errorOf([&] { call(u"Remove", {L(1)}); }), 32811);
  call(u"RemoveAll", {});
  EXPECT_TRUE(same(call(u"Count", {}, CallKind::PropertyGet), L(0)));
}

TEST_F(DictionaryTest, TextCompareModeIgnoresLetterCaseAndCanOnlyChangeWhileEmpty) {
  call(u"CompareMode", {I(1)}, CallKind::PropertyLet);
  call(u"Add", {S("Key"), I(1)});
  EXPECT_TRUE(same(call(u"Exists", {S("KEY")}), Bool(true)));
  EXPECT_EQ(errorOf([&] { call(u"Add", {S("key"), I(2)}); }), 457);
  EXPECT_EQ(errorOf([&] { call(u"CompareMode", {I(0)}, CallKind::PropertyLet); }), 5);
  EXPECT_TRUE(same(call(u"CompareMode", {}, CallKind::PropertyGet), L(1)));
}

TEST_F(DictionaryTest, ObjectsAreKeysByIdentityAndItemsBySet) {
  const Variant a(new Dictionary), b(new Dictionary);
  call(u"Add", {a, I(1)});
  EXPECT_TRUE(same(call(u"Exists", {a}), Bool(true)));
  EXPECT_TRUE(same(call(u"Exists", {b}), Bool(false)));
  call(u"Item", {S("obj"), b}, CallKind::PropertySet);
  EXPECT_TRUE(same(call(u"Item", {S("obj")}, CallKind::PropertyGet), b));
  EXPECT_EQ(errorOf([&] { call(u"Add", {makeArray({}), I(1)}); }), 13);
}

}  // namespace
}  // namespace tarvix::scripting
