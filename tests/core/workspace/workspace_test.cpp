#include <gtest/gtest.h>

#include <memory>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/workspace/workspace.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

struct Fixture {
    test::TempDir dir;
    test::ScriptedShell sh;
    workspace::Workspace ws{dir.path()};
    int listRefreshes = 0;
    int viewRefreshes = 0;
    int analysisHeard = 0;
    std::shared_ptr<void> analysis = ws.Shared().Subscribe(workspace::TChange::Analysis, [this] { ++analysisHeard; });

    explicit Fixture(int draws = 0)
    {
        if (draws > 0) archive::WriteArchiveFile(dir / archive::ArchiveFileName, archive::SyntheticDraws(draws, 42, 101));
        ws.onDrawListChanged = [this](bool) { ++listRefreshes; };
        ws.onViewsRefresh = [this] { ++viewRefreshes; };
    }
    std::string archiveBytes() { return test::ReadBytes(dir / archive::ArchiveFileName); }
};

} // namespace

TEST(Workspace, LoadAndOffset)
{
    Fixture f(10);
    f.ws.LoadArchive(f.sh);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.sh.statusTexts, (std::vector<std::string>{"Загрузка файла тиражей...", ""}));
    EXPECT_EQ(f.ws.DrawCount(), 10);
    EXPECT_EQ(f.ws.NextDrawNo(), 111);
    EXPECT_TRUE(f.ws.SetDrawsOffset(2));
    EXPECT_EQ(f.ws.NextDrawNo(), 109);
    EXPECT_EQ(f.ws.LastDrawIndex(), 7);
    EXPECT_EQ(f.ws.DrawAtRow(2).DrawNo, 108);
    EXPECT_EQ(f.viewRefreshes, 1);
    EXPECT_EQ(f.analysisHeard, 1) << "the views hear an offset change through the shared state";
    f.ws.SetViewsRefreshSuspended(true);
    EXPECT_TRUE(f.ws.SetDrawsOffset(3));
    EXPECT_EQ(f.analysisHeard, 1) << "a suspended workspace tells no view";
    f.ws.SetViewsRefreshSuspended(false);
    EXPECT_TRUE(f.ws.SetDrawsOffset(2));
    EXPECT_EQ(f.analysisHeard, 2);
    EXPECT_FALSE(f.ws.SetDrawsOffset(2));
    f.ws.SetDrawsOffset(50);
    EXPECT_EQ(f.ws.DrawsOffset(), 9) << "clamped to count - 1";
}

TEST(Workspace, EmptyDataDirectory)
{
    Fixture f;
    f.ws.LoadArchive(f.sh);
    EXPECT_EQ(f.ws.DrawCount(), 0);
    EXPECT_EQ(f.ws.NextDrawNo(), 1);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(f.dir / archive::ArchiveFileName)) << "nothing is created by loading";

    // The demo archive: "No" makes nothing; "Yes" writes the invented draws; never over real ones.
    f.sh.answers = {false, true, true};
    EXPECT_FALSE(f.ws.CreateDemoArchive(f.sh));
    EXPECT_FALSE(std::filesystem::exists(f.dir / archive::ArchiveFileName));
    EXPECT_TRUE(f.ws.CreateDemoArchive(f.sh));
    ASSERT_EQ(f.sh.questions.size(), 2u);
    EXPECT_EQ(f.sh.questions[1].text, workspace::Workspace::DemoArchiveQuestion);
    const game::TDrawsArray demo = archive::SyntheticDraws(workspace::Workspace::DemoArchiveDraws, 8201);
    EXPECT_EQ(f.ws.Draws(), demo);
    EXPECT_EQ(f.archiveBytes(), archive::ArchiveBytes(demo));
    EXPECT_FALSE(f.ws.CreateDemoArchive(f.sh));
    EXPECT_EQ(f.sh.questions.size(), 2u) << "a filled archive is not asked about";
}

TEST(Workspace, TruncatedArchiveIsKeptAsABackup)
{
    Fixture f;
    const std::string bytes = archive::ArchiveBytes(archive::SyntheticDraws(3, 1)) + "junk";
    test::WriteBytes(f.dir / archive::ArchiveFileName, bytes);
    f.ws.LoadArchive(f.sh);
    EXPECT_EQ(f.ws.DrawCount(), 3);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Warning);
    EXPECT_EQ(test::ReadBytes(f.dir / "Kvanta_8x20.ldr.bak"), bytes);
}

