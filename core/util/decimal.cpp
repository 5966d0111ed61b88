#include "core/util/decimal.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace kv::util {

namespace {

// Reads "-d.ddde+XX" as written by to_chars or printf in scientific form.
DecimalDigits parseScientific(const char* p, const char* end)
{
    DecimalDigits d;
    if (p < end && *p == '-') {
        d.negative = true;
        ++p;
    }
    while (p < end && *p != 'e' && *p != 'E') {
        if (*p >= '0' && *p <= '9') d.digits += *p;
        ++p;
    }
    int exp10 = 0;
    if (p < end) {
        ++p;
        if (p < end && *p == '+') ++p;
        std::from_chars(p, end, exp10);
    }
    const auto first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) return DecimalDigits{};
    d.digits.erase(0, first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    d.exponent = exp10 + 1 - static_cast<int>(first);
    return d;
}

} // namespace

DecimalDigits ShortestDigits(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    return parseScientific(buf, r.ptr);
}

DecimalDigits FormatDigits(long double v)
{
    const auto asDouble = static_cast<double>(v);
    if (static_cast<long double>(asDouble) == v) {
        DecimalDigits d = ShortestDigits(asDouble);
        RoundDigits(d, 15);
        return d;
    }
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.17Le", v);
    return parseScientific(buf, buf + (n > 0 && n < static_cast<int>(sizeof buf) ? n : 0));
}

void RoundDigits(DecimalDigits& d, int keep)
{
    if (static_cast<int>(d.digits.size()) <= keep) return;
    if (keep < 0) {
        d = DecimalDigits{};
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        while (!d.digits.empty() && d.digits.back() == '9') d.digits.pop_back();
        if (d.digits.empty()) {
            d.digits.push_back('1');
            ++d.exponent;
        } else {
            ++d.digits.back();
        }
    }
    const auto last = d.digits.find_last_not_of('0');
    d.digits.erase(last == std::string::npos ? 0 : last + 1);
    if (d.digits.empty()) d = DecimalDigits{};
}

} // namespace kv::util
