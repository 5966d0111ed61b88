#include "core/game/evaluator.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

#include "core/util/error.h"

namespace kv::game {

namespace {

// --- faults and their texts ------------------------------------------------------------------

enum class TFault : uint8_t { None, Brackets, Syntax, Division, Log, Root, Float };

// The texts as users know them, the misspelt "меньне" included.
const char* faultText(TFault f)
{
    switch (f) {
    case TFault::Brackets: return "Не хватает скобочки";
    case TFault::Syntax: return "Синтаксическая ошибка";
    case TFault::Division: return "Деление на нуль";
    case TFault::Log: return "Выражение под логарифмом меньне нуля";
    case TFault::Root: return "Выражение под корнем меньне нуля";
    case TFault::Float:
    case TFault::None: break;
    }
    return "Ошибка в операции с плавающей точкой";
}

[[noreturn]] void fail(TFault f) { throw Error(faultText(f)); }

// --- arithmetic --------------------------------------------------------------------------------

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double HalfPi = Pi / 2;
constexpr long double Ln10 = 2.302585092994045684017991454684364208L;
constexpr long double EulerE = 2.718281828459045235360287471352662498L;

enum class TFunc : uint8_t {
    ArcTan, Cos, Sin, Tan, Abs, Exp, Ln, Log, Sqrt, Sqr, Int, Frac, Trunc, Round, ArcSin, ArcCos, Sign, Not,
};

struct TFuncName {
    std::string_view Name;
    TFunc Func;
};
constexpr std::array<TFuncName, 18> FuncNames = {{
    {"ARCTAN", TFunc::ArcTan}, {"COS", TFunc::Cos},     {"SIN", TFunc::Sin},       {"TAN", TFunc::Tan},
    {"ABS", TFunc::Abs},       {"EXP", TFunc::Exp},     {"LN", TFunc::Ln},         {"LOG", TFunc::Log},
    {"SQRT", TFunc::Sqrt},     {"SQR", TFunc::Sqr},     {"INT", TFunc::Int},       {"FRAC", TFunc::Frac},
    {"TRUNC", TFunc::Trunc},   {"ROUND", TFunc::Round}, {"ARCSIN", TFunc::ArcSin}, {"ARCCOS", TFunc::ArcCos},
    {"SIGN", TFunc::Sign},     {"NOT", TFunc::Not},
}};

// Every intermediate value stays finite: an overflow or an invalid operation is a fault at the
// step that caused it, never an infinity carried on to a later step.
inline TFault checked(long double r, long double& out, TFault fault = TFault::Float)
{
    if (!std::isfinite(r)) return fault;
    out = r;
    return TFault::None;
}

inline TFault divide(long double a, long double b, long double& r)
{
    if (b == 0) return TFault::Division;
    return checked(a / b, r, TFault::Division);
}

// a^b: 0 for a = 0 and b <> 0, 1 for b = 0, repeated squaring for integral b, exp(b ln a)
// otherwise.
TFault power(long double a, long double b, long double& r)
{
    if (b == 0) {
        r = 1;
        return TFault::None;
    }
    if (a == 0) {
        r = 0;
        return TFault::None;
    }
    constexpr long double MaxSquaring = 4611686018427387904.0L; // 2^62
    if (b == std::trunc(b) && std::fabs(b) <= MaxSquaring) {
        long long e = static_cast<long long>(b);
        long double base = a;
        if (e < 0) {
            base = 1 / a;
            e = -e;
        }
        long double acc = 1;
        while (e != 0) {
            if (e & 1) acc *= base;
            e >>= 1;
            if (e != 0) base *= base;
        }
        return checked(acc, r);
    }
    if (a < 0) return TFault::Float;
    return checked(std::exp(b * std::log(a)), r);
}

inline TFault binary(char op, long double a, long double b, long double& r)
{
    switch (op) {
    case '+': return checked(a + b, r);
    case '-': return checked(a - b, r);
    case '*': return checked(a * b, r);
    case '/': return divide(a, b, r);
    default: return power(a, b, r);
    }
}

TFault arcSin(long double x, long double& r)
{
    if (x == 1) {
        r = HalfPi;
        return TFault::None;
    }
    // Written as arctan(x / sqrt(1 - x*x)): -1 divides by zero and |x| > 1 takes the root of a
    // negative number, both arithmetic faults of the function.
    const long double d = 1 - x * x;
    if (d <= 0) return TFault::Float;
    return checked(std::atan(x / std::sqrt(d)), r);
}

TFault function(TFunc f, long double x, long double& r)
{
    switch (f) {
    case TFunc::ArcTan: return checked(std::atan(x), r);
    case TFunc::Cos: return checked(std::cos(x), r);
    case TFunc::Sin: return checked(std::sin(x), r);
    case TFunc::Tan: {
        const long double c = std::cos(x);
        if (c == 0) return TFault::Division;
        return checked(std::sin(x) / c, r);
    }
    case TFunc::Abs: return checked(std::fabs(x), r);
    case TFunc::Exp: return checked(std::exp(x), r);
    case TFunc::Ln:
        if (x <= 0) return TFault::Log;
        return checked(std::log(x), r);
    case TFunc::Log:
        if (x <= 0) return TFault::Log;
        // ln x / ln 10 as defined; it is also exact where log10 misses by a unit (1000).
        return checked(std::log(x) / Ln10, r);
    case TFunc::Sqrt:
        if (x < 0) return TFault::Root;
        return checked(std::sqrt(x), r);
    case TFunc::Sqr: return checked(x * x, r);
    // Both round halves to even (banker's rounding), as the default rounding mode does.
    case TFunc::Int:
    case TFunc::Round: return checked(std::nearbyint(x), r);
    case TFunc::Frac: return checked(x - std::trunc(x), r);
    case TFunc::Trunc: return checked(std::trunc(x), r);
    case TFunc::ArcSin: return arcSin(x, r);
    case TFunc::ArcCos: {
        if (x == 1) {
            r = 0;
            return TFault::None;
        }
        long double s = 0;
        const TFault fault = arcSin(x, s);
        if (fault != TFault::None) return fault;
        return checked(HalfPi - s, r);
    }
    case TFunc::Sign: r = x > 0 ? 1 : x < 0 ? -1 : 0; return TFault::None;
    case TFunc::Not: {
        const long double t = std::trunc(x);
        constexpr long double Limit = 9223372036854775808.0L; // 2^63
        if (t < -Limit || t >= Limit) return TFault::Float;
        r = static_cast<long double>(~static_cast<long long>(t));
        return TFault::None;
    }
    }
    return TFault::Float;
}

// --- text --------------------------------------------------------------------------------------

// The prepared text ends in its terminating zero, the end mark. Variables of a compiled formula
// stand in it as single bytes 1..24 (n1..n8, p1..p8, t1..t8): preparation drops every byte
// below 33, so these codes cannot come from the text itself.
constexpr char End = '\0';
constexpr int SlotCount = 24;
inline bool isSlot(char c) { return c >= 1 && c <= SlotCount; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isHex(char c) { return isDigit(c) || (c >= 'A' && c <= 'F'); }
inline bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// What may stand after a number. Besides the operators and ")", the characters that end an
// expression are allowed too: otherwise "1+2,3" could never end at its comma, although the
// comma is meant to end an expression after a number as well as after a bracket.
inline bool numberFollows(char c)
{
    switch (c) {
    case End: case ')': case '*': case '+': case '-': case '/': case '^':
    case ',': case '<': case '=': case '>': return true;
    default: return false;
    }
}

inline bool constantFollows(char c)
{
    switch (c) {
    case End: case ')': case '*': case '+': case '-': case '/': case '^': return true;
    default: return false;
    }
}

inline bool expressionEnds(char c)
{
    switch (c) {
    case End: case ')': case ',': case '<': case '=': case '>': return true;
    default: return false;
    }
}

// Upper case, blanks and control characters dropped, brackets counted, and "0" in front of a
// leading sign so that "-2^2" is 0 - 2^2. `slots` marks where a variable stands in `raw`
// (a byte 1..24 at its letter, the digit position being skipped); null for plain text.
std::string prepare(std::string_view raw, const std::vector<char>* slots)
{
    std::string s;
    s.reserve(raw.size() + 1);
    int brackets = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (slots && (*slots)[i] != 0) {
            s += (*slots)[i];
            ++i;
            continue;
        }
        const char c = raw[i];
        if (static_cast<unsigned char>(c) < 33) continue;
        if (c == '(') ++brackets;
        if (c == ')') --brackets;
        s += upper(c);
    }
    if (brackets != 0) fail(TFault::Brackets);
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.insert(s.begin(), '0');
    return s;
}

// A decimal number: sign, digits with at most one point and at least one digit, then an
// optional exponent "E" with an optional sign and at least one digit.
bool validDecimal(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissa = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++mantissa;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++mantissa;
    }
    if (mantissa == 0) return false;
    if (i < s.size() && s[i] == 'E') {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponent = 0;
        while (i < s.size() && isDigit(s[i])) ++i, ++exponent;
        if (exponent == 0) return false;
    }
    return i == s.size();
}

// Converts a valid decimal text whatever the process locale's decimal separator is. A value
// too large for the extended type is not a number; one too small reads as 0.
bool convertDecimal(std::string_view s, long double& v)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string text(s);
    char* end = nullptr;
    const long double x = strtold_l(text.c_str(), &end, cLocale);
    if (end != text.c_str() + text.size() || std::isinf(x)) return false;
    v = x;
    return true;
}

