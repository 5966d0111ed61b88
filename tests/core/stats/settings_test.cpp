#include <gtest/gtest.h>

#include "tests/core/stats/numberkinds.h"

#include <functional>
#include <string>
#include <vector>

#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/ini.h"
#include "tests/support/support.h"

using namespace kv;
using namespace kv::stats;

namespace {

struct Files {
    test::TempDir dir;
    std::filesystem::path ini = dir / "Kvanta_8x20.ini";
    std::filesystem::path flt = dir / "Kvanta_8x20.flt";
};

// Test texts are written in UTF-8 and stored the way the program stores them.
void writeCp1251(const std::filesystem::path& path, std::string_view utf8)
{
    test::WriteBytes(path, util::Utf8ToCp1251(utf8));
}

TConfigData sampleConfig()
{
    TConfigData c;
    c.MatrixCols = 5;
    c.ChannelSize = 3;
    for (int i = 0; i < 20; ++i) c.MatrixSegments[i] = static_cast<uint8_t>(i / 4 + 1);
    c.Cost = util::Currency::FromRaw(125000);
    c.MaxStake = 10;
    c.Profits = {{4, util::Currency::FromUnits(100)},
                 {5, util::Currency::FromRaw(1)},
                 {8, util::Currency::FromRaw(12345678900)}};
    c.Weights = {0.25L, -1.5L, 2.0L, true, false};
    return c;
}

constexpr std::string_view SampleConfigText =
    "[GLOBAL]\r\n"
    "MatrixCols=5\r\n"
    "MatrixSegments=11112222333344445555\r\n"
    "ChannelSize=3\r\n"
    "\r\n"
    "[STAKES]\r\n"
    "Cost=12.5\r\n"
    "MaxStake=10\r\n"
    "Profits=3\r\n"
    "Profit_0_Overlap=4\r\n"
    "Profit_0_Profit=100\r\n"
    "Profit_1_Overlap=5\r\n"
    "Profit_1_Profit=0.0001\r\n"
    "Profit_2_Overlap=8\r\n"
    "Profit_2_Profit=1234567.89\r\n"
    "\r\n"
    "[CDL]\r\n"
    "Count=0.25\r\n"
    "Deviation=-1.5\r\n"
    "Level=2\r\n"
    "UsePercents=1\r\n"
    "UseAbsValues=0\r\n";

TStatList builtList()
{
    TStatList list;
    list.BuildMethodList(kv::test::NumberKinds());
    return list;
}

} // namespace

// --- the settings file ------------------------------------------------------------------------

TEST(StatSettings, SaveWritesEveryKeyAndLoadReadsItBack)
{
    Files f;
    TStatList list;
    list.Config() = sampleConfig();
    list.SaveSettings(f.ini);
    EXPECT_EQ(test::ReadBytes(f.ini), SampleConfigText);

    TStatList other;
    other.LoadSettings(f.ini);
    EXPECT_EQ(other.Config(), sampleConfig());
}

TEST(StatSettings, MissingFileAndMissingKeysGiveTheDefaults)
{
    Files f;
    TStatList list;
    list.Config() = sampleConfig();
    list.LoadSettings(f.ini);
    EXPECT_EQ(list.Config(), TConfigData{}) << "nothing of the previous settings survives";
    EXPECT_EQ(list.Config().MatrixCols, 4);
    EXPECT_EQ(list.Config().ChannelSize, 4);
    EXPECT_EQ(list.Config().MaxStake, 8);
    EXPECT_EQ(list.Config().Cost.raw, 0);
    EXPECT_EQ(list.Config().Weights.CoefDeviation, -1);
    EXPECT_EQ(list.Config().Weights.CoefDepth, 1);
    EXPECT_EQ(list.Config().MatrixSegments, TConfigData::DefaultSegments());
    EXPECT_FALSE(std::filesystem::exists(f.ini)) << "loading creates nothing";

    list.Config() = sampleConfig();
    writeCp1251(f.ini, "[STAKES]\r\nProfits=2\r\nProfit_1_Overlap=6\r\n");
    list.LoadSettings(f.ini);
    EXPECT_EQ(list.Config().Profits,
              (std::vector<TProfitItem>{{0, util::Currency{}}, {6, util::Currency{}}}))
        << "the count decides the rows; missing row keys read as 0";
}

