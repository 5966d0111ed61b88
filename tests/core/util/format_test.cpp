#include "core/util/format.h"
#include "core/util/translate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <source_location>
#include <string>
#include <vector>

namespace kv::util {
namespace {

// One formatted result against the text it must be; the location points at the failing row.
struct Row {
    Row(std::string got, std::string want, std::source_location at = std::source_location::current())
        : got(std::move(got)), want(std::move(want)), line(at.line())
    {
    }
    std::string got;
    std::string want;
    unsigned line;
};

void check(const std::vector<Row>& rows)
{
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << r.line);
        EXPECT_EQ(r.got, r.want);
    }
}

constexpr int64_t I64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t I64Max = std::numeric_limits<int64_t>::max();

TEST(Format, Integers)
{
    check({
        {FormatSep('.', "%d", {5}), "5"},
        {FormatSep('.', "%d", {-5}), "-5"},
        {FormatSep('.', "%.2d", {5}), "05"},
        {FormatSep('.', "%.2d", {-5}), "-05"},
        {FormatSep('.', "%.3d", {7}), "007"},
        {FormatSep('.', "%.2d", {1234}), "1234"},
        {FormatSep('.', "%.0d", {0}), "0"},
        {FormatSep('.', "%5d", {42}), "   42"},
        {FormatSep('.', "%-5d|", {42}), "42   |"},
        {FormatSep('.', "%5.3d", {-7}), " -007"},
        {FormatSep('.', "%1d", {123}), "123"},
        // Delphi knows no "0" flag: "05" is just a width.
        {FormatSep('.', "%05d", {42}), "   42"},
        {FormatSep('.', "%d", {I64Min}), "-9223372036854775808"},
        {FormatSep('.', "%d", {I64Max}), "9223372036854775807"},
        {FormatSep('.', "%D", {9}), "9"},
        {FormatSep('.', "%d", {3.99}), "3"},
        {FormatSep('.', "%d", {-3.99}), "-3"},
        {FormatSep('.', "%.2d", {5.7}), "05"},
        {FormatSep('.', "%u", {42u}), "42"},
        {FormatSep('.', "%u", {-1}), "4294967295"},
        {FormatSep('.', "%x", {255}), "FF"},
        {FormatSep('.', "%X", {0xabc}), "ABC"},
        {FormatSep('.', "%.4x", {255}), "00FF"},
        {FormatSep('.', "%x", {-1}), "FFFFFFFF"},
        {FormatSep('.', "%x", {int64_t{-1} << 40}), "FFFFFF0000000000"},
        {FormatSep('.', "%p", {255}), "000000FF"},
    });
}

TEST(Format, IndexesTakeTheirArgumentAndMoveTheNextOne)
{
    check({
        {Format("%0:.2d.%1:.2d.%2:d", {5, 3, 2024}), "05.03.2024"},
        {Format("%1:s %0:s", {"a", "b"}), "b a"},
        {Format("%1:s %s", {"a", "b", "c"}), "b c"},
        {Format("%s %0:s %s", {"a", "b"}), "a a b"},
        {Format("%0:s-%0:s-%0:s", {"x"}), "x-x-x"},
        {Format("%2:d %d", {1, 2, 3}), "3 %d"},
        {Format("%0:-4d|", {7}), "7   |"},
        {Format("Тираж %0:d от %1:s", {1234, "01.02.2024"}), "Тираж 1234 от 01.02.2024"},
    });
}

TEST(Format, TextsCountCharactersNotBytes)
{
    static constexpr char withNul[] = "с нулём\0внутри";
    const std::string nulText(withNul, sizeof withNul - 1);
    check({
        {Format("[%6s]", {"Тираж"}), "[ Тираж]"},
        {Format("[%-7s]", {"Ёж"}), "[Ёж     ]"},
        {Format("[%2s]", {"Архив"}), "[Архив]"},
        {Format("%.3s", {"Архив"}), "Арх"},
        {Format("%.10s", {"ab"}), "ab"},
        {Format("%.0s|", {"ab"}), "|"},
        {Format("[%5.2s]", {"Архив"}), "[   Ар]"},
        {Format("%s", {nulText}), nulText},
        {Format("%s и %s", {std::string_view("один"), std::string("два")}), "один и два"},
        {Format("%s", {static_cast<const char*>(nullptr)}), ""},
        {FormatSep('.', "%s", {42}), "42"},
        {FormatSep('.', "%s", {-7}), "-7"},
        {FormatSep('.', "%s", {2.5}), "2.5"},
        {FormatSep('.', "%s", {0.1 + 0.2}), "0.3"},
        {FormatSep(',', "%s", {2.5}), "2,5"},
        {FormatSep('.', "%.2s", {12345}), "12"},
    });
}

