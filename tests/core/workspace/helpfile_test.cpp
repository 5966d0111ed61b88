#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/workspace/helpfile.h"
#include "tests/support/support.h"

using namespace kv;
namespace fs = std::filesystem;

TEST(HelpFile, SearchOrder)
{
    // Files present (relative to a root holding the program folder "prog"), and where the help
    // file is expected to be found ("" = nowhere).
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        const char* found;
    };
    const std::vector<Case> cases = {
        {"none", {}, {}, ""},
        {"program folder first", {"prog/Kvanta_8x20_RUS/index.html", "prog/help/Kvanta_8x20_RUS/index.html", "help/Kvanta_8x20_RUS/index.html"}, {},
         "prog/Kvanta_8x20_RUS/index.html"},
        {"then its help folder", {"prog/help/Kvanta_8x20_RUS/index.html", "help/Kvanta_8x20_RUS/index.html"}, {}, "prog/help/Kvanta_8x20_RUS/index.html"},
        {"then help beside it", {"help/Kvanta_8x20_RUS/index.html", "share/kvanta-8x20/help/Kvanta_8x20_RUS/index.html"}, {}, "help/Kvanta_8x20_RUS/index.html"},
        {"then the installed shared folder", {"share/kvanta-8x20/help/Kvanta_8x20_RUS/index.html"}, {},
         "share/kvanta-8x20/help/Kvanta_8x20_RUS/index.html"},
        {"another language's file is not ours", {"prog/Kvanta_8x20_ENU/index.html", "prog/help/Kvanta_8x20_UKR/index.html"}, {}, ""},
        {"the name's case counts", {"prog/kvanta_8x20_rus/index.html", "prog/Help/Kvanta_8x20_RUS/index.html"}, {}, ""},
        {"a folder with the name is no file", {"help/Kvanta_8x20_RUS/index.html"}, {"prog/Kvanta_8x20_RUS/index.html"}, "help/Kvanta_8x20_RUS/index.html"},
    };
    for (const Case& c : cases) {
        test::TempDir root;
        fs::create_directories(root / "prog");
        for (const std::string& f : c.files) {
            fs::create_directories((root / f).parent_path());
            test::WriteBytes(root / f, "<html>");
        }
        for (const std::string& d : c.folders) fs::create_directories(root / d);
        const fs::path expected = *c.found ? root / c.found : fs::path();
        EXPECT_EQ(workspace::FindHelpFile(root / "prog", "RUS"), expected) << c.what;
        // A trailing separator names the same program folder.
        EXPECT_EQ(workspace::FindHelpFile((root / "prog").string() + "/", "RUS"), expected) << c.what;
    }
}