TEST(StatSettings, SaveKeepsTheRestOfTheFile)
{
    Files f;
    writeCp1251(f.ini,
                "; Настройки программы\r\n"
                "[PROXY]\r\n"
                "Host=прокси.рф\r\n"
                "Port=8080\r\n"
                "\r\n"
                "[global]\r\n"
                "matrixcols=7\r\n"
                "CombsGenerateMode=2\r\n"
                "\r\n"
                "[STAKES]\r\n"
                "Profits=5\r\n"
                "Profit_0_Overlap=3\r\n"
                "Profit_0_Profit=1\r\n"
                "Profit_1_Overlap=4\r\n"
                "Profit_1_Profit=2\r\n"
                "Profit_2_Overlap=5\r\n"
                "Profit_4_Profit=9\r\n");
    TStatList list;
    list.Config() = sampleConfig();
    list.Config().Profits.resize(1);
    list.SaveSettings(f.ini);
    EXPECT_EQ(test::ReadBytes(f.ini), util::Utf8ToCp1251("; Настройки программы\r\n"
                                                          "[PROXY]\r\n"
                                                          "Host=прокси.рф\r\n"
                                                          "Port=8080\r\n"
                                                          "\r\n"
                                                          "[global]\r\n"
                                                          "matrixcols=5\r\n"
                                                          "CombsGenerateMode=2\r\n"
                                                          "MatrixSegments=11112222333344445555\r\n"
                                                          "ChannelSize=3\r\n"
                                                          "\r\n"
                                                          "[STAKES]\r\n"
                                                          "Profits=1\r\n"
                                                          "Profit_0_Overlap=4\r\n"
                                                          "Profit_0_Profit=100\r\n"
                                                          "Cost=12.5\r\n"
                                                          "MaxStake=10\r\n"
                                                          "\r\n"
                                                          "[CDL]\r\n"
                                                          "Count=0.25\r\n"
                                                          "Deviation=-1.5\r\n"
                                                          "Level=2\r\n"
                                                          "UsePercents=1\r\n"
                                                          "UseAbsValues=0\r\n"));
    // The Cyrillic of other sections goes through unchanged, byte for byte.
    EXPECT_NE(test::ReadBytes(f.ini).find("Host=\xEF\xF0\xEE\xEA\xF1\xE8.\xF0\xF4\r\n"), std::string::npos);
}