// Thrown while compiling when a number's text is made of a variable together with other
// characters ("n12", "2n1", "n1.5"): its value depends on the numbers' texts, so such formulas
// are evaluated from their substituted text every time.
struct TTextDependent {};

constexpr int MaxNesting = 256;

// Recursive descent over a prepared text. The sink turns numbers, variables and operations
// into values: the interpreter computes them at once, the compiler emits a postfix program.
template <class Sink>
class TParser {
public:
    using Value = typename Sink::Value;

    TParser(const std::string& text, Sink& sink) : m_s(text.c_str()), m_sink(sink) {}

    // The top-level expression ends at its end character; what follows is ignored.
    Value Parse() { return expression(); }

private:
    Value expression()
    {
        // Bounded so that a text of thousands of brackets fails instead of exhausting the stack.
        if (++m_nesting > MaxNesting) fail(TFault::Syntax);
        Value a = term();
        while (m_s[m_pos] == '+' || m_s[m_pos] == '-') {
            const char op = m_s[m_pos++];
            Value b = term();
            a = m_sink.Binary(op, a, b);
        }
        if (!expressionEnds(m_s[m_pos])) fail(TFault::Syntax);
        --m_nesting;
        return a;
    }

    // "*", "/" and "^" share one level and associate to the left: 2^3^2 is 64.
    Value term()
    {
        Value a = factor();
        while (m_s[m_pos] == '*' || m_s[m_pos] == '/' || m_s[m_pos] == '^') {
            const char op = m_s[m_pos++];
            Value b = factor();
            a = m_sink.Binary(op, a, b);
        }
        return a;
    }

