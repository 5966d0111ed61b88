#include "core/util/format.h"
#include "core/util/translate.h"

#include "core/util/cp1251.h"
#include "core/util/decimal.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <span>

namespace kv::util {

namespace {

std::atomic<char> g_decimalSeparator{'.'};

// Widths and precisions beyond this come only from broken templates; capping them keeps a
// custom caption such as "%999999999d" from allocating gigabytes.
constexpr int MaxWidth = 4096;
// Delphi's FloatToText stops at 18 digits (Extended).
constexpr int MaxFloatDigits = 18;

std::size_t utf8Length(std::string_view s)
{
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string unsignedDigits(uint64_t v, int base)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    char buf[64];
    int n = 0;
    do {
        buf[n++] = Digits[v % base];
        v /= base;
    } while (v != 0);
    std::string s;
    while (n > 0) s += buf[--n];
    return s;
}

void padZeros(std::string& digits, int minDigits)
{
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
}

std::string signedText(int64_t v, int minDigits)
{
    const uint64_t mag = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::string s = unsignedDigits(mag, 10);
    padZeros(s, minDigits);
    if (v < 0) s.insert(0, 1, '-');
    return s;
}

// Integers reach Format as 64 bits, but the templates come from a program whose integers were
// 32 bits: a small negative number shows as its 32-bit pattern ("%x" of -1 is "FFFFFFFF").
uint64_t asUnsigned(int64_t v)
{
    if (v < 0 && v >= INT32_MIN) return static_cast<uint32_t>(static_cast<int32_t>(v));
    return static_cast<uint64_t>(v);
}

void groupThousands(std::string& intPart)
{
    for (int pos = static_cast<int>(intPart.size()) - 3; pos > 0; pos -= 3)
        intPart.insert(static_cast<std::size_t>(pos), 1, ' ');
}

// "d.ddd" with `precision` significant digits and "E+ddd" (Delphi's ffExponent, 3 exponent
// digits at least).
std::string exponentText(DecimalDigits d, int precision, char sep)
{
    RoundDigits(d, precision);
    std::string s = d.negative ? "-" : "";
    s += d.isZero() ? '0' : d.digits[0];
    if (precision > 1) {
        s += sep;
        for (int i = 1; i < precision; ++i)
            s += i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0';
    }
    const int e = d.isZero() ? 0 : d.exponent - 1;
    s += e < 0 ? "E-" : "E+";
    std::string ed = unsignedDigits(static_cast<uint64_t>(e < 0 ? -e : e), 10);
    padZeros(ed, 3);
    return s + ed;
}

// Fixed-point text with `decimals` decimals (ffFixed, or ffNumber when grouping). Like Delphi,
// a value with more integer digits than the significant digits it carries turns to ffExponent.
std::string fixedText(DecimalDigits d, int decimals, char sep, bool grouping, int significant)
{
    if (d.exponent > significant) return exponentText(d, significant, sep);
    RoundDigits(d, d.exponent + decimals);
    std::string intPart;
    if (d.exponent <= 0) {
        intPart.assign(1, '0');
    } else {
        for (int i = 0; i < d.exponent; ++i)
            intPart += i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0';
    }
    if (grouping) groupThousands(intPart);
    std::string s = d.negative ? "-" : "";
    s += intPart;
    if (decimals > 0) {
        s += sep;
        for (int i = 0; i < decimals; ++i) {
            const int pos = d.exponent + i;
            s += pos >= 0 && pos < static_cast<int>(d.digits.size()) ? d.digits[pos] : '0';
        }
    }
    return s;
}

// Shortest of fixed and scientific (ffGeneral): no trailing zeros, the exponent form when the
// integer part would need more than `precision` digits or the value is below 0.0001.
std::string generalText(DecimalDigits d, int precision, char sep)
{
    RoundDigits(d, precision);
    if (d.isZero()) return "0";
    std::string s = d.negative ? "-" : "";
    const int size = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        s += d.digits[0];
        if (size > 1) {
            s += sep;
            s.append(d.digits, 1);
        }
        const int e = d.exponent - 1;
        s += 'E';
        s += std::to_string(e);
        return s;
    }
    if (d.exponent <= 0) {
        s += '0';
        s += sep;
        s.append(static_cast<std::size_t>(-d.exponent), '0');
        s += d.digits;
        return s;
    }
    for (int i = 0; i < d.exponent; ++i) s += i < size ? d.digits[i] : '0';
    if (size > d.exponent) {
        s += sep;
        s.append(d.digits, static_cast<std::size_t>(d.exponent));
    }
    return s;
}

std::optional<std::string> specialFloat(long double v)
{
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    return std::nullopt;
}

// The integer a conversion of type d, u, x or p takes: floats are truncated toward zero.
std::optional<int64_t> integerOf(const FormatArg& a)
{
    if (a.kind() == FormatArg::Kind::Int) return a.intValue();
    if (a.kind() == FormatArg::Kind::Float) {
        const long double t = std::trunc(a.floatValue());
        if (!std::isfinite(t) || t < -9223372036854775808.0L || t >= 9223372036854775808.0L)
            return std::nullopt;
        return static_cast<int64_t>(t);
    }
    return std::nullopt;
}

std::optional<long double> floatOf(const FormatArg& a)
{
    if (a.kind() == FormatArg::Kind::Float) return a.floatValue();
    if (a.kind() == FormatArg::Kind::Int) return static_cast<long double>(a.intValue());
    return std::nullopt;
}

// Significant digits FormatDigits kept: 15 for a double, 18 for anything wider.
int significantOf(long double v)
{
    return static_cast<long double>(static_cast<double>(v)) == v ? 15 : MaxFloatDigits;
}

struct Spec {
    std::optional<int> index;
    bool left = false;
    bool widthFromArg = false;
    bool precisionFromArg = false;
    int width = 0;
    int precision = -1; // -1: the type's default
    char type = 0;      // lower case
};

// Reads digits starting at i, capped so that absurd numbers stay harmless.
std::optional<int> readNumber(std::string_view t, std::size_t& i)
{
    if (i >= t.size() || t[i] < '0' || t[i] > '9') return std::nullopt;
    long long v = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        v = v * 10 + (t[i] - '0');
        if (v > 1000000) v = 1000000;
        ++i;
    }
    return static_cast<int>(v);
}

