#pragma once

#include <QVariant>

class QWidget;

namespace tarvix {

// Localises a window as it loads: every "Text#NNNN" caption, menu item, button,
// label, tool-tip, header, tab and status-bar tip of the window and its children
// becomes text NNNN (see ResolveCaption), and the window and its controls get
// the interface font named by texts 10 to 14. A status bar's panels keep their
// shown text; only their tool-tips are resolved.
//
// `font`, when given, is a font name or a font text number used instead of
// texts 10 and 11.
void LocalizeForm(QWidget* window, const QVariant& font = {});

}  // namespace tarvix