TEST(StatSettings, ValuesReadFromAHandEditedFile)
{
    using Get = std::function<int64_t(const TConfigData&)>;
    const Get matrixCols = [](const TConfigData& c) { return c.MatrixCols; };
    const Get channelSize = [](const TConfigData& c) { return c.ChannelSize; };
    const Get maxStake = [](const TConfigData& c) { return c.MaxStake; };
    const Get cost = [](const TConfigData& c) { return c.Cost.raw; };
    const Get profitCount = [](const TConfigData& c) { return static_cast<int64_t>(c.Profits.size()); };
    const Get percents = [](const TConfigData& c) { return c.Weights.UsePercents ? 1 : 0; };
    const Get absolute = [](const TConfigData& c) { return c.Weights.UseAbsolute ? 1 : 0; };
    const Get segment1 = [](const TConfigData& c) { return c.MatrixSegments[0]; };
    const Get segment20 = [](const TConfigData& c) { return c.MatrixSegments[19]; };
    struct Case {
        const char* text;
        Get get;
        int64_t expected;
    };
    const std::vector<Case> cases = {
        {"[GLOBAL]\r\nMatrixCols=1", matrixCols, 1},
        {"[GLOBAL]\r\nMatrixCols=20", matrixCols, 20},
        {"[GLOBAL]\r\nMatrixCols=0", matrixCols, 4},
        {"[GLOBAL]\r\nMatrixCols=21", matrixCols, 4},
        {"[GLOBAL]\r\nMatrixCols=-3", matrixCols, 4},
        {"[GLOBAL]\r\nMatrixCols=пять", matrixCols, 4},
        {"[GLOBAL]\r\nMatrixCols=4294967301", matrixCols, 4},
        {"[GLOBAL]\r\nMatrixCols=$A", matrixCols, 10},
        {"[global]\r\nMATRIXCOLS= 6 ", matrixCols, 6},
        {"[GLOBAL]\r\nChannelSize=2", channelSize, 2},
        {"[GLOBAL]\r\nChannelSize=20", channelSize, 20},
        {"[GLOBAL]\r\nChannelSize=1", channelSize, 4},
        {"[GLOBAL]\r\nChannelSize=0", channelSize, 4},
        {"[GLOBAL]\r\nChannelSize=21", channelSize, 4},
        {"[GLOBAL]\r\nChannelSize=", channelSize, 4},
        {"[STAKES]\r\nMaxStake=8", maxStake, 8},
        {"[STAKES]\r\nMaxStake=20", maxStake, 20},
        {"[STAKES]\r\nMaxStake=7", maxStake, 8},
        {"[STAKES]\r\nMaxStake=21", maxStake, 8},
        {"[STAKES]\r\nCost=12,5", cost, 125000},
        {"[STAKES]\r\nCost=12.5", cost, 125000},
        {"[STAKES]\r\nCost=0.00005", cost, 1},
        {"[STAKES]\r\nCost=1.23456", cost, 12346},
        {"[STAKES]\r\nCost=1e3", cost, 10000000},
        {"[STAKES]\r\nCost=1000000000", cost, 10000000000000},
        {"[STAKES]\r\nCost=1000000001", cost, 0},
        {"[STAKES]\r\nCost=-5", cost, 0},
        {"[STAKES]\r\nCost=12.5.1", cost, 0},
        {"[STAKES]\r\nCost=десять", cost, 0},
        {"[STAKES]\r\nCost=1e400", cost, 0},
        {"[STAKES]\r\nProfits=256", profitCount, 256},
        {"[STAKES]\r\nProfits=257", profitCount, 0},
        {"[STAKES]\r\nProfits=-1", profitCount, 0},
        {"[STAKES]\r\nProfits=2000000000", profitCount, 0},
        {"[STAKES]\r\nProfits=много", profitCount, 0},
        {"[CDL]\r\nUsePercents=1", percents, 1},
        {"[CDL]\r\nUsePercents=2", percents, 1},
        {"[CDL]\r\nUsePercents=0", percents, 0},
        {"[CDL]\r\nUsePercents=-1", percents, 0},
        {"[CDL]\r\nUsePercents=true", percents, 0},
        {"[CDL]\r\nUseAbsValues=5", absolute, 1},
        {"[CDL]\r\nUseAbsValues=-5", absolute, 0},
        {"[GLOBAL]\r\nMatrixSegments=31111111111111111112", segment1, 3},
        {"[GLOBAL]\r\nMatrixSegments=31111111111111111112", segment20, 2},
        {"[GLOBAL]\r\nMatrixSegments=2", segment20, 1},
        {"[GLOBAL]\r\nMatrixSegments=x9", segment1, 1},
        {"[GLOBAL]\r\nMatrixSegments=", segment1, 1},
    };
    Files f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeCp1251(f.ini, c.text);
        TStatList list;
        list.Config() = sampleConfig();
        list.LoadSettings(f.ini);
        EXPECT_EQ(c.get(list.Config()), c.expected);
    }
}

