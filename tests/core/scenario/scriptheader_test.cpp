#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scenario/scriptheader.h"
#include "core/stats/statlist.h"

using namespace kv;
using scenario::TScriptHeader;

namespace {

stats::TStatList& Registry()
{
    static game::TDrawsArray draws;
    static stats::TStatList list = [] {
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList();
        return l;
    }();
    return list;
}

struct HeaderCase {
    const char* text;
    TScriptHeader header;
    const char* stored;
    const char* run;
    const char* caption;
};

TScriptHeader H(int n, int start, int mode, bool clr = false, bool nex = false)
{
    return TScriptHeader{n, static_cast<uint8_t>(start), static_cast<uint8_t>(mode), clr, nex};
}

TEST(ScriptHeader, ReadsWritesAndCaptions)
{
    const std::vector<HeaderCase> cases = {
        {"FULL:0#RAND", H(0, 0, 0), "FULL:0#RAND", "FULL#RAND", "Исходный список; Случайно; Все создаваемые ставки"},
        {"excl:3#all#nex", H(3, 1, 3, false, true), "EXCL:3#ALL#NEX", "EXCL:3#ALL#NEX",
         "Исключить 3 тиражей; Все; Только новые ставки"},
        {"EXCL:5#ALL#CLR#NEX", H(5, 1, 3, true, true), "EXCL:5#ALL#CLR#NEX", "EXCL:5#ALL#NEX",
         "Исключить 5 тиражей; Все; Удалить ставки; Только новые ставки"},
        {"CURR#FOO", H(0, 2, 0), "CURR:0#RAND", "CURR#RAND", "Текущий список; Случайно; Все создаваемые ставки"},
        // Runs of "#" are one separator; leading ones vanish; words are trimmed.
        {"##full:7##Last###clr", H(7, 0, 2, true), "FULL:7#LAST#CLR", "FULL#LAST",
         "Исходный список; Последняя; Удалить ставки; Все создаваемые ставки"},
        {" EXCL : 12 # stop # nex ", H(12, 1, 6, false, true), "EXCL:12#STOP#NEX", "EXCL:12#STOP#NEX",
         "Исключить 12 тиражей; Остановить; Только новые ставки"},
        // The start list is a prefix match, the stake mode an exact one; N must be a number.
        {"FULLY:x#SYSA#FOO#CLRX", H(0, 0, 4), "FULL:0#SYSA", "FULL#SYSA",
         "Исходный список; Система [все]; Все создаваемые ставки"},
        {"EXCL:99999999999#SYSC", H(0, 1, 5), "EXCL:0#SYSC", "EXCL:0#SYSC",
         "Исключить 0 тиражей; Система [комб]; Все создаваемые ставки"},
        {"XYZ:4#skip", H(4, 0, 7), "FULL:4#SKIP", "FULL#SKIP", "Исходный список; Пропустить; Все создаваемые ставки"},
        {"CURR:2#NONE#NEX#CLR", H(2, 2, 8, true, true), "CURR:2#NONE#CLR#NEX", "CURR#NONE#NEX",
         "Текущий список; Не делать ставок; Удалить ставки; Только новые ставки"},
        {"FULL:1#FIRST#", H(1, 0, 1), "FULL:1#FIRST", "FULL#FIRST", "Исходный список; Первая; Все создаваемые ставки"},
        {"", H(0, 0, 0), "FULL:0#RAND", "FULL#RAND", "Исходный список; Случайно; Все создаваемые ставки"},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.text);
        const TScriptHeader h = scenario::ParseScriptHeader(c.text);
        EXPECT_EQ(h, c.header);
        EXPECT_EQ(scenario::ScriptHeaderToText(h), c.stored);
        EXPECT_EQ(scenario::ScriptHeaderToRunText(h), c.run);
        EXPECT_EQ(scenario::ScriptHeaderCaption(h), c.caption);
    }
}

TEST(ScriptHeader, EveryHeaderSurvivesItsStoredText)
{
    for (int start = 0; start < scenario::StartListCount; ++start)
        for (int mode = 0; mode < scenario::StakeModeCount; ++mode)
            for (int flags = 0; flags < 4; ++flags)
                for (int n : {0, 1, 2147483647}) {
                    const TScriptHeader h = H(n, start, mode, flags & 1, flags & 2);
                    EXPECT_EQ(scenario::ParseScriptHeader(scenario::ScriptHeaderToText(h)), h)
                        << scenario::ScriptHeaderToText(h);
                }
}

TEST(ScriptHeader, ValuesOutsideTheTablesShowTheErrorCaption)
{
    EXPECT_EQ(scenario::ScriptHeaderCaption(H(0, 3, 9)), "# ERROR #; # ERROR #; Все создаваемые ставки");
    EXPECT_EQ(scenario::StakeModeEditorCaption(8), "Не делать ставок (для последовательного выполнения)");
    EXPECT_EQ(scenario::StartListEditorCaption(1), "Удалить N последних тиражей (для прогнозов)");
    EXPECT_EQ(scenario::StartListEditorCaption(-1), "# ERROR #");
    EXPECT_EQ(scenario::StakeModeCode(9), "");
}

