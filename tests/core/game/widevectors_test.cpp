#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/game/counting.h"
#include "core/game/widevectors.h"
#include "tests/support/wideforms.h"

using namespace kv::game;

namespace {

// Combinations that reach every lane and byte position: strictly rising ones (the fast path),
// ones with a single repeat, ordered ones around the ends of the field, repeated bytes, a 0 first
// byte, bytes from 128 up (the other half of a table), in lists of every length around the 2, 4
// and 8 of a vector step.
std::vector<TComb> mixedCombs(std::mt19937& random, std::size_t n)
{
    std::vector<TComb> combs(n);
    for (std::size_t i = 0; i < n; ++i) {
        TComb& c = combs[i];
        switch (i % 4) {
        case 0:
            c = TComb{1, 3, 5, 7, 9, 11, 13, uint8_t(14 + random() % 40)};
            // Half of them with one repeat, at any place.
            if (i % 8 == 4) {
                const std::size_t at = random() % 7;
                c[at + 1] = c[at];
            }
            break;
        case 1: for (uint8_t& b : c) b = uint8_t(random() % 21); break;
        case 2:
            // Half of them ordered, around the ends of the field.
            for (uint8_t& b : c) b = uint8_t(i % 8 == 6 ? random() % 25 : random());
            if (i % 8 == 6) std::sort(c.begin(), c.end());
            break;
        default:
            // Sums of 255 and 256, either side of the totals' table.
            if (i % 8 == 7) c = TComb{0, 0, 0, 0, 0, 0, uint8_t(i % 16 == 7 ? 0 : 1), 255};
            else c = TComb{0, 0, 2, 2, 128, 255, 255, uint8_t(random())};
            break;
        }
    }
    return combs;
}

uint8_t plainAny(const TComb& c, const TByteTable& hit)
{
    for (uint8_t b : c)
        if (hit[b] != 0) return 1;
    return 0;
}

uint8_t plainGap(const TComb& c, const TByteTable& hit)
{
    for (std::size_t j = 1; j < c.size(); ++j)
        if (hit[std::size_t(std::abs(c[j] - c[j - 1]))] != 0) return 1;
    return 0;
}

int plainCount(const TComb& c, const TByteTable& in, bool distinct)
{
    int k = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i && distinct; ++j) seen = seen || c[j] == c[i];
        k += !seen && in[c[i]] != 0 ? 1 : 0;
    }
    return k;
}

int plainClasses(const TComb& c, const TByteTable& of)
{
    int k = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j) seen = seen || of[c[j]] == of[c[i]];
        k += seen ? 0 : 1;
    }
    return k;
}

// The answers are passed on as they are: a different one for each count tells every count apart
// (and one count answers 0, as most do in a filter).
TCountAnswers distinctAnswers(std::size_t round)
{
    TCountAnswers byCount{};
    for (std::size_t k = 0; k < byCount.size(); ++k) byCount[k] = k == round % byCount.size() ? 0 : uint8_t(10 + k);
    return byCount;
}

// The tables of the byte tests: first those every form answers (subsets of the field, which the
// number filters mark; a bit of the byte; runs; the ends of the byte range; the most compares the
// plain form takes), then one past that and random tables of every density.
struct TTestTables {
    std::vector<TByteTable> tables;
    std::size_t answered = 0;
};

TTestTables testTables(std::mt19937& random)
{
    std::vector<TByteTable> tables;
    auto add = [&](auto&& answer) {
        TByteTable& t = tables.emplace_back();
        for (std::size_t b = 0; b < t.size(); ++b) t[b] = answer(b) ? 1 : 0;
    };
    for (int round = 0; round < 8; ++round) {
        const unsigned density = 1 + unsigned(round) % 4;
        add([&](std::size_t b) { return b >= MinNumber && b <= MaxNumber && random() % (density + 1) != 0; });
    }
    add([](std::size_t) { return false; });
    add([](std::size_t) { return true; });
    add([](std::size_t b) { return b == 0; });
    add([](std::size_t b) { return b == 255; });
    add([](std::size_t b) { return b == 0 || b == 255 || b == 7; });
    add([](std::size_t b) { return b % 2 == 0; });
    add([](std::size_t b) { return b % 2 == 1; });
    add([](std::size_t b) { return b >= 128; });
    add([](std::size_t b) { return (b >= 3 && b <= 9) || b >= 200; });
    // Twenty-four single values, then twenty-five, spread over the bytes.
    add([](std::size_t b) { return b % 10 == 5 && b < 240; });
    const std::size_t answered = tables.size();
    add([](std::size_t b) { return b % 10 == 5 && b < 250; });
    for (int round = 0; round < 6; ++round) add([&](std::size_t) { return random() % unsigned(round + 2) == 0; });
    return {std::move(tables), answered};
}

} // namespace

