#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/scenario/scenario.h"
#include "core/scenario/scriptheader.h"
#include "core/scenario/scriptrunner.h"
#include "core/util/format.h"
#include "tests/core/scenario/runtest.h"

using namespace kv;
using Strings = std::vector<std::string>;
using test::RunFixture;

namespace {

// A filter that visits the rows and deletes nothing: no row has a count of 1000.
const std::string Noop = "TSD1#NUMS:10#CMV:1000#SF:1";
const std::string NoopText = "TSD1#NUMS:10#CMV:1000#SF:1";

std::string Line(const std::string& header, const std::vector<std::string>& filters, const std::string& comment = "")
{
    std::array<std::string, 7> slots{};
    for (std::size_t i = 0; i < filters.size(); ++i) slots[i] = filters[i];
    return scenario::BuildStepLine(header, slots, comment);
}

int CountOf(const Strings& lines, const std::string& text)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

TEST(StakeName, WithAndWithoutComment)
{
    EXPECT_EQ(scenario::StakeName(3, 12, "my idea", "EXCL:5#RAND + TSD1#NUMS:10#LMV:3#SF:1"),
              "03.012: my idea @ EXCL:5#RAND + TSD1#NUMS:10#LMV:3#SF:1");
    EXPECT_EQ(scenario::StakeName(1, 1, "", "FULL#ALL"), "01.001: @ FULL#ALL");
    EXPECT_EQ(scenario::StakeName(123, 4567, "x", "y"), "123.4567: x @ y");
    EXPECT_EQ(scenario::RunPanelText(2, 5, "TSD1#NUMS:10#LNO:#SF:1"), "Фильтр 2 из 5: TSD1#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(scenario::RunPanelText(0, 0, "Выполнение сценария..."), "Выполнение сценария...");
    EXPECT_EQ(scenario::CycleText(3) + scenario::LineText(2) + scenario::StakesText(0), "Цикл: 3Строка: 2Ставок: 0");
    for (const char* banner : {scenario::StartBanner, scenario::EqualsLine, scenario::EndBanner, scenario::StopBanner,
                               scenario::DashLine})
        EXPECT_EQ(util::Cp1251ToUtf8(util::Utf8ToCp1251(banner)).size(), std::string(banner).size());
    for (const std::string& banner : {std::string(scenario::StartBanner), std::string(scenario::EqualsLine),
                                      util::Format(scenario::OffsetBanner, {3}), std::string(scenario::EndBanner),
                                      std::string(scenario::StopBanner), std::string(scenario::DashLine)})
        EXPECT_EQ(util::Utf8ToCp1251(banner).size(), 94u) << banner;
}

TEST(ScriptRun, OneStepWritesTheWholeLogAndOneStake)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8"});
    const std::string line = "FULL:0#FIRST| TSD1#NUMS:10#LNO:#SF:1 | | | | | | |idea";
    f.Script({line});
    std::vector<std::filesystem::path> opened;
    std::vector<int> selected;
    std::vector<bool> running;
    f.runner->Hooks.OpenLog = [&](const std::filesystem::path& p) { opened.push_back(p); };
    f.runner->Hooks.SelectLine = [&](int i) { selected.push_back(i); };
    f.runner->Hooks.RunningChanged = [&](bool r) { running.push_back(r); };
    f.runner->Options.LogEnabled = true;
    ASSERT_TRUE(f.runner->CanStart());
    f.runner->ScriptRun();

    const std::string dash(94, '-');
    const std::string equals(94, '=');
    EXPECT_EQ(f.LogLines(), (Strings{
        "### ЗАПУСК СЦЕНАРИЯ ##########################################################################",
        equals,
        "=== Выполнение сценария для смещения 000000 ==================================================",
        equals,
        dash,
        "Выполнение строки 001: \"" + line + "\"",
        dash,
        "Создание всех вариантов фильтров...",
        "Создано 1 вариантов фильтров.",
        "",
        dash,
        "Применение набора фильтров 001: \"TSD1#NUMS:10#LNO:#SF:1\"",
        dash,
        "Создание начального списка комбинаций...",
        "Количество комбинаций в списке: 1",
        "{*} Добавление ставки, режим: \"Выбрать первую комбинацию в списке\"",
        "{+} Ставка на тираж 1040 добавлена в список ставок: [1;2;3;4;5;6;7;8]",
        dash,
        "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################",
    }));
    EXPECT_EQ(opened, (std::vector<std::filesystem::path>{f.dir / "ScriptLog_2026-12-09-08-05-07.txt"}));
    EXPECT_EQ(selected, (std::vector<int>{0, -1}));
    EXPECT_EQ(running, (std::vector<bool>{true, false}));

    const auto records = f.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Origin, stakes::OriginScenario);
    EXPECT_EQ(records[0].DrawNo, 1040);
    EXPECT_EQ(records[0].SampleSize, 1);
    EXPECT_EQ(records[0].Checked, 0);
    EXPECT_EQ(records[0].Comment, "01.001: idea @ FULL#FIRST + TSD1#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(f.runner->StakesMade(), 1);
    EXPECT_EQ(f.statuses.back().Text, "Сценарий завершен!");
    EXPECT_EQ(f.statuses.back().Stakes, 1);
    EXPECT_FALSE(f.runner->Running());
    EXPECT_EQ(f.runner->Cycle(), 0);
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_TRUE(f.runner->Log().File().empty());
}

TEST(ScriptRun, TwoDrawsLengthsMakeTwoNamedStakes)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    f.Script({Line("FULL:0#FIRST", {"TSD1#NUMS:10,20#CMV:1000#SF:1"})});
    f.runner->ScriptRun();
    Strings names;
    for (const auto& r : f.Records()) names.push_back(r.Comment);
    EXPECT_EQ(names, (Strings{"01.001: @ FULL#FIRST + TSD1#NUMS:10#CMV:1000#SF:1",
                              "01.002: @ FULL#FIRST + TSD1#NUMS:20#CMV:1000#SF:1"}));
    EXPECT_EQ(f.StakeRows(), (Strings{"1040:1 2 3 4 5 6 7 8", "1040:1 2 3 4 5 6 7 8"}));
    EXPECT_EQ(f.Records()[0].SampleSize, 2);
    // The statuses named each variant with the number of variants.
    bool first = false, second = false;
    for (const auto& s : f.statuses) {
        first |= s.Text == "Фильтр 1 из 2: TSD1#NUMS:10#CMV:1000#SF:1" && s.Line == 1 && s.Cycle == 1;
        second |= s.Text == "Фильтр 2 из 2: TSD1#NUMS:20#CMV:1000#SF:1" && s.Line == 1 && s.Stakes == 1;
    }
    EXPECT_TRUE(first && second);
    EXPECT_TRUE(f.sh.messages.empty());
}

