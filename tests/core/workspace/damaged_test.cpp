#include <gtest/gtest.h>

#include <filesystem>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/workspace/workspace.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

std::filesystem::path Broken(const char* name)
{
    return std::filesystem::path(KV_TEST_DATA) / "broken" / name;
}

struct Fixture {
    test::TempDir dir;
    test::ScriptedShell sh;
    workspace::Workspace ws{dir.path()};
    std::filesystem::path archive = dir / archive::ArchiveFileName;
    explicit Fixture(const char* fixture = nullptr)
    {
        if (fixture) test::WriteBytes(archive, test::ReadBytes(Broken(fixture)));
    }
};

} // namespace

TEST(DamagedArchive, ValidRecordsLoadTheFileIsKeptAsideAndOneMessageSaysWhy)
{
    Fixture f("archive-damaged.ldr");
    f.ws.LoadArchive(f.sh);
    ASSERT_EQ(f.ws.DrawCount(), 2);
    EXPECT_EQ(f.ws.Draws()[0].DrawNo, 1);
    EXPECT_EQ(f.ws.Draws()[1].DrawNo, 8);
    EXPECT_EQ(test::ReadBytes(f.dir / "Kvanta_8x20.ldr.bak"), test::ReadBytes(Broken("archive-damaged.ldr")));
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Warning);
    EXPECT_EQ(f.sh.messages[0].text,
              "Файл тиражей \"" + f.archive.string() + "\" поврежден.\n"
              "Не прочитано записей: 6 (первая: числа вне диапазона 1..20).\n"
              "Файл заканчивается неполной записью (1 байт); она не прочитана.\n\n"
              "Копия файла сохранена как \"Kvanta_8x20.ldr.bak\".");
    // A draw numbered 2147483647 has no next number: it is refused the same way.
    Fixture g("archive-last-number.ldr");
    g.ws.LoadArchive(g.sh);
    EXPECT_EQ(g.ws.DrawCount(), 0);
    EXPECT_EQ(g.ws.NextDrawNo(), 1);
}

TEST(DamagedArchive, FailedCopyKeepsTheFileReadOnlyAndSaysSo)
{
    Fixture f("archive-damaged.ldr");
    std::filesystem::create_directory(f.dir / "Kvanta_8x20.ldr.bak");
    f.ws.LoadArchive(f.sh);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_NE(f.sh.messages[0].text.find("Копия файла не сохранена."), std::string::npos) << f.sh.messages[0].text;
    EXPECT_EQ(f.sh.messages[0].text.find("Копия файла сохранена как"), std::string::npos);
    EXPECT_FALSE(f.ws.SaveArchive(f.sh));
    ASSERT_EQ(f.sh.messages.size(), 2u);
    EXPECT_EQ(f.sh.messages[1].text,
              "Ошибка записи в файл тиражей!\n\nФайл \"Kvanta_8x20.ldr\" не будет перезаписан до завершения работы "
              "программы, чтобы не потерять непрочитанные записи.");
    EXPECT_EQ(test::ReadBytes(f.archive), test::ReadBytes(Broken("archive-damaged.ldr")));
}

TEST(DrawsImport, NothingValidLeavesTheArchiveFileUntouchedAndRefusalsAreReported)
{
    Fixture f;
    archive::WriteArchiveFile(f.archive, archive::SyntheticDraws(3, 1));
    f.ws.LoadArchive(f.sh);
    const std::string before = test::ReadBytes(f.archive);
    const auto mtime = std::filesystem::last_write_time(f.archive);
    f.sh.messages.clear();
    EXPECT_EQ(f.ws.ImportDraws(f.sh, Broken("draws-garbage.csv")), 0);
    EXPECT_EQ(test::ReadBytes(f.archive), before);
    EXPECT_EQ(std::filesystem::last_write_time(f.archive), mtime);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text.rfind("В файле \"" + Broken("draws-garbage.csv").string() +
                                              "\" нет тиражей для импорта.\n\nОтклонено строк: ",
                                          0),
              0u)
        << f.sh.messages[0].text;

    f.sh.messages.clear();
    EXPECT_EQ(f.ws.ImportDraws(f.sh, Broken("draws-invalid.csv")), 1);
    EXPECT_EQ(f.ws.Draws().back().DrawNo, 2005);
    EXPECT_EQ(archive::ParseArchive(test::ReadBytes(f.archive)).draws, f.ws.Draws());
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text.rfind("Импортировано тиражей: 1.\nОтклонено строк: 11.\nстрока 1: ", 0), 0u)
        << f.sh.messages[0].text;
}

TEST(DrawsImport, ReadsBackExactlyWhatTheExportWrote)
{
    // Found by fuzzing: CP1251 bytes that happen to form UTF-8 ("п»ї" is EF BB BF) must not be
    // taken for UTF-8 on the way back.
    Fixture f;
    game::TDraw d = archive::SyntheticDraws(1, 3)[0];
    d.SetDateText("12.03.2021п»ї 1");
    f.ws.AddDraw(f.sh, d);
    const auto csv = f.dir / "draws.csv";
    ASSERT_TRUE(f.ws.ExportDraws(f.sh, csv));
    Fixture g;
    EXPECT_EQ(g.ws.ImportDraws(g.sh, csv), 1);
    EXPECT_EQ(g.ws.Draws(), f.ws.Draws());
}
