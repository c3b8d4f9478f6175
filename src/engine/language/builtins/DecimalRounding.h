#pragma once

namespace tarvix::builtins {

enum class Tie { ToEven, AwayFromZero };

// value rounded to `digits` (>= 0) decimal places, deciding ties on the value's
// 15-significant-digit decimal form, so 2.675 is a tie although its binary
// value lies just below it.
double roundDecimal(double value, int digits, Tie tie);

}  // namespace tarvix::builtins
