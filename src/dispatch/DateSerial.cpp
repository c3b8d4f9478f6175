#include "dispatch/DateSerial.h"

#include <QRegularExpression>
#include <cmath>

namespace tarvix {
namespace {

constexpr qint64 kEpochJulianDay = 2415019;  // 1899-12-30
constexpr double kSecondsPerDay = 86400.0;

int monthFromName(QStringView name) {
  static const char* const kNames[] = {"january", "february", "march",     "april",   "may",      "june",
                                       "july",    "august",   "september", "october", "november", "december"};
  const QString lower = name.toString().toLower();
  if (lower.size() < 3) return 0;
  for (int i = 0; i < 12; ++i) {
    const QString full = QString::fromLatin1(kNames[i]);
    if (full.startsWith(lower)) return i + 1;
  }
  return 0;
}

int expandYear(const QString& digits) {
  const int year = digits.toInt();
  if (digits.size() <= 2) return year < 30 ? 2000 + year : 1900 + year;
  return year;
}

bool validDate(int year, int month, int day) {
  return year >= 100 && year <= 9999 && QDate(year, month, day).isValid();
}

std::optional<double> parseDatePart(const QString& text) {
  static const QRegularExpression numeric(QStringLiteral("^(\\d{1,4})([/.\\-])(\\d{1,2})\\2(\\d{1,4})$"));
  static const QRegularExpression dayName(QStringLiteral("^(\\d{1,2})[\\s\\-]+([A-Za-z]+)\\.?[\\s\\-,]+(\\d{1,4})$"));
  static const QRegularExpression nameDay(QStringLiteral("^([A-Za-z]+)\\.?\\s+(\\d{1,2}),?\\s+(\\d{1,4})$"));
  int year = 0, month = 0, day = 0;
  if (auto m = numeric.match(text); m.hasMatch()) {
    if (m.captured(1).size() >= 3) {
      year = m.captured(1).toInt();
      month = m.captured(3).toInt();
      day = m.captured(4).toInt();
      if (m.captured(4).size() > 2) return std::nullopt;
    } else {
      month = m.captured(1).toInt();
      day = m.captured(3).toInt();
      year = expandYear(m.captured(4));
      if (month > 12 && day <= 12) std::swap(month, day);
    }
  } else if (auto d = dayName.match(text); d.hasMatch()) {
    day = d.captured(1).toInt();
    month = monthFromName(d.captured(2));
    year = expandYear(d.captured(3));
  } else if (auto n = nameDay.match(text); n.hasMatch()) {
    month = monthFromName(n.captured(1));
    day = n.captured(2).toInt();
    year = expandYear(n.captured(3));
  } else {
    return std::nullopt;
  }
  if (!validDate(year, month, day)) return std::nullopt;
  return daySerial(year, month, day);
}

}  // namespace

bool isValidDateSerial(double serial) {
  return std::isfinite(serial) && serial >= kMinDateSerial && serial < 2958466.0;
}

DateParts datePartsOf(double serial) {
  double days = std::trunc(serial);
  double seconds = std::round(std::fabs(serial - days) * kSecondsPerDay);
  qint64 julian = kEpochJulianDay + static_cast<qint64>(days);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++julian;
  }
  const QDate date = QDate::fromJulianDay(julian);
  const int total = static_cast<int>(seconds);
  return DateParts{date.year(), date.month(), date.day(), total / 3600, total / 60 % 60, total % 60};
}

std::optional<double> daySerial(int year, int month, int day) {
  if (year < 0 || year > 9999 + 100) return std::nullopt;
  const int zeroBasedMonth = month - 1;
  year += zeroBasedMonth >= 0 ? zeroBasedMonth / 12 : -((11 - zeroBasedMonth) / 12);
  month = ((zeroBasedMonth % 12) + 12) % 12 + 1;
  const QDate first(year, month, 1);
  if (!first.isValid()) return std::nullopt;
  return static_cast<double>(first.toJulianDay() - kEpochJulianDay + (day - 1));
}

double timeFraction(int hour, int minute, int second) {
  return (static_cast<double>(hour) * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
}

double combineDateTime(double days, double time) {
  // A negative serial keeps the time of day as a positive fraction.
  if (days < 0 && time >= 0 && time < 1) return days - time;
  return days + time;
}

double serialFromDateTime(const QDateTime& dateTime) {
  const QDate d = dateTime.date();
  const QTime t = dateTime.time();
  const double days = static_cast<double>(d.toJulianDay() - kEpochJulianDay);
  const double time = (t.msecsSinceStartOfDay() / 1000.0) / kSecondsPerDay;
  return combineDateTime(days, time);
}

QDateTime dateTimeFromSerial(double serial) {
  const DateParts p = datePartsOf(serial);
  return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

std::optional<double> parseDateText(QStringView input) {
  static const QRegularExpression timeAtEnd(QStringLiteral(
      "(?:^|[\\sT])(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?(?:\\s*([AaPp])[Mm])?$"));
  QString text = input.trimmed().toString();
  if (text.isEmpty()) return std::nullopt;

  std::optional<double> time;
  if (auto m = timeAtEnd.match(text); m.hasMatch()) {
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const int second = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString half = m.captured(4).toUpper();
    if (!half.isEmpty()) {
      if (hour < 1 || hour > 12) return std::nullopt;
      hour = hour % 12 + (half == QLatin1String("P") ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    time = timeFraction(hour, minute, second);
    text = text.left(m.capturedStart(0)).trimmed();
  }
  if (text.isEmpty()) return time;
  const std::optional<double> days = parseDatePart(text);
  if (!days) return std::nullopt;
  return combineDateTime(*days, time.value_or(0.0));
}

}  // namespace tarvix