    Value factor()
    {
        if (m_s[m_pos] == '(') {
            ++m_pos;
            Value v = expression();
            closeBracket();
            return v;
        }
        Value v{};
        if (number(v) || constant(v) || function(v)) return v;
        fail(TFault::Syntax);
    }

    void closeBracket()
    {
        if (m_s[m_pos] != ')') fail(TFault::Brackets);
        ++m_pos;
    }

    bool number(Value& v)
    {
        const char* s = m_s + m_pos;
        if (s[0] == '$') {
            std::size_t j = 1;
            bool slot = false;
            while (isHex(s[j]) || isSlot(s[j])) slot |= isSlot(s[j++]);
            if (!numberFollows(s[j])) return false;
            if (slot) m_sink.TextDependent();
            if (j < 2 || j > 9) return false; // 1 to 8 hexadecimal digits
            unsigned long x = 0;
            for (std::size_t i = 1; i < j; ++i)
                x = x * 16 + static_cast<unsigned long>(isDigit(s[i]) ? s[i] - '0' : s[i] - 'A' + 10);
            v = m_sink.Number(static_cast<long double>(x));
            m_pos += j;
            return true;
        }
        if (!(isDigit(s[0]) || isSlot(s[0]) || s[0] == '+' || s[0] == '-' || s[0] == '.')) return false;
        std::size_t j = 1;
        int slots = 0;
        int slotAt = -1;
        if (isSlot(s[0])) ++slots, slotAt = 0;
        for (;; ++j) {
            const char c = s[j];
            if (isSlot(c)) {
                ++slots;
                slotAt = static_cast<int>(j);
            } else if (!(isDigit(c) || c == '.' || c == 'E' || ((c == '+' || c == '-') && s[j - 1] == 'E'))) {
                break;
            }
        }
        if (!numberFollows(s[j])) return false;
        if (slots > 0) {
            // A variable alone, or with the sign that starts a number ("2*-n1"): its value.
            const bool alone = (j == 1 && slotAt == 0) || (j == 2 && slotAt == 1 && (s[0] == '+' || s[0] == '-'));
            if (!alone) m_sink.TextDependent();
            v = m_sink.Variable(s[slotAt] - 1, s[0] == '-');
            m_pos += j;
            return true;
        }
        const std::string_view text(s, j);
        long double x = 0;
        if (!validDecimal(text) || !convertDecimal(text, x)) return false;
        v = m_sink.Number(x);
        m_pos += j;
        return true;
    }

