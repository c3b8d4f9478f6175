#include "app/windows/FieldState.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace tarvix {
namespace {

void setField(QWidget* field, bool enabled) {
  if (!field) return;
  field->setEnabled(enabled);
  QPalette palette = field->palette();
  const QPalette standard = QApplication::palette(field);
  // The colour is set for every colour group: a disabled field is drawn
  // from the Disabled group.
  palette.setColor(QPalette::Base, enabled ? standard.color(QPalette::Active, QPalette::Base)
                                           : standard.color(QPalette::Active, QPalette::Button));
  field->setPalette(palette);
}

}  // namespace

void EnableField(QWidget* field) { setField(field, true); }

void DisableField(QWidget* field) { setField(field, false); }

}  // namespace tarvix