TEST(ScriptTest, ThreeOffsetsWithSeparatorsAndCheckedStakes)
{
    for (bool onLine : {true, false}) {
        SCOPED_TRACE(onLine);
        RunFixture f;
        f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
        f.Script({Line("FULL:0#FIRST", {Noop})});
        f.runner->Options.CheckOnLine = onLine;
        f.runner->Options.LogEnabled = true;
        int ratingsChanged = 0;
        f.runner->Hooks.RatingsChanged = [&] { ++ratingsChanged; };
        f.runner->ScriptTest(3);

        EXPECT_EQ(f.offsets, (std::vector<int>{3, 2, 1, 0}));
        EXPECT_EQ(f.ws.DrawsOffset(), 0);
        EXPECT_EQ(f.StakeRows(), (Strings{"1037:1 2 3 4 5 6 7 8", "-", "1038:1 2 3 4 5 6 7 8", "-", "1039:1 2 3 4 5 6 7 8"}));
        std::vector<int> checkedDraws;
        for (const auto& r : f.checked) checkedDraws.push_back(r.DrawNo);
        EXPECT_EQ(checkedDraws, (std::vector<int>{1037, 1038, 1039}));
        EXPECT_EQ(ratingsChanged, 3);
        for (const auto& r : f.Records()) {
            if (!r.IsStake()) continue;
            EXPECT_EQ(r.Checked, 1);
            EXPECT_EQ(r.DrawNums, f.ws.Draws()[std::size_t(r.DrawNo - 1000)].Nums);
        }
        std::vector<int> cycles;
        for (const auto& s : f.statuses)
            if (cycles.empty() || cycles.back() != s.Cycle) cycles.push_back(s.Cycle);
        EXPECT_EQ(cycles, (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(f.statuses.back().Text, "Сценарий завершен!");
        // The filter parts write into the same log: one table per pass.
        EXPECT_EQ(CountOf(f.LogLines(), "Анализ тиражей и расчет статистики \"Числа тиража\" для выборки в 10 тиражей..."), 3);
        Strings banners;
        for (const std::string& l : f.LogLines())
            if (l.find("для смещения") != std::string::npos) banners.push_back(l);
        const std::string tail = " ==================================================";
        EXPECT_EQ(banners, (Strings{"=== Выполнение сценария для смещения 000003" + tail,
                                    "=== Выполнение сценария для смещения 000002" + tail,
                                    "=== Выполнение сценария для смещения 000001" + tail}));
        EXPECT_TRUE(f.sh.messages.empty());
        EXPECT_EQ(f.sh.BusyCount(), 0);
    }
}

TEST(ScriptTest, UndoAfterwardsBringsBackTheListAndHistoryFromBefore)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    f.Script({Line("FULL:0#FIRST", {"TSD1#NUMS:10#CMV:1000#SF:1"})});
    const game::TCombsArray mine = {{3, 5, 7, 9, 11, 13, 15, 17}};
    f.ws.Combs().Items() = mine;
    f.ws.History().Append("Мой фильтр", "1", 1, filters::THistoryKind::Keep);
    const auto rows = f.ws.History().Rows();
    f.runner->ScriptTest(2);
    ASSERT_NE(f.ws.Combs().Items(), mine);
    ASSERT_TRUE(f.ws.Combs().Undo(f.ws.History(), f.sh));
    EXPECT_EQ(f.ws.Combs().Items(), mine);
    EXPECT_EQ(f.ws.History().Rows(), rows);
    EXPECT_FALSE(f.ws.Combs().HasUndo());
}

TEST(ScriptTest, CountsOutsideTheDialogsRangeDoNothing)
{
    RunFixture empty(5);
    EXPECT_FALSE(empty.runner->CanStart());
    empty.sh.statusTexts.clear();
    empty.runner->ScriptRun();
    empty.runner->ScriptTest(2);
    EXPECT_TRUE(empty.statuses.empty());
    EXPECT_TRUE(empty.sh.statusTexts.empty());

    RunFixture f(5);
    f.StartList({"1;2;3;4;5;6;7;8"});
    f.Script({Line("FULL:0#FIRST", {Noop})});
    EXPECT_EQ(scenario::TestCountMax(5), 4);
    f.runner->ScriptTest(0);
    f.runner->ScriptTest(5);
    EXPECT_TRUE(f.Records().empty());
    f.runner->ScriptTest(4);
    EXPECT_EQ(f.StakeRows(), (Strings{"1001:1 2 3 4 5 6 7 8", "-", "1002:1 2 3 4 5 6 7 8", "-",
                                      "1003:1 2 3 4 5 6 7 8", "-", "1004:1 2 3 4 5 6 7 8"}));
}

TEST(MakeStakes, EveryModeOverOneAndManyCombinations)
{
    struct Case {
        const char* mode;
        Strings start;
        Strings rows;        // line 2 (CURR, LAST) stakes after line 1
        bool warned;
    };
    const std::string a = "1;2;3;4;5;6;7;8", b = "2;3;4;5;6;7;8;9", c = "3;4;5;6;7;8;9;10";
    const std::string A = "1040:1 2 3 4 5 6 7 8", B = "1040:2 3 4 5 6 7 8 9", C = "1040:3 4 5 6 7 8 9 10";
    const std::vector<Case> cases = {
        {"STOP", {a, b}, {}, true},
        {"SKIP", {a, b}, {B}, false},
        {"STOP", {a}, {A, A}, false},
        {"SKIP", {a}, {A, A}, false},
        {"NONE", {a}, {A}, false},
        {"NONE", {a, b}, {B}, false},
        {"FIRST", {a, b, c}, {A, C}, false},
        {"LAST", {a, b, c}, {C, C}, false},
        {"RAND", {a, b, c}, {B, C}, false},   // the random index is 1
        {"ALL", {a, b, c}, {A, B, C, C}, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.mode) + " " + std::to_string(k.start.size()));
        RunFixture f;
        f.StartList(k.start);
        f.Script({Line(std::string("FULL:0#") + k.mode, {Noop}), Line("CURR:0#LAST", {Noop})});
        f.runner->Hooks.RandomIndex = [](int count) { return count > 1 ? 1 : 0; };
        f.runner->ScriptRun();
        EXPECT_EQ(f.StakeRows(), k.rows);
        if (k.warned) {
            ASSERT_EQ(f.sh.messages.size(), 1u);
            EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Warning);
            EXPECT_EQ(f.sh.messages[0].text,
                      "Выполнение сценария прервано, т.к. после применения всех фильтров в списке комбинаций их осталось "
                      "более одной: 2!\n\nФильтры: 01.001: @ FULL#STOP + " + NoopText);
            EXPECT_NE(f.statuses.back().Text, "Сценарий завершен!");
        } else {
            EXPECT_TRUE(f.sh.messages.empty());
            EXPECT_EQ(f.statuses.back().Text, "Сценарий завершен!");
        }
        EXPECT_FALSE(f.runner->AbortFlag());
        EXPECT_EQ(f.runner->StakesMade(), static_cast<int>(k.rows.size()));
    }
}

