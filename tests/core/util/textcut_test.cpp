#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/textcut.h"

using namespace kv;
using util::CutMode;

namespace {

struct CutCase {
    const char* text;
    const char* begin;
    const char* end;
    CutMode mode;
    const char* piece;   // nullptr: the pair message
};

std::string cp(const char* utf8)
{
    return util::Utf8ToCp1251(utf8);
}

} // namespace

TEST(TextCut, CutBetweenCases)
{
    const std::vector<CutCase> cases = {
        {"<b>7</b>", "<b", "</b>", CutMode::Fail, ">7"},
        {"<b>7</b>", ">", "</b>", CutMode::Fail, "7"},
        {"x<B>  7 \t</b>y", "<b>", "</B>", CutMode::Fail, "7"},          // either case, trimmed
        {"a[1]b[2]", "[", "]", CutMode::Fail, "1"},                       // the first pair only
        {"a[1", "[", "]", CutMode::Empty, ""},
        {"a[ 1 \r\n", "[", "]", CutMode::ToEnd, "1"},
        {"no marker", "[", "]", CutMode::Fail, ""},                       // missing begin: empty, never fails
        {"abc[def", "[", "", CutMode::Fail, "def"},                        // empty end: the rest
        {"k=\"a\"\"b\"", "=", "", CutMode::Fail, "a\"b"},                  // doubled quote becomes one
        {"k=\"a\"b\"", "=", "", CutMode::Fail, "ab"},                      // a lone quote goes
        {"k=\"\"", "=", "", CutMode::Fail, ""},
        {"k=\"", "=", "", CutMode::Fail, "\""},                            // one quote is no quoting
        {"k=a\"b", "=", "", CutMode::Fail, "a\"b"},                        // unquoted text keeps its quote
        {"]a[b]", "[", "]", CutMode::Fail, "b"},                           // the end is searched after begin
        {"a[1", "[", "]", CutMode::Fail, nullptr},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.piece == nullptr) {
            EXPECT_THROW(util::CutBetween(c.text, c.begin, c.end, c.mode), Error);
        } else {
            EXPECT_EQ(util::CutBetween(c.text, c.begin, c.end, c.mode), c.piece);
        }
    }
}

TEST(TextCut, PairMessageNamesTheMarkersAndTheText)
{
    try {
        util::CutBetween(cp("Тираж <b>7"), "<b", cp("</б>"), CutMode::Fail);
        FAIL() << "no failure";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Не удалось найти пару идентификаторов \"<b\" - \"</б>\" в тексте\n\n[Тираж <b>7]!");
    }
    // A page of megabytes is quoted only at its start.
    const std::string big = "<b>" + std::string(3 * 1024 * 1024, 'x');
    const std::string m = util::PairMessage(big, "<b", "</b>");
    EXPECT_LT(m.size(), util::PairMessageTextLimit + 200);
    EXPECT_NE(m.find("xxx...]!"), std::string::npos);
}

TEST(TextCut, CyrillicMarkersIgnoreCase)
{
    EXPECT_EQ(util::CutBetween(cp("начало ТИРАЖ: 5 конец"), cp("тираж:"), cp("КОНЕЦ"), CutMode::Fail), "5");
    EXPECT_EQ(util::AnsiUpperChar(cp("ё")[0]), cp("Ё")[0]);
    EXPECT_EQ(util::AnsiUpperChar(cp("я")[0]), cp("Я")[0]);
    EXPECT_EQ(util::AnsiUpperChar('z'), 'Z');
    EXPECT_EQ(util::AnsiUpperChar('5'), '5');
    EXPECT_EQ(util::AnsiFindNoCase("abcABC", "Bc", 2), 4u);
    EXPECT_EQ(util::AnsiFindNoCase("abc", "abcd"), std::string::npos);
    EXPECT_EQ(util::AnsiFindNoCase("abc", "", 3), 3u);
    EXPECT_EQ(util::AnsiFindNoCase("abc", "a", 4), std::string::npos);
    EXPECT_EQ(util::AnsiRemoveNoCase("1&nbsp;2&NBSP;3&nbsp", "&nbsp;"), "123&nbsp");
}