TEST(Format, PercentAndStarArguments)
{
    check({
        {Format("100%%", {}), "100%"},
        {Format("%d%%", {50}), "50%"},
        {Format("%%d", {50}), "%d"},
        {Format("%%%d%%", {1}), "%1%"},
        {FormatSep('.', "%*d", {5, 42}), "   42"},
        {FormatSep('.', "%-*d|", {4, 7}), "7   |"},
        {FormatSep('.', "%*d|", {-4, 7}), "7   |"},
        {FormatSep('.', "%.*f", {3, 2.0}), "2.000"},
        {FormatSep('.', "%*.*f", {8, 2, 3.14159}), "    3.14"},
        {FormatSep('.', "%*d %s", {3, 1, "z"}), "  1 z"},
    });
}

TEST(Format, FixedRoundsTheDecimalValueHalfAwayFromZero)
{
    const double justBelow1005 = std::nextafter(1.005, 0.0); // 1.0049999999999997
    check({
        {FormatSep('.', "%f", {2.0}), "2.00"},
        {FormatSep('.', "%f", {7}), "7.00"},
        {FormatSep('.', "%.2f", {2.675}), "2.68"},
        {FormatSep('.', "%.2f", {-2.675}), "-2.68"},
        {FormatSep('.', "%.2f", {1.005}), "1.01"},
        // Rounded to the 15 digits of a Double first, as Delphi does, so noise is not a digit.
        {FormatSep('.', "%.2f", {justBelow1005}), "1.01"},
        {FormatSep('.', "%.2f", {2.675L}), "2.68"},
        {FormatSep('.', "%.2f", {1.0049L}), "1.00"},
        {FormatSep('.', "%.0f", {0.5}), "1"},
        {FormatSep('.', "%.0f", {2.5}), "3"},
        {FormatSep('.', "%.0f", {-0.5}), "-1"},
        {FormatSep('.', "%.0f", {0.49}), "0"},
        {FormatSep('.', "%.3f", {0.0005}), "0.001"},
        {FormatSep('.', "%.3f", {0.0004}), "0.000"},
        {FormatSep('.', "%.2f", {-0.001}), "0.00"},
        {FormatSep('.', "%.1f", {0.95}), "1.0"},
        {FormatSep('.', "%.2f", {99.995}), "100.00"},
        {FormatSep('.', "%.3f", {1.0 / 3}), "0.333"},
        {FormatSep('.', "%.2f", {0.1 + 0.2}), "0.30"},
        {FormatSep('.', "%.5f", {1.5}), "1.50000"},
        {FormatSep('.', "%.4f", {-12.34567}), "-12.3457"},
        {FormatSep('.', "%.2f", {123456789.125}), "123456789.13"},
        {FormatSep('.', "%.0f", {999999999999999.0}), "999999999999999"},
        {FormatSep('.', "%.2f", {1e15}), "1.00000000000000E+015"},
        {FormatSep('.', "%.2f", {0.0}), "0.00"},
        {FormatSep('.', "%.2f", {-0.0}), "0.00"},
        {FormatSep('.', "%8.2f|", {-1.5}), "   -1.50|"},
        {FormatSep('.', "%-8.2f|", {1.5}), "1.50    |"},
        {FormatSep(',', "%.2f", {2.5}), "2,50"},
        {FormatSep('.', "%.30f", {0.5}), "0.500000000000000000"}, // 18 decimals at most
        {FormatSep('.', "%f", {std::nan("")}), "NAN"},
        {FormatSep('.', "%.2f", {std::numeric_limits<double>::infinity()}), "INF"},
        {FormatSep('.', "%.2f", {-std::numeric_limits<double>::infinity()}), "-INF"},
    });
}

TEST(Format, ScientificGeneralNumberMoney)
{
    check({
        {FormatSep('.', "%e", {1234.56789}), "1.23456789000000E+003"},
        {FormatSep('.', "%.3e", {1234.5}), "1.23E+003"},
        {FormatSep('.', "%.3e", {0.00012345}), "1.23E-004"},
        {FormatSep('.', "%.2e", {-9.99}), "-1.0E+001"},
        {FormatSep('.', "%.1e", {5.0}), "5E+000"},
        {FormatSep('.', "%e", {0.0}), "0.00000000000000E+000"},
        {FormatSep(',', "%.3e", {1.5}), "1,50E+000"},
        {FormatSep('.', "%g", {0.5}), "0.5"},
        {FormatSep('.', "%g", {100.0}), "100"},
        {FormatSep('.', "%g", {-0.25}), "-0.25"},
        {FormatSep('.', "%g", {1e20}), "1E20"},
        {FormatSep('.', "%g", {0.0001}), "0.0001"},
        {FormatSep('.', "%g", {0.00001}), "1E-5"},
        {FormatSep('.', "%g", {1.0 / 3}), "0.333333333333333"},
        {FormatSep('.', "%.3g", {1234.5}), "1.23E3"},
        {FormatSep('.', "%g", {0.0}), "0"},
        {FormatSep('.', "%n", {1234567.891}), "1 234 567.89"},
        {FormatSep('.', "%.0n", {999.5}), "1 000"},
        {FormatSep('.', "%n", {-1234.5}), "-1 234.50"},
        {FormatSep('.', "%n", {123.0}), "123.00"},
        {FormatSep(',', "%.1n", {123456}), "123 456,0"},
        {FormatSep('.', "%m", {12.5}), "12.50"},
        {FormatSep('.', "%.3m", {12.5}), "12.500"},
    });
}

