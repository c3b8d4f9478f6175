#pragma once

#include <QDateTime>
#include <QStringView>
#include <optional>

namespace tarvix {

// Dates as automation keeps them: a double counting days since 1899-12-30,
// the time of day as the fraction. Before that day the fraction still counts
// forwards from midnight (-1.25 is 1899-12-29 06:00).
struct DateParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

inline constexpr double kMinDateSerial = -657434.0;           // 0100-01-01
inline constexpr double kMaxDateSerial = 2958465.99998842593;  // 9999-12-31 23:59:59

bool isValidDateSerial(double serial);

// Parts of a serial, rounded to the second. The serial must be valid.
DateParts datePartsOf(double serial);
// Day number (whole days since 1899-12-30) of a calendar date; months and
// days out of their ranges roll over (month 13 is January of the next year,
// day 0 the last day of the month before), as DateSerial does.
std::optional<double> daySerial(int year, int month, int day);
// Time of day as a fraction of a day; out-of-range parts roll over and may
// give a value outside [0, 1).
double timeFraction(int hour, int minute, int second);
// A day number plus a signed time fraction, combined the automation way.
double combineDateTime(double days, double time);

double serialFromDateTime(const QDateTime& dateTime);
QDateTime dateTimeFromSerial(double serial);

// Reads a date and/or time text. Accepted: date "yyyy/m/d", "yyyy-m-d",
// "yyyy.m.d", "m/d/yyyy", "m-d-yyyy", "d month yyyy", "month d, yyyy" (month
// names or their three-letter forms, English), two-digit years (00-29 ->
// 2000s, 30-99 -> 1900s); time "h:n", "h:n:s" with an optional "AM"/"PM";
// a date and a time separated by blanks or "T". Leading and trailing blanks
// are ignored. std::nullopt when the text is not such a date.
std::optional<double> parseDateText(QStringView text);

}  // namespace tarvix
