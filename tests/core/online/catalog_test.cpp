#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/util/error.h"
#include "core/online/catalog.h"
#include "core/game/texts.h"
#include "core/stakes/prizetable.h"
#include "core/stakes/stakesfile.h"
#include "core/online/onlinesystems.h"
#include "core/workspace/systemstakes.h"
#include "core/workspace/workspace.h"
#include "tests/support/support.h"

using namespace kv;
using online::TCatalogClient;

namespace {

// A catalogue that answers every request with `answer` and remembers what it was sent.
struct FakeCatalog {
    std::string answer;
    std::string path;
    util::TFormFields fields;
    int posts = 0;
    TCatalogClient client()
    {
        return TCatalogClient(
            [this](const std::string& p, const util::TFormFields& f) {
                ++posts;
                path = p;
                fields = f;
                return answer;
            },
            {"Анна", "Anna@Example.org", "secret", 1049}, {"Kvanta_8x20", "0.1.0"});
    }
};

std::string failure(const std::function<void()>& f)
{
    try {
        f();
        return "no failure";
    } catch (const Error& e) {
        return e.what();
    }
}

const std::string GoodRow = "<row><id>5</id><key_cl_name>Борис</key_cl_name><key_cl_mail>anna@example.ORG</key_cl_mail>"
                            "<key_cl_lcid>x</key_cl_lcid><app_name>Other</app_name><app_ver>2</app_ver>"
                            "<app_guid>OTHER</app_guid><uniapps>0</uniapps><publics>1</publics>"
                            "<created>2026-12-02 08:26:40</created><rating_avg>3.500</rating_avg><rating_cnt>2</rating_cnt>"
                            "<rating_you>-1</rating_you><downloads>4</downloads><last_download></last_download>"
                            "<title>0KLQtdGB0YI=</title><descr></descr></row>";

} // namespace

TEST(CatalogClient, RequestsCarryTheirFieldsInOrderWithTextsEscaped)
{
    FakeCatalog fake;
    fake.answer = "<result><row><id_scripts>9</id_scripts></row></result>";
    online::tScriptData d;
    d.AuthorName = "Анна \"А\"";
    d.Title = "Что?";
    d.Descr = "a\r\nb";
    EXPECT_EQ(fake.client().PutScript(d, "L1\r\nL2"), 9);
    EXPECT_EQ(fake.path, "scripts/scr_putscript.php");
    EXPECT_EQ(fake.fields, (util::TFormFields{{"del_mode", "0"}, {"scr_id", "-1"}, {"scr_uniapps", "0"},
                                              {"scr_publics", "1"}, {"scr_title", "Что\\?"}, {"scr_descr", "a\\r\\nb"},
                                              {"scr_script", "L1\\r\\nL2"}, {"appid", "Kvanta_8x20"}, {"appver", "0.1.0"},
                                              {"cl_name", "Анна \\\"А\\\""}, {"cl_mail", "Anna@Example.org"},
                                              {"cl_lcid", "1049"}, {"cl_key", "secret"}}));
    online::tSystemData s;
    s.Id = 3;
    s.Nums = 12;
    s.Olap = 5;
    s.CSize = 1;
    s.Combs = "01 02 03 04 05 06 07 12";
    fake.answer = "<result><row><id_systems>0</id_systems></row></result>";
    EXPECT_EQ(fake.client().PutSystem(s, true), 0);
    EXPECT_EQ(util::FormValue(fake.fields, "clist"), "");
    EXPECT_EQ(fake.fields.back(), (std::pair<std::string, std::string>{"cl_key", "secret"}));
    fake.client().LoadCatalogue(0);
    EXPECT_EQ(fake.fields.front(), (std::pair<std::string, std::string>{"fltid", "-1"}));
}

TEST(CatalogClient, ListRowsAreReadAndJudgedForThisUser)
{
    FakeCatalog fake;
    fake.answer = "<result>" + GoodRow + "</result>";
    const auto list = fake.client().LoadCatalogue(2);
    ASSERT_EQ(list.size(), 1u);
    const online::tScriptInfo& e = list[0];
    EXPECT_EQ(e.Id, 5);
    EXPECT_EQ(e.Lcid, 1049);  // not a number: the user's language
    EXPECT_EQ(e.Title, "Тест");
    EXPECT_EQ(e.Created, 1796200000);
    EXPECT_DOUBLE_EQ(e.RatingAvg, 3.5);
    EXPECT_EQ(e.MyRating, -1);
    EXPECT_TRUE(e.Mine);
    EXPECT_FALSE(e.Applicable);  // another program, not universal
    EXPECT_FALSE(e.Editable);
}