// Parses "[index:][-][width][.prec]type" after a "%"; on a syntax fault leaves i at the first
// character that does not fit and returns nullopt.
std::optional<Spec> parseSpec(std::string_view t, std::size_t& i)
{
    Spec s;
    const std::size_t numStart = i;
    if (auto n = readNumber(t, i)) {
        if (i < t.size() && t[i] == ':') {
            s.index = *n;
            ++i;
        } else {
            i = numStart; // it was the width
        }
    }
    if (i < t.size() && t[i] == '-') {
        s.left = true;
        ++i;
    }
    if (i < t.size() && t[i] == '*') {
        s.widthFromArg = true;
        ++i;
    } else if (auto n = readNumber(t, i)) {
        s.width = std::min(*n, MaxWidth);
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (i < t.size() && t[i] == '*') {
            s.precisionFromArg = true;
            ++i;
        } else {
            s.precision = std::min(readNumber(t, i).value_or(0), MaxWidth);
        }
    }
    if (i >= t.size()) return std::nullopt;
    const char c = static_cast<char>(t[i] | 0x20);
    switch (c) {
    case 'd': case 'u': case 'x': case 'p': case 'e': case 'f': case 'g': case 'n': case 'm':
    case 's':
        s.type = c;
        ++i;
        return s;
    default:
        return std::nullopt;
    }
}