// Classes are counted as a byte-by-byte reading does, only for classes that rise with the bytes,
// and by the plain form only where the field has at most ten boundaries of classes (not width 1).
// Totals are looked up below 256 and marked unknown above.
TEST(WideVectors, ClassCountsAndTotalsAsTheTablesSay)
{
    std::mt19937 random(5);
    kv::test::ForEachWideForm([&](TWideForm form) {
        for (int round = 0; round < 8; ++round) {
            const TCountAnswers byCount = distinctAnswers(std::size_t(round));
            // Channels of width 1..4 over the bytes, the last two rounds in no order.
            TByteTable classes{}, bySum{};
            for (std::size_t b = 0; b < classes.size(); ++b)
                classes[b] = uint8_t(std::min<std::size_t>((b + 3) / std::size_t(round % 4 + 1), 255));
            if (round >= 6) std::swap(classes[3], classes[17]);
            for (uint8_t& t : bySum) t = uint8_t(random() % 2);
            for (std::size_t n = 0; n <= 19; ++n) {
                const std::vector<TComb> combs = mixedCombs(random, n);
                std::vector<uint8_t> counts(n, 7), totals(n, 7);
                const bool counted = round < 6 && (form != TWideForm::Plain || round % 4 != 0);
                ASSERT_EQ(MatchClassCount(combs, classes, byCount, counts.data()), counted);
                const std::ptrdiff_t unknown = MatchByteTotal(combs, bySum, totals.data());
                std::ptrdiff_t large = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    int sum = 0;
                    for (uint8_t b : combs[i]) sum += b;
                    large += sum < 256 ? 0 : 1;
                    const int total = sum < 256 ? bySum[std::size_t(sum)] : UnknownTotal;
                    EXPECT_EQ(totals[i], total) << round << ", " << i;
                    const int expected = counted ? byCount[std::size_t(plainClasses(combs[i], classes))] : 7;
                    EXPECT_EQ(counts[i], expected) << round << ", " << i;
                }
                EXPECT_EQ(unknown, large);
            }
        }
    });
}

// The counts over a whole list equal counting one combination at a time: the full game's bytes
// (below 64, counted as bits), stray ones (compared value by value), one combination repeated,
// and slices of the lexicographic list (whose first halves run long); lists across the blocks of
// 2,040 and 1,024 combinations, not a multiple of 8, and one past 256 x 1,020 alike combinations
// (the plain form's sixteen-bit lane counts); with the first combination of each value. Class
// masks by tables that are a bit of the byte or its opposite (odd, even) and by one that is not.
TEST(WideVectors, CountsOverAListAsOneAtATime)
{
    std::mt19937 random(3);
    TByteTable odd{}, even{}, third{};
    for (std::size_t b = 0; b < odd.size(); ++b)
        odd[b] = uint8_t(b % 2), even[b] = uint8_t(1 - b % 2), third[b] = uint8_t(b % 3 == 0);
    const TCombsArray& all = *AllCombs();
    kv::test::ForEachWideForm([&](TWideForm form) {
        for (const std::size_t n : {std::size_t(0), std::size_t(13), std::size_t(4173), std::size_t(266000)})
            for (const int kind : {0, 1, 2, 3}) {
                if (n > 5000 && kind != 2) continue;
                std::vector<TComb> combs(n);
                for (TComb& c : combs)
                    for (uint8_t& b : c) b = uint8_t(kind == 1 ? random() % 256 : 1 + random() % 20);
                // Combinations all alike fill every level of the wide forms' carries.
                if (kind == 2) std::fill(combs.begin(), combs.end(), combs.empty() ? TComb{} : combs[0]);
                if (kind == 3) {
                    const std::size_t from = random() % (all.size() - n);
                    std::copy(all.begin() + long(from), all.begin() + long(from + n), combs.begin());
                }
                for (const TByteTable* table : {&odd, &even, &third}) {
                    TByteCounts bytes{}, gaps{}, masks{}, wantBytes{}, wantGaps{}, wantMasks{};
                    std::array<int32_t, ByteTotals> totals{}, wantTotals{};
                    std::array<uint32_t, 256> maskFirst, wantMaskFirst;
                    std::array<uint32_t, ByteTotals> totalFirst, wantTotalFirst;
                    maskFirst.fill(99), wantMaskFirst.fill(99), totalFirst.fill(99), wantTotalFirst.fill(99);
                    for (std::size_t i = n; i-- > 0;) {
                        const TComb& c = combs[i];
                        unsigned mask = 0, total = 0;
                        for (std::size_t j = 0; j < 8; ++j) {
                            ++wantBytes[c[j]];
                            if (j > 0) ++wantGaps[std::size_t(std::abs(c[j] - c[j - 1]))];
                            mask |= unsigned((*table)[c[j]]) << (7 - j);
                            total += c[j];
                        }
                        ++wantMasks[mask];
                        ++wantTotals[total];
                        wantMaskFirst[mask] = uint32_t(i);
                        wantTotalFirst[total] = uint32_t(i);
                    }
                    ASSERT_TRUE(CountBytes(combs, false, bytes));
                    ASSERT_TRUE(CountBytes(combs, true, gaps));
                    ASSERT_TRUE(CountByteTotals(combs, totals, totalFirst));
                    const std::string what = std::to_string(n) + " of kind " + std::to_string(kind);
                    EXPECT_EQ(bytes, wantBytes) << what;
                    EXPECT_EQ(gaps, wantGaps) << what;
                    // The plain form reads a table that is no bit of the byte by comparing the
                    // bytes with a few values; stray bytes of every value leave it to the caller.
                    if (CountClassMasks(combs, *table, masks, maskFirst)) {
                        EXPECT_EQ(masks, wantMasks) << what;
                        EXPECT_EQ(maskFirst, wantMaskFirst) << what;
                    } else {
                        EXPECT_TRUE(form == TWideForm::Plain && table == &third && kind == 1) << what;
                        EXPECT_EQ(masks, TByteCounts{}) << what;
                    }
                    EXPECT_EQ(totals, wantTotals) << what;
                    EXPECT_EQ(totalFirst, wantTotalFirst) << what;
                }
            }
    });
}


