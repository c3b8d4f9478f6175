#pragma once

#include <QString>

namespace tarvix::builtins {

// English names; weekday 1 is Sunday, month 1 January.
QString weekdayName(int weekday, bool abbreviate);
QString monthName(int month, bool abbreviate);

}  // namespace tarvix::builtins
