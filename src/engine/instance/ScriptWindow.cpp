#include "engine/instance/ScriptWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QToolBar>

#include "engine/editor/ScriptEditor.h"

namespace tarvix::engine {

namespace {

QStringList procedureNames(const QString& source) {
  static const QRegularExpression declaration(
      QStringLiteral(R"(^[ \t]*(?:(?:public|private)[ \t]+)?(?:sub|function)[ \t]+([A-Za-z_]\w*))"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
  QStringList names;
  for (auto it = declaration.globalMatch(source); it.hasNext();) names.append(it.next().captured(1));
  return names;
}

}  // namespace

ScriptWindow::ScriptWindow(QWidget* parent)
    : QMainWindow(parent), editor_(new ScriptEditor), output_(new QPlainTextEdit), startupBox_(new QComboBox) {
  resize(760, 560);
  output_->setReadOnly(true);
  output_->setMaximumBlockCount(2000);
  output_->setPlaceholderText(QStringLiteral("Output"));

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(editor_);
  splitter->addWidget(output_);
  splitter->setStretchFactor(0, 4);
  splitter->setStretchFactor(1, 1);
  setCentralWidget(splitter);

  QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  fileMenu->addAction(addCommand(QStringLiteral("menu.file.save"), QStringLiteral("&Save"), QKeySequence::Save));
  fileMenu->addAction(addCommand(QStringLiteral("menu.file.saveas"), QStringLiteral("Save &As...")));
  fileMenu->addSeparator();
  fileMenu->addAction(addCommand(QStringLiteral("menu.file.exit"), QStringLiteral("E&xit")));

  QToolBar* toolBar = addToolBar(QStringLiteral("Run"));
  toolBar->setObjectName(QStringLiteral("tlbar"));
  toolBar->addAction(addCommand(QStringLiteral("tlbar.start"), QStringLiteral("Start"), Qt::Key_F5));
  toolBar->addAction(addCommand(QStringLiteral("tlbar.cycle"), QStringLiteral("Cycle Run")));
  toolBar->addAction(addCommand(QStringLiteral("tlbar.stepover"), QStringLiteral("Step Over"), Qt::Key_F10));
  toolBar->addAction(addCommand(QStringLiteral("tlbar.pause"), QStringLiteral("Pause")));
  toolBar->addAction(addCommand(QStringLiteral("tlbar.stop"), QStringLiteral("Stop"), Qt::SHIFT | Qt::Key_F5));
  toolBar->addAction(addCommand(QStringLiteral("tlbar.endcycle"), QStringLiteral("End Cycle")));
  toolBar->addSeparator();
  toolBar->addWidget(new QLabel(QStringLiteral(" Start procedure: ")));
  startupBox_->setEditable(true);
  startupBox_->setMinimumWidth(180);
  startupBox_->setInsertPolicy(QComboBox::NoInsert);
  toolBar->addWidget(startupBox_);
  allowed_.insert(QStringLiteral("tlbar.startup"), true);

  connect(command(QStringLiteral("tlbar.start")), &QAction::triggered, this, [this] { Q_EMIT startRequested(1); });
  connect(command(QStringLiteral("tlbar.cycle")), &QAction::triggered, this, [this] { Q_EMIT startRequested(2); });
  connect(command(QStringLiteral("tlbar.stepover")), &QAction::triggered, this, [this] { Q_EMIT startRequested(3); });
  connect(command(QStringLiteral("tlbar.stop")), &QAction::triggered, this, [this] { Q_EMIT stopRequested(1); });
  connect(command(QStringLiteral("tlbar.pause")), &QAction::triggered, this, [this] { Q_EMIT stopRequested(2); });
  connect(command(QStringLiteral("tlbar.endcycle")), &QAction::triggered, this, [this] { Q_EMIT stopRequested(3); });
  connect(command(QStringLiteral("menu.file.save")), &QAction::triggered, this, &ScriptWindow::saveRequested);
  connect(command(QStringLiteral("menu.file.saveas")), &QAction::triggered, this, &ScriptWindow::saveAsRequested);
  connect(command(QStringLiteral("menu.file.exit")), &QAction::triggered, this, &QWidget::hide);
  connect(startupBox_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!loadingText_) Q_EMIT startupProcedureEdited(text);
  });
  connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
    if (!loadingText_) Q_EMIT sourceEdited();
  });
  connect(editor_, &QPlainTextEdit::textChanged, this, &ScriptWindow::refreshProcedureList);
  setFilePath({});
  refreshCommands();
}

QAction* ScriptWindow::addCommand(const QString& name, const QString& text, const QKeySequence& shortcut) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  commands_.insert(name, action);
  allowed_.insert(name, true);
  return action;
}

void ScriptWindow::setSourceText(const QString& text) {
  if (text == editor_->toPlainText()) return;
  loadingText_ = true;
  editor_->setPlainText(text);
  loadingText_ = false;
}

QString ScriptWindow::sourceText() const { return editor_->toPlainText(); }

void ScriptWindow::setFilePath(const QString& path) {
  setWindowTitle(path.isEmpty() ? QStringLiteral("(Untitled)") : QFileInfo(path).fileName() + QStringLiteral(" - ") + path);
}

void ScriptWindow::setEditLocked(bool locked) { editor_->setReadOnly(locked); }

bool ScriptWindow::setItemEnabled(const QString& name, bool enabled) {
  if (!allowed_.contains(name)) return false;
  allowed_[name] = enabled;
  refreshCommands();
  return true;
}

void ScriptWindow::setStartupProcedure(const QString& name) {
  if (startupBox_->currentText() == name) return;
  loadingText_ = true;
  startupBox_->setEditText(name);
  loadingText_ = false;
}

void ScriptWindow::setRunState(int state, int line) {
  state_ = state;
  editor_->setExecutionLine(state == 2 || state == -1 ? line : 0);
  refreshCommands();
}

// A command is usable when the host allows it and the run state makes sense
// for it: start and step while not running, pause while running, stop while
// busy.
void ScriptWindow::refreshCommands() {
  const bool busy = state_ == 1 || state_ == 2;
  const QHash<QString, bool> byState{
      {QStringLiteral("tlbar.start"), state_ != 1},     {QStringLiteral("tlbar.cycle"), !busy},
      {QStringLiteral("tlbar.stepover"), state_ != 1},  {QStringLiteral("tlbar.pause"), state_ == 1},
      {QStringLiteral("tlbar.stop"), busy},             {QStringLiteral("tlbar.endcycle"), busy},
  };
  for (auto it = commands_.cbegin(); it != commands_.cend(); ++it)
    it.value()->setEnabled(allowed_.value(it.key()) && byState.value(it.key(), true));
  startupBox_->setEnabled(allowed_.value(QStringLiteral("tlbar.startup")) && !busy);
}

void ScriptWindow::refreshProcedureList() {
  const QStringList names = procedureNames(editor_->toPlainText());
  QStringList current;
  for (int i = 0; i < startupBox_->count(); ++i) current.append(startupBox_->itemText(i));
  if (names == current) return;
  const QString chosen = startupBox_->currentText();
  loadingText_ = true;
  startupBox_->clear();
  startupBox_->addItems(names);
  startupBox_->setEditText(chosen);
  loadingText_ = false;
}

void ScriptWindow::appendOutput(const QString& line) { output_->appendPlainText(line); }

void ScriptWindow::appendError(const QString& message) {
  output_->appendHtml(QStringLiteral("<span style=\"color:#c00000\">%1</span>").arg(message.toHtmlEscaped()));
}

QString ScriptWindow::outputText() const { return output_->toPlainText(); }

void ScriptWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

}  // namespace tarvix::engine
