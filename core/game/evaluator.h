#pragma once
// The arithmetic expression evaluator behind the shredding formulas, and the formula value
// itself: the first few decimal digits after the point of a formula over the numbers of a draw
// (n1..n8), of the draw before it (p1..p8) and of the draw before that (t1..t8).
//
// Only the game's records and kv::Error are used here, so the statistics can reach the formula
// value without depending on the rest of the filters.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/game/types.h"

namespace kv::game {

// The value of an arithmetic expression in extended precision. Letters may be of any case and
// blanks are ignored; the expression ends at the end of the text or at a top-level ")", ",",
// "<", "=" or ">" (what follows is ignored). Fails with kv::Error carrying one of the texts
// "Не хватает скобочки", "Синтаксическая ошибка", "Деление на нуль",
// "Выражение под логарифмом меньне нуля", "Выражение под корнем меньне нуля" or
// "Ошибка в операции с плавающей точкой".
long double EvaluateExpression(std::string_view text);

// The formula text with n1..n8, p1..p8 and t1..t8 (any case) replaced by the decimal texts of
// the numbers, index by index: n1, p1, t1, then n2, p2, t2, and so on. A replacement may form
// a new variable with a letter in front of it ("nn1" with n1 = 5 gives "n5", which index 5
// replaces in turn); this is the formula's meaning, and the compiled form below keeps it.
std::string SubstituteFormula(const game::TComb& n, const game::TComb& p, const game::TComb& t,
                              std::string_view formula);

// The first `digits` decimal digits after the point of |v|: 0.384615... with 2 digits gives
// 38. The digits are those of |v| rounded to 15 significant digits, so that 2.6 (held in binary
// as 2.5999...) gives 60. 0 when digits < 1 or when the digits do not fit a 32-bit integer.
int32_t FractionDigits(long double v, int digits);

// A formula parsed once for many evaluations. Evaluate gives what EvaluateFormula gives for the
// same text, without parsing the text again: the full-set pass evaluates one formula for every
// combination. Copies share the parsed form, which is never changed after construction.
class TFormula {
public:
    TFormula();  // the empty formula, whose value is always 0
    explicit TFormula(std::string_view formula);

    const std::string& Text() const { return m_text; }
    // The value of the formula (0 on any failure), reduced to its digits after the point.
    int32_t Evaluate(const game::TComb& n, const game::TComb& p, const game::TComb& t, int digits) const;

    struct Program;

private:
    std::string m_text;
    std::shared_ptr<const Program> m_program;
};

// Trunc(Frac(|v|) * 10^digits) of the formula evaluated after substitution, as FractionDigits
// reads it; any failure (a bad expression, division by zero, overflow, a result that does not
// fit) gives 0 and nothing is reported. The parsed form of the last few formulas is kept per
// thread, so calling this once per combination does not parse the text each time.
int32_t EvaluateFormula(const game::TComb& n, const game::TComb& p, const game::TComb& t, int digits,
                        std::string_view formula);

} // namespace kv::game