TEST(MakeStakes, CurrentListContinuesFromThePreviousStep)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "6;7;8;9;10;11;12;13", "5;9;10;11;12;13;14;15", "9;10;11;12;13;14;15;16"});
    // Keep the combinations with a 5, stake nothing; then stake every one that is left.
    f.Script({Line("FULL:0#NONE", {"TSF1#NUMS:10#LVA:5#SF:1"}), Line("CURR:0#ALL", {Noop})});
    f.runner->ScriptRun();
    EXPECT_EQ(f.StakeRows(), (Strings{"1040:1 2 3 4 5 6 7 8", "1040:5 9 10 11 12 13 14 15"}));
    EXPECT_EQ(f.Records()[0].Comment, "02.001: @ CURR#ALL + " + NoopText);
    EXPECT_EQ(f.Records()[0].SampleSize, 2);
    EXPECT_TRUE(f.sh.messages.empty());
}

TEST(MakeStakes, NewOnlySkipsStakesThatStandAndLogsEach)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    f.Script({Line("FULL:0#FIRST#NEX", {"TSD1#NUMS:10,20#CMV:1000#SF:1"})});
    f.runner->Options.LogEnabled = true;
    f.runner->ScriptRun();
    EXPECT_EQ(f.StakeRows(), Strings{"1040:1 2 3 4 5 6 7 8"});
    f.runner->ScriptRun();
    EXPECT_EQ(f.StakeRows(), (Strings{"1040:1 2 3 4 5 6 7 8", "-"}));
    EXPECT_EQ(f.runner->StakesMade(), 0);
    // Both runs wrote into the same log file (the clock stands still).
    const Strings log = f.LogLines();
    EXPECT_EQ(CountOf(log, "{+} Ставка на тираж 1040 добавлена в список ставок: [1;2;3;4;5;6;7;8]"), 1);
    EXPECT_EQ(CountOf(log, "{-} Ставка на тираж 1040 не добавлена, так как уже имеется в списке ставок: [1;2;3;4;5;6;7;8]"), 3);
    EXPECT_TRUE(f.sh.messages.empty());
}