TEST(StatSettings, ProfitRowsAndCoefficientsFromAHandEditedFile)
{
    Files f;
    writeCp1251(f.ini,
                "[STAKES]\r\n"
                "Profits=4\r\n"
                "Profit_0_Overlap=260\r\n"   // only the low byte counts
                "Profit_0_Profit=10,25\r\n"
                "Profit_1_Overlap=x\r\n"
                "Profit_1_Profit=x\r\n"
                "Profit_2_Overlap=-1\r\n"
                "Profit_2_Profit=-3.5\r\n"
                "Profit_3_Overlap=8\r\n"
                "Profit_3_Profit=0.123456\r\n"
                "[CDL]\r\n"
                "Count=0,5\r\n"
                "Deviation=abc\r\n"
                "Level=-2.25\r\n");
    TStatList list;
    list.LoadSettings(f.ini);
    EXPECT_EQ(list.Config().Profits, (std::vector<TProfitItem>{{4, util::Currency::FromRaw(102500)},
                                                                {0, util::Currency{}},
                                                                {255, util::Currency::FromRaw(-35000)},
                                                                {8, util::Currency::FromRaw(1235)}}));
    EXPECT_EQ(list.Config().Weights.CoefCount, 0.5L);
    EXPECT_EQ(list.Config().Weights.CoefDeviation, -1.0L) << "garbage gives the default";
    EXPECT_EQ(list.Config().Weights.CoefDepth, -2.25L);
}

TEST(StatSettings, FailuresReachTheCaller)
{
    Files f;
    std::filesystem::create_directory(f.ini); // a folder where the file should be
    TStatList list;
    EXPECT_THROW(list.LoadSettings(f.ini), Error);
    EXPECT_THROW(list.SaveSettings(f.ini), Error);
    EXPECT_THROW(list.LoadShredding(f.ini), Error);
    EXPECT_THROW(list.SaveGenerateSettings(f.ini), Error);
    EXPECT_THROW(list.SaveSettings(f.dir / "missing" / "Kvanta_8x20.ini"), Error);
}

TEST(StatSettings, GenerateSettings)
{
    Files f;
    TStatList list;
    list.CombsGenerateMode = 3;
    list.CombsGenerateParameters = "1, 2;20";
    list.SaveGenerateSettings(f.ini);
    EXPECT_EQ(test::ReadBytes(f.ini), "[GLOBAL]\r\nCombsGenerateMode=3\r\nCombsGenerateParameters=1, 2;20\r\n");

    TStatList other;
    other.LoadGenerateSettings(f.ini);
    EXPECT_EQ(other.CombsGenerateMode, 3);
    EXPECT_EQ(other.CombsGenerateParameters, "1, 2;20");

    struct Case {
        const char* mode;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{"0", 0}, {"4", 4}, {"5", 0}, {"-1", 0}, {"256", 0}, {"abc", 0}}) {
        SCOPED_TRACE(c.mode);
        writeCp1251(f.ini, std::string("[GLOBAL]\r\nCombsGenerateMode=") + c.mode + "\r\n");
        other.CombsGenerateMode = 2;
        other.CombsGenerateParameters = "old";
        other.LoadGenerateSettings(f.ini);
        EXPECT_EQ(other.CombsGenerateMode, c.expected);
        EXPECT_EQ(other.CombsGenerateParameters, "");
    }
}

TEST(StatSettings, GenerateParametersAreCutTo255Characters)
{
    Files f;
    std::string cyrillic;
    for (int i = 0; i < 300; ++i) cyrillic += "я";
    writeCp1251(f.ini, "[GLOBAL]\r\nCombsGenerateParameters=" + cyrillic + "\r\n");
    TStatList list;
    list.LoadGenerateSettings(f.ini);
    EXPECT_EQ(list.CombsGenerateParameters.size(), 2u * 255) << "255 characters of two bytes each";

    std::filesystem::remove(f.ini);
    list.CombsGenerateParameters = std::string(256, 'x') + "y";
    list.SaveGenerateSettings(f.ini);
    EXPECT_EQ(test::ReadBytes(f.ini), "[GLOBAL]\r\nCombsGenerateMode=0\r\nCombsGenerateParameters=" + std::string(255, 'x') + "\r\n");

    list.CombsGenerateParameters = cyrillic;
    list.SaveGenerateSettings(f.ini);
    EXPECT_EQ(test::ReadBytes(f.ini), "[GLOBAL]\r\nCombsGenerateMode=0\r\nCombsGenerateParameters=" + std::string(255, '\xFF') + "\r\n");
}

