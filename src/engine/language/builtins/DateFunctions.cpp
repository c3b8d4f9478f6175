#include <cmath>

#include "base/Clock.h"
#include "dispatch/DateSerial.h"
#include "engine/language/builtins/BuiltinSupport.h"
#include "engine/language/builtins/NamesOfDays.h"

namespace tarvix::builtins {
namespace {

Variant dateResult(double serial) {
  if (!isValidDateSerial(serial)) invalidArgument();
  return Variant::date(serial);
}

double nowSerial() { return serialFromDateTime(clock().now()); }

Variant now(BuiltinCall&) { return Variant::date(nowSerial()); }
Variant date(BuiltinCall&) { return Variant::date(std::trunc(nowSerial())); }

Variant time(BuiltinCall&) {
  const QTime t = clock().now().time();
  return Variant::date(timeFraction(t.hour(), t.minute(), t.second()));
}

// Seconds since midnight, with hundredths.
Variant timer(BuiltinCall&) {
  const QTime t = clock().now().time();
  return Variant(static_cast<float>(std::floor(t.msecsSinceStartOfDay() / 10.0) / 100.0));
}

// Parts of a date argument; Null in gives Null out.
template <int DateParts::*Field>
Variant part(BuiltinCall& c) {
  if (c.arg(0).isNull()) return Variant::null();
  const DateParts p = datePartsOf(c.arg(0).toDate());
  return Variant(static_cast<std::int16_t>(p.*Field));
}

// First day of the week argument: 1 Sunday .. 7 Saturday, 0 the system's (Sunday).
int firstDayArg(const BuiltinCall& c, std::size_t i) {
  const std::int32_t first = longArg(c, i, 1);
  if (first < 0 || first > 7) invalidArgument();
  return first == 0 ? 1 : first;
}

// 1 Sunday .. 7 Saturday.
int sundayBasedWeekday(const DateParts& p) { return QDate(p.year, p.month, p.day).dayOfWeek() % 7 + 1; }

int weekdayFrom(const DateParts& p, int firstDay) { return (sundayBasedWeekday(p) - firstDay + 7) % 7 + 1; }

Variant weekday(BuiltinCall& c) {
  const int first = firstDayArg(c, 1);
  if (c.arg(0).isNull()) return Variant::null();
  return Variant(static_cast<std::int16_t>(weekdayFrom(datePartsOf(c.arg(0).toDate()), first)));
}

Variant weekdayNameFn(BuiltinCall& c) {
  const std::int32_t day = c.arg(0).toLong();
  const bool abbreviate = c.has(1) && c.arg(1).toBool();
  const int first = firstDayArg(c, 2);
  if (day < 1 || day > 7) invalidArgument();
  return Variant(weekdayName((day - 1 + first - 1) % 7 + 1, abbreviate));
}

Variant monthNameFn(BuiltinCall& c) {
  const std::int32_t month = c.arg(0).toLong();
  if (month < 1 || month > 12) invalidArgument();
  return Variant(monthName(month, c.has(1) && c.arg(1).toBool()));
}

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval intervalArg(const Variant& v) {
  const QString s = v.toString().toLower();
  if (s == QLatin1String("yyyy")) return Interval::Year;
  if (s == QLatin1String("q")) return Interval::Quarter;
  if (s == QLatin1String("m")) return Interval::Month;
  if (s == QLatin1String("y")) return Interval::DayOfYear;
  if (s == QLatin1String("d")) return Interval::Day;
  if (s == QLatin1String("w")) return Interval::Weekday;
  if (s == QLatin1String("ww")) return Interval::Week;
  if (s == QLatin1String("h")) return Interval::Hour;
  if (s == QLatin1String("n")) return Interval::Minute;
  if (s == QLatin1String("s")) return Interval::Second;
  invalidArgument();
}

double timeOfDay(const DateParts& p) { return timeFraction(p.hour, p.minute, p.second); }

// Whole seconds from 1899-12-30 00:00 on the calendar, also before it.
double calendarSeconds(double serial) {
  const DateParts p = datePartsOf(serial);
  return *daySerial(p.year, p.month, p.day) * 86400.0 + p.hour * 3600.0 + p.minute * 60.0 + p.second;
}

double addMonths(double serial, std::int64_t months) {
  const DateParts p = datePartsOf(serial);
  const std::int64_t total = std::int64_t{p.year} * 12 + (p.month - 1) + months;
  if (total < 100 * 12 || total > 9999 * 12 + 11) invalidArgument();
  const int year = static_cast<int>(total / 12), month = static_cast<int>(total % 12) + 1;
  const int day = std::min(p.day, QDate(year, month, 1).daysInMonth());
  return combineDateTime(*daySerial(year, month, day), timeOfDay(p));
}

// DateAdd(interval, number, date)
Variant dateAdd(BuiltinCall& c) {
  const Interval interval = intervalArg(c.arg(0));
  if (c.arg(1).isNull() || c.arg(2).isNull()) raiseError(ErrorNumber::InvalidUseOfNull);
  const double number = c.arg(1).toDouble();
  const double serial = c.arg(2).toDate();
  const std::int64_t whole = static_cast<std::int64_t>(std::trunc(number));
  switch (interval) {
    case Interval::Year: return dateResult(addMonths(serial, whole * 12));
    case Interval::Quarter: return dateResult(addMonths(serial, whole * 3));
    case Interval::Month: return dateResult(addMonths(serial, whole));
    default: break;
  }
  double seconds = 0;
  switch (interval) {
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: seconds = whole * 86400.0; break;
    case Interval::Week: seconds = whole * 7 * 86400.0; break;
    case Interval::Hour: seconds = whole * 3600.0; break;
    case Interval::Minute: seconds = whole * 60.0; break;
    default: seconds = whole; break;
  }
  const double total = calendarSeconds(serial) + seconds;
  const double days = std::floor(total / 86400.0);
  const double time = (total - days * 86400.0) / 86400.0;
  if (!isValidDateSerial(days)) invalidArgument();
  return dateResult(combineDateTime(days, time));
}

// DateDiff(interval, date1, date2[, firstdayofweek[, firstweekofyear]]):
// the number of interval boundaries crossed from date1 to date2.
Variant dateDiff(BuiltinCall& c) {
  const Interval interval = intervalArg(c.arg(0));
  const int firstDay = firstDayArg(c, 3);
  if (c.arg(1).isNull() || c.arg(2).isNull()) return Variant::null();
  const double d1 = c.arg(1).toDate(), d2 = c.arg(2).toDate();
  const DateParts p1 = datePartsOf(d1), p2 = datePartsOf(d2);
  const double s1 = calendarSeconds(d1), s2 = calendarSeconds(d2);
  const double day1 = std::floor(s1 / 86400.0), day2 = std::floor(s2 / 86400.0);
  double diff = 0;
  switch (interval) {
    case Interval::Year: diff = p2.year - p1.year; break;
    case Interval::Quarter: diff = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3); break;
    case Interval::Month: diff = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month); break;
    case Interval::DayOfYear:
    case Interval::Day: diff = day2 - day1; break;
    case Interval::Weekday: diff = std::trunc((day2 - day1) / 7); break;
    case Interval::Week: {
      // Weeks starting on firstDay between the two dates.
      const auto weekStart = [firstDay](double day, const DateParts& p) { return day - (weekdayFrom(p, firstDay) - 1); };
      diff = (weekStart(day2, p2) - weekStart(day1, p1)) / 7;
      break;
    }
    case Interval::Hour: diff = std::floor(s2 / 3600.0) - std::floor(s1 / 3600.0); break;
    case Interval::Minute: diff = std::floor(s2 / 60.0) - std::floor(s1 / 60.0); break;
    case Interval::Second: diff = s2 - s1; break;
  }
  return Variant(static_cast<std::int32_t>(diff));
}

