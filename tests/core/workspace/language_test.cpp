#include <gtest/gtest.h>

#include "core/workspace/language.h"
#include "tests/support/support.h"

using namespace kv;

TEST(Language, ScanFindsModulesBesideTheExecutable)
{
    test::TempDir dir;
    const auto exe = dir / "Kvanta_8x20";
    EXPECT_EQ(workspace::LanguageModulePath(exe, "ENU"), dir / "Kvanta_8x20_ENU.lng");
    EXPECT_EQ(workspace::LanguageModulePath(dir / "Kvanta_8x20.exe", "UKR"), dir / "Kvanta_8x20_UKR.lng");

    std::vector<workspace::TLanguage> found = workspace::ScanLanguages(exe);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Id, 1049);
    // Modules of known languages count; another program's, an unknown abbreviation's or a
    // folder of the name do not.
    test::WriteBytes(dir / "Kvanta_8x20_UKR.lng", "x");
    test::WriteBytes(dir / "Kvanta_8x20_ENU.lng", "x");
    test::WriteBytes(dir / "Other_DEU.lng", "x");
    test::WriteBytes(dir / "Kvanta_8x20_XXX.lng", "x");
    std::filesystem::create_directories(dir / "Kvanta_8x20_FRA.lng");
    found = workspace::ScanLanguages(exe);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[1].Id, 1033);
    EXPECT_STREQ(found[1].Name, "English");
    EXPECT_EQ(found[2].Id, 1058);
}

TEST(Language, ChoiceAndTexts)
{
    workspace::CommandLine cmd;
    EXPECT_EQ(workspace::ChosenLanguage(1033, cmd), 1033);
    EXPECT_EQ(workspace::ChosenLanguage(12345, cmd), 1049);
    cmd.noLanguage = true;
    EXPECT_EQ(workspace::ChosenLanguage(1033, cmd), 1049);
    EXPECT_EQ(workspace::ModuleMissingText("/opt/k/Kvanta_8x20_ENU.lng"), "Языковый модуль \"Kvanta_8x20_ENU.lng\" не найден!");

    EXPECT_EQ(workspace::RestartArguments({}), std::vector<std::string>{"restart"});
    workspace::CommandLine withDir;
    withDir.dataDir = "/data/лото";
    EXPECT_EQ(workspace::RestartArguments(withDir), (std::vector<std::string>{"restart", "--data-dir", "/data/лото"}));
}
