#include "core/util/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kv::util {
namespace {

constexpr int64_t I64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t I64Max = std::numeric_limits<int64_t>::max();

TEST(Currency, FromDoubleRoundsTheDecimalValueHalfAwayFromZero)
{
    struct Case {
        double value;
        int64_t raw;
    };
    const std::vector<Case> cases = {
        {0.0, 0},
        {1.5, 15000},
        {-1.5, -15000},
        {0.00005, 1},
        {-0.00005, -1},
        {0.000049, 0},
        {0.00145, 15}, // the double lies below the half, its decimal form does not
        {-0.00145, -15},
        {2.675, 26750},
        {1.23456, 12346},
        {-1.23455, -12346},
        {0.99995, 10000},
        {0.1 + 0.2, 3000},
        {922337203685477.0, 9223372036854770000},
        {1e300, I64Max},
        {-1e300, I64Min},
        {std::numeric_limits<double>::infinity(), I64Max},
        {std::nan(""), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Currency::FromDouble(c.value).raw, c.raw);
    }
}

TEST(Currency, Parse)
{
    struct Case {
        std::string text;
        bool ok;
        int64_t raw;
    };
    const std::vector<Case> cases = {
        {"12", true, 120000},
        {"12.5", true, 125000},
        {"12,5", true, 125000},
        {"-0,0001", true, -1},
        {" 3.1415 ", true, 31415},
        {"\t4\t", true, 40000},
        {"+7", true, 70000},
        {".5", true, 5000},
        {"5.", true, 50000},
        {"0001.1000", true, 11000},
        {"-0", true, 0},
        {"922337203685477.5807", true, I64Max},
        {"-922337203685477.5808", true, I64Min},
        {"922337203685477.5808", false, 0},
        {"-922337203685477.5809", false, 0},
        {"922337203685478", false, 0},
        {"99999999999999999999999", false, 0},
        {"1.23456", false, 0},
        {"1.00000", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"--1", false, 0},
        {"- 5", false, 0},
        {"1,2.3", false, 0},
        {"1 000", false, 0},
        {"1e3", false, 0},
        {"12a", false, 0},
        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        Currency out = Currency::FromRaw(-777);
        EXPECT_EQ(TryParseCurrency(c.text, out), c.ok);
        EXPECT_EQ(out.raw, c.ok ? c.raw : -777); // a failure leaves the target alone
    }
}

TEST(Currency, Text)
{
    struct Case {
        int64_t raw;
        int decimals;
        char sep;
        std::string text;
    };
    const std::vector<Case> cases = {
        {125000, 2, '.', "12.50"},
        {125000, 0, '.', "13"},
        {-125000, 0, '.', "-13"},
        {125000, 4, ',', "12,5000"},
        {12345, 2, ',', "1,23"},
        {12350, 2, '.', "1.24"},
        {-12350, 2, '.', "-1.24"},
        {12345, 3, '.', "1.235"},
        {-49, 2, '.', "0.00"}, // rounds to zero: no sign
        {-50, 2, '.', "-0.01"},
        {1, 4, '.', "0.0001"},
        {0, 2, '.', "0.00"},
        {99995, 2, '.', "10.00"},
        {I64Max, 4, '.', "922337203685477.5807"},
        {I64Min, 4, '.', "-922337203685477.5808"},
        {I64Min, 2, '.', "-922337203685477.58"},
        {I64Max, 0, '.', "922337203685478"},
        {125000, 7, '.', "12.5000"}, // decimals beyond 4 are 4
        {125000, -1, '.', "13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(CurrencyToText(Currency::FromRaw(c.raw), c.decimals, c.sep), c.text);
    }
}

TEST(Currency, TextParsesBack)
{
    const std::vector<int64_t> raws = {0,     1,         -1,       9999,   -10000, 123456789,
                                       -5001, 250000000, I64Max,   I64Min, 10,     -99999};
    for (int64_t raw : raws) {
        for (char sep : {'.', ','}) {
            SCOPED_TRACE(raw);
            Currency back;
            ASSERT_TRUE(TryParseCurrency(CurrencyToText(Currency::FromRaw(raw), 4, sep), back));
            EXPECT_EQ(back.raw, raw);
        }
    }
}

} // namespace
} // namespace kv::util
