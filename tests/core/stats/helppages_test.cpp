#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "core/stats/statlist.h"
#include "tests/support/support.h"

using namespace kv::stats;
namespace fs = std::filesystem;

// The shipped help describes every registered method: its address names a page of the help
// folder, and that page holds the anchor the address ends with.
TEST(HelpPages, EveryMethodHasItsDescription)
{
    const fs::path index = fs::path(KV_SOURCE_DIR) / "help" / "Kvanta_8x20_RUS" / "index.html";
    ASSERT_TRUE(fs::is_regular_file(index));
    TStatList list;
    list.Env().HelpFile = index.string();
    list.BuildMethodList();
    ASSERT_GT(list.MethodCount(), 140);
    std::set<std::string> pagesSeen;
    for (int m = 0; m < list.MethodCount(); ++m) {
        const std::string url = list.GetHelpURL(m);
        const std::string code = list.Method(m).MethodCode();
        ASSERT_EQ(url.rfind("file://", 0), 0u) << code;
        const auto hash = url.find('#');
        ASSERT_NE(hash, std::string::npos) << code;
        const fs::path page = url.substr(7, hash - 7);
        const std::string anchor = url.substr(hash + 1);
        ASSERT_TRUE(fs::is_regular_file(page)) << code << " " << page;
        EXPECT_NE(kv::test::ReadBytes(page).find("<a name=\"" + anchor + "\">"), std::string::npos) << code << " " << url;
        // The contents page links every family page.
        if (pagesSeen.insert(page.filename().string()).second) {
            EXPECT_NE(kv::test::ReadBytes(index).find("href=\"" + page.filename().string() + "\""), std::string::npos)
                << page;
        }
    }
    EXPECT_EQ(pagesSeen.size(), 14u);
}

// Every link between the shipped pages leads to a page that exists and, when it names a
// section, to that section.
TEST(HelpPages, LinksResolve)
{
    const fs::path folder = fs::path(KV_SOURCE_DIR) / "help" / "Kvanta_8x20_RUS";
    const std::regex href("href=\"([^\"#:]*)(#([^\"]*))?\"");
    int links = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string text = kv::test::ReadBytes(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), href), end; it != end; ++it, ++links) {
            const fs::path target = folder / (*it)[1].str();
            ASSERT_TRUE(fs::is_regular_file(target)) << entry.path().filename() << " -> " << (*it)[0];
            if ((*it)[3].matched) {
                EXPECT_NE(kv::test::ReadBytes(target).find("<a name=\"" + (*it)[3].str() + "\">"), std::string::npos)
                    << entry.path().filename() << " -> " << (*it)[0];
            }
        }
    }
    EXPECT_GT(links, 30);
}
