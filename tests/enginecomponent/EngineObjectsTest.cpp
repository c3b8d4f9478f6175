#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "dispatch/SafeArray.h"
#include "engine/context/EngineContext.h"
#include "engine/context/EngineRoot.h"
#include "engine/store/VarsObject.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {
namespace {

Variant get(DispatchObject* object, QStringView name, std::initializer_list<Variant> args = {}) {
  return object->call(name, CallKind::PropertyGet, args);
}
Variant method(DispatchObject* object, QStringView name, std::initializer_list<Variant> args = {}) {
  return object->call(name, CallKind::Method, args);
}
void let(DispatchObject* object, QStringView name, Variant value) { object->call(name, CallKind::PropertyLet, {value}); }

class EngineObjects : public ::testing::Test {
 protected:
  std::shared_ptr<VarsStore> store = std::make_shared<VarsStore>(QString(), 2000, 1000);
  Ref<EngineRoot> root{new EngineRoot(store)};

  Ref<DispatchObject> link() {
    return Ref<DispatchObject>(method(root->defaultContext(), u"ConnectDataStore", {"", "IxoProv.DataStore", "", ""}).rawObject());
  }
};

TEST_F(EngineObjects, TheDefaultContextIsItemZeroOfTheContexts) {
  const Variant contexts = get(root.get(), u"Contexts");
  EXPECT_EQ(get(contexts.rawObject(), u"Count").toLong(), 1);
  const Variant first = get(contexts.rawObject(), u"Item", {0});
  EXPECT_EQ(first.rawObject(), root->defaultContext());
  EXPECT_EQ(get(first.rawObject(), u"ContextIndex").toLong(), 0);

  const Variant added = method(root.get(), u"AddContext", {"", ""});
  EXPECT_EQ(get(added.rawObject(), u"ContextIndex").toLong(), 1);
  EXPECT_EQ(get(contexts.rawObject(), u"Count").toLong(), 2);
  EXPECT_EQ(errorOf([&] { get(contexts.rawObject(), u"Item", {2}); }), 9);
  EXPECT_EQ(errorOf([&] { method(contexts.rawObject(), u"Remove", {0}); }), 5);
  method(contexts.rawObject(), u"Remove", {1});
  EXPECT_EQ(get(contexts.rawObject(), u"Count").toLong(), 1);
}

TEST_F(EngineObjects, AModelFilePreloadsValuesHelpMacrosAndAttributes) {
  const Variant context = method(root.get(), u"AddContext", {"Ixo", "@CRDFile=" TARVIX_TEST_DATA "/plant.crd"});
  EXPECT_EQ(get(context.rawObject(), u"Name").toString(), "Ixo");
  EXPECT_EQ(store->value(7).toLong(), 1500);
  EXPECT_EQ(store->value(7).type(), VarType::Long);
  EXPECT_EQ(store->value(8).toString(), "Pump A");
  EXPECT_EQ(store->helpText(7), "Pump speed in rpm");
  EXPECT_EQ(store->macroText(7), "Vars(7).Value = 0\nExt.Print \"reset\"");
  EXPECT_EQ(store->attribute(8), 8);
  EXPECT_FALSE(store->changed(7));
}

TEST_F(EngineObjects, AMissingOrBrokenModelFileAddsNoContextAndChangesNothing) {
  EXPECT_EQ(errorOf([&] { method(root.get(), u"AddContext", {"Ixo", "@CRDFile=/no/such/model.crd"}); }), 53);
  EXPECT_EQ(errorOf([&] { method(root.get(), u"AddContext", {"Ixo", "@CRDFile=" TARVIX_TEST_DATA "/broken.crd"}); }), 5);
  EXPECT_EQ(root->contexts().size(), 1);
  EXPECT_TRUE(store->value(7).isEmpty());
}

TEST_F(EngineObjects, VariableHandlesReadTheCountsAndOneSlot) {
  const auto data = link();
  EXPECT_EQ(get(method(data.get(), u"OpenVariable", {"@VARS_MAX", ""}).rawObject(), u"Value").toLong(), 2000);
  EXPECT_EQ(get(method(data.get(), u"OpenVariable", {"@VARSDB_MAX"}).rawObject(), u"Value").toLong(), 1000);
  const Variant handle = method(data.get(), u"OpenVariable", {"@VARS", ""});
  DispatchObject* slot = handle.rawObject();
  EXPECT_EQ(errorOf([&] { get(slot, u"Value"); }), 9);  // no VarsIndex yet
  let(slot, u"VarsIndex", 12);
  let(slot, u"Value", "twelve");
  EXPECT_EQ(store->value(12).toString(), "twelve");
  EXPECT_TRUE(store->changed(12));
  store->setHelpText(12, "help");
  store->setAttribute(12, 8);
  EXPECT_EQ(get(slot, u"HelpText").toString(), "help");
  EXPECT_EQ(get(slot, u"Attribute").toLong(), 8);
  EXPECT_EQ(get(slot, u"HandleIndex").toLong(), 3);
  EXPECT_EQ(errorOf([&] { method(data.get(), u"OpenVariable", {"@NOPE"}); }), 5);

  const Variant variables = get(data.get(), u"Variables");
  EXPECT_EQ(get(variables.rawObject(), u"Count").toLong(), 3);
  method(variables.rawObject(), u"Remove", {3});
  EXPECT_EQ(get(variables.rawObject(), u"Count").toLong(), 2);
  EXPECT_EQ(errorOf([&] { method(variables.rawObject(), u"Remove", {3}); }), 9);
}

TEST_F(EngineObjects, DataCommandWordsReadAndWriteTheSlotTexts) {
  const auto data = link();
  auto command = [&](const char* word, Variant parameter = Variant()) {
    return method(data.get(), u"DataCommand", {word, parameter});
  };
  command("PutVarsHelp", makeArray({Variant(5), Variant("five")}));
  command("PutVarsMacro", makeArray({Variant(5), Variant("Beep")}));
  command("PutVarsAttribute", makeArray({Variant(5), Variant(8)}));
  store->setValue(5, Variant(2.5));
  EXPECT_EQ(command("GetVarsMacro", 5).toString(), "Beep");
  EXPECT_EQ(command("getvarshelp", 5).toString(), "five");

  const Variant states = command("GetVarsStates", 5);
  ASSERT_TRUE(states.isArray());
  const auto& items = states.rawArray().data();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].toDouble(), 2.5);
  EXPECT_EQ(items[1].toLong(), 8);
  EXPECT_EQ(items[2].toString(), "five");
  EXPECT_EQ(items[3].toString(), "Beep");

  command("PutVarsAttribute", makeArray({Variant(-1), Variant(8)}));
  EXPECT_EQ(store->attribute(1), 8);
  EXPECT_EQ(store->attribute(2000), 8);
  command("ClearVarsHelp");
  command("ClearVarsMacro");
  EXPECT_EQ(store->helpText(5), "");
  EXPECT_EQ(store->macroText(5), "");

  EXPECT_EQ(errorOf([&] { command("GetVarsStates", 0); }), 9);
  EXPECT_EQ(errorOf([&] { command("PutVarsHelp", 5); }), 13);
  EXPECT_EQ(errorOf([&] { command("Explode"); }), 5);
}