TEST(Format, DecimalSeparatorFollowsTheSetting)
{
    const char saved = DecimalSeparator();
    EXPECT_EQ(saved, '.');
    SetDecimalSeparator(',');
    const std::string withComma = Format("%.2f %e %s %d", {2.5, 1.0, 0.5, 3});
    SetDecimalSeparator(saved);
    EXPECT_EQ(withComma, "2,50 1,00000000000000E+000 0,5 3");
    EXPECT_EQ(Format("%.1f", {2.25}), "2.3");
}

TEST(Format, MalformedTemplatesAreCopiedAsTheyStand)
{
    check({
        {Format("%", {}), "%"},
        {Format("abc%", {1}), "abc%"},
        {Format("%z", {1}), "%z"},
        {Format("%z %d", {5}), "%z 5"},
        {Format("%5", {1}), "%5"},
        {Format("%1:", {1, 2}), "%1:"},
        {Format("%-", {1}), "%-"},
        {Format("%.", {1}), "%."},
        {Format("%5 шт.", {1}), "%5 шт."},
        {Format("%5%d", {7}), "%57"},
        {Format("%y%%", {}), "%y%"},
        {Format("%d", {}), "%d"},
        {Format("%d %d", {1}), "1 %d"},
        {Format("%3:d", {1}), "%3:d"},
        {Format("%99999999999:d", {1}), "%99999999999:d"},
        {Format("%d", {"abc"}), "%d"},
        {Format("%f", {"abc"}), "%f"},
        {Format("%p", {1.5}), "%p"},
        {Format("%d", {std::nan("")}), "%d"},
        {Format("%d", {1e30}), "%d"},
        // A mismatched argument is still used up, so the following ones stay in place.
        {Format("%d %s", {"abc", "x"}), "%d x"},
        {Format("%*d", {"x", 5}), "%*d"},
        {Format("%.*f", {}), "%.*f"},
        {Format("%s \xFF\xFE %s", {"a", "b"}), "a \xFF\xFE b"},
    });
}

TEST(Format, AbsurdWidthIsCapped)
{
    const std::string s = Format("%999999999d", {1});
    EXPECT_EQ(s.size(), 4096u);
    EXPECT_EQ(s.back(), '1');
    EXPECT_EQ(Format("%.999999999d", {1}).size(), 4096u);
}

// The interface language reaches every message built from a template: the translated template
// is read with the same arguments; Latin templates (codes, keys) are never looked up, and
// without a lookup the Russian template stays.
TEST(Format, TemplatesTakeTheInterfaceLanguage)
{
    std::vector<std::string> asked;
    SetTextLookup([&asked](std::string_view russian) {
        asked.emplace_back(russian);
        return russian == "Файл \"%s\": %d записей" ? std::string("File \"%s\": %d records") : std::string();
    });
    EXPECT_EQ(Format("Файл \"%s\": %d записей", {"a.csv", 3}), "File \"a.csv\": 3 records");
    EXPECT_EQ(Format("Тираж %d", {5}), "Тираж 5");   // no translation: the Russian stays
    EXPECT_EQ(Format("%s.Column%d", {"List", 2}), "List.Column2");
    EXPECT_EQ(FormatSep(',', "Сумма %.2f", {1.5}), "Сумма 1,50");   // file contents: never looked up
    EXPECT_EQ(asked, (std::vector<std::string>{"Файл \"%s\": %d записей", "Тираж %d"}));
    // A caption taken under one language stays readable after the lookup changes.
    const char* caption = TrText("Файл \"%s\": %d записей");
    SetTextLookup({});
    EXPECT_STREQ(caption, "File \"%s\": %d records");
    EXPECT_EQ(Format("Файл \"%s\": %d записей", {"a.csv", 3}), "Файл \"a.csv\": 3 записей");
}

} // namespace
} // namespace kv::util