TEST(TextCut, ConsumeTakesThePiecesInTurn)
{
    std::string text = "<b>1</b><b class=\"extra\">2</b> tail";
    EXPECT_EQ(util::CutBetweenAndConsume(text, "<b", "</b>", CutMode::Fail), ">1");
    EXPECT_EQ(text, "<b class=\"extra\">2</b> tail");
    EXPECT_EQ(util::CutBetweenAndConsume(text, "<b", "</b>", CutMode::Fail), "class=\"extra\">2");
    EXPECT_EQ(text, " tail");
    // Nothing found: nothing removed.
    EXPECT_EQ(util::CutBetweenAndConsume(text, "<b", "</b>", CutMode::Fail), "");
    EXPECT_EQ(text, " tail");

    struct Case {
        CutMode mode;
        const char* piece;
        const char* rest;
    };
    for (const Case& c : {Case{CutMode::Empty, "", "x<b>7"}, Case{CutMode::ToEnd, ">7", ""}}) {
        std::string t = "x<b>7";
        EXPECT_EQ(util::CutBetweenAndConsume(t, "<b", "</b>", c.mode), c.piece);
        EXPECT_EQ(t, c.rest);
    }
    std::string t = "x<b>7";
    EXPECT_THROW(util::CutBetweenAndConsume(t, "<b", "</b>", CutMode::Fail), Error);
    EXPECT_EQ(t, "x<b>7") << "a failure leaves the text";
}

TEST(TextCut, SectionsUpToTheNextMarker)
{
    std::string list = "head <TR> a </tr><tr>b<tr>  <tr>c";
    EXPECT_EQ(util::CutSection(list, "<tr>"), "a </tr>");
    EXPECT_EQ(list, "<tr>b<tr>  <tr>c");
    EXPECT_EQ(util::CutSection(list, "<tr>"), "b");
    EXPECT_EQ(util::CutSection(list, "<tr>"), "") << "an empty section ends the walk";
    EXPECT_EQ(list, "<tr>c");
    EXPECT_EQ(util::CutSection(list, "<tr>"), "c");
    EXPECT_EQ(list, "");
    std::string none = "abc";
    EXPECT_EQ(util::CutSection(none, "<tr>"), "");
    EXPECT_EQ(none, "abc");
}

TEST(TextCut, TwiceCutsInsideTheFirstPiece)
{
    const std::string section = "<div class=\"container cleared\"><p><b>1</b></p><div class=\"controls\">";
    EXPECT_EQ(util::CutTwice(section, "<div class=\"container cleared\"", "<div class=\"controls\">", ">", "</p>",
                             CutMode::Fail),
              "<p><b>1</b>");
    EXPECT_EQ(util::CutTwice("[a(b]", "[", "]", "(", ")", CutMode::Empty), "");
    EXPECT_EQ(util::CutTwice("[a(b]", "[", "]", "(", ")", CutMode::ToEnd), "b");
    EXPECT_THROW(util::CutTwice("[a(b]", "[", "]", "(", ")", CutMode::Fail), Error);
    EXPECT_EQ(util::CutTwice("[a(b", "{", "}", "(", ")", CutMode::Fail), "");
}

TEST(TextCut, TrimAndUnquote)
{
    EXPECT_EQ(util::TrimControl("\r\n\t x y \x01"), "x y");
    EXPECT_EQ(util::TrimControl(" \t"), "");
    EXPECT_EQ(util::UnquoteText("\"\"\"\""), "\"");
    EXPECT_EQ(util::UnquoteText("\"a\"\"\"\"b\""), "a\"\"b");
    EXPECT_EQ(util::UnquoteText("\"\""), "");
}