    bool constant(Value& v)
    {
        const char* s = m_s + m_pos;
        if (s[0] == 'P' && s[1] == 'I' && constantFollows(s[2])) {
            v = m_sink.Number(Pi);
            m_pos += 2;
            return true;
        }
        if (s[0] == 'E' && constantFollows(s[1])) {
            v = m_sink.Number(EulerE);
            m_pos += 1;
            return true;
        }
        return false;
    }

    bool function(Value& v)
    {
        const char* s = m_s + m_pos;
        std::size_t len = 0;
        while (isUpper(s[len])) ++len;
        if (len == 0 || s[len] != '(') return false;
        const std::string_view name(s, len);
        for (const TFuncName& f : FuncNames) {
            if (f.Name != name) continue;
            m_pos += len + 1;
            Value a = expression();
            closeBracket();
            v = m_sink.Function(f.Func, a);
            return true;
        }
        return false;
    }

    const char* m_s;
    Sink& m_sink;
    std::size_t m_pos = 0;
    int m_nesting = 0;
};

struct TInterpreter {
    using Value = long double;
    static Value Number(long double x) { return x; }
    // Plain text holds no variable bytes (preparation drops them).
    static Value Variable(int, bool) { fail(TFault::Syntax); }
    [[noreturn]] static void TextDependent() { fail(TFault::Syntax); }
    static Value Binary(char op, Value a, Value b)
    {
        long double r = 0;
        const TFault f = binary(op, a, b, r);
        if (f != TFault::None) fail(f);
        return r;
    }
    static Value Function(TFunc fn, Value a)
    {
        long double r = 0;
        const TFault f = function(fn, a, r);
        if (f != TFault::None) fail(f);
        return r;
    }
};

// --- compiled formulas -------------------------------------------------------------------------

enum class TOpCode : uint8_t { Const, Var, NegVar, Add, Sub, Mul, Div, Pow, Func };

struct TOp {
    TOpCode Code;
    uint8_t Arg;        // the variable (0..23: n1..n8, p1..p8, t1..t8) or the function
    long double Value;  // the constant
};

struct TCompiler {
    struct Value {};
    std::vector<TOp> Ops;
    int Depth = 0;
    int MaxDepth = 0;

    Value push(TOp op)
    {
        Ops.push_back(op);
        if (++Depth > MaxDepth) MaxDepth = Depth;
        return {};
    }
    Value Number(long double x) { return push({TOpCode::Const, 0, x}); }
    Value Variable(int slot, bool negative)
    {
        return push({negative ? TOpCode::NegVar : TOpCode::Var, static_cast<uint8_t>(slot), 0});
    }
    [[noreturn]] static void TextDependent() { throw TTextDependent{}; }
    Value Binary(char op, Value, Value)
    {
        const TOpCode code = op == '+' ? TOpCode::Add : op == '-' ? TOpCode::Sub : op == '*' ? TOpCode::Mul
                           : op == '/' ? TOpCode::Div : TOpCode::Pow;
        Ops.push_back({code, 0, 0});
        --Depth;
        return {};
    }
    Value Function(TFunc f, Value)
    {
        Ops.push_back({TOpCode::Func, static_cast<uint8_t>(f), 0});
        return {};
    }
};

inline bool isVariableLetter(char c)
{
    const char u = upper(c);
    return u == 'N' || u == 'P' || u == 'T';
}

// Powers of ten that an int64 holds, and those a long double holds exactly.
constexpr std::array<int64_t, 19> IntPow10 = [] {
    std::array<int64_t, 19> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

long double pow10(int k)
{
    static const std::array<long double, 28> exact = [] {
        std::array<long double, 28> p{};
        p[0] = 1;
        for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
        return p;
    }();
    if (k >= 0 && k < static_cast<int>(exact.size())) return exact[std::size_t(k)];
    return std::pow(10.0L, static_cast<long double>(k));
}

// The digits of m * 10^-k (m < 10^16) that stand at places 1..digits after the point.
int32_t digitsAfterPoint(int64_t m, int k, int digits)
{
    if (k <= 0) return 0;
    const int64_t frac = k >= 16 ? m : m % IntPow10[std::size_t(k)];
    int64_t r = 0;
    if (k >= digits) {
        const int shift = k - digits;
        if (shift >= 16) return 0;
        r = frac / IntPow10[std::size_t(shift)];
    } else {
        const int widen = digits - k;
        if (frac == 0) return 0;
        if (widen > 9) return 0;
        if (frac > INT32_MAX / IntPow10[std::size_t(widen)]) return 0;
        r = frac * IntPow10[std::size_t(widen)];
    }
    return r > INT32_MAX ? 0 : static_cast<int32_t>(r);
}

} // namespace

