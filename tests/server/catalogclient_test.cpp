// The program's catalogue client through its real web request layer against a live server.
#include <gtest/gtest.h>

#include <string>

#include "core/util/error.h"
#include "core/online/catalog.h"
#include "core/online/onlinesystems.h"
#include "net/catalogaccess.h"
#include "tests/support/localcatalog.h"
#include "tests/support/support.h"

namespace kv {
namespace {

using online::TCatalogClient;

class CatalogClientTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::LocalCatalog cat{dir / "catalog.db"};
    TCatalogClient anna{net::MakeCatalogPost(cat.Url() + "/"), {"Анна", "anna@example.org", "k-anna", 1049}};
    TCatalogClient boris{net::MakeCatalogPost(cat.Url()), {"Борис", "boris@example.org", "k-boris", 1049}};
    TCatalogClient thief{net::MakeCatalogPost(cat.Url()), {"Вор", "ANNA@example.org", "k-thief", 1049}};

    static online::tScriptData data(const std::string& title, int32_t id = -1)
    {
        online::tScriptData d;
        d.Id = id;
        d.AuthorName = "Анна";
        d.Title = title;
        d.Descr = "Строка 1\r\nСтрока \"2\"?";
        return d;
    }
};

TEST_F(CatalogClientTest, PublishRateReadAndDownloadAScenario)
{
    const std::string script = "FLT NUMS 100 'a'\r\nSTK 1 \\ 2";
    ASSERT_TRUE(anna.CheckTitle(-1, "Мой прогноз"));
    const int32_t id = anna.PutScript(data("Мой прогноз"), script);
    EXPECT_FALSE(boris.CheckTitle(-1, "МОЙ ПРОГНОЗ"));
    EXPECT_TRUE(anna.CheckTitle(id, "МОЙ ПРОГНОЗ"));
    const int32_t other = boris.PutScript(data("Чужой"), "STK 2");

    boris.RateScript(id, 4, "Неплохо, но \"кавычки\"?");
    anna.RateScript(other, 5, "");
    const auto list = anna.LoadCatalogue(online::DefaultCatalogFilter);
    ASSERT_EQ(list.size(), 2u);
    const auto& mine = list[0].Id == id ? list[0] : list[1];
    EXPECT_TRUE(mine.Mine && mine.Editable && mine.Applicable);
    EXPECT_EQ(mine.Descr, "Строка 1\r\nСтрока \"2\"?");
    EXPECT_EQ(mine.RatingCount, 1);
    const auto rates = anna.LoadRates(id);
    ASSERT_EQ(rates.size(), 1u);
    EXPECT_EQ(rates[0].AuthorName, "Борис");
    EXPECT_EQ(rates[0].Notes, "Неплохо, но \"кавычки\"?");
    EXPECT_EQ(rates[0].Created, test::LocalCatalog::StartTime);

    EXPECT_EQ(boris.DownloadScript(id), script);
    EXPECT_EQ(anna.LoadCatalogue(3)[0].Downloads, 1);

    // Another user naming Anna's e-mail changes nothing of hers.
    const auto failure = [](const std::function<void()>& f) {
        try {
            f();
            return std::string();
        } catch (const Error& e) {
            return std::string(e.what());
        }
    };
    EXPECT_NE(failure([&] { thief.PutScript(data("Захвачено", id), "X"); }), "");
    EXPECT_NE(failure([&] { thief.DeleteScript(data("", id)); }), "");
    EXPECT_EQ(boris.DownloadScript(id), script);
    EXPECT_EQ(anna.DeleteScript(data("", id)), 0);
    EXPECT_EQ(anna.LoadCatalogue(3).size(), 0u);
}

TEST_F(CatalogClientTest, ASecondTwelveNumberSystemReplacesTheFirstOnesFile)
{
    online::tSystemData s;
    s.Title = "Система 12 [A]";
    s.AuthorName = "Анна";
    s.AuthorMail = "anna@example.org";
    s.Descr = "Покрытие";
    s.Nums = 12;
    s.Olap = 5;
    s.Combs = "01 02 03 04 05 06 07 08\r\n05 06 07 08 09 10 11 12";
    s.CSize = 2;
    s.Id = anna.PutSystem(s, false);
    s.Title = "Система 12 [B]";
    s.Combs = "01 02 03 04 09 10 11 12";
    s.CSize = 1;
    cat.Now += 60;
    s.Id = -1;
    anna.PutSystem(s, false);

    const auto folder = dir / "Systems";
    const auto systems = boris.LoadSystemList();
    ASSERT_EQ(systems.size(), 2u);
    EXPECT_EQ(systems[1].Title, "Система 12 [B]");
    const auto first = online::SaveDownloadedSystem(folder, systems[0], boris.DownloadSystemCombs(systems[0].Id));
    EXPECT_EQ(test::ReadBytes(first), "01 02 03 04 05 06 07 08\r\n05 06 07 08 09 10 11 12\r\n");
    online::SaveDownloadedSystem(folder, systems[1], boris.DownloadSystemCombs(systems[1].Id));
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(online::LocalSystemCurrent(folder, systems[1]));
    EXPECT_EQ(boris.LoadSystemList()[1].Downloads, 1);
    online::tSystemData gone;
    static_cast<online::tSystemInfo&>(gone) = systems[1];
    EXPECT_THROW(thief.PutSystem(gone, true), Error);
    EXPECT_EQ(anna.PutSystem(gone, true), 0);
    EXPECT_EQ(boris.LoadSystemList().size(), 1u);
}

} // namespace
} // namespace kv
