// The formula evaluator: any text gives a value or one of its error texts, never a fault.
#include "core/game/evaluator.h"
#include "core/util/error.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Bytes(data, size);
    try {
        (void)game::EvaluateExpression(text);
    } catch (const Error&) {
    }
    const game::TComb n{1, 2, 3, 4, 5, 6, 7, 8}, p{20, 19, 18, 17, 16, 15, 14, 13}, t{1, 1, 2, 2, 3, 3, 4, 4};
    try {
        (void)game::EvaluateExpression(game::SubstituteFormula(n, p, t, text));
    } catch (const Error&) {
    }
    return 0;
}