TEST(StatSettings, Shredding)
{
    Files f;
    TStatList list;
    list.Shredding() = {"n1/n2", "(p1+t1)/3", "Ln(n8)", 1, 5, 18};
    list.SaveShredding(f.ini);
    EXPECT_EQ(test::ReadBytes(f.ini), "[SHREDDING]\r\n"
                                      "Formula1=n1/n2\r\n"
                                      "Formula2=(p1+t1)/3\r\n"
                                      "Formula3=Ln(n8)\r\n"
                                      "Formula1Digits=1\r\n"
                                      "Formula2Digits=5\r\n"
                                      "Formula3Digits=18\r\n");
    TStatList other;
    other.LoadShredding(f.ini);
    EXPECT_EQ(other.Shredding(), list.Shredding());

    // Missing keys and digit counts that no formula value can hold give the defaults.
    writeCp1251(f.ini, "[SHREDDING]\r\nFormula2=n2\r\nFormula1Digits=19\r\nFormula2Digits=-1\r\nFormula3Digits=0\r\n");
    other.LoadShredding(f.ini);
    TShreddingData expected;
    expected.Formula2 = "n2";
    expected.Formula3Digits = 0;
    EXPECT_EQ(other.Shredding(), expected);
}

TEST(StatSettings, WeightsSavedAndApplied)
{
    TStatList list;
    const TWeightCoefs own{1, 2, 3, true, true};
    list.Config().Weights = {0.5L, -1, 1, false, true};
    list.SaveWeights();
    list.ApplyWeights(true, own);
    EXPECT_EQ(list.Config().Weights, own);
    list.ApplyWeights(false, own);
    EXPECT_EQ(list.Config().Weights, (TWeightCoefs{0.5L, -1, 1, false, true}));
    list.Config().Weights = own;
    list.RestoreWeights();
    EXPECT_EQ(list.Config().Weights, (TWeightCoefs{0.5L, -1, 1, false, true}));
}

// --- the filter-list file -----------------------------------------------------------------------

TEST(FilterList, SaveWritesOptionsAndCaptionsInCp1251)
{
    Files f;
    TStatList list = builtList();
    list.SetFavorites("POS3,NUMS");
    list.Ordered = true;
    list.ShowGroupName = false;
    list.Method(list.FindMethod("POS3")).CustomCaption = "Третья позиция";
    list.Method(list.FindMethod("NUMS")).CustomCaption = "Все числа";
    test::ScriptedShell sh;
    ASSERT_TRUE(list.SaveFilterList(f.flt, true, false, sh));
    EXPECT_TRUE(sh.messages.empty());
    EXPECT_EQ(test::ReadBytes(f.flt), "[FILTERS]\r\n"
                                      "Favorites=NUMS,POS3\r\n"
                                      "Ordered=1\r\n"
                                      "ShowGroupName=0\r\n"
                                      "ShowMethodFlags=1\r\n"
                                      "\r\n"
                                      "[STRINGS_RUS]\r\n"
                                      "NUMS=\xC2\xF1\xE5 \xF7\xE8\xF1\xEB\xE0\r\n"
                                      "POS3=\xD2\xF0\xE5\xF2\xFC\xFF \xEF\xEE\xE7\xE8\xF6\xE8\xFF\r\n");

    TStatList other = builtList();
    ASSERT_TRUE(other.LoadFilterList(f.flt, true, sh));
    EXPECT_EQ(other.GetFavorites(), "NUMS,POS3");
    EXPECT_TRUE(other.Ordered);
    EXPECT_FALSE(other.ShowGroupName);
    EXPECT_TRUE(other.ShowMethodFlags);
    for (int i = 0; i < list.MethodCount(); ++i) {
        EXPECT_EQ(other.Method(i).CustomCaption, list.Method(i).CustomCaption);
        EXPECT_EQ(other.Method(i).Favorite, list.Method(i).Favorite);
    }
    EXPECT_TRUE(sh.messages.empty());
}

