#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/support.h"

namespace fs = std::filesystem;

namespace {

// The core folders from the bottom layer up: a folder includes only itself and folders before
// it, so each layer can be built and tested without the ones above.
const std::vector<std::string> CoreOrder = {"util",   "shell",    "game",     "archive",   "stats", "filters",
                                            "stakes", "scenario", "analysis", "workspace", "online"};

int coreRank(const std::string& folder)
{
    const auto it = std::find(CoreOrder.begin(), CoreOrder.end(), folder);
    return it == CoreOrder.end() ? -1 : static_cast<int>(it - CoreOrder.begin());
}

bool isQtOrCurl(const std::string& header)
{
    static const std::regex qt(R"(^(Q[A-Za-z]+|Qt[A-Za-z]+/.*|curl/.*)$)");
    return std::regex_match(header, qt);
}

// A view is app/views/<name>view.h; each is built against the host alone, so that one can be
// added, removed or tested without the others. A dialog (app/form<name>.h) is opened by views
// and the window, so it cannot lean on a view either.
bool isView(const std::string& header)
{
    static const std::regex view(R"(^app/views/[a-z]+view\.(h|cpp)$)");
    return std::regex_match(header, view);
}

bool isDialog(const std::string& header)
{
    static const std::regex dialog(R"(^app/form[a-z]+\.(h|cpp)$)");
    return std::regex_match(header, dialog) && header.rfind("app/formmain.", 0) != 0;
}

// Why an include of `header` in the program file `file` breaks the program's layers; "" when
// it does not.
std::string appViolation(const fs::path& file, const std::string& header)
{
    const std::string name = file.generic_string();
    const std::string own = (file.parent_path() / file.stem()).generic_string() + ".h";
    if (isView(name)) {
        if (header == "app/formmain.h") return "a view cannot see the main window";
        if (isView(header) && header != own) return "a view cannot see another view";
    } else if (isDialog(name)) {
        if (header == "app/formmain.h") return "a dialog cannot see the main window";
        if (header.rfind("app/views/", 0) == 0 && isView(header)) return "a dialog cannot see a view";
    }
    return "";
}

// Every include of the layered trees (core/, net/, server/, app/) under root that breaks the
// rules, as "file: include (reason)".
std::vector<std::string> LayerViolations(const fs::path& root)
{
    static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<std::string> bad;
    for (const std::string top : {"core", "net", "server", "app"}) {
        if (!fs::is_directory(root / top)) continue;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(root / top)) {
            const std::string ext = e.path().extension().string();
            if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
            const fs::path rel = fs::relative(e.path(), root);
            const std::string folder = std::next(rel.begin())->string();
            const std::string name = rel.generic_string();
            if (top == "core" && coreRank(folder) < 0) bad.push_back(name + ": folder " + folder + " has no layer");
            std::ifstream in(e.path());
            std::string line;
            std::smatch m;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, m, include)) continue;
                const std::string h = m[1].str();
                const std::string what = name + ": " + h;
                if (top == "app") {
                    if (const std::string why = appViolation(rel, h); !why.empty()) bad.push_back(what + " (" + why + ")");
                    continue;
                }
                if (top != "server" && isQtOrCurl(h) && !(top == "net" && h.rfind("curl/", 0) == 0)) {
                    bad.push_back(what + " (" + (h.rfind("curl/", 0) == 0 ? "curl" : "Qt") + " in " + top + ")");
                    continue;
                }
                if (top == "server" && h.rfind("Q", 0) == 0 && isQtOrCurl(h)) bad.push_back(what + " (Qt in server)");
                const std::size_t slash = h.find('/');
                if (slash == std::string::npos) continue;
                const std::string hTop = h.substr(0, slash);
                if (hTop == "app" || (hTop == "net" && top != "net") || (hTop == "server" && top != "server")) {
                    bad.push_back(what + " (" + top + " cannot see " + hTop + ")");
                } else if (hTop == "core") {
                    const std::size_t slash2 = h.find('/', slash + 1);
                    const std::string hFolder = h.substr(slash + 1, slash2 == std::string::npos ? 0 : slash2 - slash - 1);
                    if (top == "core" && coreRank(hFolder) > coreRank(folder))
                        bad.push_back(what + " (points upward)");
                    else if (top == "server" && hFolder != "util")
                        bad.push_back(what + " (the server uses core/util only)");
                }
            }
        }
    }
    std::sort(bad.begin(), bad.end());
    return bad;
}

} // namespace

