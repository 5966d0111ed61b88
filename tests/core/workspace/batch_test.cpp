#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/workspace/batch.h"
#include "core/workspace/cmdline.h"
#include "core/workspace/workspace.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

struct Fixture {
    test::TempDir dir;
    test::ScriptedShell sh;
    workspace::Workspace ws{dir.path()};
    stats::TStatList list;   // what the batch run builds, to compute the expected files
    stats::TPrefetchCache cache{dir.path()};

    Fixture()
    {
        archive::WriteArchiveFile(dir / archive::ArchiveFileName, archive::SyntheticDraws(40, 11, 1));
        list.BuildMethodList();
    }
    std::filesystem::path folder() const { return dir / stats::TPrefetchCache::FolderName; }
    std::string expected(int method) const
    {
        return stats::PrefetchBytes(stats::TPrefetchCache::ComputeDistribution(list, method));
    }
    std::set<std::string> files() const
    {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder())) names.insert(e.path().filename().string());
        return names;
    }
    std::set<std::string> prefetchFiles() const
    {
        std::set<std::string> names;
        for (int i = 0; i < list.MethodCount(); ++i)
            if (list.HasPrefetch(i)) names.insert(cache.PrefetchPath(list.Method(i).MethodCode()).filename().string());
        return names;
    }
};

workspace::CommandLine Words(const std::vector<std::string>& words)
{
    return workspace::ParseCommandLine(words);
}

const char* const NumberCodes[] = {"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV",
                                   "POS1", "POS2", "POS3", "POS4", "POS5", "POS6", "POS7", "POS8"};

} // namespace

TEST(Batch, FullRecreateWritesEveryPrefetchFile)
{
    Fixture f;
    EXPECT_TRUE(workspace::IsBatchRun(Words({"fullrecreate"})));
    EXPECT_EQ(workspace::RunBatch(f.ws, f.sh, Words({"fullrecreate"})), 0);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.ws.DrawCount(), 40);
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_FALSE(f.sh.ProgressIsOpen());

    const std::set<std::string> names = f.files();
    EXPECT_EQ(names, f.prefetchFiles());
    for (const char* code : NumberCodes) EXPECT_TRUE(names.count("Kvanta_8x20_" + std::string(code) + ".dfc")) << code;
    EXPECT_FALSE(names.count("Kvanta_8x20_POE1.dfc"));
    for (int i = 0; i < f.list.MethodCount(); ++i) {
        if (!f.list.HasPrefetch(i)) continue;
        EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath(f.list.Method(i).MethodCode())), f.expected(i))
            << f.list.Method(i).MethodCode();
    }

    // A second run rewrites the files that exist.
    test::WriteBytes(f.cache.PrefetchPath("NUMS"), "stale");
    EXPECT_EQ(workspace::RunBatch(f.ws, f.sh, Words({"--FullRecreate", "fullrefresh"})), 0);
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("NUMS")), f.expected(f.list.FindMethod("NUMS")));
}

TEST(Batch, FullRefreshWritesOnlyTheMissingFiles)
{
    Fixture f;
    std::filesystem::create_directories(f.folder());
    // A valid file of other content stays; an empty one counts as missing.
    std::string kept(12, '\0');
    kept[0] = 1;
    kept[8] = 5;
    kept += std::string("\x05\0\0\0\x05\0\0\0\0\0\0\0", 12);
    test::WriteBytes(f.cache.PrefetchPath("NUMS"), kept);
    test::WriteBytes(f.cache.PrefetchPath("EVEN"), "");

    EXPECT_EQ(workspace::RunBatch(f.ws, f.sh, Words({"/fullrefresh"})), 0);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.files(), f.prefetchFiles());
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("NUMS")), kept);
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("EVEN")), f.expected(f.list.FindMethod("EVEN")));
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("POS8")), f.expected(f.list.FindMethod("POS8")));
}

TEST(Batch, LoadOnlyWritesNoPrefetchFile)
{
    Fixture f;
    EXPECT_EQ(workspace::RunBatch(f.ws, f.sh, Words({"loadonly"})), 0);
    EXPECT_FALSE(std::filesystem::exists(f.folder()));
    EXPECT_FALSE(workspace::IsBatchRun(Words({"restart", "no-language"})));
}

TEST(Batch, LockedDataDirectory)
{
    Fixture f;
    workspace::Workspace other(f.dir.path());
    ASSERT_TRUE(other.OpenStakesFile());
    EXPECT_EQ(workspace::RunBatch(f.ws, f.sh, Words({"fullrecreate"})), 1);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(f.sh.messages[0].text,
              "Невозможно получить монопольный доступ к файлам данных!\n\n"
              "Возможные причины данной ошибки: \n\n"
              "1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная работа "
              "нескольких копий программы возможна только из разных каталогов.\n\n"
              "2) Для программы нет прав на запись в том каталоге, где она расположена. Например: в Windows 7 и "
              "выше по умолчанию запрещена запись в c:\\Program Files.\n\n"
              "Программа будет закрыта!");
    EXPECT_FALSE(std::filesystem::exists(f.folder()));
    EXPECT_EQ(f.ws.DrawCount(), 0) << "nothing is loaded";
    other.CloseStakesFile();

    // Once the other instance is gone a run gets through.
    f.sh.messages.clear();
    EXPECT_EQ(workspace::RunBatch(f.ws, f.sh, Words({"loadonly"})), 0);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.ws.DrawCount(), 40);
}