TEST(CatalogClient, BrokenAnswersFailWithTheirReason)
{
    FakeCatalog fake;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<html>Not found</html>", "Ответ сервера не содержит результата"},
        {"<result><row><error>Нет доступа</error></row></result>", "Нет доступа"},
        {"<result>" + std::string(GoodRow).replace(GoodRow.find("0KLQtdGB0YI="), 12, "***") + "</result>",
         "Повреждённое поле <title> в ответе сервера"},
        {"<result>" + std::string(GoodRow).replace(GoodRow.find("2026-12-02"), 10, "02.12.2026") + "</result>",
         "Неверная дата в ответе сервера: \"02.12.2026 08:26:40\""},
    };
    for (const auto& [answer, message] : cases) {
        fake.answer = answer;
        EXPECT_EQ(failure([&] { fake.client().LoadCatalogue(2); }), message) << answer;
    }
    fake.answer = "<result><row><res_code>-3</res_code></row></result>";
    EXPECT_EQ(failure([&] { fake.client().RateScript(5, 4, ""); }), "Код возврата: -3");
    fake.answer = "<result><row><other>x</other></row><row><script>VGV4dA==</script></row></result>";
    EXPECT_EQ(fake.client().DownloadScript(5), "Text");
    fake.answer = "<result><row><other>x</other></row></result>";
    EXPECT_EQ(fake.client().DownloadScript(5), "");
}

TEST(CatalogClient, ASystemListThatNeverEndsFailsAfterItsPageOrByteBound)
{
    // Every page announces another; the second case's pages are long enough to reach the byte
    // bound first.
    const auto page = [](std::size_t padding) {
        return "<result><row><id>1</id><title>" + std::string(padding, 'A') +
               "</title><created>2026-12-02 08:26:40</created><last_download></last_download>"
               "<next_offset>1</next_offset></row></result>";
    };
    const std::pair<std::size_t, int> cases[] = {{0, TCatalogClient::MaxSystemListPages},
                                                 {TCatalogClient::MaxSystemListBytes / 8, 8}};
    for (const auto& [padding, pages] : cases) {
        FakeCatalog fake;
        fake.answer = page(padding);
        EXPECT_EQ(failure([&] { fake.client().LoadSystemList(); }), "Сервер прислал слишком длинный список систем");
        EXPECT_EQ(fake.posts, pages) << padding;
    }
}

TEST(OnlineSystems, ListsAreNormalisedAndValidatedInOrder)
{
    const auto n = online::NormaliseSystemList("3*4*5*6*7*8*9*12\n1 2 3\r\n\r\n 5,6,7,8,9,10,11,4 \r\n");
    EXPECT_EQ(n.Text, "03 04 05 06 07 08 09 12\r\n05 06 07 08 09 10 11 04");
    EXPECT_EQ(n.Nums, 10);
    EXPECT_EQ(n.Count, 2);
    EXPECT_EQ(online::NormaliseSystemList("x").Nums, 0);

    online::tSystemData d;
    using F = online::TSystemField;
    const auto field = [&] {
        const auto p = online::ValidateSystem(d);
        return p ? static_cast<int>(p->Field) : -1;
    };
    EXPECT_EQ(field(), static_cast<int>(F::Title));
    d.Title = "T";
    d.Nums = 21;
    EXPECT_EQ(field(), static_cast<int>(F::Nums));
    EXPECT_EQ(online::ValidateSystem(d)->Message, "Указано недопустмое количество используемых чисел!");
    d.Nums = 9;
    d.Olap = 8;
    EXPECT_EQ(field(), static_cast<int>(F::Olap));
    d.Olap = 0;
    EXPECT_EQ(field(), static_cast<int>(F::Author));
    d.AuthorName = "A";
    EXPECT_EQ(field(), static_cast<int>(F::Descr));
    d.Descr = "D";
    EXPECT_EQ(field(), static_cast<int>(F::Combs));
    d.Combs = "01 02 03 04 05 06 07 08";
    EXPECT_EQ(field(), -1);
}

TEST(OnlineSystems, ADownloadedListIsKeptWholeDatedAndAloneForItsN)
{
    test::TempDir dir;
    const auto folder = dir / "Systems";
    online::tSystemInfo info;
    info.Id = 7;
    info.Nums = 12;
    info.Olap = 5;
    info.CSize = 40;
    info.Created = 1796200000;
    std::string list;
    for (int i = 0; i < 41; ++i) list += "01 02 03 04 05 06 07 12\r\n";
    EXPECT_EQ(failure([&] { online::SaveDownloadedSystem(folder, info, list); }),
              "Количество скачанных комбинаций ( 41 ) отличается от ожидаемого значения ( 40 )");
    EXPECT_FALSE(std::filesystem::exists(folder));

    list.erase(list.size() - 25);
    const auto first = online::SaveDownloadedSystem(folder, info, list);
    EXPECT_EQ(first.filename(), "8-12-5_0007.dat");
    EXPECT_EQ(test::ReadBytes(first).size(), 40u * 25u);
    EXPECT_TRUE(online::LocalSystemCurrent(folder, info));
    test::WriteBytes(folder / "8-09-5_0001.dat", "x");

    online::tSystemInfo second = info;
    second.Id = 8;
    second.Olap = 6;
    second.CSize = 1;
    second.Created = 1796200100;
    online::SaveDownloadedSystem(folder, second, "1 2 3 4 5 6 7 8");
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_FALSE(online::LocalSystemCurrent(folder, info));
    EXPECT_EQ(test::ReadBytes(folder / "8-12-6_0008.dat"), "1 2 3 4 5 6 7 8\r\n");
    EXPECT_TRUE(std::filesystem::exists(folder / "8-09-5_0001.dat"));
}

