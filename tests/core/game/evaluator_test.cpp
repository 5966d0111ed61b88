#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/game/evaluator.h"
#include "core/util/error.h"

using kv::game::EvaluateExpression;
using kv::game::EvaluateFormula;
using kv::game::FractionDigits;
using kv::game::SubstituteFormula;
using kv::game::TFormula;
using kv::game::TComb;

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double E = 2.718281828459045235360287471352662498L;

const char* const Brackets = "Не хватает скобочки";
const char* const Syntax = "Синтаксическая ошибка";
const char* const Division = "Деление на нуль";
const char* const Log = "Выражение под логарифмом меньне нуля";
const char* const Root = "Выражение под корнем меньне нуля";
const char* const Float = "Ошибка в операции с плавающей точкой";

const TComb Zero{};
const TComb OneToEight{1, 2, 3, 4, 5, 6, 7, 8};
const TComb ThirteenToTwenty{13, 14, 15, 16, 17, 18, 19, 20};

const std::string Formula1 = "(n1+n2+n3+n4)/(n5+n6+n7+n8)";
const std::string Formula2 = "(n5+n6+n7+n8)/(n1+n2+n3+n4)";
const std::string Formula3 = "(n1+n3+n5+n7)/(n2+n4+n6+n8)";

std::string errorOf(const std::string& text)
{
    try {
        const long double v = EvaluateExpression(text);
        return "value " + std::to_string(static_cast<double>(v));
    } catch (const kv::Error& e) {
        return e.what();
    }
}

// What the formula gives when its substituted text is evaluated from scratch.
int32_t byText(const TComb& n, const TComb& p, const TComb& t, int digits, const std::string& formula)
{
    try {
        return FractionDigits(EvaluateExpression(SubstituteFormula(n, p, t, formula)), digits);
    } catch (const kv::Error&) {
        return 0;
    }
}

} // namespace

