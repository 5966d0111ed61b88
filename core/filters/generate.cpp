#include "core/game/counting.h"
#include "core/filters/generate.h"

#include <cstring>
#include <optional>

#include "core/filters/combfiles.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"

namespace kv::filters {

using game::MaxNumber;
using game::TComb;

const char* const GenerateModeCaptions[GenerateModeCount] = {
    "Полный список (все возможные для данного лото варианты)",
    "Мои числа - должно присутствовать любое из указанных",
    "Мои числа - комбинации только из списка указанных",
    "Мои числа - исключить комбинации с любым из указанных",
    "Загрузить список из заранее подготовленного CSV-файла",
};

namespace {

// Bit n for each number n of the field that is among my numbers.
uint32_t FieldMask(const TGenerateNumbers& numbers)
{
    uint32_t mask = 0;
    for (int n = game::MinNumber; n <= MaxNumber; ++n)
        if (numbers.test(static_cast<std::size_t>(n))) mask |= 1u << n;
    return mask;
}

// The eight positions as nested loops, each from one above the previous number up to the
// highest number that still leaves room for the positions after it. `emit` gets the numbers
// and their field mask; the order is lexicographic.
template <typename Emit>
void ForEachComb(Emit emit)
{
    TComb c{};
    for (int a = 1; a <= 13; ++a) {
        c[0] = static_cast<uint8_t>(a);
        const uint32_t ma = 1u << a;
        for (int b = a + 1; b <= 14; ++b) {
            c[1] = static_cast<uint8_t>(b);
            const uint32_t mb = ma | 1u << b;
            for (int d = b + 1; d <= 15; ++d) {
                c[2] = static_cast<uint8_t>(d);
                const uint32_t md = mb | 1u << d;
                for (int e = d + 1; e <= 16; ++e) {
                    c[3] = static_cast<uint8_t>(e);
                    const uint32_t me = md | 1u << e;
                    for (int f = e + 1; f <= 17; ++f) {
                        c[4] = static_cast<uint8_t>(f);
                        const uint32_t mf = me | 1u << f;
                        for (int g = f + 1; g <= 18; ++g) {
                            c[5] = static_cast<uint8_t>(g);
                            const uint32_t mg = mf | 1u << g;
                            for (int h = g + 1; h <= 19; ++h) {
                                c[6] = static_cast<uint8_t>(h);
                                const uint32_t mh = mg | 1u << h;
                                for (int k = h + 1; k <= 20; ++k) {
                                    c[7] = static_cast<uint8_t>(k);
                                    emit(c, mh | 1u << k);
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

void GenerateMatching(int mode, const TGenerateNumbers& numbers, game::TCombsArray& out)
{
    const uint32_t mine = FieldMask(numbers);
    switch (mode) {
    case GenerateWithAny:
        ForEachComb([&](const TComb& c, uint32_t m) { if ((m & mine) != 0) out.push_back(c); });
        break;
    case GenerateOnlyFrom:
        ForEachComb([&](const TComb& c, uint32_t m) { if ((m & ~mine) == 0) out.push_back(c); });
        break;
    case GenerateWithout:
        ForEachComb([&](const TComb& c, uint32_t m) { if ((m & mine) == 0) out.push_back(c); });
        break;
    default:
        game::EnumerateAllCombs(out);
        break;
    }
}

} // namespace

TGenerateNumbers ParseGenerateNumbers(std::string_view parameters)
{
    TGenerateNumbers set;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= parameters.size(); ++i) {
        if (i < parameters.size() && parameters[i] != ',' && parameters[i] != ';') continue;
        const int32_t v = game::TextToInt(parameters.substr(start, i - start));
        if (v >= 0 && v <= 255) set.set(static_cast<std::size_t>(v));
        start = i + 1;
    }
    return set;
}

bool NamesFieldNumbers(std::string_view parameters)
{
    return FieldMask(ParseGenerateNumbers(parameters)) != 0;
}

bool GenerateCombs(bool interactive, const TGenerateSettings& settings, TCombList& list,
                   TFilterHistory& history, shell::Shell& shell)
{
    std::optional<shell::BusyScope> busy;
    if (interactive) busy.emplace(shell, "Генерация возможных комбинаций...");
    bool ok = true;
    try {
        game::TCombsArray& out = list.Refill();
        if (settings.Mode == GenerateFromFile)
            ok = ReadCombFile(settings.Parameters, list, shell);
        else if (settings.Mode >= GenerateWithAny && settings.Mode <= GenerateWithout)
            GenerateMatching(settings.Mode, ParseGenerateNumbers(settings.Parameters), out);
        else
            list.Share(game::AllCombs(), TCombList::FullSetId);
        if (interactive) {
            history.Clear();
            list.NotifyChanged();
            list.DiscardUndoCopy();
            list.InvalidateCombsBuffer();
        }
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка генерации файла комбинаций!", e.what());
        ok = false;
    }
    return ok;
}

} // namespace kv::filters
