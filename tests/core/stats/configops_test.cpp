#include <gtest/gtest.h>

#include "core/stats/configops.h"
#include "core/stats/statlist.h"
#include "tests/support/support.h"

using namespace kv;
using namespace kv::stats;

namespace {

TConfigData baseConfig()
{
    TConfigData c;
    c.MatrixCols = 4;
    c.ChannelSize = 4;
    c.Cost = util::Currency::FromUnits(10);
    for (int i = 0; i < 20; ++i) c.MatrixSegments[i] = static_cast<uint8_t>(i % 5 + 1);
    return c;
}

} // namespace

TEST(ConfigRebuildGroups, EachChangeNamesItsOwnGroup)
{
    struct Case {
        const char* what;
        void (*change)(TConfigData&);
        uint32_t groups;
    };
    const Case cases[] = {
        {"nothing", [](TConfigData&) {}, 0},
        {"cost", [](TConfigData& c) { c.Cost = util::Currency::FromRaw(1); }, 0},
        {"max stake", [](TConfigData& c) { c.MaxStake = 10; }, 0},
        {"profits", [](TConfigData& c) { c.Profits = {{8, util::Currency::FromUnits(5)}}; }, 0},
        {"coefficient", [](TConfigData& c) { c.Weights.CoefDepth = 2.5L; }, 0},
        {"flags", [](TConfigData& c) { c.Weights.UsePercents = c.Weights.UseAbsolute = true; }, 0},
        {"columns", [](TConfigData& c) { c.MatrixCols = 5; }, 16},
        {"channel", [](TConfigData& c) { c.ChannelSize = 2; }, 8},
        {"one segment", [](TConfigData& c) { c.MatrixSegments[19] = 9; }, 32},
        {"all three",
         [](TConfigData& c) {
             c.MatrixCols = 20;
             c.ChannelSize = 20;
             c.MatrixSegments[0] = 2;
         },
         8 | 16 | 32},
    };
    for (const Case& k : cases) {
        TConfigData after = baseConfig();
        k.change(after);
        EXPECT_EQ(ConfigRebuildGroups(baseConfig(), after), k.groups) << k.what;
        EXPECT_EQ(ConfigRebuildGroups(after, baseConfig()), k.groups) << k.what << " (back)";
    }
}

TEST(ConfigApply, StoresSavesAndReportsTheGroups)
{
    test::TempDir dir;
    const auto ini = dir / "Kvanta_8x20.ini";
    TStatList list;
    list.Config() = baseConfig();
    TConfigData next = baseConfig();
    next.ChannelSize = 6;
    next.Weights.CoefCount = 0.5L;
    next.Profits = ProfitsFromRows({util::Currency::FromUnits(0), {}, {}, {}, {}, {}, {}, {},
                                    util::Currency::FromRaw(12345)});
    test::ScriptedShell shell;

    const TConfigApplyResult r = ApplyConfig(list, next, ini, shell);
    EXPECT_TRUE(r.Saved);
    EXPECT_EQ(r.Groups, ChannelGroupBit);
    EXPECT_EQ(list.Config(), next);
    EXPECT_TRUE(shell.messages.empty());
    ASSERT_FALSE(shell.statusTexts.empty());
    EXPECT_EQ(shell.statusTexts.front(), "Сохранение файла конфигурации...");
    EXPECT_EQ(shell.BusyCount(), 0);

    const std::string text = test::ReadBytes(ini);
    EXPECT_NE(text.find("ChannelSize=6\r\n"), std::string::npos);
    EXPECT_NE(text.find("Count=0.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("Profits=9\r\n"), std::string::npos);
    EXPECT_NE(text.find("Profit_8_Overlap=8\r\nProfit_8_Profit=1.2345\r\n"), std::string::npos);
    TStatList reread;
    reread.LoadSettings(ini);
    EXPECT_EQ(reread.Config(), next);

    // Applying the same settings again asks for no rebuild but still writes the file.
    std::filesystem::remove(ini);
    EXPECT_EQ(ApplyConfig(list, next, ini, shell).Groups, 0u);
    EXPECT_TRUE(std::filesystem::exists(ini));
}

TEST(ConfigApply, AWriteFailureIsShownAndTheSettingsStay)
{
    test::TempDir dir;
    TStatList list;
    list.Config() = baseConfig();
    TConfigData next = baseConfig();
    next.MatrixCols = 5;
    test::ScriptedShell shell;

    const TConfigApplyResult r = ApplyConfig(list, next, dir / "missing" / "Kvanta_8x20.ini", shell);
    EXPECT_FALSE(r.Saved);
    EXPECT_EQ(r.Groups, MatrixGroupBit);
    EXPECT_EQ(list.Config(), next);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].kind, shell::MessageKind::Error);
    const std::string prefix = "Ошибка записи в файл конфигурации!\n\n";
    EXPECT_EQ(shell.messages[0].text.substr(0, prefix.size()), prefix);
    EXPECT_GT(shell.messages[0].text.size(), prefix.size());
    EXPECT_EQ(shell.BusyCount(), 0);
}

TEST(ConfigProfitRows, StoredOrderIsShownAndOverlapsAreRenumbered)
{
    std::vector<TProfitItem> stored;
    for (int o = 8; o >= 0; --o) stored.push_back({static_cast<uint8_t>(o), util::Currency::FromUnits(o * 100)});
    const auto rows = ProfitRows(stored);
    for (int i = 0; i < ProfitRowCount; ++i) EXPECT_EQ(rows[i], util::Currency::FromUnits((8 - i) * 100)) << i;

    const auto back = ProfitsFromRows(rows);
    ASSERT_EQ(back.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(back[i].Overlap, i);
        EXPECT_EQ(back[i].Profit, util::Currency::FromUnits((8 - i) * 100));
    }

    const auto shortRows = ProfitRows({{5, util::Currency::FromRaw(7)}, {6, util::Currency::FromRaw(8)}});
    EXPECT_EQ(shortRows[0], util::Currency::FromRaw(7));
    EXPECT_EQ(shortRows[1], util::Currency::FromRaw(8));
    for (int i = 2; i < 9; ++i) EXPECT_EQ(shortRows[i], util::Currency{}) << i;

    std::vector<TProfitItem> tooMany(12, {1, util::Currency::FromRaw(3)});
    EXPECT_EQ(ProfitRows(tooMany)[8], util::Currency::FromRaw(3));
}

TEST(ConfigSegmentCell, OnlyOneToNineIsASegment)
{
    struct Case {
        const char* text;
        int value; // 0: refused
    };
    const Case cases[] = {{"1", 1}, {"9", 9}, {"05", 5}, {"0009", 9}, {"0", 0}, {"00", 0}, {"10", 0},
                          {"19", 0}, {"", 0}, {"a", 0}, {"-1", 0}, {" 3", 0}, {"3.0", 0},
                          {"99999999999999999999", 0}};
    for (const Case& k : cases) {
        const auto v = ParseSegmentCell(k.text);
        if (k.value == 0) EXPECT_FALSE(v.has_value()) << k.text;
        else {
            ASSERT_TRUE(v.has_value()) << k.text;
            EXPECT_EQ(*v, k.value) << k.text;
        }
    }
    EXPECT_EQ(BadSegmentMessage("10"), "Некорректное значение: 10!\n\nУкажите любое число от 1 до 9");
    EXPECT_EQ(BadSegmentMessage(""), "Некорректное значение: !\n\nУкажите любое число от 1 до 9");
}