TEST(Evaluator, ExactValues)
{
    struct Case {
        const char* text;
        long double value;
    };
    const std::vector<Case> cases = {
        // precedence: "*", "/" and "^" share one level, left to right
        {"1+2*3", 7},
        {"2^3^2", 64},
        {"2*3^2", 36},
        {"2^3*2", 16},
        {"8/2/2", 2},
        {"2-3-4", -5},
        {"(1+2)*3", 9},
        {"2*(3+4)-1", 13},
        {"((2))", 2},
        // the expression ends at a top-level ")", ",", "<", "=" or ">"; the rest is ignored
        {"1+2,3", 3},
        {"(1+2)=3", 3},
        {"4<5", 4},
        {"7>1", 7},
        {"1)+(2", 1},
        {"1,5+2", 1},
        // blanks and control characters are dropped before anything else
        {"  1 +\t2 ", 3},
        {"3 4", 34},
        // a leading sign gets "0" in front; elsewhere a sign starts a number
        {"-5+2", -3},
        {"+5", 5},
        {"-2^2", -4},
        {"2*-3", -6},
        {"2--3", 5},
        {"2^-1", 0.5L},
        {"-(2)", -2},
        // decimal numbers
        {".5*4", 2},
        {"1.5E2", 150},
        {"1.5e2", 150},
        {"1E+2", 100},
        {"5E-1*4", 2},
        {"1.E1", 10},
        {"007", 7},
        {"1E-99999", 0},
        // hexadecimal: "$" and 1 to 8 digits, any case
        {"$FF", 255},
        {"$ff+1", 256},
        {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", 4294967295.0L},
        {"$1E+1", 31},
        // constants
        {"PI", Pi},
        {"pi*2", Pi * 2},
        {"E", E},
        {"E-1", E - 1},
        {"e^2", E * E},
        // powers
        {"0^0", 1},
        {"0^2", 0},
        {"0^-1", 0},
        {"5^0", 1},
        {"2^10", 1024},
        {"(-2)^3", -8},
        {"(-2)^-2", 0.25L},
        {"4^-2*16", 1},
        // functions
        {"SQR(3)", 9},
        {"SQRT(16)", 4},
        {"SQRT(0)", 0},
        {"ABS(-3)", 3},
        {"ABS(3)", 3},
        {"EXP(0)", 1},
        {"LN(1)", 0},
        {"LOG(1000)", 3},
        {"SIN(0)", 0},
        {"COS(0)", 1},
        {"TAN(0)", 0},
        {"ARCTAN(0)", 0},
        {"INT(2.5)", 2},
        {"INT(3.5)", 4},
        {"INT(-2.5)", -2},
        {"INT(2.4)", 2},
        {"ROUND(2.5)", 2},
        {"ROUND(2.6)", 3},
        {"ROUND(-3.5)", -4},
        {"TRUNC(2.7)", 2},
        {"TRUNC(-2.7)", -2},
        {"FRAC(2.75)", 0.75L},
        {"FRAC(-2.75)", -0.75L},
        {"ARCSIN(1)", Pi / 2},
        {"ARCSIN(0)", 0},
        {"ARCCOS(1)", 0},
        {"SIGN(-3)", -1},
        {"SIGN(0)", 0},
        {"SIGN(0.1)", 1},
        {"NOT(5)", -6},
        {"NOT(0)", -1},
        {"NOT(-1.5)", 0},
        {"NOT(7.9)", -8},
        {"SQRT(SQR(3)+SQR(4))", 5},
        {"ABS(-2)^2", 4},
        // letters of any case
        {"sqrt(4)*Pi/pI", 2},
        {"Sqr(2)", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        long double v = 0;
        ASSERT_NO_THROW(v = EvaluateExpression(c.text));
        EXPECT_EQ(v, c.value);
    }
}

TEST(Evaluator, TranscendentalValues)
{
    struct Case {
        const char* text;
        long double value;
    };
    const std::vector<Case> cases = {
        {"LN(E)", 1},
        {"EXP(1)", E},
        {"LOG(2)", 0.301029995663981195213738894724493027L},
        {"ARCTAN(1)", Pi / 4},
        {"ARCSIN(0.5)", Pi / 6},
        {"ARCSIN(-0.5)", -Pi / 6},
        {"ARCCOS(0)", Pi / 2},
        {"ARCCOS(0.5)", Pi / 3},
        {"TAN(PI/4)", 1},
        {"SIN(PI/6)", 0.5L},
        {"COS(PI/3)", 0.5L},
        {"4^0.5", 2},
        {"2^0.5", 1.41421356237309504880168872420969808L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        long double v = 0;
        ASSERT_NO_THROW(v = EvaluateExpression(c.text));
        EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.value), 1e-15);
    }
}

TEST(Evaluator, ErrorTexts)
{
    struct Case {
        std::string text;
        const char* error;
    };
    const std::vector<Case> cases = {
        // brackets are counted before anything is evaluated
        {"(1+2", Brackets},
        {"1+2)", Brackets},
        {"2*(n1+n2", Brackets},
        {"1/0+(", Brackets},
        // a bracket that closes the wrong thing
        {"(1,2)", Brackets},
        {"SIN(1,2)", Brackets},
        {"(1=2)", Brackets},
        // syntax
        {"", Syntax},
        {"   ", Syntax},
        {"1+", Syntax},
        {"*2", Syntax},
        {"2**3", Syntax},
        {"2(3)", Syntax},
        {"(1)(2)", Syntax},
        {")(", Syntax},
        {"1..2", Syntax},
        {"1.2.3", Syntax},
        {"1E", Syntax},
        {"1E+", Syntax},
        {".", Syntax},
        {"1---1", Syntax},
        {"2*-(3)", Syntax},
        {"1E99999", Syntax},
        {"$", Syntax},
        {"$G", Syntax},
        {"$123456789", Syntax},
        {"2*-$10", Syntax},
        {"PI2", Syntax},
        {"2PI", Syntax},
        {"PI,1", Syntax},
        {"X", Syntax},
        {"n1+n2", Syntax},
        {"FOO(1)", Syntax},
        {"SIN 1", Syntax},
        {"SINE(1)", Syntax},
        {"3%2", Syntax},
        {"2<(", Brackets},
        // arithmetic
        {"1/0", Division},
        {"0/0", Division},
        {"1/(2-2)", Division},
        {"1E4000/1E-4000", Division},
        {"LN(0)", Log},
        {"LN(-1)", Log},
        {"LOG(0)", Log},
        {"LOG(-5)", Log},
        {"SQRT(-1)", Root},
        {"SQRT(-0.0001)", Root},
        {"EXP(100000)", Float},
        {"10^5000", Float},
        {"1E4000*1E4000", Float},
        {"1E4000^2", Float},
        {"(-8)^(1/3)", Float},
        {"ARCSIN(2)", Float},
        {"ARCSIN(-1)", Float},
        {"ARCCOS(-1)", Float},
        {"NOT(1E30)", Float},
        {"SQR(1E3000)", Float},
        // the first fault met from left to right is the one reported
        {"1/0+LN(0)", Division},
        {"LN(0)+1/0", Log},
        {"1/0+*", Division},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(errorOf(c.text), c.error);
    }
}

TEST(Evaluator, DeepNestingFailsInsteadOfExhaustingTheStack)
{
    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ(errorOf(deep), Syntax);
    const std::string fine = std::string(200, '(') + "1" + std::string(200, ')');
    EXPECT_EQ(EvaluateExpression(fine), 1);
    EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, deep), 0);
}

