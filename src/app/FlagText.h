#pragma once

#include <QString>

namespace tarvix {

// Text 212 for true, text 213 for false: how the script list and project files
// show a row flag.
QString FlagText(bool flag);

}  // namespace tarvix
