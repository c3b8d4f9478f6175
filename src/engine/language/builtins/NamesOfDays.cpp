#include "engine/language/builtins/NamesOfDays.h"

namespace tarvix::builtins {

QString weekdayName(int weekday, bool abbreviate) {
  static const char* const kNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  const QString name = QString::fromLatin1(kNames[(weekday - 1) % 7]);
  return abbreviate ? name.left(3) : name;
}

QString monthName(int month, bool abbreviate) {
  static const char* const kNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
  const QString name = QString::fromLatin1(kNames[(month - 1) % 12]);
  return abbreviate ? name.left(3) : name;
}

}  // namespace tarvix::builtins