// DatePart(interval, date[, firstdayofweek[, firstweekofyear]])
Variant datePart(BuiltinCall& c) {
  const Interval interval = intervalArg(c.arg(0));
  const int firstDay = firstDayArg(c, 2);
  if (c.arg(1).isNull()) return Variant::null();
  const DateParts p = datePartsOf(c.arg(1).toDate());
  const QDate day(p.year, p.month, p.day);
  int value = 0;
  switch (interval) {
    case Interval::Year: value = p.year; break;
    case Interval::Quarter: value = (p.month - 1) / 3 + 1; break;
    case Interval::Month: value = p.month; break;
    case Interval::DayOfYear: value = day.dayOfYear(); break;
    case Interval::Day: value = p.day; break;
    case Interval::Weekday: value = weekdayFrom(p, firstDay); break;
    case Interval::Week: {
      // Week 1 holds January 1.
      const DateParts jan1{p.year, 1, 1, 0, 0, 0};
      value = (day.dayOfYear() - 1 + weekdayFrom(jan1, firstDay) - 1) / 7 + 1;
      break;
    }
    case Interval::Hour: value = p.hour; break;
    case Interval::Minute: value = p.minute; break;
    case Interval::Second: value = p.second; break;
  }
  return Variant(static_cast<std::int32_t>(value));
}

