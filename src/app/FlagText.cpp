#include "app/FlagText.h"

#include "ui/modLocale.h"

namespace tarvix {

QString FlagText(bool flag) { return LStr(flag ? 212 : 213); }

}  // namespace tarvix