// Each form answers as a byte-by-byte reading of the tables does, for any table and any bytes,
// in lists of every length around the steps of eight, four and two; or declines, writing nothing,
// which only the plain form may do, and not for a subset of the field nor for a bit of the byte.
TEST(WideVectors, EveryFormAnswersAsTheTablesSay)
{
    std::mt19937 random(11);
    const auto [tables, answeredTables] = testTables(random);
    kv::test::ForEachWideForm([&](TWideForm form) {
        int declined = 0;
        for (std::size_t round = 0; round < tables.size(); ++round) {
            const TByteTable& table = tables[round];
            const TCountAnswers byCount = distinctAnswers(round);
            for (std::size_t n = 0; n <= 19; ++n) {
                SCOPED_TRACE("table " + std::to_string(round) + ", " + std::to_string(n) + " combinations");
                const std::vector<TComb> combs = mixedCombs(random, n);
                std::vector<uint8_t> any(n, 7), gaps(n, 7), counts(n, 7), sums(n, 7);
                const std::array<bool, 4> answered = {MatchAnyByte(combs, table, any.data()),
                                                      MatchAnyGap(combs, table, gaps.data()),
                                                      MatchByteCount(combs, table, byCount, counts.data()),
                                                      MatchByteSum(combs, table, byCount, sums.data())};
                // One compare set serves all four passes.
                ASSERT_EQ(std::count(answered.begin(), answered.end(), answered[0]), 4);
                if (!answered[0]) {
                    ASSERT_EQ(form, TWideForm::Plain);
                    ASSERT_GE(round, answeredTables);
                    for (const std::vector<uint8_t>* r : {&any, &gaps, &counts, &sums})
                        EXPECT_EQ(*r, std::vector<uint8_t>(n, 7)) << "a declined pass writes nothing";
                    declined += n == 0 ? 1 : 0;
                    continue;
                }
                for (std::size_t i = 0; i < n; ++i) {
                    EXPECT_EQ(any[i], plainAny(combs[i], table)) << i;
                    EXPECT_EQ(gaps[i], plainGap(combs[i], table)) << i;
                    EXPECT_EQ(counts[i], byCount[std::size_t(plainCount(combs[i], table, true))]) << i;
                    EXPECT_EQ(sums[i], byCount[std::size_t(plainCount(combs[i], table, false))]) << i;
                }
            }
        }
        // The table of twenty-five values and the densest random ones are past the plain form's limit.
        EXPECT_GE(declined, form == TWideForm::Plain ? 2 : 0);
    });
}

// The names of KVANTA_WIDE_VECTORS in any case; anything else (unset too) asks for the widest, and a form is
// never wider than the CPU's.
TEST(WideVectors, FormsByNameAndNeverWiderThanTheCpu)
{
    const struct {
        const char* name;
        TWideForm form;
    } cases[] = {{"avx512", TWideForm::Avx512}, {"avx2", TWideForm::Avx2}, {"plain", TWideForm::Plain},
                 {"0", TWideForm::Plain},       {"1", TWideForm::Avx512},   {"", TWideForm::Avx512},
                 {nullptr, TWideForm::Avx512},  {"AVX2", TWideForm::Avx2},      {"Plain", TWideForm::Plain}};
    for (const auto& c : cases) EXPECT_EQ(WideFormByName(c.name), c.form) << (c.name ? c.name : "unset");
    for (const TWideForm form : {TWideForm::Avx512, TWideForm::Avx2, TWideForm::Plain})
        EXPECT_EQ(WideFormByName(WideFormName(form)), form);
    const TWideForm before = WideForm();
    EXPECT_EQ(SetWideForm(TWideForm::Avx512), BestWideForm());
    EXPECT_EQ(SetWideForm(TWideForm::Plain), TWideForm::Plain);
    SetWideForm(before);
}