// DateSerial(year, month, day): months and days roll over; years 0-29 are
// 2000-2029 and 30-99 are 1930-1999.
Variant dateSerial(BuiltinCall& c) {
  std::int32_t year = c.arg(0).toInteger();
  const std::int32_t month = c.arg(1).toInteger();
  const std::int32_t day = c.arg(2).toInteger();
  if (year >= 0 && year < 30) year += 2000;
  else if (year >= 30 && year < 100) year += 1900;
  const std::optional<double> serial = daySerial(year, month, day);
  if (!serial) invalidArgument();
  return dateResult(*serial);
}

// TimeSerial(hour, minute, second): parts roll over, also into other days.
Variant timeSerial(BuiltinCall& c) {
  const double total = timeFraction(c.arg(0).toInteger(), c.arg(1).toInteger(), c.arg(2).toInteger());
  const double days = std::floor(total);
  return dateResult(combineDateTime(days, total - days));
}

Variant dateValue(BuiltinCall& c) {
  if (c.arg(0).isNull()) return Variant::null();
  const DateParts p = datePartsOf(c.arg(0).toDate());
  return Variant::date(*daySerial(p.year, p.month, p.day));
}

Variant timeValue(BuiltinCall& c) {
  if (c.arg(0).isNull()) return Variant::null();
  return Variant::date(timeOfDay(datePartsOf(c.arg(0).toDate())));
}

constexpr Builtin kBuiltins[] = {
    {u"Now", now, 0, 0},
    {u"Date", date, 0, 0},
    {u"Time", time, 0, 0},
    {u"Timer", timer, 0, 0},
    {u"Year", part<&DateParts::year>, 1, 1},
    {u"Month", part<&DateParts::month>, 1, 1},
    {u"Day", part<&DateParts::day>, 1, 1},
    {u"Hour", part<&DateParts::hour>, 1, 1},
    {u"Minute", part<&DateParts::minute>, 1, 1},
    {u"Second", part<&DateParts::second>, 1, 1},
    {u"Weekday", weekday, 1, 2},
    {u"WeekdayName", weekdayNameFn, 1, 3},
    {u"MonthName", monthNameFn, 1, 2},
    {u"DateAdd", dateAdd, 3, 3},
    {u"DateDiff", dateDiff, 3, 5},
    {u"DatePart", datePart, 2, 4},
    {u"DateSerial", dateSerial, 3, 3},
    {u"TimeSerial", timeSerial, 3, 3},
    {u"DateValue", dateValue, 1, 1},
    {u"TimeValue", timeValue, 1, 1},
};

}  // namespace

std::span<const Builtin> dateBuiltins() { return kBuiltins; }

}  // namespace tarvix::builtins
