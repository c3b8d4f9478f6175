#include "engine/panel/PanelWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/PromptService.h"
#include "engine/panel/PanelModel.h"

namespace tarvix::engine {

namespace {

const char* const kLampOn = "background:#2ecc40; border:1px solid #1b7a26; border-radius:8px;";
const char* const kLampOff = "background:#5a5a5a; border:1px solid #333; border-radius:8px;";

QString kindTitle(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return QStringLiteral("Label");
    case ControlKind::Lamp: return QStringLiteral("Lamp");
    case ControlKind::Display: return QStringLiteral("Value Display");
    case ControlKind::Button: return QStringLiteral("Button");
    case ControlKind::Input: return QStringLiteral("Input Field");
  }
  return {};
}

// A lamp: a round light with its caption beside it.
QWidget* makeLamp(const PanelControl& control, QWidget* parent) {
  auto* lamp = new QWidget(parent);
  auto* row = new QHBoxLayout(lamp);
  row->setContentsMargins(0, 0, 0, 0);
  auto* light = new QLabel(lamp);
  light->setObjectName(QStringLiteral("light"));
  light->setFixedSize(16, 16);
  light->setStyleSheet(QString::fromLatin1(kLampOff));
  row->addWidget(light);
  row->addWidget(new QLabel(control.caption, lamp), 1);
  return lamp;
}

}  // namespace

PanelWindow::PanelWindow(PanelModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), toolBar_(new QToolBar), tabs_(new QTabBar), canvas_(new QWidget) {
  setWindowTitle(QStringLiteral("Dialdeck"));
  resize(640, 420);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(tabs_);
  layout->addWidget(canvas_, 1);
  canvas_->setAutoFillBackground(true);
  canvas_->setContextMenuPolicy(Qt::CustomContextMenu);

  runAction_ = toolBar_->addAction(QStringLiteral("Run"));
  runAction_->setCheckable(true);
  connect(runAction_, &QAction::toggled, this, [this](bool run) { run ? model_.start() : model_.stop(); });
  toolBar_->addAction(QStringLiteral("Add Page"), this, [this] {
    const auto title = prompts().inputBox(QStringLiteral("Page title:"), windowTitle(), QStringLiteral("Page %1").arg(model_.pageCount() + 1));
    if (title) model_.setPage(model_.addPage(*title));
  });

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { model_.setPage(index + 1); });
  connect(canvas_, &QWidget::customContextMenuRequested, this, &PanelWindow::showCanvasMenu);
  connect(&model_, &PanelModel::layoutChanged, this, &PanelWindow::rebuild);
  connect(&model_, &PanelModel::pageChanged, this, &PanelWindow::rebuild);
  connect(&model_, &PanelModel::valuesRefreshed, this, &PanelWindow::refreshValues);
  connect(&model_, &PanelModel::modeChanged, this, &PanelWindow::refreshMode);
  rebuild();
  refreshMode();
}

QWidget* PanelWindow::controlWidget(int index) const { return widgets_.value(index); }

int PanelWindow::indexOf(QObject* widget) const {
  for (qsizetype i = 0; i < widgets_.size(); ++i)
    if (widgets_[i] == widget) return int(i);
  return -1;
}

void PanelWindow::rebuild() {
  const QSignalBlocker blocker(tabs_);
  while (tabs_->count() > 0) tabs_->removeTab(0);
  for (const QString& title : model_.layout().pages) tabs_->addTab(title);
  tabs_->setCurrentIndex(model_.page() - 1);

  // Later, not now: a rebuild may start inside an event of one of them.
  for (QWidget* widget : std::as_const(widgets_)) {
    if (!widget) continue;
    widget->hide();
    widget->removeEventFilter(this);
    widget->deleteLater();
  }
  widgets_.clear();
  const auto& controls = model_.layout().controls;
  for (qsizetype i = 0; i < controls.size(); ++i) {
    const PanelControl& control = controls[i];
    if (control.page != model_.page()) {
      widgets_.append(nullptr);
      continue;
    }
    QWidget* widget = nullptr;
    const int index = int(i);
    switch (control.kind) {
      case ControlKind::Label: widget = new QLabel(control.caption, canvas_); break;
      case ControlKind::Lamp: widget = makeLamp(control, canvas_); break;
      case ControlKind::Display: {
        auto* display = new QLabel(canvas_);
        display->setFrameShape(QFrame::Panel);
        display->setFrameShadow(QFrame::Sunken);
        display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        display->setStyleSheet(QStringLiteral("background:#10281a; color:#7CFC9A; font-family:monospace; padding:2px 4px;"));
        widget = display;
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(control.caption, canvas_);
        connect(button, &QPushButton::clicked, this, [this, index] { model_.press(index); });
        widget = button;
        break;
      }
      case ControlKind::Input: {
        auto* edit = new QLineEdit(canvas_);
        edit->setPlaceholderText(control.caption);
        connect(edit, &QLineEdit::editingFinished, this, [this, index, edit] { model_.input(index, edit->text()); });
        widget = edit;
        break;
      }
    }
    widget->setGeometry(control.geometry);
    widget->setToolTip(control.slot > 0 ? QStringLiteral("Vars(%1)").arg(control.slot) : QString());
    widget->installEventFilter(this);
    widget->show();
    widgets_.append(widget);
  }
  refreshValues();
  refreshMode();
}