TEST(MakeStakes, BulkRefreshesWaitAtLeast101Milliseconds)
{
    RunFixture f;
    Strings start;
    for (int i = 1; i <= 7; ++i) start.push_back(game::CombToText({uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), uint8_t(i + 3),
                                                                   uint8_t(i + 4), uint8_t(i + 5), uint8_t(i + 6), uint8_t(i + 7)}));
    f.StartList(start);
    f.Script({Line("FULL:0#ALL", {Noop})});
    int64_t now = 0;
    f.runner->Hooks.TickMs = [&] { return now += 40; };
    f.runner->ScriptRun();
    ASSERT_EQ(f.Records().size(), 7u);
    // Ticks 40 apart from the start of MakeStakes: stakes 3 (120 ms) and 6 (240 ms) refresh.
    std::vector<int> shown;
    for (const auto& s : f.statuses)
        if (shown.empty() || shown.back() != s.Stakes) shown.push_back(s.Stakes);
    EXPECT_EQ(shown, (std::vector<int>{0, 3, 6, 7}));
}

TEST(BuildStartList, ExcludedDrawsAreRemovedOncePerOffsetAndClearStakesEmptiesTheFile)
{
    RunFixture f;
    game::TComb drawn = f.ws.Draws().back().Nums;
    game::SortComb(drawn);
    f.StartList({"1;2;3;4;5;6;7;8", game::CombToText(drawn), "2;3;4;5;6;7;8;9"});
    // A stake that ClearStakes removes.
    f.ws.StakesFile().AppendStakes(stakes::NewStake(1, 5, 1, game::TComb{1, 2, 3, 4, 5, 6, 7, 9}, "old", stakes::TPrizeTable(f.list.Config())), 1);
    // Its own weight coefficients, and a weight no row reaches: nothing is deleted.
    f.Script({Line("EXCL:2#ALL#CLR", {"TSD1#NUMS:10,20,30#WMV:1000#SF:1#1.5:0.5:1:0:1"})});
    f.list.Config().Weights = stats::TWeightCoefs{1, 2, 3, true, false};
    f.list.SavedWeights = stats::TWeightCoefs{4, 5, 6, false, true};
    f.runner->ScriptRun();

    // Each variant cleared the file before it staked.
    EXPECT_EQ(f.StakeRows(), (Strings{"1040:1 2 3 4 5 6 7 8", "1040:2 3 4 5 6 7 8 9"}));
    EXPECT_EQ(f.Records()[0].Comment, "01.003: @ EXCL:2#ALL + TSD1#NUMS:30#WMV:1000#SF:1#1.5:0.5:1:0:1");
    EXPECT_EQ(f.runner->StakesMade(), 6);
    EXPECT_EQ(CountOf(f.sh.statusTexts, "Генерация возможных комбинаций..."), 1);
    EXPECT_EQ(CountOf(f.sh.statusTexts, "Удаление из списка комбинаций 2 последних тиражей..."), 1);
    EXPECT_EQ(CountOf(f.sh.statusTexts, "Загрузка буфера комбинаций..."), 2);
    EXPECT_EQ(f.ws.Combs().BufferOffset(), -1);
    EXPECT_EQ(f.ws.Combs().BufferCount(), 0);
    EXPECT_FALSE(f.ws.Combs().HasUndo());
    EXPECT_EQ(f.list.Config().Weights, (stats::TWeightCoefs{1, 2, 3, true, false}));
    EXPECT_EQ(f.list.SavedWeights, (stats::TWeightCoefs{4, 5, 6, false, true}));
    EXPECT_TRUE(f.sh.messages.empty());
}

TEST(ScriptRun, StepWithoutFiltersEndsTheRun)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8"});
    f.Script({Line("FULL:0#FIRST", {}), Line("FULL:0#FIRST", {Noop})});
    ASSERT_EQ(f.ws.Scenario().GetLine(0), "FULL:0#FIRST| | | | | | | |");
    f.runner->ScriptRun();
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(f.sh.messages[0].text, "Некорректное описание фильтра: !");
    EXPECT_TRUE(f.Records().empty());
    EXPECT_FALSE(f.runner->Running());
    EXPECT_FALSE(f.runner->AbortFlag());
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_TRUE(f.runner->CanStart());
}

