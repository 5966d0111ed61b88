#include "core/util/currency.h"

#include "core/util/decimal.h"

#include <cmath>
#include <limits>

namespace kv::util {

namespace {

constexpr uint64_t Pow10[] = {1, 10, 100, 1000, 10000};
constexpr uint64_t MaxMagnitude = uint64_t{1} << 63; // |INT64_MIN|

bool isSpace(char c) { return c == ' ' || c == '\t'; }

int64_t withSign(uint64_t magnitude, bool negative)
{
    if (negative) return magnitude == MaxMagnitude ? std::numeric_limits<int64_t>::min()
                                                   : -static_cast<int64_t>(magnitude);
    return static_cast<int64_t>(magnitude);
}

} // namespace

Currency Currency::FromDouble(double v)
{
    // The double is taken at its shortest decimal form, so 0.00005 is a half and rounds up,
    // although the double itself lies a little below it.
    if (std::isnan(v)) return Currency{};
    if (std::isinf(v))
        return {v < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max()};
    DecimalDigits d = ShortestDigits(v);
    RoundDigits(d, d.exponent + 4);
    if (d.isZero()) return Currency{};
    const int places = d.exponent + 4; // digits of the raw value
    const uint64_t limit = d.negative ? MaxMagnitude : MaxMagnitude - 1;
    if (places > 19)
        return {d.negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max()};
    uint64_t raw = 0;
    for (int i = 0; i < places; ++i) {
        const unsigned digit = i < static_cast<int>(d.digits.size()) ? d.digits[i] - '0' : 0;
        if (raw > (limit - digit) / 10)
            return {d.negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max()};
        raw = raw * 10 + digit;
    }
    return {withSign(raw, d.negative)};
}

bool TryParseCurrency(std::string_view text, Currency& out)
{
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const uint64_t limit = negative ? MaxMagnitude : MaxMagnitude - 1;
    uint64_t units = 0;
    int intDigits = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++intDigits) {
        const unsigned digit = text[i] - '0';
        if (units > (limit / Currency::Scale - digit) / 10) return false;
        units = units * 10 + digit;
    }
    uint64_t fraction = 0;
    int fracDigits = 0;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++fracDigits) {
            if (fracDigits == 4) return false;
            fraction = fraction * 10 + static_cast<unsigned>(text[i] - '0');
        }
    }
    if (i != text.size() || intDigits + fracDigits == 0) return false;
    fraction *= Pow10[4 - fracDigits];
    const uint64_t magnitude = units * Currency::Scale;
    if (magnitude > limit - fraction) return false;
    out = Currency::FromRaw(withSign(magnitude + fraction, negative));
    return true;
}

std::string CurrencyToText(Currency c, int decimals, char decimalSeparator)
{
    if (decimals < 0) decimals = 0;
    if (decimals > 4) decimals = 4;
    const bool negative = c.raw < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(c.raw) : static_cast<uint64_t>(c.raw);
    const uint64_t step = Pow10[4 - decimals];
    // Cannot overflow: magnitude <= 2^63 and step / 2 <= 5000.
    const uint64_t rounded = (magnitude + step / 2) / step;
    const uint64_t units = rounded / Pow10[decimals];
    const uint64_t fraction = rounded % Pow10[decimals];
    // A value that rounds to zero shows no sign, as Delphi's FloatToText does.
    std::string s = negative && rounded != 0 ? "-" : "";
    s += std::to_string(units);
    if (decimals > 0) {
        std::string f = std::to_string(fraction);
        s += decimalSeparator;
        s.append(static_cast<std::size_t>(decimals) - f.size(), '0');
        s += f;
    }
    return s;
}

} // namespace kv::util