TEST(FilterList, CaptionFromTheFileShowsInEveryList)
{
    Files f;
    test::WriteBytes(f.flt, "[STRINGS_RUS]\r\n"
                            "POS3=  \xD2\xF0\xE5\xF2\xFC\xFF \xEF\xEE\xE7\xE8\xF6\xE8\xFF\t\r\n"
                            "[STRINGS_ENG]\r\n"
                            "POS4=Fourth\r\n");
    TStatList list = builtList();
    list.Method(list.FindMethod("NUMS")).CustomCaption = "Не из файла";
    test::ScriptedShell sh;
    ASSERT_TRUE(list.LoadFilterList(f.flt, true, sh));
    const int pos3 = list.FindMethod("POS3");
    EXPECT_EQ(list.Method(pos3).CustomCaption, "Третья позиция") << "trimmed";
    EXPECT_EQ(list.Method(list.FindMethod("NUMS")).CustomCaption, "") << "a caption missing from the file is cleared";
    EXPECT_EQ(list.Method(list.FindMethod("POS4")).CustomCaption, "") << "another language's caption";
    EXPECT_EQ(list.GetDisplayName(pos3, true), "{ num } Третья позиция [ SNG ]");
    EXPECT_EQ(list.GetDisplayName(pos3, false), "{ num } Третья позиция");

    const TChoosers ch = BuildChoosers(list);
    for (const auto* entries : {&ch.Stat, &ch.Graph}) {
        int found = 0;
        for (const TChooserEntry& e : *entries)
            if (e.Method == pos3) {
                EXPECT_EQ(e.Name, "{ num } Третья позиция [ SNG ]");
                ++found;
            }
        EXPECT_EQ(found, 1);
    }

    list.Language = "ENG";
    ASSERT_TRUE(list.LoadFilterList(f.flt, false, sh));
    EXPECT_EQ(list.Method(list.FindMethod("POS4")).CustomCaption, "Fourth");
    EXPECT_EQ(list.Method(pos3).CustomCaption, "");
    EXPECT_TRUE(sh.messages.empty());
}

TEST(FilterList, OptionsAreReadOnlyWhenAskedAndMissingOnesKeepTheirValues)
{
    Files f;
    writeCp1251(f.flt, "[FILTERS]\r\nFavorites=DIGS,EVEN\r\nOrdered=1\r\nShowGroupName=0\r\nShowMethodFlags=0\r\n");
    test::ScriptedShell sh;

    TStatList list = builtList();
    ASSERT_TRUE(list.LoadFilterList(f.flt, false, sh));
    EXPECT_TRUE(list.AllFavorites);
    EXPECT_FALSE(list.Ordered);
    EXPECT_TRUE(list.ShowGroupName);
    EXPECT_TRUE(list.ShowMethodFlags);

    ASSERT_TRUE(list.LoadFilterList(f.flt, true, sh));
    EXPECT_EQ(list.GetFavorites(), "DIGS,EVEN");
    EXPECT_TRUE(list.Ordered);
    EXPECT_FALSE(list.ShowGroupName);
    EXPECT_FALSE(list.ShowMethodFlags);

    // A file without these keys leaves the current state alone.
    writeCp1251(f.flt, "[FILTERS]\r\nOrdered=0\r\n");
    ASSERT_TRUE(list.LoadFilterList(f.flt, true, sh));
    EXPECT_EQ(list.GetFavorites(), "DIGS,EVEN");
    EXPECT_FALSE(list.Ordered);
    EXPECT_FALSE(list.ShowGroupName);

    // An empty favourites text means all of them.
    writeCp1251(f.flt, "[FILTERS]\r\nFavorites=\r\n");
    ASSERT_TRUE(list.LoadFilterList(f.flt, true, sh));
    EXPECT_TRUE(list.AllFavorites);

    // No file at all: nothing to read, the options stay.
    std::filesystem::remove(f.flt);
    list.SetFavorites("NUMS");
    ASSERT_TRUE(list.LoadFilterList(f.flt, true, sh));
    EXPECT_EQ(list.GetFavorites(), "NUMS");
    EXPECT_TRUE(sh.messages.empty());
}

