#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/game/numbers.h"
#include "core/scenario/systemcombs.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

using Positions = std::optional<std::array<int, 8>>;

TEST(SystemCombs, FileNamesAndLines)
{
    EXPECT_EQ(scenario::SystemFileName(12, 5, 123), "8-12-5_0123.dat");
    EXPECT_EQ(scenario::SystemFileName(9, 0, 12345), "8-09-0_12345.dat");

    struct Case {
        const char* line;
        Positions positions;
    };
    const std::array<int, 8> p{1, 2, 3, 4, 5, 6, 7, 13};
    const std::vector<Case> cases = {
        {"01 02 03 04 05 06 07 13", p},
        {"1*2+3,4-5.6/7:13", p},
        {"1;2=3\\4_5|6~7 13", p},
        {"  1 ,, 2 3 4 5 6 7 13  ", p},
        {"1 2 3 4 5 6 7", std::nullopt},
        {"1 2 3 4 5 6 7 8 9", std::nullopt},
        {"1 2 3 4 5 6 7 x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(scenario::ParseSystemLine(c.line), c.positions) << c.line;
}

TEST(SystemCombs, PositionsTakeTheNumbersInTheirOrder)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    const game::TByteArray numbers{2, 5, 7, 8, 11, 12, 15, 16, 17, 18, 19, 20, 4};
    // Another N, a name without the block separator and a later name are not taken.
    test::WriteBytes(dir / "8-12-5_0001.dat", "1 2 3 4 5 6 7 8\r\n");
    test::WriteBytes(dir / "8-13-5.dat", "1 2 3 4 5 6 7 8\r\n");
    test::WriteBytes(dir / "8-13-6_0002.dat", "1 2 3 4 5 6 7 8\r\n");
    test::WriteBytes(dir / "8-13-5_0001.dat", "01 02 03 04 05 06 07 13\r\n\r\n13 12 11 10 9 8 7 6\r\n");
    const scenario::TSystemCombs s = scenario::LoadSystemCombs(dir.path(), numbers, sh);
    ASSERT_TRUE(s.Loaded) << s.Error;
    EXPECT_EQ(s.File, dir / "8-13-5_0001.dat");
    EXPECT_EQ(s.Combs, (std::vector<game::TComb>{{2, 5, 7, 8, 11, 12, 15, 4}, {4, 20, 19, 18, 17, 16, 15, 12}}));
    game::TComb sorted = s.Combs[0];
    game::SortComb(sorted);
    EXPECT_EQ(sorted, (game::TComb{2, 4, 5, 7, 8, 11, 12, 15}));
    EXPECT_TRUE(sh.messages.empty());
}

TEST(SystemCombs, BrokenOrMissingSystemsStakeNothing)
{
    struct Case {
        const char* name;
        std::string file;     // empty: no system for 9 numbers
        std::string message;
        std::string error;
    };
    const std::string fixed = "Ошибка загрузки комбинаций системы!\n\n";
    const std::vector<Case> cases = {
        {"missing", "",
         "Система для 9 чисел не найдена или не загружена на компьютер!\n\nПеред системной игрой необходимо "
         "предварительно загрузить системы на Ваш компьютер через меню \"Системы\" - \"Загрузить\".",
         "Система для 9 чисел не найдена или не загружена на компьютер!"},
        {"position past N", "1 2 3 4 5 6 7 8\r\n1 2 3 4 5 6 7 10\r\n",
         fixed + "Некорректная строка системы: \"1 2 3 4 5 6 7 10\"!", "Некорректная строка системы: \"1 2 3 4 5 6 7 10\"!"},
        {"position 0", "0 2 3 4 5 6 7 8\r\n", fixed + "Некорректная строка системы: \"0 2 3 4 5 6 7 8\"!",
         "Некорректная строка системы: \"0 2 3 4 5 6 7 8\"!"},
        {"repeated position", "1 1 3 4 5 6 7 8\r\n", fixed + "Некорректная строка системы: \"1 1 3 4 5 6 7 8\"!",
         "Некорректная строка системы: \"1 1 3 4 5 6 7 8\"!"},
        {"seven words", "1 2 3 4 5 6 7\r\n", fixed + "Некорректная строка системы: \"1 2 3 4 5 6 7\"!",
         "Некорректная строка системы: \"1 2 3 4 5 6 7\"!"},
        {"no combinations", "\r\n  \r\n", fixed + "Файл \"8-09-1_0007.dat\" не содержит комбинаций!",
         "Файл \"8-09-1_0007.dat\" не содержит комбинаций!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::ScriptedShell sh;
        if (!c.file.empty() || std::string(c.name) == "no combinations") test::WriteBytes(dir / "8-09-1_0007.dat", c.file);
        const scenario::TSystemCombs s = scenario::LoadSystemCombs(dir.path(), {1, 2, 3, 4, 5, 6, 7, 8, 9}, sh);
        EXPECT_FALSE(s.Loaded);
        EXPECT_TRUE(s.Combs.empty());
        EXPECT_EQ(s.Error, c.error);
        ASSERT_EQ(sh.messages.size(), 1u);
        EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
        EXPECT_EQ(sh.messages[0].text, c.message);
    }
}

} // namespace
