#include "engine/panel/Dialdeck.h"

#include "dispatch/SafeArray.h"
#include "engine/panel/PanelModel.h"
#include "engine/panel/PanelWindow.h"
#include "engine/store/ProcessVarsStore.h"

namespace tarvix::engine {

namespace {
[[noreturn]] void invalidArgument(const QString& why) { raiseError(ErrorNumber::InvalidProcedureCall, why); }
}  // namespace

Dialdeck::Dialdeck() : Dialdeck(processVarsStore()) {}

Dialdeck::Dialdeck(std::shared_ptr<VarsStore> store)
    : model_(std::make_unique<PanelModel>(std::move(store))), window_(std::make_unique<PanelWindow>(*model_)) {}

Dialdeck::~Dialdeck() = default;

const MemberTable<Dialdeck>& Dialdeck::table() {
  static const auto t = MemberTable<Dialdeck>(u"Dialdeck")
                            .method(u"Show", &Dialdeck::show, 0, 1)
                            .method(u"Hide", &Dialdeck::hide, 0, 1)
                            .get(u"Visible", &Dialdeck::visible)
                            .let(u"Visible", &Dialdeck::setVisible)
                            .get(u"TimeInterval", &Dialdeck::timeInterval)
                            .let(u"TimeInterval", &Dialdeck::setTimeInterval)
                            .get(u"WindowState", &Dialdeck::windowState)
                            .let(u"WindowState", &Dialdeck::setWindowState)
                            .get(u"Page", &Dialdeck::page)
                            .let(u"Page", &Dialdeck::setPage)
                            .get(u"Mode", &Dialdeck::mode)
                            .method(u"PanelStart", &Dialdeck::panelStart, 0, 1)
                            .method(u"PanelStop", &Dialdeck::panelStop, 0, 1)
                            .get(u"IsModified", &Dialdeck::isModified)
                            .method(u"Execute", &Dialdeck::executeMember, 1, 2)
                            .method(u"LoadLayout", &Dialdeck::loadLayout, 1, 1)
                            .method(u"SaveLayout", &Dialdeck::saveLayout, 1, 1);
  return t;
}

Variant Dialdeck::show(Call&) {
  window_->show();
  window_->raise();
  return {};
}

Variant Dialdeck::hide(Call&) {
  window_->hide();
  return {};
}

Variant Dialdeck::visible(Call&) { return Variant(window_->isVisible()); }

Variant Dialdeck::setVisible(Call& call) {
  window_->setVisible(call.value().toBool());
  return {};
}

Variant Dialdeck::timeInterval(Call&) { return Variant(std::int32_t(model_->timeInterval())); }

Variant Dialdeck::setTimeInterval(Call& call) {
  if (!model_->setTimeInterval(call.value().toLong())) invalidArgument(QStringLiteral("TimeInterval must lie in 10 .. 3600000"));
  return {};
}

Variant Dialdeck::windowState(Call&) {
  const Qt::WindowStates state = window_->windowState();
  return Variant(std::int32_t(state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0));
}

Variant Dialdeck::setWindowState(Call& call) {
  switch (call.value().toLong()) {
    case 0: window_->setWindowState(Qt::WindowNoState); break;
    case 1: window_->setWindowState(Qt::WindowMinimized); break;
    case 2: window_->setWindowState(Qt::WindowMaximized); break;
    default: invalidArgument(QStringLiteral("WindowState must be 0, 1 or 2"));
  }
  return {};
}

Variant Dialdeck::page(Call&) { return Variant(std::int32_t(model_->page())); }

Variant Dialdeck::setPage(Call& call) {
  if (!model_->setPage(call.value().toLong())) raiseError(ErrorNumber::SubscriptOutOfRange);
  return {};
}

Variant Dialdeck::mode(Call&) { return Variant(std::int32_t(model_->mode())); }

Variant Dialdeck::panelStart(Call&) {
  model_->start();
  return {};
}

Variant Dialdeck::panelStop(Call&) {
  model_->stop();
  return {};
}

Variant Dialdeck::isModified(Call&) { return Variant(model_->isModified()); }

void Dialdeck::execute(const QString& word, const Variant& parameter) {
  auto is = [&](QStringView name) { return word.compare(name, Qt::CaseInsensitive) == 0; };
  if (is(u"Refresh")) {
    model_->refresh();
  } else if (is(u"Clear")) {
    model_->clear();
  } else if (is(u"AddPage")) {
    model_->addPage(parameter.toString());
  } else if (is(u"RemovePage")) {
    if (!model_->removePage(parameter.toLong())) raiseError(ErrorNumber::SubscriptOutOfRange);
  } else if (is(u"RenamePage")) {
    if (!parameter.isArray() || parameter.rawArray().size() != 2) raiseError(ErrorNumber::TypeMismatch);
    const auto& pair = parameter.rawArray().data();
    if (!model_->renamePage(pair[0].toLong(), pair[1].toString())) raiseError(ErrorNumber::SubscriptOutOfRange);
  } else if (is(u"AddControl")) {
    QString why;
    const auto control = PanelLayout::controlFromText(parameter.toString(), &why);
    if (!control) invalidArgument(why);
    if (model_->addControl(*control) < 0) raiseError(ErrorNumber::SubscriptOutOfRange);
  } else if (is(u"RemoveControl")) {
    if (!model_->removeControl(parameter.toLong() - 1)) raiseError(ErrorNumber::SubscriptOutOfRange);
  } else if (is(u"Title")) {
    window_->setWindowTitle(parameter.toString());
  } else {
    invalidArgument(QStringLiteral("Unknown panel command: %1").arg(word));
  }
}

Variant Dialdeck::executeMember(Call& call) {
  execute(call.arg(0).toString(), call.argOr(1, Variant()));
  return {};
}

Variant Dialdeck::loadLayout(Call& call) { return Variant(model_->loadLayout(call.arg(0).toString())); }
Variant Dialdeck::saveLayout(Call& call) { return Variant(model_->saveLayout(call.arg(0).toString())); }

}  // namespace tarvix::engine
