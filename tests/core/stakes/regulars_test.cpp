#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakesfile.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "core/util/cp1251.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;
using kv::test::RecordsOf;

namespace {

using game::TComb;

constexpr TComb OneToEight = {1, 2, 3, 4, 5, 6, 7, 8};

TRegularRecord Regular(const std::string& name, TComb start, int step, bool useDraw = false)
{
    TRegularRecord r;
    r.Name = name;
    r.UseDraw = useDraw ? 1 : 0;
    r.Start = start;
    r.Current = start;
    r.Step = step;
    return r;
}

// The stake file, the tables file, an archive of 10 draws (numbers 101..110) and a prize table.
struct Fixture {
    test::TempDir dir;
    test::ScriptedShell shell;
    TRegulars tables{dir / TRegulars::FileName};
    TStakesFile stakes;
    stats::TConfigData config;
    game::TDrawsArray draws = archive::SyntheticDraws(10, 5, 101);
    std::vector<std::string> calls;
    std::vector<int> offsets;
    TRegularStakeContext context;

    Fixture()
    {
        stakes.Open(dir / TStakesFile::FileName);
        config.Cost = util::Currency::FromUnits(10);
        context.Draws = &draws;
        context.DrawsOffset = 0;
        context.SetDrawsOffset = [this](int o) { offsets.push_back(o); };
        context.SampleSize = 125970;
        context.Prizes = TPrizeTable(config);
        context.Stakes = &stakes;
        context.ScrollEnabled = false;
        context.Hooks.RefreshView = [this](bool refresh, bool last) {
            calls.push_back(std::string("view ") + (refresh ? "refresh" : "-") + " " + (last ? "last" : "-"));
        };
        context.Hooks.Check = [this] { calls.push_back("check"); };
    }
    // TablesAdd of one regular, as with one selected combination.
    void Add(const TRegularRecord& r)
    {
        const TSelectedComb one{0, r.Start};
        tables.TablesAdd(shell, r, std::span<const TSelectedComb>(&one, 1));
    }
    std::string RegularsBytes() const { return test::ReadBytes(dir / TRegulars::FileName); }
    std::vector<TStakeRecord> Stakes() const { return RecordsOf(test::ReadBytes(dir / TStakesFile::FileName)); }
    TComb DrawSorted(int index) const
    {
        TComb c = draws[static_cast<std::size_t>(index)].Nums;
        game::SortComb(c);
        return c;
    }
};

} // namespace

TEST(TableRecord, BytesAtTheirOffsets)
{
    TRegularRecord r = Regular("Reg", OneToEight, -3, true);
    r.Current = {4, 5, 6, 7, 8, 9, 10, 11};
    r.Count = 7;
    std::string expected(284, '\0');
    const unsigned char head[] = {3, 'R', 'e', 'g'};
    std::copy(std::begin(head), std::end(head), expected.begin());
    expected[256] = 1;   // UseDraw
    const unsigned char combs[] = {1, 2, 3, 4, 5, 6, 7, 8, 4, 5, 6, 7, 8, 9, 10, 11};   // Start, Current
    std::copy(std::begin(combs), std::end(combs), expected.begin() + 257);
    const unsigned char tail[] = {0xFD, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0};   // Step -3 at 276, Count 7 at 280
    std::copy(std::begin(tail), std::end(tail), expected.begin() + 276);
    EXPECT_EQ(test::RecordBytes(r), expected);

    std::string dirty = expected;
    dirty[273] = '\x55';   // the reserved bytes are not read and are written as zero
    dirty[275] = '\x01';
    TRegularRecord back;
    back.Read(reinterpret_cast<const uint8_t*>(dirty.data()));
    EXPECT_EQ(back, r);
    EXPECT_EQ(test::RecordBytes(back), expected);

    TRegularRecord cyr = Regular("Регуляр", OneToEight, 1);
    const std::string bytes = test::RecordBytes(cyr);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x07") + util::Utf8ToCp1251("Регуляр"));
}

