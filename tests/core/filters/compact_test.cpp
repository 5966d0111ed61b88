#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/filters/compact.h"
#include "tests/support/wideforms.h"

using kv::game::TComb;

// The cut keeps exactly the combinations with the wanted answer, in order, with the wide form
// and the plain one: every length around the 8 of a wide step, answers of any byte value,
// in place and into another list.
TEST(KeepByAnswers, KeepsTheWantedAnswersInOrderInEveryForm)
{
    std::mt19937 random(7);
    kv::test::ForEachWideForm([&](kv::game::TWideForm) {
        for (std::size_t total = 0; total <= 41; ++total)
            for (const bool keep : {true, false}) {
                std::vector<TComb> items(total);
                std::vector<uint8_t> answers(total);
                std::vector<TComb> expected;
                for (std::size_t i = 0; i < total; ++i) {
                    items[i] = TComb{uint8_t(i), uint8_t(i >> 8), 1, 2, 3, 4, 5, uint8_t(random())};
                    answers[i] = random() % 3 == 0 ? 0 : uint8_t(random() | 1);
                    if ((answers[i] != 0) == keep) expected.push_back(items[i]);
                }
                // Into a list of its own (the source untouched), then in place.
                const std::vector<TComb> source = items;
                std::vector<TComb> into(total, TComb{0xEE});
                into.resize(kv::filters::KeepByAnswers(into.data(), items.data(), answers.data(), total, keep));
                EXPECT_EQ(into, expected) << total << " items into another list, keep " << keep;
                EXPECT_EQ(items, source);
                const std::size_t kept =
                    kv::filters::KeepByAnswers(items.data(), items.data(), answers.data(), total, keep);
                items.resize(kept);
                EXPECT_EQ(items, expected) << total << " items, keep " << keep;
            }
    });
}
