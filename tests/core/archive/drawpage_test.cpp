#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/drawpage.h"
#include "core/archive/sample.h"
#include "core/game/dates.h"
#include "core/game/texts.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "tests/support/drawpages.h"

using namespace kv;
using archive::TSkipReason;

namespace {

archive::TDrawPage parse(const std::string& utf8Page)
{
    return archive::ParseDrawPage(util::Utf8ToCp1251(utf8Page));
}

game::TDraw draw(int no, std::array<uint8_t, 8> nums, uint8_t extra, const char* date = "01.02.2020 10:05")
{
    game::TDraw d;
    d.DrawNo = no;
    d.Nums = nums;
    d.Extra = extra;
    d.SetDateText(date);
    return d;
}

// A page section with the fields as given (texts, so that broken values can be written).
std::string section(const std::string& no, const std::string& date, const std::string& numbers)
{
    return "<div class=\"elem\"><div class=\"draw_date\" title=\"" + date + "\">d</div><a href=\"/zarvik/archive/" + no +
           "\">n</a><div class=\"container cleared\"><div>" + numbers + "</div></div><div class=\"controls\"></div>";
}

std::string page(const std::string& sections)
{
    return "<html><div class=\"data drawings_data\">" + sections + "<div class=\"content_decor\"></html>";
}

const char* const Nums = "<b>1</b><b>2</b><b>3</b><b>4</b><b>5</b><b>6</b><b>7</b><b>8</b><b class=\"extra\">2</b>";

// Downloaded on 10.03.2021 at 10:05: draws dated up to the end of the 11th are taken.
const game::TDateTime Limit = archive::DownloadDateLimit(game::EncodeDateTime(2021, 3, 10, 10, 5));

} // namespace

TEST(DrawPage, Address)
{
    EXPECT_EQ(archive::DrawPageUrl("https://www.example.ru", 123, 172),
              "https://www.example.ru/zarvik/archive?firstDraw=00123&lastDraw=00172&mode=draw");
    EXPECT_EQ(archive::DrawPageUrl("http://127.0.0.1:8080//", 1, 50),
              "http://127.0.0.1:8080/zarvik/archive?firstDraw=00001&lastDraw=00050&mode=draw");
    EXPECT_EQ(archive::DrawPageUrl("http://h", 123456, 123505),
              "http://h/zarvik/archive?firstDraw=123456&lastDraw=123505&mode=draw");
}

TEST(DrawPage, ReadsTheOperatorFormatNewestFirst)
{
    const game::TDrawsArray site = archive::SyntheticDraws(50, 7, 201);
    const archive::TDrawPage p = parse(test::OperatorPageFor(site, 201, 250));
    ASSERT_TRUE(p.ListFound);
    EXPECT_EQ(p.Incomplete, 0);
    ASSERT_EQ(p.Draws.size(), 50u);
    for (std::size_t i = 0; i < 50; ++i) {
        const game::TDraw& want = site[49 - i];
        const archive::TPageDraw& got = p.Draws[i];
        EXPECT_EQ(got.DrawNo, want.DrawNo);
        EXPECT_EQ(got.DateText, want.DateText());
        for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(got.Nums[k], want.Nums[k]) << i << " " << k;
        EXPECT_EQ(got.Extra, want.Extra);
    }
    archive::TSkipCounts skipped;
    const game::TDrawsArray accepted = archive::AcceptPageDraws(p, {}, 201, 250, Limit, skipped);
    EXPECT_EQ(accepted, site) << "ascending, as the archive keeps them";
    EXPECT_EQ(skipped.Total(), 0);
}

TEST(DrawPage, NumbersKeepThePageOrder)
{
    const game::TDraw d = draw(77, {3, 17, 8, 1, 20, 12, 5, 9}, 4);
    archive::TSkipCounts skipped;
    const game::TDrawsArray got = archive::AcceptPageDraws(parse(test::OperatorPage({d})), {}, 51, 100, Limit, skipped);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], d);
    EXPECT_EQ(game::DrawValuesText(got[0]), "3;17;8;1;20;12;5;9 e:4");
}

TEST(DrawPage, PagesWithoutAList)
{
    // Only the last is a list page: one with nothing on it.
    const std::string texts[] = {"<html>garbage</html>", "",
                                 "<DIV class=\"data drawings_data\">  <div class=\"content_decor\">"};
    for (const std::string& text : texts) {
        const archive::TDrawPage p = parse(text);
        EXPECT_FALSE(p.ListFound) << text;
        EXPECT_EQ(p.MarkersFound, &text == &texts[2]) << text;
        EXPECT_TRUE(p.Draws.empty());
    }
}