TEST(Evaluator, FractionDigits)
{
    struct Case {
        long double v;
        int digits;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {2.6L, 2, 60},             // held as 2.5999...: the decimal digits count, not the binary ones
        {10.0L / 26, 2, 38},
        {0.8L, 2, 80},
        {26.0L / 10, 1, 6},
        {58.0L / 74, 2, 78},
        {58.0L / 74, 5, 78378},
        {-0.25L, 2, 25},
        {0.125L, 5, 12500},
        {123.456L, 3, 456},
        {0.0001234L, 7, 1234},
        {1.0L / 3, 9, 333333333},
        {1.0L / 3, 10, 0},         // 3333333333 does not fit 32 bits
        {0.5L, 10, 0},
        {0.0000000001L, 10, 1},
        {0.999999999999999999L, 2, 0},  // 1.00000000000000 at 15 digits
        {0.26999999999999995L, 2, 27},
        {0.5899999999999995L, 2, 58},   // just below a rounding half at the 16th digit
        {0.6899999999999995L, 2, 69},   // just above it
        {7, 2, 0},
        {0, 2, 0},
        {1e15L + 0.5L, 2, 0},
        {1e-20L, 2, 0},
        {1e-4940L, 2, 0},
        {0.384615L, 0, 0},
        {0.384615L, -1, 0},
        {std::numeric_limits<long double>::quiet_NaN(), 2, 0},
        {std::numeric_limits<long double>::infinity(), 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<double>(c.v) << " digits " << c.digits);
        EXPECT_EQ(FractionDigits(c.v, c.digits), c.expected);
    }
}

TEST(Evaluator, SubstituteFormula)
{
    const TComb n{5, 2, 3, 4, 7, 6, 1, 8};
    const TComb p{11, 12, 13, 14, 15, 16, 17, 18};
    const TComb t{0, 20, 0, 0, 0, 0, 0, 9};
    struct Case {
        const char* formula;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"(n1+n2+n3+n4)/(n5+n6+n7+n8)", "(5+2+3+4)/(7+6+1+8)"},
        {"N1*p2-T8+t1", "5*12-9+0"},
        {"n9+n0+x1", "n9+n0+x1"},
        {"n12", "52"},
        // a replacement that leaves a letter before a digit is replaced again at that index
        {"nn1", "7"},
        {"pn1", "15"},
        {"nn7", "n1"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(SubstituteFormula(n, p, t, c.formula), c.expected);
    }
}

TEST(EvaluateFormula, DefaultFormulas)
{
    struct Case {
        const std::string* formula;
        TComb n;
        int digits;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {&Formula1, OneToEight, 2, 38},        // 10/26
        {&Formula2, OneToEight, 2, 60},        // 26/10
        {&Formula3, OneToEight, 2, 80},        // 16/20
        {&Formula1, ThirteenToTwenty, 2, 78},  // 58/74
        {&Formula1, ThirteenToTwenty, 5, 78378},
        {&Formula2, ThirteenToTwenty, 2, 27},  // 74/58
        {&Formula3, ThirteenToTwenty, 2, 94},  // 64/68
        {&Formula1, OneToEight, 1, 3},
        {&Formula1, OneToEight, 0, 0},
        {&Formula1, Zero, 2, 0},               // 0/0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.formula + " digits " + std::to_string(c.digits));
        EXPECT_EQ(EvaluateFormula(c.n, Zero, Zero, c.digits, *c.formula), c.expected);
        EXPECT_EQ(TFormula(*c.formula).Evaluate(c.n, Zero, Zero, c.digits), c.expected);
    }
}