TEST(FilterList, SaveReplacesTheCaptionsOfItsLanguageOnly)
{
    Files f;
    writeCp1251(f.flt,
                "[FILTERS]\r\n"
                "Favorites=EVEN\r\n"
                "Ordered=1\r\n"
                "\r\n"
                "[STRINGS_RUS]\r\n"
                "DIGS=Старая подпись\r\n"
                "POS3=Старая\r\n"
                "\r\n"
                "[STRINGS_ENG]\r\n"
                "POS3=Third\r\n");
    TStatList list = builtList();
    list.Method(list.FindMethod("POS3")).CustomCaption = "Новая";
    test::ScriptedShell sh;
    ASSERT_TRUE(list.SaveFilterList(f.flt, false, false, sh));
    EXPECT_EQ(test::ReadBytes(f.flt), util::Utf8ToCp1251("[FILTERS]\r\n"
                                                          "Favorites=EVEN\r\n"
                                                          "Ordered=1\r\n"
                                                          "\r\n"
                                                          "[STRINGS_ENG]\r\n"
                                                          "POS3=Third\r\n"
                                                          "\r\n"
                                                          "[STRINGS_RUS]\r\n"
                                                          "POS3=Новая\r\n"));

    // Without custom captions the section goes away altogether.
    list.Method(list.FindMethod("POS3")).CustomCaption.clear();
    ASSERT_TRUE(list.SaveFilterList(f.flt, false, false, sh));
    EXPECT_FALSE(util::IniFile::Load(f.flt).HasSection("STRINGS_RUS"));
    EXPECT_TRUE(util::IniFile::Load(f.flt).HasSection("STRINGS_ENG"));
    EXPECT_TRUE(sh.messages.empty());
}

TEST(FilterList, AllCaptionsExportsEveryMethod)
{
    Files f;
    TStatList list = builtList();
    list.Method(list.FindMethod("EVEN")).CustomCaption = "Чётные";
    test::ScriptedShell sh;
    ASSERT_TRUE(list.SaveFilterList(f.flt, true, true, sh));
    const util::IniFile ini = util::IniFile::Load(f.flt);
    ASSERT_EQ(ini.Keys("STRINGS_RUS").size(), 17u);
    for (int i = 0; i < list.MethodCount(); ++i)
        EXPECT_EQ(ini.ReadString("STRINGS_RUS", list.Method(i).MethodCode(), "?"), list.Method(i).MethodCaption());
    EXPECT_EQ(ini.ReadString("STRINGS_RUS", "EVEN", ""), "Чётные");
    EXPECT_EQ(ini.ReadString("STRINGS_RUS", "POS8", ""), "Число в 8 позиции тиража");
    EXPECT_EQ(ini.ReadString("FILTERS", "Favorites", "?"), "") << "all favourites are written as nothing";

    // Importing such a file makes every caption a custom one, equal to the kind's.
    TStatList other = builtList();
    ASSERT_TRUE(other.LoadFilterList(f.flt, false, sh));
    EXPECT_EQ(other.Method(other.FindMethod("POS8")).CustomCaption, "Число в 8 позиции тиража");
    EXPECT_EQ(other.Method(other.FindMethod("EVEN")).CustomCaption, "Чётные");
}

TEST(FilterList, FailuresAreShownAndGiveFalse)
{
    Files f;
    std::filesystem::create_directory(f.flt); // a folder where the file should be
    TStatList list = builtList();
    list.SetFavorites("NUMS");
    test::ScriptedShell sh;

    struct Case {
        const char* name;
        std::function<bool()> run;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"load", [&] { return list.LoadFilterList(f.flt, true, sh); }, "Ошибка загрузки списка фильтров!\n\n"},
        {"save", [&] { return list.SaveFilterList(f.flt, true, false, sh); }, "Ошибка сохранения списка фильтров!\n\n"},
        {"save into a missing folder",
         [&] { return list.SaveFilterList(f.dir / "missing" / "Kvanta_8x20.flt", true, false, sh); },
         "Ошибка сохранения списка фильтров!\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sh.messages.clear();
        EXPECT_FALSE(c.run());
        ASSERT_EQ(sh.messages.size(), 1u);
        EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
        const std::string& text = sh.messages[0].text;
        EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
        EXPECT_GT(text.size(), std::string(c.text).size()) << "the reason follows the blank line";
    }
    EXPECT_EQ(list.GetFavorites(), "NUMS") << "a failed load changes nothing";
}