TEST(ScriptStop, StopInTheSecondCycleLeavesTheOffsetThere)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    f.Script({Line("FULL:0#FIRST", {Noop}), Line("FULL:0#LAST", {Noop})});
    f.runner->Options.LogEnabled = true;
    bool asked = false;
    int commands = 0;
    f.runner->Hooks.CommandsChanged = [&] { ++commands; };
    f.sh.onEvents = [&] {
        if (!asked && f.runner->Cycle() == 2 && f.ws.DrawsOffset() == 2) {
            asked = true;
            EXPECT_TRUE(f.runner->CanStop());
            f.sh.answers.push_back(true);
            EXPECT_TRUE(f.runner->ScriptStop());
            EXPECT_FALSE(f.runner->CanStop());
        }
    };
    f.runner->ScriptTest(3);
    ASSERT_EQ(f.sh.questions.size(), 1u);
    EXPECT_EQ(f.sh.questions[0].text, "Остановить выполнение сценария?");
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(f.ws.DrawsOffset(), 2);
    EXPECT_EQ(f.offsets, (std::vector<int>{3, 2}));
    // Cycle 1 made both stakes and checked them; cycle 2 stopped as soon as its offset was
    // set, before its pass began (so no separator either).
    EXPECT_EQ(f.StakeRows(), (Strings{"1037:1 2 3 4 5 6 7 8", "1037:2 3 4 5 6 7 8 9"}));
    EXPECT_EQ(f.checked.size(), 2u);
    EXPECT_EQ(CountOf(f.LogLines(), scenario::StopBanner), 1);
    EXPECT_EQ(f.statuses.back().Text, "Сценарий завершен!");
    EXPECT_FALSE(f.runner->Running());
    EXPECT_FALSE(f.runner->AbortFlag());

    // A stop that is not confirmed changes nothing.
    RunFixture g;
    g.StartList({"1;2;3;4;5;6;7;8"});
    g.Script({Line("FULL:0#FIRST", {Noop})});
    g.sh.onEvents = [&] {
        if (g.sh.questions.empty() && g.runner->Running()) {
            g.sh.answers.push_back(false);
            EXPECT_FALSE(g.runner->ScriptStop());
        }
    };
    g.runner->ScriptTest(2);
    EXPECT_EQ(g.ws.DrawsOffset(), 0);
    EXPECT_EQ(g.StakeRows(), (Strings{"1038:1 2 3 4 5 6 7 8", "-", "1039:1 2 3 4 5 6 7 8"}));
}

TEST(SystemPlay, PositionsMapOntoTheCoveredNumbers)
{
    struct Case {
        const char* mode;
        bool withSystem;
        Strings rows;
        std::string logLine;
    };
    const std::vector<Case> cases = {
        {"SYSA", true, {"1040:2 4 5 7 8 11 12 15", "1040:2 5 7 8 11 12 15 16"},
         "{#} Системная игра для 13 чисел [все система]: загружен файл \"8-13-5_0001\""},
        {"SYSC", true, {"1040:2 5 7 8 11 12 15 16"},
         "{#} Системная игра для 13 чисел [система * комбинации]: загружен файл \"8-13-5_0001\""},
        {"SYSA", false, {},
         "{#} Системная игра для 13 чисел [ОШИБКА]: \"Система для 13 чисел не найдена или не загружена на компьютер!\""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.mode) + (k.withSystem ? " with" : " without"));
        RunFixture f;
        // First appearance: 2 5 7 8 11 12 15 16 17 18 19 20 4.
        f.StartList({"2;5;7;8;11;12;15;16", "17;18;19;20;4;2;5;7"});
        if (k.withSystem) {
            std::filesystem::create_directory(f.dir / "Systems");
            test::WriteBytes(f.dir / "Systems" / "8-12-5_0002.dat", "01 02 03 04 05 06 07 08\r\n");
            test::WriteBytes(f.dir / "Systems" / "8-13-5_0001.dat", "01 02 03 04 05 06 07 13\r\n01 02 03 04 05 06 07 08\r\n");
        }
        f.Script({Line(std::string("FULL:0#") + k.mode, {Noop})});
        f.runner->Options.LogEnabled = true;
        f.runner->ScriptRun();
        EXPECT_EQ(f.StakeRows(), k.rows);
        EXPECT_EQ(CountOf(f.LogLines(), k.logLine), 1);
        if (k.withSystem) {
            EXPECT_TRUE(f.sh.messages.empty());
            for (const auto& r : f.Records()) EXPECT_EQ(r.Origin, stakes::OriginScenario);
        } else {
            EXPECT_EQ(f.Messages(), Strings{"Система для 13 чисел не найдена или не загружена на компьютер!\n\n"
                                            "Перед системной игрой необходимо предварительно загрузить системы на Ваш "
                                            "компьютер через меню \"Системы\" - \"Загрузить\"."});
        }
    }
}