TEST(TableRecord, RangesOfAStoredRegular)
{
    struct Case {
        const char* what;
        TRegularRecord r;
        bool valid;
    };
    TRegularRecord useDraw2 = Regular("a", OneToEight, 1);
    useDraw2.UseDraw = 2;
    TRegularRecord negativeCount = Regular("a", OneToEight, 1);
    negativeCount.Count = -1;
    TRegularRecord number21 = Regular("a", {1, 2, 3, 4, 5, 6, 7, 21}, 1);
    for (const Case& c : std::vector<Case>{{"ordinary", Regular("a", OneToEight, 3), true},
                                           {"step 20", Regular("a", OneToEight, 20), true},
                                           {"step -20", Regular("a", OneToEight, -20), true},
                                           {"no start (made for the draw)", Regular("a", {}, 0, true), true},
                                           {"step 21", Regular("a", OneToEight, 21), false},
                                           {"step -21", Regular("a", OneToEight, -21), false},
                                           {"UseDraw 2", useDraw2, false},
                                           {"negative count", negativeCount, false},
                                           {"number 21", number21, false}})
        EXPECT_EQ(c.r.IsValid(), c.valid) << c.what;
}

TEST(Regulars, AdvanceSequences)
{
    const game::TDrawsArray draws = archive::SyntheticDraws(5, 9, 1);
    auto sorted = [&](int index) {
        TComb c = draws[static_cast<std::size_t>(index)].Nums;
        game::SortComb(c);
        return c;
    };
    struct Case {
        const char* what;
        TRegularRecord r;
        int offset;
        std::vector<TComb> expected;   // Current after each advance
    };
    const std::vector<Case> cases = {
        {"step 3", Regular("a", OneToEight, 3), 0, {{4, 5, 6, 7, 8, 9, 10, 11}, {7, 8, 9, 10, 11, 12, 13, 14}}},
        {"step 15 wraps and sorts", Regular("a", OneToEight, 15), 0,
         {{1, 2, 3, 16, 17, 18, 19, 20}, {11, 12, 13, 14, 15, 16, 17, 18}}},
        {"step -3", Regular("a", OneToEight, -3), 0, {{1, 2, 3, 4, 5, 18, 19, 20}, {1, 2, 15, 16, 17, 18, 19, 20}}},
        {"step 20 stays", Regular("a", OneToEight, 20), 0, {OneToEight}},
        {"step 0 stays", Regular("a", {2, 4, 6, 8, 10, 12, 14, 20}, 0), 0, {{2, 4, 6, 8, 10, 12, 14, 20}}},
        {"draw, step 0", Regular("a", {}, 0, true), 0, {sorted(4), sorted(4)}},
        {"draw of the window, step 0", Regular("a", {}, 0, true), 2, {sorted(2)}},
        {"draw, step 1", Regular("a", OneToEight, 1, true), 4, {game::ShiftComb(sorted(0), 1)}},
        {"no such draw", Regular("a", OneToEight, 0, true), 5, {TComb{}}},
    };
    for (const Case& c : cases) {
        TRegularRecord r = c.r;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            AdvanceRegular(r, draws, c.offset);
            TComb want = c.expected[i];
            game::SortComb(want);
            EXPECT_EQ(r.Current, want) << c.what << " #" << i;
            EXPECT_EQ(r.Count, static_cast<int>(i) + 1) << c.what;
        }
        EXPECT_EQ(r.Start, c.r.Start) << c.what << ": the start never moves";
    }
}

