#include <gtest/gtest.h>

#include "core/workspace/listexport.h"
#include "core/workspace/programname.h"
#include "core/workspace/workspace.h"
#include "tests/support/support.h"

using namespace kv;

TEST(ProgramName, SettingsFilesFollowTheExecutable)
{
    test::TempDir dir;
    EXPECT_EQ(workspace::ProgramName(), "Kvanta_8x20");
    workspace::SetProgramName("Kvanta_copy");
    {
        workspace::Workspace ws(dir.path());
        EXPECT_EQ(ws.FormFilePath(), dir / "Kvanta_copy.frm");
        EXPECT_EQ(ws.FilterListPath(), dir / "Kvanta_copy.flt");
        // The view settings are read from and written to the renamed file.
        ws.SetViewFlag(&workspace::TViewSettings::SortedDraws, true);
        EXPECT_TRUE(std::filesystem::exists(dir / "Kvanta_copy.frm"));
        EXPECT_FALSE(std::filesystem::exists(dir / "Kvanta_8x20.frm"));
    }
    EXPECT_EQ(workspace::ExportOptionsPath(dir.path(), workspace::ProgramName(), workspace::ExportList::Ratings),
              dir / "Kvanta_copy_Ratings.exp");
    workspace::SetProgramName("");
    EXPECT_EQ(workspace::ProgramFileName(".lng"), "Kvanta_8x20.lng");
}
