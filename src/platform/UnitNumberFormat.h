// Numbers written with the fixed separators ("," for thousands, "." for decimals).
#pragma once

#include <string>

// "%.0n": the integer with thousands separators, e.g. "1,234,567", "-1,000".
std::u16string FormatThousands(long long value);
// "%f": fixed notation with two decimals, e.g. "1205.63".
std::u16string FormatFixed2(double value);