TEST(Layers, TheSourceTreeKeepsOneDirection)
{
    const std::vector<std::string> bad = LayerViolations(KV_SOURCE_DIR);
    std::ostringstream all;
    for (const std::string& b : bad) all << "\n  " << b;
    EXPECT_TRUE(bad.empty()) << bad.size() << " includes break the layers:" << all.str();
}

TEST(Layers, EveryKindOfBreakIsFound)
{
    struct Case {
        const char* file;
        const char* include;
        const char* reason;   // "" when the include is allowed
    };
    const std::vector<Case> cases = {
        {"core/util/a.h", "core/util/b.h", ""},
        {"core/stats/kinds/a.cpp", "core/game/types.h", ""},
        {"core/workspace/a.cpp", "core/scenario/scenario.h", ""},
        {"core/online/a.cpp", "core/workspace/workspace.h", ""},
        {"core/workspace/b.cpp", "core/online/drawdownload.h", "points upward"},
        {"core/util/c.h", "core/stats/stat.h", "points upward"},
        {"core/stats/d.cpp", "core/filters/generate.h", "points upward"},
        {"core/shell/e.h", "core/game/types.h", "points upward"},
        {"core/game/f.cpp", "QString", "Qt in core"},
        {"core/archive/g.cpp", "QtCore/QDate", "Qt in core"},
        {"core/archive/h.cpp", "curl/curl.h", "curl in core"},
        {"core/stakes/i.cpp", "app/formmain.h", "core cannot see app"},
        {"core/stakes/j.cpp", "net/http.h", "core cannot see net"},
        {"core/gadgets/k.h", "string", "has no layer"},
        {"net/l.cpp", "curl/curl.h", ""},
        {"net/m.cpp", "core/workspace/workspace.h", ""},
        {"net/n.cpp", "QObject", "Qt in net"},
        {"net/o.cpp", "app/views/x.h", "net cannot see app"},
        {"server/p.cpp", "core/util/ini.h", ""},
        {"server/q.cpp", "core/stats/stat.h", "the server uses core/util only"},
        {"server/r.cpp", "net/http.h", "server cannot see net"},
        {"server/s.cpp", "QList", "Qt in server"},
        {"app/views/tview.cpp", "app/formmain.h", "a view cannot see the main window"},
        {"app/views/uview.h", "app/viewhost.h", ""},
        {"app/views/uview.cpp", "app/views/uview.h", ""},
        {"app/views/uview.cpp", "app/views/wview.h", "a view cannot see another view"},
        {"app/views/uview.h", "app/views/wview.h", "a view cannot see another view"},
        {"app/views/uview.cpp", "app/views/analysistabs.h", ""},
        {"app/views/uview.cpp", "app/formchart.h", ""},
        {"app/formchart.cpp", "app/views/uview.h", "a dialog cannot see a view"},
        {"app/formchart.cpp", "app/views/analysischart.h", ""},
        {"app/formstake.h", "app/formmain.h", "a dialog cannot see the main window"},
        {"app/formmain.cpp", "app/views/statsview.h", ""},
        {"app/v.cpp", "QWidget", ""},
    };
    for (const Case& c : cases) {
        kv::test::TempDir root;
        fs::create_directories((root / c.file).parent_path());
        kv::test::WriteBytes(root / c.file, std::string("#pragma once\n#include <vector>\n  #  include \"") + c.include + "\"\n");
        const std::vector<std::string> bad = LayerViolations(root.path());
        if (*c.reason == 0) {
            EXPECT_TRUE(bad.empty()) << c.file << " -> " << c.include << ": " << (bad.empty() ? "" : bad[0]);
        } else {
            ASSERT_FALSE(bad.empty()) << c.file << " -> " << c.include;
            EXPECT_NE(bad[0].find(c.reason), std::string::npos) << bad[0];
        }
    }
}