// --- public ------------------------------------------------------------------------------------

long double EvaluateExpression(std::string_view text)
{
    const std::string s = prepare(text, nullptr);
    TInterpreter sink;
    TParser<TInterpreter> parser(s, sink);
    return parser.Parse();
}

std::string SubstituteFormula(const game::TComb& n, const game::TComb& p, const game::TComb& t,
                              std::string_view formula)
{
    std::string s(formula);
    std::string out;
    // Each pass replaces every occurrence left to right in the text as the previous passes left
    // it, and does not look into what it inserts.
    auto replace = [&](char letter, char digit, uint8_t value) {
        out.clear();
        const std::string v = std::to_string(value);
        for (std::size_t i = 0; i < s.size();) {
            if (i + 1 < s.size() && upper(s[i]) == letter && s[i + 1] == digit) {
                out += v;
                i += 2;
            } else {
                out += s[i++];
            }
        }
        s.swap(out);
    };
    for (int i = 0; i < game::NumsPerDraw; ++i) {
        const char digit = static_cast<char>('1' + i);
        replace('N', digit, n[std::size_t(i)]);
        replace('P', digit, p[std::size_t(i)]);
        replace('T', digit, t[std::size_t(i)]);
    }
    return s;
}

int32_t FractionDigits(long double v, int digits)
{
    if (digits < 1) return 0;
    const long double a = std::fabs(v);
    if (!(a > 0) || !std::isfinite(a)) return 0;
    // From 10^15 up all 15 significant digits stand before the point.
    if (a >= 1e15L) return 0;

    // Scale so that the 15 significant digits stand before the point: s = a * 10^k in
    // [10^14, 10^15). Formula values are mostly near 1, where a few comparisons find the decimal
    // exponent; elsewhere the binary exponent estimates it. A power beyond the exact ones is
    // applied in two halves so that tiny values do not overflow it.
    int k = 0;
    if (a >= 1) {
        int e10 = 0;
        while (a >= pow10(e10 + 1)) ++e10;
        k = 14 - e10;
    } else if (a >= 1e-3L) {
        k = a >= 0.1L ? 15 : a >= 0.01L ? 16 : 17;
    } else {
        int e2 = 0;
        std::frexp(a, &e2);
        k = 14 - static_cast<int>(std::floor((e2 - 1) * 0.30102999566398119521));
    }
    auto scaled = [&](int kk) {
        if (kk >= 0 && kk <= 27) return a * pow10(kk);
        return a * pow10(kk / 2) * pow10(kk - kk / 2);
    };
    long double s = scaled(k);
    while (s >= 1e15L) s = scaled(--k);
    while (s < 1e14L) s = scaled(++k);

    const long double whole = std::floor(s);
    int64_t m = static_cast<int64_t>(whole);
    if (s - whole >= 0.5L) ++m;
    if (std::fabs(s - whole - 0.5L) < 1e-3L) {
        // Too close to a rounding half for the scaled product: take the correctly rounded
        // decimal text instead, "d.dddddddddddddde+x".
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14Le", a);
        m = 0;
        const char* c = buf;
        for (; *c && *c != 'e'; ++c)
            if (isDigit(*c)) m = m * 10 + (*c - '0');
        if (*c != 'e') return 0;
        k = 14 - std::atoi(c + 1);
    }
    return digitsAfterPoint(m, k, digits);
}

// --- TFormula ------------------------------------------------------------------------------------

struct TFormula::Program {
    enum class TMode : uint8_t { Zero, Compiled, Textual };
    TMode Mode = TMode::Zero;
    std::vector<TOp> Ops;
    int MaxDepth = 0;

