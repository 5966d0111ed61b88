#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/game/types.h"
#include "core/util/currency.h"

namespace kv::stats {

struct TProfitItem {
    uint8_t Overlap = 0;        // number of matched numbers
    util::Currency Profit;      // prize for that overlap
    bool operator==(const TProfitItem&) const = default;
};

// Weight coefficients of the statistics table.
struct TWeightCoefs {
    long double CoefCount = 0;
    long double CoefDeviation = -1;
    long double CoefDepth = 1;
    bool UsePercents = false;
    bool UseAbsolute = false;
    bool operator==(const TWeightCoefs&) const = default;
};

// The engine settings shared by several subsystems (sections GLOBAL, STAKES and CDL of the
// settings file).
struct TConfigData {
    int32_t MatrixCols = 4;           // columns of the number card, 1..20
    int32_t ChannelSize = 4;          // numbers per channel, 2..20
    util::Currency Cost;              // price of one combination
    int32_t MaxStake = 8;             // largest number of numbers in one stake
    std::vector<TProfitItem> Profits; // prize table, in file order
    TWeightCoefs Weights;
    game::TNumMap MatrixSegments = DefaultSegments(); // segment of each number 1..20

    static game::TNumMap DefaultSegments()
    {
        game::TNumMap m;
        m.fill(1);
        return m;
    }
    bool operator==(const TConfigData&) const = default;
};

// The three shredding formulas (section SHREDDING).
struct TShreddingData {
    std::string Formula1 = "(n1+n2+n3+n4)/(n5+n6+n7+n8)";
    std::string Formula2 = "(n5+n6+n7+n8)/(n1+n2+n3+n4)";
    std::string Formula3 = "(n1+n3+n5+n7)/(n2+n4+n6+n8)";
    uint8_t Formula1Digits = 2;
    uint8_t Formula2Digits = 2;
    uint8_t Formula3Digits = 2;
    bool operator==(const TShreddingData&) const = default;
};

} // namespace kv::stats
