#include "base/PromptService.h"
#include "dispatch/ClassRegistry.h"
#include "engine/language/builtins/BuiltinSupport.h"

namespace tarvix::builtins {
namespace {

QString titleArg(const BuiltinCall& c, std::size_t i) {
  return c.has(i) ? c.arg(i).toString() : applicationTitle();
}

// MsgBox(prompt[, buttons[, title[, helpfile, context]]]): the answer code.
Variant msgBox(BuiltinCall& c) {
  const QString prompt = c.arg(0).toString();
  const std::int32_t buttons = longArg(c, 1, 0);
  return Variant(static_cast<std::int16_t>(prompts().messageBox(prompt, buttons, titleArg(c, 2))));
}

// InputBox(prompt[, title[, default[, xpos, ypos[, helpfile, context]]]]):
// the text, or Empty when the user cancels.
Variant inputBox(BuiltinCall& c) {
  const QString prompt = c.arg(0).toString();
  const QString defaultText = c.has(2) ? c.arg(2).toString() : QString();
  const std::optional<QString> answer = prompts().inputBox(prompt, titleArg(c, 1), defaultText);
  return answer ? Variant(*answer) : Variant();
}

// CreateObject(class[, server]): only the local machine serves objects.
Variant createObject(BuiltinCall& c) {
  if (c.has(1) && !c.arg(1).toString().isEmpty()) raiseError(ErrorNumber::CannotCreateObject);
  const ClassRegistry& registry = c.classes ? *c.classes : ClassRegistry::global();
  return Variant(registry.create(c.arg(0).toString()));
}

Variant rgb(BuiltinCall& c) {
  const auto channel = [&c](std::size_t i) {
    const std::int32_t v = c.arg(i).toLong();
    if (v < 0) invalidArgument();
    return std::min(v, 255);
  };
  return Variant(channel(0) | channel(1) << 8 | channel(2) << 16);
}

constexpr Builtin kBuiltins[] = {
    {u"MsgBox", msgBox, 1, 5},
    {u"InputBox", inputBox, 1, 7},
    {u"CreateObject", createObject, 1, 2},
    {u"RGB", rgb, 3, 3},
};

}  // namespace

std::span<const Builtin> interactionBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
