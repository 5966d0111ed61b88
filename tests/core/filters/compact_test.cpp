#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/filters/compact.h"
#include "tests/support/wideforms.h"

using kv::game::TComb;

// The cut keeps exactly the combinations with the wanted answer, in order, with the wide form
// and the plain one: every length around the 8 of a wide step, answers of any byte value mixed
// or in runs of eight alike (which every form skips unread when dropped, and the plain form
// moves whole when kept) or alike but one, in place and into another list.
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
                    const std::size_t run = (i / 8 + total) % 4;
                    const bool marked = run == 0 ? random() % 3 != 0 : run == 3 ? i % 8 == total % 8 : run == 1;
                    answers[i] = marked ? uint8_t(random() | 1) : 0;
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

// The appended cut, a block at a time: blocks that keep nothing, blocks that keep everything
// (answers of every high and low bit pattern), a mixed one and a short tail are appended after
// what the list held, in every form.
TEST(AppendKept, AppendsTheWantedAnswersAfterTheListInEveryForm)
{
    constexpr std::size_t Block = 256, Total = 3 * Block + 37;
    std::vector<TComb> items(Total);
    std::vector<uint8_t> answers(Total);
    std::mt19937 random(11);
    const uint8_t marks[] = {0x01, 0x7F, 0x80, 0xFF, 0x10};
    for (std::size_t i = 0; i < Total; ++i) {
        items[i] = TComb{uint8_t(i), uint8_t(i >> 8), 9, 9, 9, 9, 9, 9};
        const std::size_t block = i / Block;
        const bool marked = block == 0 ? false : block == 1 ? true : random() % 2 == 0;
        answers[i] = marked ? marks[i % 5] : 0;
    }
    kv::test::ForEachWideForm([&](kv::game::TWideForm) {
        for (const bool keep : {true, false}) {
            kv::game::TCombsArray expected = {TComb{0xAA}};
            for (std::size_t i = 0; i < Total; ++i)
                if ((answers[i] != 0) == keep) expected.push_back(items[i]);
            kv::game::TCombsArray to = {TComb{0xAA}};
            kv::filters::AppendKept(to, items, answers.data(), keep);
            EXPECT_EQ(to, expected) << "keep " << keep;
        }
    });
}
