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
        {"program folder first", {"prog/Varta_RUS.chm", "prog/help/Varta_RUS.chm", "help/Varta_RUS.chm"}, {},
         "prog/Varta_RUS.chm"},
        {"then its help folder", {"prog/help/Varta_RUS.chm", "help/Varta_RUS.chm"}, {}, "prog/help/Varta_RUS.chm"},
        {"then help beside it", {"help/Varta_RUS.chm", "share/kvanta-8x20/help/Varta_RUS.chm"}, {}, "help/Varta_RUS.chm"},
        {"then the installed shared folder", {"share/kvanta-8x20/help/Varta_RUS.chm"}, {},
         "share/kvanta-8x20/help/Varta_RUS.chm"},
        {"another language's file is not ours", {"prog/Varta_ENU.chm", "prog/help/Varta_UKR.chm"}, {}, ""},
        {"the name's case counts", {"prog/varta_rus.chm", "prog/Help/Varta_RUS.chm"}, {}, ""},
        {"a folder with the name is no file", {"help/Varta_RUS.chm"}, {"prog/Varta_RUS.chm"}, "help/Varta_RUS.chm"},
    };
    for (const Case& c : cases) {
        test::TempDir root;
        fs::create_directories(root / "prog");
        for (const std::string& f : c.files) {
            fs::create_directories((root / f).parent_path());
            test::WriteBytes(root / f, "ITSF");
        }
        for (const std::string& d : c.folders) fs::create_directories(root / d);
        const fs::path expected = *c.found ? root / c.found : fs::path();
        EXPECT_EQ(workspace::FindHelpFile(root / "prog", "RUS"), expected) << c.what;
        // A trailing separator names the same program folder.
        EXPECT_EQ(workspace::FindHelpFile((root / "prog").string() + "/", "RUS"), expected) << c.what;
    }
}