TEST(EvaluateFormula, VariablesAndFailures)
{
    const TComb p{3, 1, 1, 1, 1, 1, 1, 1};
    const TComb t{4, 1, 1, 1, 1, 1, 1, 1};
    const TComb n5{5, 2, 3, 4, 7, 6, 1, 8};
    const TComb n12{12, 2, 3, 4, 7, 6, 1, 8};
    const TComb n16{16, 2, 3, 4, 7, 6, 1, 8};
    const TComb n9{9, 2, 3, 4, 7, 6, 1, 8};
    struct Case {
        const char* formula;
        TComb n, p, t;
        int digits;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {"N1/n2", OneToEight, Zero, Zero, 2, 50},
        {"n1/N2", OneToEight, Zero, Zero, 2, 50},
        {"p1/t1", OneToEight, p, t, 2, 75},
        {"P1/T1", OneToEight, p, t, 2, 75},
        {"p1/t1", OneToEight, p, Zero, 2, 0},         // no draw before: t1 = 0
        {"n1/p1", OneToEight, Zero, Zero, 2, 0},
        {"-n1+n2/n8", OneToEight, Zero, Zero, 2, 75},  // 0 - 1 + 0.25
        {"-0.25", OneToEight, Zero, Zero, 2, 25},
        {"2*-n3/8", OneToEight, Zero, Zero, 3, 750},  // the sign belongs to the number
        {"n1 / n3", OneToEight, Zero, Zero, 4, 3333},
        {"2*(n1+n2", OneToEight, Zero, Zero, 2, 0},
        {"n1+", OneToEight, Zero, Zero, 2, 0},
        {"n9/7", OneToEight, Zero, Zero, 2, 0},
        {"", OneToEight, Zero, Zero, 2, 0},
        {"LN(n1-1)", OneToEight, Zero, Zero, 2, 0},
        {"SQRT(n1-2)", OneToEight, Zero, Zero, 2, 0},
        {"n8^99999", OneToEight, Zero, Zero, 2, 0},
        {"SQRT(n2)", OneToEight, Zero, Zero, 5, 41421},
        {"n1/n3,5", OneToEight, Zero, Zero, 2, 33},
        {"1/n1+1/n2", OneToEight, Zero, Zero, 3, 500},
        // numbers built from a variable's text with other characters
        {"n12/100", n5, Zero, Zero, 2, 52},
        {"n12/100", n12, Zero, Zero, 2, 22},          // "122/100"
        {"2n1/100", n5, Zero, Zero, 2, 25},
        {"n1.5", n5, Zero, Zero, 1, 5},
        {"$n1/100", n16, Zero, Zero, 2, 22},          // "$16" is 22
        {"n1E-2", n5, Zero, Zero, 2, 5},
        // a letter before a variable: "nn1" becomes "n5", then the fifth number
        {"nn1/10", n5, Zero, Zero, 2, 70},
        {"nn1/10", n9, Zero, Zero, 2, 0},             // "n9/10" is not an expression
        {"(pn1+1)/10", n5, p, t, 2, 20},               // "p5" is 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(EvaluateFormula(c.n, c.p, c.t, c.digits, c.formula), c.expected);
        EXPECT_EQ(byText(c.n, c.p, c.t, c.digits, c.formula), c.expected);
    }
}