TEST(Regulars, ViewTexts)
{
    TRegularRecord r = Regular("Шаг три", OneToEight, -3);
    r.Current = {5, 6, 7, 8, 9, 10, 11, 12};
    r.Count = 4;
    const std::vector<std::string> captions = {"Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация",
                                               "Ставок"};
    const std::vector<std::string> texts = {"Шаг три", "1;2;3;4;5;6;7;8", "-3", "5;6;7;8;9;10;11;12", "4"};
    for (int c = 0; c < RegularColumnCount; ++c) {
        EXPECT_EQ(RegularColumnCaption(c), captions[c]);
        EXPECT_EQ(RegularCellText(r, c), texts[c]);
    }
    EXPECT_STREQ(RegularColumnCaption(5), "");
    EXPECT_EQ(RegularCellText(r, 5), "");
}

TEST(Regulars, DialogStartsFromTheSelection)
{
    const TComb selected = {8, 3, 1, 20, 5, 7, 2, 9};
    const TRegularRecord one = NewRegularDraft(selected);
    EXPECT_EQ(one.Name, "Регулярная ставка");
    EXPECT_EQ(one.Step, 1);
    EXPECT_EQ(one.UseDraw, 0);
    EXPECT_EQ(one.Start, (TComb{1, 2, 3, 5, 7, 8, 9, 20}));
    EXPECT_EQ(NewRegularDraft(std::nullopt).Start, TComb{});
    EXPECT_EQ(RegularNumbersFieldText(selected), "8;3;1;20;5;7;2;9");
    EXPECT_EQ(RegularNumbersFieldText(std::nullopt), "{...Выделенные комбинации...}");
    EXPECT_TRUE(RegularNumbersEditable(true, false));
    EXPECT_FALSE(RegularNumbersEditable(true, true));
    EXPECT_FALSE(RegularNumbersEditable(false, false));
}

TEST(Regulars, DialogValidation)
{
    const TRegularsArray existing = {Regular("TEST", OneToEight, 1), Regular("РЕГУЛЯР", OneToEight, 1)};
    const std::optional<TComb> one = TComb{11, 12, 13, 14, 15, 16, 17, 18};
    struct Case {
        const char* what;
        TRegularInput input;
        std::optional<TComb> selected;
        std::string error;
        TComb start;
        int step;
    };
    const std::vector<Case> cases = {
        {"seven numbers", {"New", false, "1;2;3;4;5;6;7", 1}, one, BadStakeText, {}, 0},
        {"number 21", {"New", false, "1;2;3;4;5;6;7;21", 1}, one, BadStakeText, {}, 0},
        {"bad numbers before an empty name", {"", false, "1;1;2;3;4;5;6;7", 1}, one, BadStakeText, {}, 0},
        {"empty name", {"", false, "1;2;3;4;5;6;7;8", 1}, one, NoCommentText, {}, 0},
        {"same name in another case", {"test", false, "1;2;3;4;5;6;7;8", 1}, one, DuplicateRegularText, {}, 0},
        {"same Cyrillic name", {"регуляр", true, "", 1}, std::nullopt, DuplicateRegularText, {}, 0},
        {"typed numbers, sorted", {"New", false, "8, 7;6,5;4;3;2;1", 5}, one, "", OneToEight, 5},
        {"second choice ignores a bad field", {"New", true, "1;2;x", -4}, one, "", *one, -4},
        {"second choice takes a good field", {"New", true, "20;1;2;3;4;5;6;7", 0}, one, "",
         TComb{1, 2, 3, 4, 5, 6, 7, 20}, 0},
        {"several selected: the field is no combination", {"New", false, "{...Выделенные комбинации...}", 2},
         std::nullopt, "", TComb{}, 2},
        {"step kept within -20..20", {"New", false, "1;2;3;4;5;6;7;8", 25}, one, "", OneToEight, 20},
        {"first choice with nothing selected", {"New", false, "{...}", 1, 0, 5}, std::nullopt, NoStartCombText, {}, 0},
        {"second choice on an empty archive", {"New", true, "{...}", 1, 3, 0}, std::nullopt, NoPreviousDrawText, {}, 0},
        {"second choice with nothing selected", {"New", true, "{...}", 1, 0, 5}, std::nullopt, "", TComb{}, 1},
    };
    for (const Case& c : cases) {
        const TRegularAccept a = AcceptRegularDialog(c.input, c.selected, existing);
        EXPECT_EQ(a.Error, c.error) << c.what;
        if (!c.error.empty()) continue;
        EXPECT_EQ(a.Record.Name, c.input.Name) << c.what;
        EXPECT_EQ(a.Record.UseDraw, c.input.UseDraw ? 1 : 0) << c.what;
        EXPECT_EQ(a.Record.Start, c.start) << c.what;
        EXPECT_EQ(a.Record.Current, c.start) << c.what;
        EXPECT_EQ(a.Record.Step, c.step) << c.what;
        EXPECT_EQ(a.Record.Count, 0) << c.what;
    }
    EXPECT_EQ(std::string(DuplicateRegularText),
              "Запись с таким комментарией уже присутствует в списке!\nВыберите другой комментарий.");
    std::string longName;
    for (int i = 0; i < 70; ++i) longName += "я";
    EXPECT_EQ(util::Utf8ToCp1251(AcceptRegularDialog({longName, true, "", 1}, std::nullopt, {}).Record.Name).size(), 64u);
}