    // The value of the compiled program; false on any arithmetic fault.
    bool Run(const game::TComb& n, const game::TComb& p, const game::TComb& t, long double& out) const
    {
        const game::TComb* src[3] = {&n, &p, &t};
        std::array<long double, 32> small;
        std::vector<long double> large;
        long double* st = small.data();
        if (MaxDepth > static_cast<int>(small.size())) {
            large.resize(std::size_t(MaxDepth));
            st = large.data();
        }
        int sp = 0;
        for (const TOp& op : Ops) {
            switch (op.Code) {
            case TOpCode::Const: st[sp++] = op.Value; break;
            case TOpCode::Var: st[sp++] = (*src[op.Arg >> 3])[op.Arg & 7]; break;
            case TOpCode::NegVar: st[sp++] = -static_cast<long double>((*src[op.Arg >> 3])[op.Arg & 7]); break;
            case TOpCode::Add:
                --sp;
                if (checked(st[sp - 1] + st[sp], st[sp - 1]) != TFault::None) return false;
                break;
            case TOpCode::Sub:
                --sp;
                if (checked(st[sp - 1] - st[sp], st[sp - 1]) != TFault::None) return false;
                break;
            case TOpCode::Mul:
                --sp;
                if (checked(st[sp - 1] * st[sp], st[sp - 1]) != TFault::None) return false;
                break;
            case TOpCode::Div:
                --sp;
                if (divide(st[sp - 1], st[sp], st[sp - 1]) != TFault::None) return false;
                break;
            case TOpCode::Pow:
                --sp;
                if (power(st[sp - 1], st[sp], st[sp - 1]) != TFault::None) return false;
                break;
            case TOpCode::Func:
                if (function(static_cast<TFunc>(op.Arg), st[sp - 1], st[sp - 1]) != TFault::None) return false;
                break;
            }
        }
        out = st[0];
        return true;
    }
};

TFormula::TFormula() = default;

TFormula::TFormula(std::string_view formula) : m_text(formula)
{
    auto program = std::make_shared<Program>();
    using TMode = Program::TMode;

    // Where the variables stand (the letter's position gets the variable's byte), and whether a
    // replacement can make a new variable out of a letter before it ("nn1").
    std::vector<char> slots(formula.size(), 0);
    bool textual = false;
    for (std::size_t i = 0; i + 1 < formula.size(); ++i) {
        if (!isVariableLetter(formula[i]) || formula[i + 1] < '1' || formula[i + 1] > '8') continue;
        const char u = upper(formula[i]);
        const int group = u == 'N' ? 0 : u == 'P' ? 1 : 2;
        slots[i] = static_cast<char>(1 + group * 8 + (formula[i + 1] - '1'));
        if (i > 0 && isVariableLetter(formula[i - 1])) textual = true;
        ++i;
    }

    if (textual) {
        program->Mode = TMode::Textual;
    } else {
        try {
            const std::string s = prepare(formula, &slots);
            TCompiler compiler;
            TParser<TCompiler> parser(s, compiler);
            parser.Parse();
            program->Ops = std::move(compiler.Ops);
            program->MaxDepth = compiler.MaxDepth;
            program->Mode = TMode::Compiled;
        } catch (const TTextDependent&) {
            program->Mode = TMode::Textual;
        } catch (const Error&) {
            // The text is wrong whatever the numbers are: the value is always 0.
            program->Mode = TMode::Zero;
        }
    }
    m_program = std::move(program);
}

int32_t TFormula::Evaluate(const game::TComb& n, const game::TComb& p, const game::TComb& t, int digits) const
{
    if (!m_program || digits < 1) return 0;
    long double v = 0;
    switch (m_program->Mode) {
    case Program::TMode::Zero: return 0;
    case Program::TMode::Compiled:
        if (!m_program->Run(n, p, t, v)) return 0;
        break;
    case Program::TMode::Textual:
        try {
            v = EvaluateExpression(SubstituteFormula(n, p, t, m_text));
        } catch (const Error&) {
            return 0;
        }
        break;
    }
    return FractionDigits(v, digits);
}

int32_t EvaluateFormula(const game::TComb& n, const game::TComb& p, const game::TComb& t, int digits,
                        std::string_view formula)
{
    // The shredding formulas are three at most, so a few entries hold all that are in use.
    struct TCache {
        std::array<TFormula, 4> Formulas;
        std::size_t Next = 0;
    };
    thread_local TCache cache;
    for (const TFormula& f : cache.Formulas)
        if (f.Text() == formula) return f.Evaluate(n, p, t, digits);
    TFormula& slot = cache.Formulas[cache.Next];
    cache.Next = (cache.Next + 1) % cache.Formulas.size();
    slot = TFormula(formula);
    return slot.Evaluate(n, p, t, digits);
}

} // namespace kv::game