TEST(StepLine, WordsFieldsAndTheEditorsLine)
{
    using Words = std::vector<std::string_view>;
    EXPECT_EQ(scenario::SplitWords("||a|| b |", '|'), (Words{"a", " b "}));
    EXPECT_EQ(scenario::SplitWords("|||", '|'), Words{});
    EXPECT_EQ(scenario::SplitWords("x", '|'), Words{"x"});

    const std::array<std::string, 7> none{};
    EXPECT_EQ(scenario::BuildStepLine("FULL:0#RAND", none, ""), "FULL:0#RAND| | | | | | | |");
    EXPECT_EQ(scenario::BuildStepLine("FULL:0#RAND", none, "   "), "FULL:0#RAND| | | | | | | |");

    const std::array<std::string, 7> some{"", " TSD1#NUMS:10#LNO:#SF:1 ", "  ", "", "", "", "BMF8#SUMS:10, 20#WMV:5#SV:3"};
    const std::string line = scenario::BuildStepLine("EXCL:5#ALL", some, " my idea ");
    EXPECT_EQ(line, "EXCL:5#ALL| | TSD1#NUMS:10#LNO:#SF:1 | | | | |BMF8#SUMS:10, 20#WMV:5#SV:3| my idea ");
    const std::vector<std::string> fields = {"EXCL:5#ALL", "", "TSD1#NUMS:10#LNO:#SF:1", "", "", "", "",
                                             "BMF8#SUMS:10, 20#WMV:5#SV:3", "my idea"};
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(scenario::StepField(line, n), fields[std::size_t(n - 1)]) << n;
    EXPECT_EQ(scenario::StepField(line, 0), "");
    EXPECT_EQ(scenario::StepField(line, 10), "");

    // A "|" typed into the comment splits it when the line is read again: the part after it is
    // a tenth field nobody reads.
    const std::string split = scenario::BuildStepLine("FULL:0#RAND", none, "a|b");
    EXPECT_EQ(scenario::StepField(split, 9), "a");
    EXPECT_EQ(scenario::StepField(split, 10), "b");
    // An empty slot written without its blank shifts every later field one place left.
    EXPECT_EQ(scenario::StepField("FULL:0#RAND||TSD1#NUMS:10#LNO:#SF:1| | | | | |c", 2), "TSD1#NUMS:10#LNO:#SF:1");

    EXPECT_TRUE(scenario::IsSeparatorLine(""));
    EXPECT_TRUE(scenario::IsSeparatorLine("   "));
    EXPECT_FALSE(scenario::IsSeparatorLine("|"));
}

TEST(StepEditor, DefaultsAndLinesReadBack)
{
    EXPECT_EQ(scenario::WriteStepLine(scenario::ReadStepLine("", 0)), "FULL:0#RAND| | | | | | | |");
    // An empty line keeps the window's exclude count; a step brings its own.
    EXPECT_EQ(scenario::ReadStepLine("  ", 5).Header, H(5, 0, 0));
    const scenario::TStepFields f = scenario::ReadStepLine("excl:3#all#nex| TSD1#NUMS:10#LNO:#SF:1 | |x| | | | |my idea ", 5);
    EXPECT_EQ(f.Header, H(3, 1, 3, false, true));
    EXPECT_EQ(f.Filters, (std::array<std::string, 7>{"TSD1#NUMS:10#LNO:#SF:1", "", "x", "", "", "", ""}));
    EXPECT_EQ(f.Comment, "my idea");
    EXPECT_EQ(scenario::WriteStepLine(f), "EXCL:3#ALL#NEX|TSD1#NUMS:10#LNO:#SF:1| |x| | | | |my idea");
    EXPECT_EQ(scenario::ReadStepLine(scenario::WriteStepLine(f), 0).Filters, f.Filters);
}

TEST(ScenarioView, ColumnsRowsAndStatus)
{
    std::vector<std::string> captions;
    for (int c = 0; c < scenario::ScenarioColumnCount; ++c) captions.push_back(scenario::ScenarioColumnCaption(c));
    EXPECT_EQ(captions, (std::vector<std::string>{"Комментарии", "Опции", "Фильтр 1", "Фильтр 2", "Фильтр 3",
                                                  "Фильтр 4", "Фильтр 5", "Фильтр 6", "Фильтр 7"}));

    const auto row = scenario::ScenarioRowTexts(
        "excl:3#all#nex| | tsd1#nums: 10 #lno:#sf:1 | |BMF8#FOO:5#WMV:5#SV:3| | | |idea", Registry());
    EXPECT_EQ(row[0], "idea");
    EXPECT_EQ(row[1], "Исключить 3 тиражей; Все; Только новые ставки");
    EXPECT_EQ(row[2], "");
    EXPECT_EQ(row[3], "TSD1#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(row[4], "");
    // A statistic this program does not know keeps its text.
    EXPECT_EQ(row[5], "BMF8#FOO:5#WMV:5#SV:3");
    for (int c = 6; c < 9; ++c) EXPECT_EQ(row[std::size_t(c)], "");

    for (const std::string& cell : scenario::ScenarioRowTexts("  ", Registry())) EXPECT_EQ(cell, "");
    EXPECT_EQ(scenario::ScenarioLinesText(12), "Строк: 12");
}

} // namespace
