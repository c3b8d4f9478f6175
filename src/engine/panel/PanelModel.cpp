#include "engine/panel/PanelModel.h"

#include "base/TextFile.h"
#include "dispatch/AutomationError.h"
#include "engine/converter/ValueText.h"
#include "engine/store/VarsStore.h"

namespace tarvix::engine {

namespace {
constexpr int kMinInterval = 10;
constexpr int kMaxInterval = 3600000;
const QString kDefaultButtonValue = QStringLiteral("11,True");
}  // namespace

PanelModel::PanelModel(std::shared_ptr<VarsStore> store, QObject* parent) : QObject(parent), store_(std::move(store)) {
  timer_.setInterval(layout_.interval);
  connect(&timer_, &QTimer::timeout, this, &PanelModel::refresh);
}

void PanelModel::start() {
  if (running_) return;
  running_ = true;
  refresh();
  timer_.start();
  Q_EMIT modeChanged(1);
}

void PanelModel::stop() {
  if (!running_) return;
  running_ = false;
  timer_.stop();
  Q_EMIT modeChanged(0);
}

bool PanelModel::setTimeInterval(int ms) {
  if (ms < kMinInterval || ms > kMaxInterval) return false;
  if (layout_.interval != ms) {
    layout_.interval = ms;
    timer_.setInterval(ms);
    changed();
  }
  return true;
}

bool PanelModel::setPage(int page) {
  if (page < 1 || page > pageCount()) return false;
  if (page_ != page) {
    page_ = page;
    Q_EMIT pageChanged(page);
  }
  return true;
}

int PanelModel::addPage(const QString& title) {
  layout_.pages.append(title);
  changed();
  return pageCount();
}

// The last page cannot go: a panel always has one. Controls of the removed
// page go with it; those of later pages move one page down.
bool PanelModel::removePage(int page) {
  if (page < 1 || page > pageCount() || pageCount() == 1) return false;
  layout_.pages.removeAt(page - 1);
  for (qsizetype i = layout_.controls.size() - 1; i >= 0; --i) {
    PanelControl& control = layout_.controls[i];
    if (control.page == page) {
      layout_.controls.removeAt(i);
      values_.erase(values_.begin() + i);
    } else if (control.page > page) {
      --control.page;
    }
  }
  page_ = qMin(page_, pageCount());
  changed();
  return true;
}

bool PanelModel::renamePage(int page, const QString& title) {
  if (page < 1 || page > pageCount()) return false;
  layout_.pages[page - 1] = title;
  changed();
  return true;
}

int PanelModel::addControl(const PanelControl& control) {
  if (control.page < 1 || control.page > pageCount()) return -1;
  layout_.controls.append(control);
  values_.emplace_back();
  changed();
  return int(layout_.controls.size() - 1);
}

bool PanelModel::removeControl(int index) {
  if (!validIndex(index)) return false;
  layout_.controls.removeAt(index);
  values_.erase(values_.begin() + index);
  changed();
  return true;
}

bool PanelModel::moveControl(int index, const QPoint& topLeft) {
  if (!validIndex(index) || topLeft.x() < 0 || topLeft.y() < 0) return false;
  layout_.controls[index].geometry.moveTopLeft(topLeft);
  changed();
  return true;
}

bool PanelModel::updateControl(int index, const PanelControl& control) {
  if (!validIndex(index) || control.page < 1 || control.page > pageCount()) return false;
  layout_.controls[index] = control;
  changed();
  return true;
}

void PanelModel::clear() {
  layout_ = PanelLayout{};
  timer_.setInterval(layout_.interval);
  values_.clear();
  page_ = 1;
  changed();
}

bool PanelModel::loadLayout(const QString& path, QString* error) {
  const auto text = readTextFile(path);
  if (!text) {
    if (error) *error = QStringLiteral("cannot read %1").arg(path);
    return false;
  }
  auto layout = PanelLayout::fromText(*text, error);
  if (!layout) return false;
  layout_ = std::move(*layout);
  timer_.setInterval(layout_.interval);
  values_.assign(std::size_t(layout_.controls.size()), Variant());
  page_ = 1;
  modified_ = false;
  if (running_) refresh();
  Q_EMIT layoutChanged();
  Q_EMIT pageChanged(page_);
  return true;
}

bool PanelModel::saveLayout(const QString& path) {
  if (!writeTextFileAtomic(path, layout_.toText())) return false;
  modified_ = false;
  return true;
}

// A slot outside the store's range keeps its control empty; the panel never
// stops on a bad binding.
void PanelModel::refresh() {
  for (qsizetype i = 0; i < layout_.controls.size(); ++i) {
    const int slot = layout_.controls[i].slot;
    if (slot >= 1 && slot <= store_->count()) values_[std::size_t(i)] = store_->value(slot);
  }
  Q_EMIT valuesRefreshed();
}

QString PanelModel::displayText(int index) const {
  if (!validIndex(index)) return {};
  const Variant& value = values_[std::size_t(index)];
  if (value.isNull()) return QStringLiteral("Null");
  try {
    return value.isArray() || value.isObject() ? valueToText(value) : value.toString();
  } catch (const AutomationError&) {
    return QStringLiteral("???");
  }
}

bool PanelModel::lampLit(int index) const {
  if (!validIndex(index)) return false;
  try {
    const Variant& value = values_[std::size_t(index)];
    return !value.isNull() && !value.isArray() && value.toBool();
  } catch (const AutomationError&) {
    return false;
  }
}

bool PanelModel::press(int index) {
  if (!validIndex(index)) return false;
  const PanelControl& control = layout_.controls[index];
  try {
    store_->setValue(control.slot, textToValue(control.value.isEmpty() ? kDefaultButtonValue : control.value));
  } catch (const AutomationError&) {
    return false;
  }
  refresh();
  return true;
}

bool PanelModel::input(int index, const QString& text) {
  if (!validIndex(index)) return false;
  try {
    store_->setValue(layout_.controls[index].slot, Variant(text));
  } catch (const AutomationError&) {
    return false;
  }
  refresh();
  return true;
}

void PanelModel::changed() {
  modified_ = true;
  Q_EMIT layoutChanged();
}

}  // namespace tarvix::engine