// The text of one conversion before width padding, or nullopt when the argument does not suit.
std::optional<std::string> convert(const Spec& s, const FormatArg& a, char sep)
{
    switch (s.type) {
    case 'd': {
        const auto v = integerOf(a);
        if (!v) return std::nullopt;
        return signedText(*v, s.precision);
    }
    case 'u':
    case 'x': {
        const auto v = integerOf(a);
        if (!v) return std::nullopt;
        std::string r = unsignedDigits(asUnsigned(*v), s.type == 'u' ? 10 : 16);
        padZeros(r, s.precision);
        return r;
    }
    case 'p': {
        if (a.kind() != FormatArg::Kind::Int) return std::nullopt;
        std::string r = unsignedDigits(static_cast<uint64_t>(a.intValue()), 16);
        padZeros(r, 8);
        return r;
    }
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm': {
        const auto v = floatOf(a);
        if (!v) return std::nullopt;
        if (auto special = specialFloat(*v)) return special;
        const DecimalDigits d = FormatDigits(*v);
        const int significant = significantOf(*v);
        if (s.type == 'e') {
            const int p = s.precision < 0 ? 15 : std::clamp(s.precision, 1, MaxFloatDigits);
            return exponentText(d, p, sep);
        }
        if (s.type == 'g') {
            const int p = s.precision < 0 ? 15 : std::clamp(s.precision, 1, MaxFloatDigits);
            return generalText(d, p, sep);
        }
        const int decimals = s.precision < 0 ? 2 : std::min(s.precision, MaxFloatDigits);
        return fixedText(d, decimals, sep, s.type == 'n', significant);
    }
    case 's': {
        std::string text;
        if (a.kind() == FormatArg::Kind::Text) {
            text = std::string(a.text());
        } else if (a.kind() == FormatArg::Kind::Int) {
            text = signedText(a.intValue(), 0);
        } else if (auto special = specialFloat(a.floatValue())) {
            text = *special;
        } else {
            text = generalText(FormatDigits(a.floatValue()), 15, sep);
        }
        if (s.precision >= 0) text = Utf8Left(text, static_cast<std::size_t>(s.precision));
        return text;
    }
    default:
        return std::nullopt;
    }
}

std::string formatImpl(char sep, std::string_view t, std::span<const FormatArg> args)
{
    std::string out;
    out.reserve(t.size() + 16);
    std::size_t nextArg = 0;
    std::size_t i = 0;
    while (i < t.size()) {
        const std::size_t pct = t.find('%', i);
        if (pct == std::string_view::npos) {
            out.append(t.substr(i));
            break;
        }
        out.append(t.substr(i, pct - i));
        i = pct + 1;
        if (i < t.size() && t[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        auto conv = parseSpec(t, i);
        const std::string_view verbatim = t.substr(pct, i - pct);
        if (!conv) {
            // Resume at the character that broke the specifier: it may start a valid one.
            out.append(verbatim);
            continue;
        }
        // Arguments are taken in the order Delphi takes them: width, precision, value. A failed
        // conversion still uses up its arguments, so the ones after it stay where they were.
        if (conv->index) nextArg = static_cast<std::size_t>(*conv->index);
        bool ok = true;
        auto takeInt = [&](int& target) {
            if (nextArg < args.size() && args[nextArg].kind() == FormatArg::Kind::Int) {
                const int64_t v = args[nextArg].intValue();
                target = static_cast<int>(std::clamp<int64_t>(v, -MaxWidth, MaxWidth));
            } else {
                ok = false;
            }
            ++nextArg;
        };
        if (conv->widthFromArg) {
            takeInt(conv->width);
            if (conv->width < 0) {
                conv->left = true;
                conv->width = -conv->width;
            }
        }
        if (conv->precisionFromArg) {
            takeInt(conv->precision);
            if (conv->precision < 0) conv->precision = -1;
        }
        std::optional<std::string> text;
        if (ok && nextArg < args.size()) text = convert(*conv, args[nextArg], sep);
        ++nextArg;
        if (!text) {
            out.append(verbatim);
            continue;
        }
        const auto len = static_cast<int>(utf8Length(*text));
        const int width = conv->width;
        if (len < width) {
            if (conv->left) {
                out += *text;
                out.append(static_cast<std::size_t>(width - len), ' ');
            } else {
                out.append(static_cast<std::size_t>(width - len), ' ');
                out += *text;
            }
        } else {
            out += *text;
        }
    }
    return out;
}

} // namespace

char DecimalSeparator() { return g_decimalSeparator.load(std::memory_order_relaxed); }

void SetDecimalSeparator(char sep) { g_decimalSeparator.store(sep, std::memory_order_relaxed); }

std::string Format(std::string_view templ, std::initializer_list<FormatArg> args)
{
    return formatImpl(DecimalSeparator(), TrTemplate(templ), std::span(args.begin(), args.size()));
}

std::string FormatSep(char decimalSeparator, std::string_view templ,
                      std::initializer_list<FormatArg> args)
{
    return formatImpl(decimalSeparator, templ, std::span(args.begin(), args.size()));
}

} // namespace kv::util