TEST(Workspace, UnreadableAndUnwritableArchive)
{
    Fixture f;
    // A directory where the archive file should be: reading and replacing it both fail.
    std::filesystem::create_directory(f.dir / archive::ArchiveFileName);
    f.ws.LoadArchive(f.sh);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text.rfind("Ошибка чтения файла тиражей!\n\n", 0), 0u) << f.sh.messages[0].text;
    EXPECT_EQ(f.ws.DrawCount(), 0);

    f.ws.AddDraw(f.sh, archive::SyntheticDraws(1, 1)[0]);
    ASSERT_EQ(f.sh.messages.size(), 2u);
    EXPECT_EQ(f.sh.messages[1].text.rfind("Ошибка записи в файл тиражей!\n\n", 0), 0u) << f.sh.messages[1].text;
    EXPECT_EQ(f.ws.DrawCount(), 1) << "memory keeps the change for the next save";
    EXPECT_FALSE(f.sh.IsBusy());
}

TEST(Workspace, DeleteNonAdjacentRows)
{
    Fixture f(10);
    f.ws.LoadArchive(f.sh);
    f.sh.statusTexts.clear();
    // Rows 0, 3 and 9 show draws 110, 107 and 101.
    f.ws.DeleteDrawRows(f.sh, {9, 0, 3});
    std::vector<int> left;
    for (const auto& d : f.ws.Draws()) left.push_back(d.DrawNo);
    EXPECT_EQ(left, (std::vector<int>{102, 103, 104, 105, 106, 108, 109}));
    EXPECT_EQ(archive::ParseArchiveBytes(f.archiveBytes()), f.ws.Draws()) << "saved at once";
    EXPECT_EQ(f.sh.statusTexts.front(), "Удаление выделенных тиражей....");
}

TEST(Workspace, AddReplaceImportExport)
{
    Fixture f(5);
    f.ws.LoadArchive(f.sh);
    game::TDraw d = archive::SyntheticDraws(1, 9, 777)[0];
    f.ws.AddDraw(f.sh, d);
    EXPECT_EQ(f.ws.Draws().back().DrawNo, 777);
    d.DrawNo = 5;   // numbers are not checked for duplicates, and the draw stays in place
    f.ws.ReplaceDraw(f.sh, 0, d);
    EXPECT_EQ(f.ws.Draws()[0].DrawNo, 5);
    EXPECT_EQ(archive::ParseArchiveBytes(f.archiveBytes()), f.ws.Draws());

    const auto csv = f.dir / "draws.csv";
    ASSERT_TRUE(f.ws.ExportDraws(f.sh, csv));
    const std::string exported = test::ReadBytes(csv);
    EXPECT_EQ(exported.substr(0, 3), "5;\"");

    Fixture g;
    g.ws.LoadArchive(g.sh);
    EXPECT_EQ(g.ws.ImportDraws(g.sh, csv), 6);
    EXPECT_EQ(g.ws.Draws(), f.ws.Draws());
    EXPECT_EQ(g.sh.statusTexts.front(), "Импорт тиражей из файла \"" + csv.string() + "\"...");

    // A file that cannot be read leaves the archive and its file alone.
    const std::string before = g.archiveBytes();
    EXPECT_EQ(g.ws.ImportDraws(g.sh, g.dir / "missing.csv"), -1);
    ASSERT_FALSE(g.sh.messages.empty());
    EXPECT_NE(g.sh.messages.back().text.find("missing.csv"), std::string::npos);
    EXPECT_EQ(g.archiveBytes(), before);
    EXPECT_EQ(g.ws.DrawCount(), 6);
}

TEST(Workspace, ExportLeavesOutWhatTheImportWouldRefuse)
{
    Fixture f;
    game::TDraw d = archive::SyntheticDraws(1, 3)[0];
    d.SetDateText("ночной тираж");
    f.ws.AddDraw(f.sh, d);
    f.sh.messages.clear();
    const auto csv = f.dir / "draws.csv";
    ASSERT_TRUE(f.ws.ExportDraws(f.sh, csv));
    EXPECT_EQ(test::ReadBytes(csv), "");
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text, "Не выгружено тиражей с некорректными данными: 1.");
}
