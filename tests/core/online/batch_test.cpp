#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/online/batch.h"
#include "core/workspace/cmdline.h"
#include "core/online/online.h"
#include "core/workspace/workspace.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "tests/support/drawpages.h"
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
        test::WriteBytes(dir / "Kvanta_8x20.ini", "[ONLINE]\r\nOperatorUrl=http://site.local/\r\n");
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

// A site that has nothing after the archive's newest draw.
online::TWebAccess QuietSite()
{
    online::TWebAccess web;
    web.GetPage = [](const std::string&, const workspace::TProxyServer&, bool) { return test::OperatorPage({}); };
    web.GetText = [](const std::string&) { return std::string(); };
    return web;
}

const char* const NothingAdded = "Загрузка архива тиражей завершена, добавлено тиражей: 0";

const char* const NumberCodes[] = {"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV",
                                   "POS1", "POS2", "POS3", "POS4", "POS5", "POS6", "POS7", "POS8"};

} // namespace

TEST(Batch, FullRecreateWritesEveryPrefetchFile)
{
    Fixture f;
    EXPECT_TRUE(workspace::IsBatchRun(Words({"fullrecreate"})));
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"fullrecreate"})), 0);
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
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"--FullRecreate", "fullrefresh"})), 0);
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

    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"/fullrefresh"})), 0);
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.files(), f.prefetchFiles());
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("NUMS")), kept);
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("EVEN")), f.expected(f.list.FindMethod("EVEN")));
    EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("POS8")), f.expected(f.list.FindMethod("POS8")));
}

TEST(Batch, LoadOnlyWritesNoPrefetchFile)
{
    Fixture f;
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"loadonly"}), QuietSite()), 0);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text, NothingAdded);
    EXPECT_FALSE(std::filesystem::exists(f.folder()));
    EXPECT_FALSE(workspace::IsBatchRun(Words({"restart", "no-language"})));
}

TEST(Batch, LockedDataDirectory)
{
    Fixture f;
    workspace::Workspace other(f.dir.path());
    ASSERT_TRUE(other.OpenStakesFile());
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"fullrecreate"})), 1);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(f.sh.messages[0].text,
              "Невозможно получить монопольный доступ к файлам данных!\n\n"
              "Возможные причины данной ошибки: \n\n"
              "1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная работа "
              "нескольких копий программы возможна только из разных каталогов.\n\n"
              "2) Для программы нет прав на запись в папке данных " +
                  f.dir.path().string() +
                  ". Другую папку данных можно указать параметром --data-dir.\n\n"
                  "Программа будет закрыта!");
    EXPECT_FALSE(std::filesystem::exists(f.folder()));
    EXPECT_EQ(f.ws.DrawCount(), 0) << "nothing is loaded";
    other.CloseStakesFile();

    // Once the other instance is gone a run gets through.
    f.sh.messages.clear();
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"loadonly"}), QuietSite()), 0);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text, NothingAdded);
    EXPECT_EQ(f.ws.DrawCount(), 40);
}

TEST(Batch, LoadOnlyDownloadsChecksAndNeverAsks)
{
    Fixture f;   // draws 1..40 on disk
    const game::TDrawsArray site = archive::SyntheticDraws(45, 11, 1);
    std::vector<std::string> asked;
    online::TWebAccess web;
    web.GetPage = [&](const std::string& url, const workspace::TProxyServer&, bool) {
        asked.push_back(url);
        return util::Utf8ToCp1251(test::OperatorPageFor(site, 41, 90));
    };
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"loadonly"}), web), 0);
    EXPECT_EQ(asked, (std::vector<std::string>{"http://site.local/zarvik/archive?firstDraw=00041&lastDraw=00090&mode=draw"}));
    EXPECT_EQ(archive::ReadArchiveFile(f.dir / archive::ArchiveFileName).draws, site);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Information);
    EXPECT_EQ(f.sh.messages[0].text,
              "Загрузка архива тиражей завершена, добавлено тиражей: 5; последний тираж: 45 от 14.02.2015 10:00");

    // A failing site: no question, the reason reported, a non-zero code, the archive kept.
    f.sh.messages.clear();
    web.GetPage = [](const std::string&, const workspace::TProxyServer&, bool) -> std::string {
        throw Error("The requested URL returned error: 500");
    };
    workspace::Workspace again(f.dir.path());
    EXPECT_EQ(online::RunBatch(again, f.sh, Words({"loadonly"}), web), 1);
    EXPECT_TRUE(f.sh.questions.empty());
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text,
              "Ошибка загрузки архива тиражей с сайта (добавлено тиражей: 0)!\n\nThe requested URL returned error: 500");
    EXPECT_EQ(archive::ReadArchiveFile(f.dir / archive::ArchiveFileName).draws, site);

    // Skipped draws get a line each, and the run still succeeds.
    f.sh.messages.clear();
    game::TDrawsArray more = archive::SyntheticDraws(48, 11, 1);
    more[45].Nums[1] = more[45].Nums[0];
    more[46].Extra = 9;
    web.GetPage = [&](const std::string&, const workspace::TProxyServer&, bool) {
        return util::Utf8ToCp1251(test::OperatorPageFor(more, 46, 95));
    };
    workspace::Workspace third(f.dir.path());
    EXPECT_EQ(online::RunBatch(third, f.sh, Words({"loadonly"}), web), 0);
    ASSERT_EQ(f.sh.messages.size(), 3u);
    EXPECT_EQ(f.sh.messages[0].text, "Пропущено: числа не различны или вне 1..20: 1");
    EXPECT_EQ(f.sh.messages[1].text, "Пропущено: дополнительное число вне 1..4: 1");
    EXPECT_EQ(f.sh.messages[2].text,
              "Загрузка архива тиражей завершена, добавлено тиражей: 1; последний тираж: 48 от 17.02.2015 10:00");

    // Without network access in the build the word fails rather than pretend.
    f.sh.messages.clear();
    workspace::Workspace fourth(f.dir.path());
    EXPECT_EQ(online::RunBatch(fourth, f.sh, Words({"loadonly"})), 1);
}

TEST(Batch, LoadOnlyWithoutOperatorUrlSaysSoAndFails)
{
    Fixture f;
    test::WriteBytes(f.dir / "Kvanta_8x20.ini", "[ONLINE]\r\nProxyListUrl=http://list.local/\r\n");
    bool fetched = false;
    online::TWebAccess web = QuietSite();
    web.GetPage = [&](const std::string&, const workspace::TProxyServer&, bool) {
        fetched = true;
        return std::string();
    };
    EXPECT_EQ(online::RunBatch(f.ws, f.sh, Words({"loadonly"}), web), 1);
    EXPECT_FALSE(fetched);
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(f.sh.messages[0].text, online::NoOperatorUrlText);
}