TEST(Regulars, OneRegularPerSelectedCombination)
{
    const std::vector<TSelectedComb> three = {{3, {9, 2, 3, 4, 5, 6, 7, 8}}, {8, {2, 3, 4, 5, 6, 7, 8, 10}},
                                              {11, {11, 12, 13, 14, 15, 16, 17, 18}}};
    const TRegularRecord accepted = AcceptRegularDialog({"Test", false, "{...}", 3}, std::nullopt, {}).Record;
    const TRegularsArray made = MakeRegulars(accepted, three);
    EXPECT_EQ(test::Names(made), (std::vector<std::string>{"Test (4)", "Test (9)", "Test (12)"}));
    EXPECT_EQ(made[0].Start, (TComb{2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(made[0].Current, made[0].Start);
    EXPECT_EQ(made[2].Start, (TComb{11, 12, 13, 14, 15, 16, 17, 18}));
    for (const auto& r : made) {
        EXPECT_EQ(r.Step, 3);
        EXPECT_EQ(r.Count, 0);
    }

    // With the draw as base, one regular whatever is selected; one selected combination gives
    // one regular with the dialog's start; nothing selected under the first choice, none.
    const TRegularRecord byDraw = AcceptRegularDialog({"Draw", true, "{...}", 0}, std::nullopt, {}).Record;
    EXPECT_EQ(test::Names(MakeRegulars(byDraw, three)), std::vector<std::string>{"Draw"});
    EXPECT_EQ(test::Names(MakeRegulars(byDraw, {})), std::vector<std::string>{"Draw"});
    const TRegularRecord single =
        AcceptRegularDialog({"One", false, "1;2;3;4;5;6;7;8", 1}, TComb{11, 12, 13, 14, 15, 16, 17, 18}, {}).Record;
    const TRegularsArray oneMade = MakeRegulars(single, std::span<const TSelectedComb>(three).first(1));
    ASSERT_EQ(oneMade.size(), 1u);
    EXPECT_EQ(oneMade[0].Name, "One");
    EXPECT_EQ(oneMade[0].Start, OneToEight);
    EXPECT_TRUE(MakeRegulars(accepted, {}).empty());
}

TEST(Regulars, AddDeleteSaveAndReload)
{
    Fixture f;
    int changes = 0;
    f.tables.onChanged = [&changes] { ++changes; };
    const std::vector<TSelectedComb> two = {{0, OneToEight}, {4, {2, 4, 6, 8, 10, 12, 14, 16}}};
    f.tables.TablesAdd(f.shell, AcceptRegularDialog({"Ряд", false, "", 2}, std::nullopt, {}).Record, two);
    EXPECT_EQ(test::Names(f.tables.Items()), (std::vector<std::string>{"Ряд (1)", "Ряд (5)"}));
    EXPECT_EQ(f.RegularsBytes(), RegularsFileBytes(f.tables.Items()));
    EXPECT_EQ(f.shell.statusTexts,
              (std::vector<std::string>{"Создание регулярных ставок...", "Сохранение файла регулярных ставок...", "",
                                        ""}));
    EXPECT_EQ(changes, 1);

    f.Add(Regular("Третий", OneToEight, 1));
    ASSERT_EQ(f.tables.Count(), 3);

    // Refused, out of range, then done.
    f.shell.answers = {false};
    EXPECT_FALSE(f.tables.TablesDel(f.shell, {0, 2}));
    EXPECT_EQ(f.shell.questions.back().text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_EQ(f.shell.questions.back().caption, "Предупреждение");
    EXPECT_EQ(f.tables.Count(), 3);
    f.shell.answers = {true};
    EXPECT_FALSE(f.tables.TablesDel(f.shell, {0, 7}));
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text, "Запись со индексом 7 в файле данных не найдена!");
    EXPECT_EQ(f.tables.Count(), 3) << "nothing removed before the bad row was found";
    f.shell.answers = {true};
    EXPECT_TRUE(f.tables.TablesDel(f.shell, {2, 0}));
    EXPECT_EQ(f.shell.questions.back().text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_EQ(test::Names(f.tables.Items()), std::vector<std::string>{"Ряд (5)"});
    EXPECT_EQ(f.RegularsBytes(), RegularsFileBytes(f.tables.Items()));
    f.shell.answers = {true};
    EXPECT_TRUE(f.tables.TablesDel(f.shell, {0}));
    EXPECT_EQ(f.shell.questions.back().text, "Удалить выделенную запись?");
    EXPECT_EQ(f.RegularsBytes(), "");

    // Hiding the tab drops the regulars; showing it again reads them from the file.
    test::WriteBytes(f.dir / TRegulars::FileName, RegularsFileBytes({Regular("Из файла", OneToEight, 2)}));
    EXPECT_FALSE(f.tables.TabTables(f.shell));
    EXPECT_EQ(f.tables.Count(), 0);
    f.Add(Regular("hidden", OneToEight, 1));
    EXPECT_FALSE(f.tables.SaveTables(f.shell));
    EXPECT_EQ(f.tables.Count(), 0) << "nothing is kept while the tab is hidden";
    EXPECT_TRUE(f.tables.TabTables(f.shell));
    EXPECT_EQ(test::Names(f.tables.Items()), std::vector<std::string>{"Из файла"});
    EXPECT_FALSE(f.shell.IsBusy());
}

TEST(Regulars, LoadOfFilesThatAreNotWholeRegulars)
{
    const std::string good = RegularsFileBytes({Regular("a", OneToEight, 3), Regular("b", OneToEight, -3)});
    struct Case {
        const char* what;
        std::string bytes;
        int rows;
        shell::MessageKind kind;
        std::string message;
    };
    // Written by hand (tests/data/broken/make.py): `good`, a regular "c" with step 99, `good` again.
    const std::string badStep =
        test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "regulars-badstep.ltb");
    ASSERT_EQ(badStep, good + RegularsFileBytes({Regular("c", OneToEight, 99)}) + good);
    const std::vector<Case> cases = {
        {"a trailing partial record", good + std::string(100, '\0'), 2, shell::MessageKind::Warning,
         "Файл регулярных ставок \"Kvanta_8x20.ltb\" заканчивается неполной записью (100 байт); она не прочитана.\n\n"
         "Копия файла сохранена как \"Kvanta_8x20.ltb.bak\"."},
        {"a step of another format", badStep, 2,
         shell::MessageKind::Error,
         "Ошибка чтения файла регулярных ставок!\n\n"
         "Запись 3 файла \"Kvanta_8x20.ltb\" не является записью регулярной ставки: файл другой версии или "
         "поврежден. Прочитаны записи до нее (2).\n\nКопия файла сохранена как \"Kvanta_8x20.ltb.bak\"."},
    };
    for (const Case& c : cases) {
        Fixture f;
        test::WriteBytes(f.dir / TRegulars::FileName, c.bytes);
        f.tables.LoadTables(f.shell);
        EXPECT_EQ(f.tables.Count(), c.rows) << c.what;
        ASSERT_EQ(f.shell.messages.size(), 1u) << c.what;
        EXPECT_EQ(f.shell.messages[0].kind, c.kind) << c.what;
        EXPECT_EQ(f.shell.messages[0].text, c.message) << c.what;
        EXPECT_EQ(test::ReadBytes(f.dir / "Kvanta_8x20.ltb.bak"), c.bytes) << c.what;
        EXPECT_EQ(f.RegularsBytes(), c.bytes) << c.what << ": loading never writes";
        EXPECT_EQ(f.shell.statusTexts.front(), "Загрузка файла регулярных ставок...");
    }

    Fixture f;
    test::WriteBytes(f.dir / TRegulars::FileName, badStep);
    f.tables.LoadTables(f.shell);
    ASSERT_EQ(f.tables.Count(), 2);
    EXPECT_EQ(f.tables.Items()[0], Regular("a", OneToEight, 3));
    EXPECT_EQ(f.tables.Items()[1], Regular("b", OneToEight, -3));
}

TEST(Regulars, StakeAddCancelledChangesNothing)
{
    Fixture f;
    f.Add(Regular("Шаг 3", OneToEight, 3));
    const std::string saved = f.RegularsBytes();
    TStakeRecord seen;
    const bool added = f.tables.TablesStakeAdd(f.shell, 0, f.context, [&seen](TStakeRecord& stake, int&) {
        seen = stake;
        return false;
    });
    EXPECT_FALSE(added);
    EXPECT_EQ(seen.Stake, game::CombToNumSet({4, 5, 6, 7, 8, 9, 10, 11})) << "the dialog shows the advanced stake";
    EXPECT_EQ(f.tables[0].Current, OneToEight);
    EXPECT_EQ(f.tables[0].Count, 0);
    EXPECT_EQ(f.RegularsBytes(), saved);
    EXPECT_TRUE(f.Stakes().empty());
    EXPECT_TRUE(f.calls.empty());
}

TEST(Regulars, StakeAddConfirmedAdvancesAndStakes)
{
    Fixture f;
    f.Add(Regular("Шаг 3", OneToEight, 3));
    f.context.DrawsOffset = 2;
    TStakeRecord seen;
    EXPECT_TRUE(f.tables.TablesStakeAdd(f.shell, 0, f.context, [&seen](TStakeRecord& stake, int& draws) {
        seen = stake;
        draws = 2;
        return true;
    }));
    EXPECT_EQ(seen.Origin, OriginRegular);
    EXPECT_EQ(seen.DrawNo, 109) << "the draw after the window at offset 2";
    EXPECT_EQ(seen.Comment, "Шаг 3");
    EXPECT_EQ(seen.SampleSize, 125970);
    EXPECT_EQ(seen.Profit, util::Currency::FromUnits(-10));
    const std::vector<TStakeRecord> stakes = f.Stakes();
    ASSERT_EQ(stakes.size(), 3u);
    EXPECT_EQ(stakes[0], seen);
    EXPECT_EQ(stakes[1], NewSeparator());
    EXPECT_EQ(stakes[2].DrawNo, 110);
    EXPECT_EQ(f.tables[0].Current, (TComb{4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(f.tables[0].Count, 1);
    EXPECT_EQ(ParseTablesFile(f.RegularsBytes()).Rows, f.tables.Items()) << "saved before the stake is added";
    EXPECT_EQ(f.calls, (std::vector<std::string>{"check", "view refresh last"}));

    EXPECT_FALSE(f.tables.TablesStakeAdd(f.shell, 1, f.context, [](TStakeRecord&, int&) { return true; }));
    EXPECT_EQ(f.shell.messages.back().text, "Запись со индексом 1 в файле данных не найдена!");
}

TEST(Regulars, TestOverTheLastDraws)
{
    Fixture f;
    f.Add(Regular("step", OneToEight, 3));
    f.Add(Regular("draw", {}, 0, true));
    f.Add(Regular("idle", OneToEight, 1));
    f.context.DrawsOffset = 1;
    const std::vector<int> rows = {1, 0};
    f.shell.statusTexts.clear();
    ASSERT_TRUE(f.tables.TablesStakeTest(f.shell, rows, 3, f.context));

    EXPECT_EQ(f.offsets, (std::vector<int>{3, 2, 1, 1})) << "and back to where the window was";
    const std::vector<TStakeRecord> stakes = f.Stakes();
    ASSERT_EQ(stakes.size(), 6u);
    // Offset 3: the window ends with draw index 6, so the stakes are for draw 108.
    const std::vector<int32_t> drawNos = {108, 108, 109, 109, 110, 110};
    const std::vector<TComb> numbers = {f.DrawSorted(6), {4, 5, 6, 7, 8, 9, 10, 11}, f.DrawSorted(7),
                                        {7, 8, 9, 10, 11, 12, 13, 14}, f.DrawSorted(8),
                                        {10, 11, 12, 13, 14, 15, 16, 17}};
    for (std::size_t i = 0; i < stakes.size(); ++i) {
        EXPECT_EQ(stakes[i].DrawNo, drawNos[i]) << i;
        EXPECT_EQ(stakes[i].Stake, game::CombToNumSet(numbers[i])) << i;
        EXPECT_EQ(stakes[i].Origin, OriginRegular);
        EXPECT_EQ(stakes[i].Comment, i % 2 == 0 ? "draw" : "step");
    }
    EXPECT_EQ(f.tables[0].Count, 3);
    EXPECT_EQ(f.tables[0].Current, (TComb{10, 11, 12, 13, 14, 15, 16, 17}));
    EXPECT_EQ(f.tables[1].Count, 3);
    EXPECT_EQ(f.tables[2].Count, 0) << "not selected";
    EXPECT_EQ(ParseTablesFile(f.RegularsBytes()).Rows, f.tables.Items());
    ASSERT_GE(f.calls.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(f.calls.end() - 2, f.calls.end()),
              (std::vector<std::string>{"check", "view refresh last"}));
    EXPECT_EQ(f.shell.statusTexts.front(), "Создание ставок по регулярным табличным ставкам...");
    EXPECT_FALSE(f.shell.IsBusy());

    // The test count is 1 .. draws - 1.
    for (int n : {0, 10}) {
        f.offsets.clear();
        EXPECT_FALSE(f.tables.TablesStakeTest(f.shell, rows, n, f.context)) << n;
        EXPECT_TRUE(f.offsets.empty());
    }
    EXPECT_TRUE(f.tables.TablesStakeTest(f.shell, rows, 9, f.context));
}

TEST(Regulars, TestEndsAtTheFirstFailedStake)
{
    Fixture f;
    f.Add(Regular("step", OneToEight, 3));
    f.Add(Regular("other", OneToEight, 1));
    f.stakes.Close();
    const std::vector<int> rows = {0, 1};
    EXPECT_FALSE(f.tables.TablesStakeTest(f.shell, rows, 4, f.context));
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text, "Ошибка добавления записи в файл ставок!\n\nФайл ставок не открыт!");
    EXPECT_EQ(f.offsets, (std::vector<int>{4, 0}));
    EXPECT_EQ(f.tables[0].Count, 1) << "the advance made before the failure stays";
    EXPECT_EQ(f.tables[1].Count, 0);
    EXPECT_EQ(ParseTablesFile(f.RegularsBytes()).Rows, f.tables.Items());
    for (const std::string& c : f.calls) EXPECT_NE(c, "check");
}
