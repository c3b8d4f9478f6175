#include "engine/language/builtins/DecimalRounding.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tarvix::builtins {

double roundDecimal(double value, int digits, Tie tie) {
  if (value == 0 || !std::isfinite(value) || digits < 0) return value;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  std::string mantissa;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') mantissa += *p;
  const int exponent = std::atoi(p + 1);
  // Number of mantissa digits that stay.
  const int keep = exponent + 1 + digits;
  if (keep >= static_cast<int>(mantissa.size())) return value;
  if (keep < 0) return 0.0;

  const char decider = mantissa[keep];
  const bool restZero = mantissa.find_first_not_of('0', keep + 1) == std::string::npos;
  std::string kept = mantissa.substr(0, keep);
  bool up = decider > '5' || (decider == '5' && !restZero);
  if (decider == '5' && restZero) {
    const int last = kept.empty() ? 0 : kept.back() - '0';
    up = tie == Tie::AwayFromZero || (last % 2 == 1);
  }
  // kept holds the digits down to 10^-digits; build the magnitude from them.
  double magnitude = kept.empty() ? 0.0 : std::strtod(kept.c_str(), nullptr);
  if (up) magnitude += 1;
  char text[64];
  std::snprintf(text, sizeof text, "%.0fe-%d", magnitude, digits);
  const double exact = std::strtod(text, nullptr);
  return value < 0 ? -exact : exact;
}

}  // namespace tarvix::builtins
