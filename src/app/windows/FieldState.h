#pragma once

class QWidget;

namespace tarvix {

// An input field that can be used, with the normal entry background.
void EnableField(QWidget* field);
// An input field that cannot be used, greyed with the button colour.
void DisableField(QWidget* field);

}  // namespace tarvix