TEST(BadInput, LinesLoadAndRunningStopsWithTheMessageKeepingEarlierStakes)
{
    struct Case {
        const char* name;
        std::string line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"unknown statistic", Line("FULL:0#FIRST", {"TSD1#FOO:10#LNO:#SF:1"}),
         "Метод расчета статистики \"FOO\" на найден!\n\n\nВозможно, Вы отключили данных метод расчета либо "
         "использовали сценарий от другой модификации программы."},
        {"draws that do not read", Line("FULL:0#FIRST", {"TSD1#NUMS:x#LNO:#SF:1"}),
         "Некорректное описание фильтра: TSD1#NUMS:x#LNO:#SF:1!"},
        {"values that do not read", Line("FULL:0#FIRST", {"TSD1#NUMS:10#LDV:1,x#SF:1"}),
         "Некорректное описание фильтра: TSD1#NUMS:10#LDV:1,x#SF:1!"},
        // The bar splits the filter: the second half has no statistic and no draws; its
        // sections slide one place ("SF:1" is read as the condition, the stop mode is missing).
        {"a bar inside a filter", "FULL:0#FIRST|TSD1#NUMS:10|#LNO:#SF:1| | | | | |",
         "Некорректное описание фильтра: TSD1#LNO:#LNO:1#SF:0!"},
        {"a range without a step", Line("FULL:0#FIRST", {"TSD1#NUMS:10-20#LNO:#SF:1"}),
         "Некорректное описание фильтра: TSD1#NUMS:10-20#LNO:#SF:1!"},
    };
    const std::string good1 = Line("FULL:0#FIRST", {Noop}, "one");
    const std::string good3 = Line("FULL:0#LAST", {Noop}, "three");
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        RunFixture f;
        f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
        f.Script({good1, k.line, good3});
        // The line loads and shows like any other.
        ASSERT_TRUE(f.ws.Scenario().SaveScenario(f.dir / "bad.lsc", f.sh));
        scenario::TScenario copy;
        ASSERT_TRUE(copy.LoadScenario(f.dir / "bad.lsc", false, f.sh));
        EXPECT_EQ(copy.Lines(), f.ws.Scenario().Lines());
        (void)scenario::ScenarioRowTexts(k.line, f.list);

        f.runner->ScriptRun();
        EXPECT_EQ(f.Messages(), Strings{k.message});
        // Line 1 staked and stays; line 3 never ran.
        EXPECT_EQ(f.StakeRows(), Strings{"1040:1 2 3 4 5 6 7 8"});
        EXPECT_EQ(f.Records()[0].Comment, "01.001: one @ FULL#FIRST + " + NoopText);
        EXPECT_FALSE(f.runner->Running());
        EXPECT_FALSE(f.runner->AbortFlag());
        EXPECT_EQ(f.sh.BusyCount(), 0);
    }
}

TEST(BadInput, UnknownHeaderWordsAndABarInTheCommentStillRun)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    f.Script({"FOO:3#BAR#BAZ|" + Noop + "| | | | | | |my|idea"});
    f.runner->Hooks.RandomIndex = [](int) { return 0; };
    f.runner->ScriptRun();
    EXPECT_TRUE(f.sh.messages.empty());
    ASSERT_EQ(f.Records().size(), 1u);
    EXPECT_EQ(f.Records()[0].Comment, "01.001: my @ FULL#RAND + " + NoopText);
}

TEST(BadInput, AnOverLargeExpansionIsRefusedBeforeItIsMade)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    f.Script({Line("FULL:0#FIRST", {Noop}),
              Line("FULL:0#FIRST", {"TSD1#NUMS:1-1000000;1#LNO:#SF:1", "TSD1#SUMS:1-1000;1#LNO:#SF:1"}),
              Line("FULL:0#LAST", {Noop})});
    f.runner->ScriptRun();
    EXPECT_EQ(f.Messages(),
              Strings{"Вы задали слишком много вариантов фильтров - программа не сможет обработать их все!\n"
                      "Пожалуйста, уменьшите в каждом из фильтров количество вариантов длины выборки и глубины, а затем "
                      "повторите попытку.\n\nВариантов фильтров: 1000000000, наибольшее допустимое количество: 1000000."});
    EXPECT_EQ(f.StakeRows(), Strings{"1040:1 2 3 4 5 6 7 8"});
    EXPECT_FALSE(f.runner->AbortFlag());
}

TEST(ScriptLogsDelete, FindsOnlyRunLogs)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    test::WriteBytes(dir / "Kvanta_8x20-3.log", "x");
    scenario::ScriptLogsDelete(dir.path(), sh);
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].text, "Файлы журналов не найдены!");
    test::WriteBytes(dir / "ScriptLog_2026-12-09-08-05-07.txt", "x");
    test::WriteBytes(dir / "ScriptLog_2026-12-09-08-05-08.txt", "x");
    scenario::ScriptLogsDelete(dir.path(), sh);
    ASSERT_EQ(sh.messages.size(), 2u);
    EXPECT_EQ(sh.messages[1].kind, shell::MessageKind::Information);
    EXPECT_EQ(sh.messages[1].text, "Удаление файлов завершено.\n\nВсего - 2, обработано - 2, пропущено - 0, "
                                   "предупреждений - 0, ошибок - 0.");
    EXPECT_FALSE(std::filesystem::exists(dir / "ScriptLog_2026-12-09-08-05-07.txt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Kvanta_8x20-3.log"));
    EXPECT_EQ(sh.statusTexts.front(), "Поиск файлов журналов...");
}

