#pragma once
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::util {

// Money: the amount times 10000 in a 64-bit integer, never a double in storage.
struct Currency {
    static constexpr int64_t Scale = 10000;
    static constexpr int64_t Max = INT64_MAX;
    static constexpr int64_t Min = INT64_MIN;
    int64_t raw = 0;

    static constexpr Currency FromRaw(int64_t r) { return Currency{r}; }
    static constexpr Currency FromUnits(int64_t units) { return Currency{units * Scale}; }
    // Rounds the double's shortest decimal form to the nearest 1/10000, halves away from zero.
    // NaN gives 0; values beyond the range saturate.
    static Currency FromDouble(double v);
    double ToDouble() const { return static_cast<double>(raw) / Scale; }

    // Amounts come from files too (profits of damaged records, sums over millions of stakes):
    // a result beyond the range stops at its limit instead of wrapping round.
    friend constexpr Currency operator+(Currency a, Currency b)
    {
        int64_t r;
        if (__builtin_add_overflow(a.raw, b.raw, &r)) return {b.raw > 0 ? Max : Min};
        return {r};
    }
    friend constexpr Currency operator-(Currency a, Currency b)
    {
        int64_t r;
        if (__builtin_sub_overflow(a.raw, b.raw, &r)) return {b.raw < 0 ? Max : Min};
        return {r};
    }
    friend constexpr Currency operator*(Currency a, int64_t k)
    {
        int64_t r;
        if (__builtin_mul_overflow(a.raw, k, &r)) return {(a.raw < 0) != (k < 0) ? Min : Max};
        return {r};
    }
    Currency& operator+=(Currency b) { return *this = *this + b; }
    Currency& operator-=(Currency b) { return *this = *this - b; }
    friend constexpr auto operator<=>(Currency, Currency) = default;
};

// Parses "12", "12.5", "-0,0001", " 3.1415 " (either "." or "," as decimal point, at most 4
// decimals, surrounding spaces allowed). Returns false and leaves `out` alone otherwise.
bool TryParseCurrency(std::string_view text, Currency& out);

// The amount with `decimals` decimals (0..4), rounded half away from zero, with the given
// separator ("12.50" for 12.5, 2 and '.'). No thousands separators, and no minus sign on a
// value that rounds to zero.
std::string CurrencyToText(Currency c, int decimals, char decimalSeparator);

} // namespace kv::util