TEST(OnlineIdentity, TheKeyIsMadeOnceAndKept)
{
    test::TempDir dir;
    const auto ini = dir / "Kvanta_8x20.ini";
    const online::TOnlineIdentity first = online::LoadOnlineIdentity(ini);
    EXPECT_EQ(first.ClientKey.size(), 32u);
    EXPECT_FALSE(first.Complete());
    online::TOnlineIdentity named = first;
    named.AuthorName = "Анна";
    named.AuthorMail = "anna@example.org";
    online::SaveOnlineIdentity(ini, named);
    const online::TOnlineIdentity again = online::LoadOnlineIdentity(ini);
    EXPECT_EQ(again.ClientKey, first.ClientKey);
    EXPECT_EQ(again.AuthorName, "Анна");
    EXPECT_TRUE(again.Complete());
    EXPECT_TRUE(online::IsNewerVersion("0.2.10", "0.2.9"));
    EXPECT_FALSE(online::IsNewerVersion("0.2", "0.2.0"));
    EXPECT_FALSE(online::IsNewerVersion("0.1.0", "0.1.1"));
}

TEST(CatalogClient, UpdateCheckNamesTheVersionWhatChangedAndWhereToGetIt)
{
    FakeCatalog fake;
    fake.answer = "<result><row><app_ver>0.3.1</app_ver><url>https://example.org/kvanta</url>"
                  "<notes>Быстрее тест</notes></row></result>";
    const online::TReleaseInfo latest = fake.client().LatestRelease();
    EXPECT_EQ(fake.path, "scripts/app_version.php");
    EXPECT_EQ(latest.Version, "0.3.1");
    EXPECT_EQ(online::UpdateCheckText(latest, "0.2.9"),
              "Доступна новая версия программы: 0.3.1 (установлена 0.2.9).\n\nЧто изменилось: Быстрее тест\n\n"
              "Адрес для загрузки: https://example.org/kvanta\n\nПрограмма не заменяет свои файлы сама: установите "
              "новую версию менеджером пакетов или с адреса для загрузки.");
    EXPECT_EQ(online::UpdateStatusText(latest, "0.2.9"),
              "Доступна новая версия программы: 0.3.1 (https://example.org/kvanta)");
    // Not newer, or nothing announced: nothing to install, and no status line.
    for (const std::string& current : {std::string("0.3.1"), std::string("1.0")}) {
        EXPECT_EQ(online::UpdateCheckText(latest, current), "Установлена последняя версия программы (" + current + ").");
        EXPECT_EQ(online::UpdateStatusText(latest, current), "");
    }
    fake.answer = "<result></result>";
    EXPECT_EQ(online::UpdateStatusText(fake.client().LatestRelease(), "0.2.9"), "");
    EXPECT_EQ(online::UpdateStatusText({"0.4", "", ""}, "0.2.9"), "Доступна новая версия программы: 0.4");
}

TEST(SystemStakes, WholeAndFilteredPlayStakeSortedWithOriginFourAfterASeparator)
{
    test::TempDir dir;
    test::ScriptedShell shell;
    workspace::Workspace ws{dir.path()};
    ASSERT_TRUE(ws.OpenStakesFile());
    ws.Combs().Append({1, 2, 3, 4, 5, 6, 7, 8});
    ws.Combs().Append({2, 4, 5, 7, 8, 11, 12, 15});
    scenario::TSystemCombs system;
    system.Loaded = true;
    system.File = dir / "Systems" / "8-13-5_0001.dat";
    system.Combs = {{2, 5, 7, 8, 11, 12, 15, 4}, {1, 2, 3, 4, 5, 6, 7, 9}, {8, 7, 6, 5, 4, 3, 2, 1}};
    EXPECT_EQ(workspace::SystemStakeComment(true, system, 13), "Системная игра для 13 чисел [вся система]: 8-13-5_0001");
    EXPECT_EQ(workspace::SystemStakeComment(false, system, 13), "Системная игра для 13 чисел [комбинации]: 8-13-5_0001");
    const stakes::TPrizeTable prizes;
    ASSERT_TRUE(workspace::AddSystemStakes(ws, shell, system, false, 501, 1, "c", prizes, false, {}));
    auto& file = ws.StakesFile();
    ASSERT_EQ(file.RecordCount(), 2);
    EXPECT_EQ(game::NumSetToText(file.ReadStake(0).Stake, " "), "2 4 5 7 8 11 12 15");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(file.ReadStake(i).Origin, stakes::OriginSystem);
        EXPECT_EQ(file.ReadStake(i).SampleSize, 2);
    }
    ASSERT_TRUE(workspace::AddSystemStakes(ws, shell, system, true, 501, 1, "c", prizes, false, {}));
    ASSERT_EQ(file.RecordCount(), 6);  // a separator, then the three of the system
    EXPECT_FALSE(file.ReadStake(2).IsStake());
    EXPECT_EQ(file.ReadStake(5).SampleSize, 3);
}
