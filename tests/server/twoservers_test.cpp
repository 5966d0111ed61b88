// Two kvanta-catalog processes over one database, hit at the same moment: what the database
// must decide (a title, an e-mail's key, a user's one rating, a counter) is decided once.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/util/catalogwire.h"
#include "core/util/error.h"
#include "tests/support/catalogprocess.h"
#include "tests/support/testdatabase.h"

namespace kv {
namespace {

using util::TFormFields;

class TwoServersTest : public ::testing::TestWithParam<const char*> {
protected:
    test::TempDir dir;
    test::TestDatabase db{GetParam(), dir};
    std::unique_ptr<test::CatalogProcess> servers[2];

    void SetUp() override
    {
        KV_REQUIRE_DATABASE(db);
        for (int i = 0; i < 2; ++i)
            servers[i] = std::make_unique<test::CatalogProcess>(KV_CATALOG_PROGRAM, db.Location(),
                                                                dir / ("server" + std::to_string(i) + ".log"));
    }
    // Posts through server i % 2: the body's rows, or the "<error>" text as the only element.
    std::vector<std::string> post(int i, const std::string& path, TFormFields f, const std::string& mail = "",
                                  const std::string& key = "")
    {
        if (!mail.empty())
            for (auto p : TFormFields{{"appid", "Kvanta_8x20"}, {"appver", "0.1.0"}, {"cl_name", "Игрок"},
                                      {"cl_mail", mail},         {"cl_lcid", "1049"}, {"cl_key", key}})
                f.push_back(p);
        try {
            return util::ReadTaggedRows(servers[i % 2]->Post(path, f));
        } catch (const Error& e) {
            return {std::string("error: ") + e.what()};
        }
    }
    std::vector<std::string> publish(int i, const std::string& title, const std::string& mail, const std::string& key)
    {
        return post(i, "/scripts/scr_putscript.php",
                    {{"del_mode", "0"}, {"scr_id", "-1"}, {"scr_uniapps", "0"}, {"scr_publics", "1"},
                     {"scr_title", title}, {"scr_descr", "x"}, {"scr_script", "STK 1"}},
                    mail, key);
    }
    // Runs work(0..n-1) on n threads released together.
    template <class F>
    static void together(int n, F work)
    {
        std::latch start(n);
        std::vector<std::thread> threads;
        for (int i = 0; i < n; ++i)
            threads.emplace_back([&, i] {
                start.arrive_and_wait();
                work(i);
            });
        for (std::thread& t : threads) t.join();
    }
    static bool accepted(const std::vector<std::string>& rows)
    {
        return !rows.empty() && rows[0].rfind("error: ", 0) != 0;
    }
};

TEST_P(TwoServersTest, OneTitlePublishedTwiceAtOnceIsTakenOnce)
{
    constexpr int Rounds = 12;
    for (int round = 0; round < Rounds; ++round) {
        std::vector<std::string> answers[2];
        together(2, [&](int i) {
            answers[i] = publish(i, (i ? " гонка " : "Гонка ") + std::to_string(round),
                                 "player" + std::to_string(i) + "@example.org", "key" + std::to_string(i));
        });
        EXPECT_NE(accepted(answers[0]), accepted(answers[1])) << "round " << round;
        const auto& loser = accepted(answers[0]) ? answers[1] : answers[0];
        EXPECT_EQ(loser.at(0), "error: Сценарий с таким названием уже существует");
    }
    EXPECT_EQ(post(0, "/scripts/scr_getlist.php", {{"fltid", "0"}}).size(), static_cast<std::size_t>(Rounds));
}

TEST_P(TwoServersTest, SimultaneousDownloadsAreEachCounted)
{
    ASSERT_TRUE(accepted(publish(0, "Популярный", "anna@example.org", "k")));
    ASSERT_TRUE(accepted(post(0, "/scripts/sys_putdata.php",
                              {{"del_mode", "0"}, {"sys_id", "-1"}, {"nums", "9"}, {"clen", "8"}, {"olap", "5"},
                               {"title", "Система"}, {"descr", "x"}, {"csize", "1"},
                               {"clist", util::EncodeBase64("1 2 3 4 5 6 7 9")}, {"url", ""}},
                              "anna@example.org", "k")));
    constexpr int Threads = 8, Each = 20;
    std::atomic<int> failed{0};
    together(Threads, [&](int t) {
        for (int i = 0; i < Each; ++i) {
            failed += !accepted(post(t + i, "/scripts/scr_getdata.php", {{"scr_id", "1"}}));
            failed += !accepted(post(t + i, "/scripts/sys_getdata.php", {{"sys_id", "1"}}));
        }
    });
    EXPECT_EQ(failed, 0);
    const std::string want = std::to_string(Threads * Each);
    EXPECT_EQ(util::RowField(post(1, "/scripts/scr_getlist.php", {{"fltid", "0"}}).at(0), "downloads"), want);
    EXPECT_EQ(util::RowField(post(1, "/scripts/sys_getlist.php", {{"comblen", "8"}, {"maxnums", "20"}}).at(0), "downloads"),
              want);
}

TEST_P(TwoServersTest, AUsersRatingsSentAtOnceLeaveOneRating)
{
    ASSERT_TRUE(accepted(publish(0, "Оцениваемый", "anna@example.org", "k")));
    const auto rate = [&](int i, int value) {
        return post(i, "/scripts/scr_setrate.php", {{"scr_id", "1"}, {"rate_value", std::to_string(value)}, {"rate_notes", ""}},
                    "boris@example.org", "kb");
    };
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(accepted(rate(0, 0)));  // no rating: both racers insert
        together(4, [&](int i) { EXPECT_TRUE(accepted(rate(i, 1 + i))); });
        const auto row = post(0, "/scripts/scr_getlist.php", {{"fltid", "0"}}, "boris@example.org", "kb").at(0);
        EXPECT_EQ(util::RowField(row, "rating_cnt"), "1") << "round " << round;
        const std::string mine = util::RowField(row, "rating_you");
        EXPECT_TRUE(mine >= "1" && mine <= "4") << mine;
        EXPECT_EQ(post(1, "/scripts/scr_getrates.php", {{"scr_id", "1"}}).size(), 1u);
    }
}

TEST_P(TwoServersTest, ANewEmailSentWithTwoKeysAtOnceIsTiedToOne)
{
    for (int round = 0; round < 10; ++round) {
        const std::string mail = "race" + std::to_string(round) + "@example.org";
        std::vector<std::string> answers[2];
        together(2, [&](int i) {
            answers[i] = publish(i, "Гонка ключей " + std::to_string(round) + "-" + std::to_string(i), mail,
                                 "key" + std::to_string(i));
        });
        ASSERT_NE(accepted(answers[0]), accepted(answers[1])) << "round " << round;
        const int winner = accepted(answers[0]) ? 0 : 1;
        EXPECT_NE(answers[1 - winner].at(0).find("Ключ пользователя не совпадает"), std::string::npos);
        EXPECT_TRUE(accepted(publish(1 - winner, "Снова " + mail, mail, "key" + std::to_string(winner))));
        EXPECT_FALSE(accepted(publish(winner, "Опять " + mail, mail, "key" + std::to_string(1 - winner))));
    }
}

INSTANTIATE_TEST_SUITE_P(Storages, TwoServersTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace kv