TEST(ScriptLog, AFailedWriteIsShownAndTheRunGoesOn)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8"});
    f.Script({Line("FULL:0#FIRST", {Noop})});
    // A directory in the log file's place cannot be opened for appending.
    std::filesystem::create_directory(f.dir / "ScriptLog_2026-12-09-08-05-07.txt");
    f.runner->Options.LogEnabled = true;
    f.runner->ScriptRun();
    ASSERT_FALSE(f.sh.messages.empty());
    for (const auto& m : f.sh.messages) EXPECT_EQ(m.text.rfind("Ошибка записи журнала: ", 0), 0u) << m.text;
    EXPECT_EQ(f.StakeRows(), Strings{"1040:1 2 3 4 5 6 7 8"});
}

} // namespace

namespace {

// Neighbouring variants share their first parts; a run that starts each variant after them
// must end exactly as one that applies every part again (a logged run does).
TEST(ScriptRun, VariantsSharingTheirFirstPartsEndAsIfEveryPartRan)
{
    struct Outcome {
        Strings stakes;
        std::vector<filters::THistoryRow> history;
        std::vector<game::TComb> list;
        int filterings = 0;
    };
    const auto run = [](bool logged) {
        RunFixture f;
        f.list.CombsGenerateMode = 0;
        // Line 1: three items of two choices each, so the shared prefixes go 2, 1, 2, 0, 2, 1, 2.
        f.Script({Line("FULL:0#FIRST", {"TMD1#NUMS:20,30#LNO:#ST:2", "TSF1#EVEN:20#CMV:2,4#SF:1", "TMD1#SUMS:20,30#CLV:0#SF:1"}),
                  Line("FULL:0#LAST", {"TMD1#NUMS:20#LNO:#ST:2", "TSF1#EVEN:20#CMV:2#SF:1", "TMD1#SUMS:20,30#CLV:0#SF:1"})});
        f.runner->Options.LogEnabled = logged;
        f.runner->ScriptRun();
        EXPECT_TRUE(f.sh.messages.empty());
        Outcome o;
        // The sample size is the count each variant left.
        for (const auto& r : f.Records())
            o.stakes.push_back(r.Comment + " " + game::NumSetToText(r.Stake, " ") + " {" + std::to_string(r.SampleSize) + "}");
        o.history = f.ws.History().Rows();
        o.list.assign(f.ws.Combs().Combs().begin(), f.ws.Combs().Combs().end());
        o.filterings = CountOf(f.sh.statusTexts, "Фильтрация комбинаций...");
        return o;
    };
    const Outcome every = run(true);
    const Outcome reused = run(false);
    ASSERT_EQ(every.stakes.size(), 10u);
    EXPECT_EQ(reused.stakes, every.stakes);
    EXPECT_EQ(reused.history, every.history);
    EXPECT_EQ(reused.list, every.list);
    EXPECT_LT(reused.filterings, every.filterings);
}

} // namespace

namespace {

// A stakes file that refuses records would refuse every later stake: one message, the run ends.
TEST(BadInput, AStakesFileThatRefusesRecordsEndsTheRunAfterOneMessage)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9", "3;4;5;6;7;8;9;10"});
    f.Script({Line("FULL:0#ALL", {Noop}), Line("FULL:0#FIRST", {Noop})});
    f.ws.CloseStakesFile();
    f.runner->ScriptRun();
    EXPECT_EQ(f.Messages(), Strings{"Ошибка добавления записи в файл ставок!\n\nФайл ставок не открыт!"});
    EXPECT_EQ(f.runner->StakesMade(), 0);
    EXPECT_FALSE(f.runner->Running());
    EXPECT_EQ(f.sh.BusyCount(), 0);
}

} // namespace

namespace {

// With the check at the end of each pass, clearing the stakes before a variant would throw away
// the earlier variants' stakes unchecked; they reach the rating first.
TEST(BuildStartList, ClearStakesChecksWhatWouldBeLostFirst)
{
    for (bool onLine : {true, false}) {
        SCOPED_TRACE(onLine);
        RunFixture f;
        f.StartList({"1;2;3;4;5;6;7;8"});
        f.Script({Line("FULL:0#FIRST#CLR", {"TSD1#NUMS:10,20#CMV:1000#SF:1"})});
        f.runner->Options.CheckOnLine = onLine;
        f.runner->ScriptTest(2);
        Strings rated;
        for (const auto& r : f.checked) rated.push_back(std::to_string(r.DrawNo) + " " + r.Comment.substr(0, 6));
        EXPECT_EQ(rated, (Strings{"1038 01.001", "1038 01.002", "1039 01.001", "1039 01.002"}));
        // What stays is the last variant's stake.
        EXPECT_EQ(f.StakeRows(), Strings{"1039:1 2 3 4 5 6 7 8"});
        EXPECT_TRUE(f.sh.messages.empty());
    }
}

} // namespace

