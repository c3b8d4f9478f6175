#include <gtest/gtest.h>

#include "BuiltinCalls.h"
#include "base/Clock.h"
#include "dispatch/ClassRegistry.h"
#include "dispatch/DispatchObject.h"
#include "engine/language/scripting/ScriptingClasses.h"
#include "support/ScriptedPrompts.h"

namespace tarvix::builtins {
namespace {

struct ClockGuard {
  ManualClock clock{QDateTime(QDate(2026, 12, 11), QTime(18, 30, 15, 250))};
  ClockGuard() { setClock(&clock); }
  ~ClockGuard() { setClock(nullptr); }
};

TEST(HostServices, NowDateTimeAndTimerReadTheProgramClock) {
  ClockGuard guard;
  EXPECT_EQ(callBuiltin(u"Now", {}).toString(), QStringLiteral("2026/12/11 18:30:15"));
  EXPECT_TRUE(same(callBuiltin(u"Date", {}), Variant::date(46367)));
  EXPECT_EQ(callBuiltin(u"Time", {}).toString(), QStringLiteral("18:30:15"));
  EXPECT_TRUE(same(callBuiltin(u"Timer", {}), F(66615.25f)));
  guard.clock.advanceMs(1000);
  guard.clock.set(guard.clock.now().addSecs(60));
  EXPECT_EQ(callBuiltin(u"Minute", {callBuiltin(u"Now", {})}).toLong(), 31);
}

TEST(HostServices, MsgBoxAndInputBoxGoThroughThePromptService) {
  test::ScriptedPrompts prompts;
  prompts.answers.push_back(6);
  prompts.inputs.push_back(QStringLiteral("typed"));
  prompts.inputs.push_back(std::nullopt);

  EXPECT_TRUE(same(callBuiltin(u"MsgBox", {S("Continue?"), I(4 + 32)}), I(6)));
  EXPECT_TRUE(same(callBuiltin(u"MsgBox", {I(42)}), I(1)));  // empty queue: first button
  EXPECT_TRUE(same(callBuiltin(u"InputBox", {S("Name?"), S("Ask"), S("def")}), S("typed")));
  EXPECT_TRUE(same(callBuiltin(u"InputBox", {S("Name?")}), Variant()));  // cancelled

  ASSERT_EQ(prompts.records.size(), 4u);
  EXPECT_EQ(prompts.records[0].text, QStringLiteral("Continue?"));
  EXPECT_EQ(prompts.records[0].style, 36);
  EXPECT_EQ(prompts.records[1].text, QStringLiteral("42"));
  EXPECT_EQ(prompts.records[2].kind, test::ScriptedPrompts::Record::Kind::InputBox);
  EXPECT_EQ(errorOf([] { callBuiltin(u"MsgBox", {Variant::null()}); }), 94);
}

TEST(HostServices, CreateObjectUsesTheGivenRegistryOrTheGlobalOne) {
  ClassRegistry registry;
  scripting::registerScriptingClasses(registry);
  std::vector<Variant> args{S("scripting.dictionary")};
  BuiltinCall call{std::span<Variant>(args), &registry};
  const Variant dictionary = findBuiltin(u"CreateObject")->fn(call);
  ASSERT_TRUE(dictionary.isObject());
  EXPECT_EQ(dictionary.rawObject()->typeName(), QStringLiteral("Dictionary"));

  std::vector<Variant> unknown{S("No.Such")};
  BuiltinCall missing{std::span<Variant>(unknown), &registry};
  EXPECT_EQ(errorOf([&] { findBuiltin(u"CreateObject")->fn(missing); }), 429);
  std::vector<Variant> remote{S("Scripting.Dictionary"), S("otherhost")};
  BuiltinCall elsewhere{std::span<Variant>(remote), &registry};
  EXPECT_EQ(errorOf([&] { findBuiltin(u"CreateObject")->fn(elsewhere); }), 429);
}

}  // namespace
}  // namespace tarvix::builtins
