#include <gtest/gtest.h>

#include "VariantMatchers.h"
#include "dispatch/ClassRegistry.h"
#include "dispatch/DispatchClass.h"

namespace tarvix {
namespace {

// A host object as Csv, Mgr or Vars would declare one.
class Counter final : public DispatchClass<Counter> {
 public:
  static const MemberTable<Counter>& table() {
    static const auto t = MemberTable<Counter>(u"Counter")
                              .get(u"Value", &Counter::value)
                              .let(u"Value", &Counter::setValue)
                              .method(u"Bump", &Counter::bump, 0, 1)
                              .method(u"Swap", &Counter::swap, 2, 2)
                              .defaultMember(u"Value");
    return t;
  }
  std::int32_t count = 0;

 private:
  Variant value(Call&) { return Variant(count); }
  Variant setValue(Call& c) {
    count = c.value().toLong();
    return {};
  }
  // Bump([step = 1]): returns the new value.
  Variant bump(Call& c) {
    count += c.has(0) ? c.arg(0).toLong() : 1;
    return Variant(count);
  }
  // Swap(a, b): writes both by-reference arguments.
  Variant swap(Call& c) {
    const Variant a = c.arg(0), b = c.arg(1);
    c.setArg(0, b);
    c.setArg(1, a);
    return {};
  }
};

TEST(DispatchClass, FindsMembersWithoutLetterCaseAndCallsThem) {
  Counter counter;
  const int id = counter.memberId(u"bUMP");
  ASSERT_NE(id, DispId::Unknown);
  std::vector<Variant> none;
  EXPECT_TRUE(same(counter.invoke(id, CallKind::Method, none), L(1)));
  std::vector<Variant> step{I(5)};
  EXPECT_TRUE(same(counter.invoke(id, CallKind::PropertyGet, step), L(6)));  // a method read like a property
  std::vector<Variant> missing{Variant::missing()};
  EXPECT_TRUE(same(counter.invoke(id, CallKind::Method, missing), L(7)));    // optional argument left out
  EXPECT_EQ(counter.typeName(), QStringLiteral("Counter"));
}

TEST(DispatchClass, DefaultMemberAndPropertyAssignment) {
  auto* counter = new Counter;
  const Variant object(counter);
  EXPECT_EQ(counter->memberId(u""), DispId::Value);
  std::vector<Variant> assign{D(41.6)};
  counter->invoke(DispId::Value, CallKind::PropertyLet, assign);
  EXPECT_EQ(counter->count, 42);
  EXPECT_TRUE(same(object.resolved(), L(42)));
  EXPECT_EQ(object.toString(), QStringLiteral("42"));
  EXPECT_EQ(errorOf([] { (void)Variant::nothing().resolved(); }), 91);
}

TEST(DispatchClass, ByReferenceArgumentsAreWrittenBack) {
  Counter counter;
  Variant a = S("left"), b = L(2);
  std::vector<Variant> args{Variant::byRef(&a), Variant::byRef(&b)};
  counter.call(u"Swap", CallKind::Method, std::span<Variant>(args));
  EXPECT_TRUE(same(a, L(2)));
  EXPECT_TRUE(same(b, S("left")));
}

TEST(DispatchClass, UnknownMembersWrongCountsAndWrongKindsRaise) {
  Counter counter;
  EXPECT_EQ(counter.memberId(u"Nope"), DispId::Unknown);
  EXPECT_EQ(errorOf([&] { counter.call(u"Nope", CallKind::Method); }), 438);
  EXPECT_EQ(errorOf([&] { counter.call(u"Swap", CallKind::Method, {I(1)}); }), 450);
  EXPECT_EQ(errorOf([&] { counter.call(u"Bump", CallKind::Method, {I(1), I(2)}); }), 450);
  EXPECT_EQ(errorOf([&] { counter.call(u"Bump", CallKind::PropertyLet, {I(1)}); }), 438);
  EXPECT_EQ(errorOf([&] { counter.call(u"Value", CallKind::PropertySet, {I(1)}); }), 438);
  EXPECT_EQ(errorOf([&] { counter.invoke(999, CallKind::Method, {}); }), 438);
  EXPECT_EQ(errorOf([&] { (void)counter.enumerate(); }), 451);
}

TEST(AutomationErrors, CarryTheStandardTexts) {
  const std::pair<int, const char*> cases[] = {
      {5, "Invalid procedure call or argument"}, {9, "Subscript out of range"}, {13, "Type mismatch"},
      {28, "Out of stack space"}, {424, "Object required"}, {438, "Object doesn't support this property or method"},
      {450, "Wrong number of arguments or invalid property assignment"}, {500, "Variable is undefined"},
      {1002, "Syntax error"}, {1024, "Expected statement"}, {12345, "Unknown runtime error"}};
  for (const auto& [number, text] : cases) EXPECT_EQ(AutomationError(number).description(), QString::fromLatin1(text));
  const AutomationError custom(1000, QStringLiteral("Custom"), QStringLiteral("Mgr"));
  EXPECT_EQ(custom.description(), QStringLiteral("Custom"));
  EXPECT_EQ(custom.source(), QStringLiteral("Mgr"));
}

TEST(ClassRegistry, CreatesByNameWithoutLetterCase) {
  ClassRegistry registry;
  registry.add(QStringLiteral("Test.Counter"), [] { return ObjectRef(new Counter); });
  const ObjectRef object = registry.create(u"test.COUNTER");
  ASSERT_TRUE(object);
  EXPECT_EQ(object->typeName(), QStringLiteral("Counter"));
  EXPECT_EQ(errorOf([&] { (void)registry.create(u"Test.Other"); }), 429);
  registry.add(QStringLiteral("Broken"), [] { return ObjectRef(); });
  EXPECT_EQ(errorOf([&] { (void)registry.create(u"Broken"); }), 429);
  EXPECT_EQ(registry.classNames(), QStringList({QStringLiteral("Broken"), QStringLiteral("Test.Counter")}));
}

}  // namespace
}  // namespace tarvix
