#include "ui/windows/LocalizeForm.h"

#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenu>
#include <QMetaProperty>
#include <QSet>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include "ui/modLocale.h"

namespace tarvix {
namespace {

constexpr int kOldSystemFontText = 10;
constexpr int kFontText = 11;
constexpr int kFirstFallbackFontText = 12;
constexpr int kLastFallbackFontText = 13;
constexpr int kCharacterSetText = 14;

// Texts a control may carry, in the order they are resolved: "text" before the
// tips, because an action's default tool-tip is derived from its text.
constexpr const char* kTextProperties[] = {"text", "title", "windowTitle", "placeholderText",
                                           "iconText", "toolTip", "statusTip", "whatsThis"};

// The character set of text 14 (a Windows charset number) as the script the
// interface font must cover; a family that lacks it counts as not installed.
QFontDatabase::WritingSystem writingSystemOf(int characterSet) {
  switch (characterSet) {
    case 0: return QFontDatabase::Latin;
    case 128: return QFontDatabase::Japanese;
    case 129: return QFontDatabase::Korean;
    case 134: return QFontDatabase::SimplifiedChinese;
    case 136: return QFontDatabase::TraditionalChinese;
    case 204: return QFontDatabase::Cyrillic;
    default: return QFontDatabase::Any;
  }
}

bool fontIsInstalled(const QString& family, QFontDatabase::WritingSystem script) {
  return !family.isEmpty() && QFontDatabase::families(script).contains(family, Qt::CaseInsensitive);
}

// The interface font: the given one or text 10/11, then the fall-backs 12 and
// 13. The last fall-back is taken as it is, installed or not.
QString chooseFontName(const QVariant& font) {
  bool isNumber = false;
  const int characterSet = LStr(kCharacterSetText).trimmed().toInt(&isNumber);
  const auto script = writingSystemOf(isNumber ? characterSet : 0);
  const QString preferred = font.isValid() ? LStr(font) : LStr(OsMajorVersion() < 6 ? kOldSystemFontText : kFontText);
  if (fontIsInstalled(preferred, script)) return preferred;
  const QString fallback = LStr(kFirstFallbackFontText);
  if (fontIsInstalled(fallback, script)) return fallback;
  return LStr(kLastFallbackFontText);
}

template <typename Target>
void setFontFamily(Target* target, const QString& family) {
  if (family.isEmpty() || target->font().family() == family) return;
  QFont font = target->font();
  font.setFamily(family);
  target->setFont(font);
}

void resolveProperty(QObject* object, const char* name) {
  const QMetaObject* meta = object->metaObject();
  const int index = meta->indexOfProperty(name);
  if (index < 0 || !meta->property(index).isWritable()) return;
  const QVariant value = object->property(name);
  if (value.typeId() != QMetaType::QString) return;
  const QString resolved = ResolveCaption(value.toString());
  if (resolved != value.toString()) object->setProperty(name, resolved);
}

// A menu's title is its menu action's text, which is resolved with the actions.
void resolveProperties(QObject* object) {
  const bool isMenu = qobject_cast<QMenu*>(object);
  for (const char* name : kTextProperties) {
    if (!(isMenu && qstrcmp(name, "title") == 0)) resolveProperty(object, name);
  }
}

void resolveHeader(QHeaderView* header) {
  QAbstractItemModel* model = header->model();
  if (!model) return;
  for (int section = 0; section < header->count(); ++section) {
    for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)}) {
      const QVariant value = model->headerData(section, header->orientation(), role);
      if (value.typeId() != QMetaType::QString) continue;
      const QString resolved = ResolveCaption(value.toString());
      if (resolved != value.toString()) model->setHeaderData(section, header->orientation(), resolved, role);
    }
  }
}

void resolveTabs(QTabBar* tabs) {
  for (int index = 0; index < tabs->count(); ++index) {
    tabs->setTabText(index, ResolveCaption(tabs->tabText(index)));
    tabs->setTabToolTip(index, ResolveCaption(tabs->tabToolTip(index)));
  }
}

// The editor inside a spin box or combo box shows a value, not a caption.
bool isValueEditor(const QWidget* widget) {
  const QObject* parent = widget->parent();
  return qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent);
}

class FormLocalizer {
 public:
  explicit FormLocalizer(QString fontName) : fontName_(std::move(fontName)) {}

  void localizeChildren(QWidget* window) {
    visited_.insert(window);
    visitActions(window);
    for (QObject* child : window->children()) visit(child, false);
  }

 private:
  // `inStatusPanel`: a status bar's panel keeps its shown text; only its
  // tool-tip is resolved.
  void visit(QObject* object, bool inStatusPanel) {
    if (!object || visited_.contains(object)) return;
    visited_.insert(object);
    if (auto* action = qobject_cast<QAction*>(object)) {
      visitAction(action);
      return;
    }
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return;
    setFontFamily(widget, fontName_);
    if (inStatusPanel) {
      resolveProperty(widget, "toolTip");
    } else if (!isValueEditor(widget)) {
      localizeControl(widget);
    }
    visitActions(widget);
    const bool childrenArePanels = inStatusPanel || qobject_cast<QStatusBar*>(widget);
    for (QObject* child : widget->children()) visit(child, childrenArePanels);
  }

  void localizeControl(QWidget* widget) {
    resolveProperties(widget);
    if (auto* header = qobject_cast<QHeaderView*>(widget)) resolveHeader(header);
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) resolveTabs(tabs);
    if (auto* button = qobject_cast<QToolButton*>(widget)) visit(button->menu(), false);
  }

  void visitAction(QAction* action) {
    setFontFamily(action, fontName_);
    resolveProperties(action);
    visit(action->menu<QMenu*>(), false);
  }

  void visitActions(QWidget* widget) {
    for (QAction* action : widget->actions()) visit(action, false);
  }

  QString fontName_;
  QSet<QObject*> visited_;
};

}  // namespace

void LocalizeForm(QWidget* window, const QVariant& font) {
  if (!window) return;
  // Windows charsets have no Qt counterpart: text 14 only decides which script
  // the chosen family must cover.
  const QString fontName = chooseFontName(font);
  setFontFamily(window, fontName);
  window->setWindowTitle(ResolveCaption(window->windowTitle()));
  FormLocalizer(fontName).localizeChildren(window);
}

}  // namespace tarvix