// The parsed form must give what the substituted text gives, for every kind of formula and
// every set of numbers, failures included.
TEST(EvaluateFormula, ParsedFormAgreesWithTheSubstitutedText)
{
    const std::vector<std::string> formulas = {
        Formula1, Formula2, Formula3,
        "n1*p1/(t1+1)", "SQRT(n1*n2)/PI", "(n1^2+n2^2)/(n3*n4+1)", "-n1/n8+p2/7", "LN(n1)/LN(n8)",
        "SIN(n1)+COS(p1)", "n1/(p1-t1)", "ARCSIN(n1/20)", "ARCCOS(n1/n8)", "TAN(n1)*E", "n1^-1+n2^0.5",
        "ROUND(n1/3)/7+INT(n2/2)/3+TRUNC(n3/4)/9+FRAC(n4/7)", "NOT(n1)/n2", "SIGN(p1-n1)/3+ABS(t1-n1)/7",
        "EXP(n1/10)", "LOG(n1*p1)", "1/(n1-n2)", "n1n2/1000", "n1.n2", "nn1/3", "p n1", "(n1+2)(n2)",
        "n1/3=1", "$n1/n2", "t8/p8/n8", "N1/(N2+P2+T2)", "2*-n5/n6",
    };
    const std::vector<TComb> ns = {OneToEight, ThirteenToTwenty, {20, 1, 7, 3, 12, 5, 9, 2},
                                   {2, 3, 5, 7, 11, 13, 17, 19}, {5, 5, 5, 5, 5, 5, 5, 5}};
    const std::vector<TComb> ps = {Zero, {3, 1, 4, 1, 5, 9, 2, 6}, {20, 19, 18, 17, 16, 15, 14, 13}};
    for (const std::string& f : formulas)
        for (const TComb& n : ns)
            for (const TComb& p : ps)
                for (int digits : {1, 2, 5}) {
                    SCOPED_TRACE(f + " digits " + std::to_string(digits));
                    const TComb& t = ps[(&p - ps.data() + 1) % ps.size()];
                    EXPECT_EQ(EvaluateFormula(n, p, t, digits, f), byText(n, p, t, digits, f));
                }
}

TEST(EvaluateFormula, CachedFormulasStayApart)
{
    // More formulas in turn than the cache holds, bad ones among them.
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, Formula1), 38);
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, "2*(n1+n2"), 0);
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, Formula2), 60);
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, "n1/0"), 0);
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, Formula3), 80);
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, "n1/n2"), 50);
        EXPECT_EQ(EvaluateFormula(ThirteenToTwenty, Zero, Zero, 5, Formula1), 78378);
        EXPECT_EQ(EvaluateFormula(OneToEight, Zero, Zero, 2, ""), 0);
    }
    TFormula copy;
    EXPECT_EQ(copy.Evaluate(OneToEight, Zero, Zero, 2), 0);
    copy = TFormula(Formula1);
    const TFormula second = copy;
    EXPECT_EQ(second.Text(), Formula1);
    EXPECT_EQ(second.Evaluate(OneToEight, Zero, Zero, 2), 38);
}

// For a quotient of small integers the digits are those of exact arithmetic: long division.
TEST(Evaluator, FractionDigitsOfQuotientsAreExact)
{
    int mismatches = 0;
    for (int64_t p = 0; p <= 200; ++p)
        for (int64_t q = 1; q <= 200; ++q)
            for (int digits = 1; digits <= 9; ++digits) {
                int64_t scale = 1;
                for (int i = 0; i < digits; ++i) scale *= 10;
                const int64_t exact = (p % q) * scale / q;
                if (FractionDigits(static_cast<long double>(p) / q, digits) != exact && ++mismatches <= 5)
                    ADD_FAILURE() << p << "/" << q << " digits " << digits;
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(EvaluateFormula, DefaultFormulaOverTheFullSetIsExact)
{
    TComb c = {1, 2, 3, 4, 5, 6, 7, 8};
    int count = 0;
    int mismatches = 0;
    for (;;) {
        const int64_t top = c[0] + c[1] + c[2] + c[3];
        const int64_t bottom = c[4] + c[5] + c[6] + c[7];
        const int64_t exact = (top % bottom) * 100000 / bottom;
        if (EvaluateFormula(c, Zero, Zero, 5, Formula1) != exact && ++mismatches <= 5)
            ADD_FAILURE() << top << "/" << bottom;
        ++count;
        int i = 7;
        while (i >= 0 && c[std::size_t(i)] == 20 - (7 - i)) --i;
        if (i < 0) break;
        ++c[std::size_t(i)];
        for (int j = i + 1; j < 8; ++j) c[std::size_t(j)] = uint8_t(c[std::size_t(j - 1)] + 1);
    }
    EXPECT_EQ(count, 125970);
    EXPECT_EQ(mismatches, 0);
}