TEST_F(EngineObjects, ConnectingToAnotherProviderFails) {
  EXPECT_EQ(errorOf([&] { method(root->defaultContext(), u"ConnectDataStore", {"", "Other.Provider", "", ""}); }), 429);
}

TEST(VarsObject, ScriptsReachSlotsByNumberWithValueAndChanged) {
  auto store = std::make_shared<VarsStore>(QString(), 50, 10);
  Ref<VarsObject> vars(new VarsObject(store));
  const Variant seven = get(vars.get(), u"", {7});
  let(seven.rawObject(), u"Value", 42);
  EXPECT_EQ(store->value(7).toLong(), 42);
  EXPECT_TRUE(get(seven.rawObject(), u"Changed").toBool());
  let(seven.rawObject(), u"Changed", false);
  EXPECT_FALSE(store->changed(7));
  EXPECT_EQ(get(seven.rawObject(), u"").toLong(), 42);  // Value is the default member
  EXPECT_EQ(get(vars.get(), u"Item", {7}).rawObject(), seven.rawObject());  // one object per slot
  EXPECT_EQ(get(vars.get(), u"Count").toLong(), 50);
  EXPECT_EQ(errorOf([&] { get(vars.get(), u"", {0}); }), 9);
  EXPECT_EQ(errorOf([&] { get(vars.get(), u"", {51}); }), 9);
}

}  // namespace
}  // namespace tarvix::engine