TEST(DrawPage, ABeginMarkerWithoutItsEndFailsThePage)
{
    const std::vector<std::string> broken = {
        "<div class=\"data drawings_data\">" + section("5", "01.02.2020 10:05", Nums),          // no list end
        page("<div class=\"elem\"><a href=\"/zarvik/archive/5 "),                                // number without end
        page(section("5", "01.02.2020 10:05", "<b>1</b><b>2</b><b>3")),                         // the 3rd number open
    };
    for (const std::string& text : broken) {
        try {
            parse(text);
            ADD_FAILURE() << "no failure for " << text;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Не удалось найти пару идентификаторов \"", 0), 0u) << e.what();
        }
    }
}

TEST(DrawPage, IncompleteSectionsAreCounted)
{
    const archive::TDrawPage p = parse(page(section("7", "", Nums) +            // no date
                                            section("x", "01.02.2020 10:05", Nums) +  // no number
                                            section("0", "01.02.2020 10:05", Nums) +
                                            "<div class=\"elem\"><a href=\"/zarvik/archive/9\">" +  // no numbers part
                                            "<div class=\"draw_date\" title=\"01.02.2020 10:05\">" +
                                            section("6", "01.02.2020 10:05", Nums)));
    EXPECT_EQ(p.Incomplete, 4);
    ASSERT_EQ(p.Draws.size(), 1u);
    EXPECT_EQ(p.Draws[0].DrawNo, 6);
}

TEST(DrawPage, EveryCheckSkipsWithItsReason)
{
    struct Case {
        std::string numbers;
        std::string no;
        std::string date;
        TSkipReason reason;
    };
    const std::string ok8 = "<b>1</b><b>2</b><b>3</b><b>4</b><b>5</b><b>6</b><b>7</b>";
    const std::vector<Case> cases = {
        {ok8 + "<b>7</b><b class=\"extra\">1</b>", "110", "01.02.2020 10:05", TSkipReason::BadNumbers},   // repeated
        {ok8 + "<b>21</b><b class=\"extra\">1</b>", "110", "01.02.2020 10:05", TSkipReason::BadNumbers},  // above 20
        {ok8 + "<b>0</b><b class=\"extra\">1</b>", "110", "01.02.2020 10:05", TSkipReason::BadNumbers},
        {ok8 + "<b>x</b><b class=\"extra\">1</b>", "110", "01.02.2020 10:05", TSkipReason::BadNumbers},   // not a number
        {ok8 + "<b>264</b><b class=\"extra\">1</b>", "110", "01.02.2020 10:05", TSkipReason::BadNumbers}, // 264 = 8 in a byte
        {ok8 + "<b>8</b><b class=\"extra\">5</b>", "110", "01.02.2020 10:05", TSkipReason::BadExtra},
        {ok8 + "<b>8</b><b class=\"extra\">0</b>", "110", "01.02.2020 10:05", TSkipReason::BadExtra},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "99", "01.02.2020 10:05", TSkipReason::OutOfRange},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "151", "01.02.2020 10:05", TSkipReason::OutOfRange},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "105", "01.02.2020 10:05", TSkipReason::Known},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "110", "31.02.2020 10:05", TSkipReason::BadDate},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "110", "вчера вечером", TSkipReason::BadDate},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "110", "12.03.2021 00:00", TSkipReason::FutureDate},
        {ok8 + "<b>8</b><b class=\"extra\">4</b>", "110", "01.01.2099 10:05", TSkipReason::FutureDate},
    };
    const game::TDrawsArray archive = archive::SyntheticDraws(5, 3, 101);   // 101..105
    for (const Case& c : cases) {
        SCOPED_TRACE(c.numbers + " " + c.no + " " + c.date);
        archive::TSkipCounts skipped;
        const game::TDrawsArray got = archive::AcceptPageDraws(parse(page(section(c.no, c.date, c.numbers))), archive,
                                                               100, 150, Limit, skipped);
        EXPECT_TRUE(got.empty());
        EXPECT_EQ(skipped.Total(), 1);
        EXPECT_EQ(skipped[c.reason], 1);
    }
    // The boundaries of the range are inside it, a number listed twice is taken once, and the
    // operator's tomorrow is not the future.
    archive::TSkipCounts skipped;
    const std::string good = ok8 + "<b>8</b><b class=\"extra\">4</b>";
    const game::TDrawsArray got = archive::AcceptPageDraws(
        parse(page(section("150", "11.03.2021 23:59", good) + section("106", "01.02.2020 10:05", good) +
                   section("106", "01.02.2020 10:05", good))),
        archive, 106, 150, Limit, skipped);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].DrawNo, 106);
    EXPECT_EQ(got[1].DrawNo, 150);
    EXPECT_EQ(skipped[TSkipReason::Known], 1);
}

TEST(DrawPage, SkipReasonTexts)
{
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::Incomplete), "нет номера, даты или чисел тиража");
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::BadNumbers), "числа не различны или вне 1..20");
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::BadExtra), "дополнительное число вне 1..4");
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::OutOfRange), "номер тиража вне запрошенного диапазона");
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::Known), "тираж уже есть в архиве");
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::BadDate), "дата тиража не читается");
    EXPECT_EQ(archive::SkipReasonText(TSkipReason::FutureDate), "дата тиража позже завтрашнего дня");
}