void PanelWindow::refreshValues() {
  const auto& controls = model_.layout().controls;
  for (qsizetype i = 0; i < widgets_.size() && i < controls.size(); ++i) {
    QWidget* widget = widgets_[i];
    if (!widget) continue;
    if (controls[i].kind == ControlKind::Display)
      static_cast<QLabel*>(widget)->setText(model_.displayText(int(i)));
    else if (controls[i].kind == ControlKind::Lamp)
      widget->findChild<QLabel*>(QStringLiteral("light"))->setStyleSheet(QString::fromLatin1(model_.lampLit(int(i)) ? kLampOn : kLampOff));
  }
}

// Edit mode shows controls as outlined placeholders that do not act.
void PanelWindow::refreshMode() {
  const bool run = model_.mode() == 1;
  {
    const QSignalBlocker blocker(runAction_);
    runAction_->setChecked(run);
  }
  QPalette palette = canvas_->palette();
  palette.setColor(QPalette::Window, run ? QColor(236, 239, 241) : QColor(250, 248, 232));
  canvas_->setPalette(palette);
  for (QWidget* widget : std::as_const(widgets_)) {
    if (!widget) continue;
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setEnabled(run);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setReadOnly(!run);
  }
  setWindowTitle(run ? QStringLiteral("Dialdeck") : QStringLiteral("Dialdeck [Edit]"));
}

void PanelWindow::addControlAt(int kind, const QPoint& position) {
  PanelControl control;
  control.kind = static_cast<ControlKind>(kind);
  control.page = model_.page();
  control.geometry = QRect(position, control.kind == ControlKind::Lamp ? QSize(120, 20) : QSize(120, 28));
  control.caption = kindTitle(control.kind);
  const int index = model_.addControl(control);
  if (index >= 0 && control.kind != ControlKind::Label) setUpControl(index);
}

// Asks for the caption, the slot and, for a button, the value it writes.
// Cancelling any question keeps the control as it was.
void PanelWindow::setUpControl(int index) {
  if (index < 0 || index >= model_.layout().controls.size()) return;
  PanelControl control = model_.layout().controls[index];
  const auto caption = prompts().inputBox(QStringLiteral("Caption:"), windowTitle(), control.caption);
  if (!caption) return;
  control.caption = *caption;
  if (control.kind != ControlKind::Label) {
    const auto slot = prompts().inputBox(QStringLiteral("Vars slot number:"), windowTitle(), QString::number(control.slot));
    if (!slot) return;
    bool ok = false;
    const int number = slot->trimmed().toInt(&ok);
    if (!ok || number < 0) {
      prompts().messageBox(QStringLiteral("The slot must be a whole number."), MsgBox::Exclamation, windowTitle());
      return;
    }
    control.slot = number;
  }
  if (control.kind == ControlKind::Button) {
    const auto value = prompts().inputBox(QStringLiteral("Value written when pressed (type code, value):"), windowTitle(),
                                          control.value.isEmpty() ? QStringLiteral("11,True") : control.value);
    if (!value) return;
    control.value = *value;
  }
  model_.updateControl(index, control);
}

void PanelWindow::showCanvasMenu(const QPoint& position) {
  if (model_.mode() == 1) return;
  QMenu menu(this);
  for (ControlKind kind : {ControlKind::Label, ControlKind::Lamp, ControlKind::Display, ControlKind::Button, ControlKind::Input})
    menu.addAction(QStringLiteral("Add ") + kindTitle(kind), this, [this, kind, position] { addControlAt(int(kind), position); });
  menu.addSeparator();
  menu.addAction(QStringLiteral("Remove Page"), this, [this] { model_.removePage(model_.page()); });
  menu.exec(canvas_->mapToGlobal(position));
}

void PanelWindow::showControlMenu(int index, const QPoint& globalPosition) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("Properties..."), this, [this, index] { setUpControl(index); });
  menu.addAction(QStringLiteral("Remove"), this, [this, index] { model_.removeControl(index); });
  menu.exec(globalPosition);
}

// In edit mode the controls do not act: a press starts a drag that moves the
// control, a right click opens its menu.
bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
  if (model_.mode() == 1) return false;
  const int index = indexOf(watched);
  if (index < 0) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton) {
        showControlMenu(index, mouse->globalPosition().toPoint());
      } else {
        dragIndex_ = index;
        dragOffset_ = mouse->position().toPoint();
      }
      return true;
    }
    case QEvent::MouseMove:
      if (dragIndex_ == index) {
        const QPoint topLeft = widget->mapToParent(static_cast<QMouseEvent*>(event)->position().toPoint()) - dragOffset_;
        widget->move(qMax(0, topLeft.x()), qMax(0, topLeft.y()));
      }
      return true;
    case QEvent::MouseButtonRelease:
      if (dragIndex_ == index) {
        dragIndex_ = -1;
        model_.moveControl(index, widget->pos());
      }
      return true;
    case QEvent::MouseButtonDblClick:
      setUpControl(index);
      return true;
    default:
      return false;
  }
}

void PanelWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

}  // namespace tarvix::engine
