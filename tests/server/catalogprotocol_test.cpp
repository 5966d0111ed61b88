// The protocol table against both of its users: the server answers every message with the
// table's tags, and the program's client sends every message with the table's fields.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/util/catalogwiremessages.h"
#include "core/util/error.h"
#include "core/online/catalog.h"
#include "tests/support/localcatalog.h"
#include "tests/support/support.h"

namespace kv {
namespace {

using util::TCatalogMessage;
using util::TCatalogMessageId;

// The tags of a row in their order.
std::vector<std::string> tagsOf(const std::string& row)
{
    std::vector<std::string> tags;
    for (std::size_t at = row.find('<'); at != std::string::npos; at = row.find('<', at + 1)) {
        const std::size_t end = row.find('>', at);
        const std::string tag = row.substr(at + 1, end - at - 1);
        if (tag.front() != '/') tags.push_back(tag);
        at = row.find("</" + tag + ">", end);
    }
    return tags;
}

std::vector<std::string> names(const std::vector<std::string_view>& v) { return {v.begin(), v.end()}; }

TEST(CatalogProtocol, TheTableNamesEachMessageOncePathsAreUniqueAndTheHelpersRefuseStrangers)
{
    std::set<std::string_view> paths;
    for (const TCatalogMessage& m : util::CatalogMessages()) {
        EXPECT_EQ(&util::CatalogMessage(m.Id), &m);
        EXPECT_EQ(util::FindCatalogMessage(m.Path), &m);
        EXPECT_TRUE(paths.insert(m.Path).second) << m.Path;
        EXPECT_EQ(m.RelativePath(), std::string(m.Path.substr(1)));
    }
    EXPECT_EQ(util::FindCatalogMessage("/scripts/other.php"), nullptr);
    const TCatalogMessage& data = util::CatalogMessage(TCatalogMessageId::ScriptData);
    EXPECT_THROW(util::CatalogRow(data, {}), std::logic_error);
    EXPECT_THROW(util::CatalogRequest(data, {"1", "2"}), std::logic_error);
    EXPECT_THROW(util::CatalogField(data, "<script>x</script>", "clist"), std::logic_error);
    EXPECT_EQ(util::CatalogRequest(util::CatalogMessage(TCatalogMessageId::ScriptTitle), {std::nullopt, "a b"}),
              (util::TFormFields{{"scr_title", "a b"}}));
}

TEST(CatalogProtocol, TheServerAnswersEveryMessageWithTheTablesTags)
{
    test::TempDir dir;
    test::LocalCatalog cat((dir / "c.db").string(), {"0.2.0", "http://example.org/k.deb", ""});
    const util::TFormFields who = {{"cl_name", "Анна"}, {"cl_mail", "a@example.org"}, {"cl_key", "k"}};
    const auto with = [&](util::TFormFields f) {
        f.insert(f.end(), who.begin(), who.end());
        return f;
    };
    // A request per message that succeeds once the ones before it did.
    const std::vector<std::pair<TCatalogMessageId, util::TFormFields>> requests = {
        {TCatalogMessageId::ScriptPut,
         with({{"del_mode", "0"}, {"scr_id", "-1"}, {"scr_uniapps", "0"}, {"scr_publics", "1"}, {"scr_title", "T"},
               {"scr_script", "STK 1"}})},
        {TCatalogMessageId::ScriptRate, with({{"scr_id", "1"}, {"rate_value", "4"}})},
        {TCatalogMessageId::ScriptList, {{"fltid", "0"}}},
        {TCatalogMessageId::ScriptData, {{"scr_id", "1"}}},
        {TCatalogMessageId::ScriptTitle, {{"scr_id", "-1"}, {"scr_title", "T"}}},
        {TCatalogMessageId::ScriptRates, {{"scr_id", "1"}}},
        {TCatalogMessageId::SystemPut,
         with({{"del_mode", "0"}, {"sys_id", "-1"}, {"nums", "9"}, {"clen", "8"}, {"olap", "5"}, {"title", "S"},
               {"csize", "1"}, {"clist", util::EncodeBase64("1 2 3 4 5 6 7 9")}})},
        {TCatalogMessageId::SystemList, {}},
        {TCatalogMessageId::SystemData, {{"sys_id", "1"}}},
        {TCatalogMessageId::AppVersion, {}},
    };
    std::set<TCatalogMessageId> answered;
    for (const auto& [id, fields] : requests) {
        const TCatalogMessage& m = util::CatalogMessage(id);
        const std::vector<std::string> rows = util::ReadTaggedRows(cat.Post(std::string(m.Path), fields));
        ASSERT_EQ(rows.size(), 1u) << m.Path;
        EXPECT_EQ(tagsOf(rows[0]), names(m.Tags)) << m.Path;
        answered.insert(id);
    }
    EXPECT_EQ(answered.size(), util::CatalogMessages().size());
}

TEST(CatalogProtocol, TheClientSendsEveryMessageWithTheTablesFieldsInOrder)
{
    std::vector<std::pair<std::string, std::vector<std::string>>> sent;
    // Answers one row of the asked message with values the client can read.
    const online::TCatalogPost post = [&](const std::string& path, const util::TFormFields& fields) {
        std::vector<std::string> fieldNames;
        for (const auto& [n, v] : fields) fieldNames.push_back(n);
        sent.emplace_back(path, fieldNames);
        const TCatalogMessage* m = util::FindCatalogMessage("/" + path);
        if (!m) return std::string();
        std::vector<std::string> values;
        for (const std::string_view tag : m->Tags) {
            const bool text = tag == "title" || tag == "descr" || tag == "script" || tag == "clist";
            values.push_back(text ? util::EncodeBase64("x") : tag == "created" || tag == "last_download" ? "" : "1");
        }
        return util::TaggedAnswer({util::CatalogRow(*m, values)});
    };
    const online::TCatalogClient client(post, {"Анна", "a@example.org", "k", 1049});
    online::tScriptData script;
    script.Id = 1;
    online::tSystemData system;
    system.Id = 1;
    client.LoadCatalogue(3);
    client.LoadCatalogue(3, 1000, 500);
    client.DownloadScript(1);
    client.RateScript(1, 5, "");
    client.CheckTitle(1, "T");
    client.PutScript(script, "STK 1");
    client.DeleteScript(script);
    client.LoadRates(1);
    client.LoadSystemList();
    client.DownloadSystemCombs(1);
    client.PutSystem(system, false);
    client.PutSystem(system, true);
    client.LatestRelease();
    std::set<std::string> used;
    for (const auto& [path, fieldNames] : sent) {
        const TCatalogMessage* m = util::FindCatalogMessage("/" + path);
        ASSERT_NE(m, nullptr) << path;
        used.insert(path);
        // The fields sent are the table's, in its order; only the page and (when deleting) the
        // scenario text may be left out.
        std::vector<std::string> expected = names(m->Fields);
        std::erase_if(expected, [&](const std::string& f) {
            const bool optional = f == "offset" || f == "limit" || f == "scr_script";
            return optional && std::find(fieldNames.begin(), fieldNames.end(), f) == fieldNames.end();
        });
        EXPECT_EQ(fieldNames, expected) << path;
    }
    EXPECT_EQ(used.size(), util::CatalogMessages().size());
    EXPECT_EQ(sent[1].second.back(), "limit");
}

} // namespace
} // namespace kv
