#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/catalogwire.h"
#include "core/util/error.h"

using namespace kv;

TEST(CatalogWire, Base64RoundTripAndStrictDecoding)
{
    const std::vector<std::pair<std::string, std::string>> known = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"Тест", "0KLQtdGB0YI="}, {std::string("\0\xff", 2), "AP8="}};
    for (const auto& [plain, coded] : known) {
        EXPECT_EQ(util::EncodeBase64(plain), coded);
        EXPECT_EQ(util::DecodeBase64(coded), plain) << coded;
    }
    EXPECT_EQ(util::DecodeBase64("Zm9v\r\nZm8="), "foofo");
    for (const char* broken : {"Zm9v!", "Z", "Zm9vZ", "Zg===", "Zg=a", "Zm=8"})
        EXPECT_EQ(util::DecodeBase64(broken), std::nullopt) << broken;
    EXPECT_EQ(util::DecodeBase64Prefix("Zm9v!Zg"), "foo");
}

TEST(CatalogWire, EscapesAreExactAndUndone)
{
    const std::string all = std::string("\0\1\2\3\4\5\6\a\b\t\n\v\f\r\x1b", 15) + "\"'?\\x";
    const std::string escaped = "\\0\\1\\2\\3\\4\\5\\6\\a\\b\\t\\n\\v\\f\\r\\e\\\"\\'\\?\\\\x";
    EXPECT_EQ(util::EscapeCatalogText(all), escaped);
    EXPECT_EQ(util::UnescapeCatalogText(escaped), all);
    EXPECT_EQ(util::UnescapeCatalogText("a\\zb\\"), "azb\\");
    EXPECT_EQ(util::EscapeCatalogText("Имя"), "Имя");
}

TEST(CatalogWire, FormsEncodeAndDecode)
{
    const util::TFormFields f = {{"cl_name", "Анна & Co"}, {"x", "a=b+c%"}, {"empty", ""}};
    const std::string body = util::FormEncode(f);
    EXPECT_EQ(body, "cl_name=%D0%90%D0%BD%D0%BD%D0%B0%20%26%20Co&x=a%3Db%2Bc%25&empty=");
    EXPECT_EQ(util::FormDecode(body), f);
    EXPECT_EQ(util::FormDecode("a=1+2&&flag&b=%zz&a=3"),
              (util::TFormFields{{"a", "1 2"}, {"flag", ""}, {"b", "%zz"}, {"a", "3"}}));
    EXPECT_EQ(util::FormValue(util::FormDecode("a=1&a=3"), "a"), "1");
    EXPECT_EQ(util::FormValue(f, "none"), std::nullopt);
}

TEST(CatalogWire, UtcTimes)
{
    EXPECT_EQ(util::FormatUtcTime(0), "");
    EXPECT_EQ(util::FormatUtcTime(951782400), "2000-02-29 00:00:00");
    EXPECT_EQ(util::FormatUtcTime(1796200000), "2026-12-02 08:26:40");
    EXPECT_EQ(util::ParseUtcTime("2026-12-02 08:26:40"), 1796200000);
    EXPECT_EQ(util::ParseUtcTime(""), 0);
    for (const char* bad : {"2026-12-02", "2026-13-01 00:00:00", "2025-02-29 00:00:00", "2026-12-02T08:26:40",
                            "2026-12-02 24:00:00", "abcd-12-02 08:26:40"})
        EXPECT_EQ(util::ParseUtcTime(bad), std::nullopt) << bad;
    EXPECT_EQ(util::ParseUtcTime("2000-02-29 00:00:00"), 951782400);
}

TEST(CatalogWire, Utf8Validity)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"plain", true},           {"Ёлка", true},        {"\xF0\x9F\x98\x80", true}, {"\xC3\x28", false},
        {"\xC0\xAF", false},        {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}, {"\xE2\x82", false}};
    for (const auto& [text, ok] : cases) EXPECT_EQ(util::IsValidUtf8(text), ok) << text;
}

TEST(CatalogWire, TaggedAnswersAreWrittenAndRead)
{
    const std::string body = util::TaggedAnswer({{{"id", "7"}, {"title", "VGVzdA=="}}, {{"id", "8"}}});
    EXPECT_EQ(body, "<result><row><id>7</id><title>VGVzdA==</title></row><row><id>8</id></row></result>");
    const auto rows = util::ReadTaggedRows("junk<RESULT>\r\n" + body.substr(8));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(util::RowField(rows[0], "ID"), "7");
    EXPECT_EQ(util::RowField(rows[1], "title"), "");
    EXPECT_TRUE(util::ReadTaggedRows("<result></result>").empty());
    const auto failure = [](const std::string& b) {
        try {
            util::ReadTaggedRows(b);
            return std::string("no failure");
        } catch (const Error& e) {
            return std::string(e.what());
        }
    };
    EXPECT_EQ(failure(util::TaggedError("Нет доступа")), "Нет доступа");
    EXPECT_EQ(failure("<html>503</html>"), "Ответ сервера не содержит результата");
    EXPECT_NE(failure("<result><row><id>1</id>"), "no failure");
    EXPECT_THROW(util::RowField("<id>1", "id"), Error);
    EXPECT_EQ(util::SplitSystemWords(" 01*02,3;;4 "), (std::vector<std::string_view>{"01", "02", "3", "4"}));
}
