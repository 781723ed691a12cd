#pragma once

// Numbers read from text the way the system reads them: settings values and
// command arguments.

#include <optional>
#include <string>

namespace wavecrest {

// A decimal number with optional blanks around it ("1.5", " 50 ", "-5",
// "1e2"); nothing for anything else, and for infinities and NaN.
std::optional<double> DecimalNumber(const std::string& text);

// A whole decimal number and nothing else ("7", "-3"); nothing otherwise.
std::optional<long long> WholeNumber(const std::string& text);

// The player's level for a volume percent: hundredths of a decibel,
// percent × 25 − 2500 rounded to the nearest whole number (half to even).
int VolumeForPercent(double percent);

}  // namespace wavecrest