namespace {

// NewOnly compares with every stake of the file: same draw, same numbers in any order.
TEST(MakeStakes, NewOnlySeesStakesMadeBeforeTheRun)
{
    RunFixture f;
    f.StartList({"1;2;3;4;5;6;7;8", "2;3;4;5;6;7;8;9"});
    auto& file = f.ws.StakesFile();
    file.AppendStakes(stakes::NewStake(1, 1040, 1, game::TComb{9, 8, 7, 6, 5, 4, 3, 2}, "hand", stakes::TPrizeTable(f.list.Config())), 1);
    file.AppendStakes(stakes::NewStake(1, 1039, 1, game::TComb{1, 2, 3, 4, 5, 6, 7, 8}, "hand", stakes::TPrizeTable(f.list.Config())), 1);
    f.Script({Line("FULL:0#FIRST#NEX", {Noop}), Line("FULL:0#LAST#NEX", {Noop}), Line("FULL:0#ALL#NEX", {Noop})});
    f.runner->ScriptRun();
    EXPECT_EQ(f.StakeRows(), (Strings{"1040:9 8 7 6 5 4 3 2", "1039:1 2 3 4 5 6 7 8", "-", "1040:1 2 3 4 5 6 7 8"}));
    EXPECT_EQ(f.runner->StakesMade(), 1);
    EXPECT_TRUE(f.sh.messages.empty());
}

} // namespace

namespace {

// Passes answered from earlier offsets, and step lines read once for the whole test, give the
// stakes (and their names), sample sizes, ratings, survival texts and the list that
// running every pass gives.
TEST(ScriptTest, ReusedPassesChangeNoStakeRatingOrList)
{
    struct Outcome {
        Strings stakes;
        Strings checked;
        Strings survival;
        std::vector<filters::THistoryRow> history;
        std::vector<game::TComb> list;
        int reused = 0;
    };
    const auto run = [](bool reuse) {
        RunFixture f(60);
        f.list.CombsGenerateMode = 0;
        // The second EVEN part reads the depth of the table whose counts the first one read.
        f.Script({Line("FULL:0#FIRST", {"TMD1#NUMS:20,30#LNO:#ST:2", "TMF1#EVEN:20#CMV:2,4#SF:1",
                                        "TMD1#CHNC:20#CLV:1#SF:1", "TMD1#RPC2:20#CLV:1#SF:1",
                                        "TMD1#EVEN:20#LMV:2#SF:1"}),
                  Line("FULL:0#LAST", {"TMF1#SUMS:30#CMV:1#SF:1", "TSD6#RPC2:20#LNO:#ST:1"}),
                  // Its second variant starts from the buffer the first one left.
                  Line("EXCL:2#FIRST", {"TMD1#CHNC:20#CLV:1#SF:1", "TMF1#EVEN:20,30#CMV:2#SF:1"}),
                  // Variants that keep two lists of their own at once (no pass of a kind that
                  // reads the last draw is remembered), the later ones starting after one part
                  // or after two.
                  Line("FULL:0#FIRST", {"TMD1#RPC2:20,30#CLV:1#SF:1", "TMD1#RPC3:20,30#CLV:1#SF:1",
                                        "TMD1#CHNC:20,30#CLV:1#SF:1"})});
        f.runner->ReuseWork = reuse;
        f.runner->ScriptTest(15);
        EXPECT_TRUE(f.sh.messages.empty());
        Outcome o;
        for (const auto& r : f.Records())
            o.stakes.push_back(r.Comment + " " + game::NumSetToText(r.Stake, " ") + " {" + std::to_string(r.SampleSize) + "}");
        for (const auto& r : f.checked) o.checked.push_back(r.Comment + " " + std::to_string(r.Matched.Count));
        for (const auto& r : f.runner->Survival().Records())
            o.survival.push_back(util::Format("%d %d.%d.%d %s %d>%d %d", {r.DrawNo, r.Line, r.Variant, r.Part, r.PartText,
                                                                        r.Before, r.After, r.Passed ? 1 : 0}));
        o.history = f.ws.History().Rows();
        o.list.assign(f.ws.Combs().Combs().begin(), f.ws.Combs().Combs().end());
        o.reused = f.runner->ReusedPasses();
        return o;
    };
    const Outcome every = run(false);
    const Outcome reused = run(true);
    ASSERT_EQ(every.checked.size(), 15u * 15u);
    EXPECT_EQ(reused.stakes, every.stakes);
    EXPECT_EQ(reused.checked, every.checked);
    ASSERT_EQ(every.survival.size(), 15u * (4u * 5u + 2u + 2u * 2u + 8u * 3u));
    EXPECT_EQ(reused.survival, every.survival);
    EXPECT_EQ(reused.history, every.history);
    EXPECT_EQ(reused.list, every.list);
    EXPECT_EQ(every.reused, 0);
    EXPECT_GT(reused.reused, 15);
}

} // namespace
