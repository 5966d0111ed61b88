#pragma once
#include <string>

namespace kv::util {

// A finite number as decimal digits, in the shape Delphi's FloatToDecimal uses: the value is
// 0.d1d2d3... * 10^exponent, digits carry no trailing zeros, and zero has no digits at all.
// Rounding works on these digits, so 2.675 rounds to 2.68 although the double is a hair below.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
};

// The shortest digits that read back as the same double.
DecimalDigits ShortestDigits(double v);

// Digits of a value as Delphi's Format sees it: a value that is exactly a double is taken at
// its shortest form rounded to 15 significant digits (Double precision), any other long double
// at 18 (Extended precision). `v` must be finite.
DecimalDigits FormatDigits(long double v);

// Keeps at most `keep` significant digits, rounding half away from zero; keep <= 0 leaves zero
// unless the first dropped digit rounds up into a new leading digit.
void RoundDigits(DecimalDigits& d, int keep);

} // namespace kv::util
