#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scenario/scenario.h"
#include "core/scenario/scriptheader.h"
#include "core/workspace/workspace.h"
#include "core/stats/statlist.h"
#include "core/util/error.h"
#include "tests/support/support.h"

using namespace kv;
using Lines = std::vector<std::string>;

namespace {

stats::TStatList& Registry()
{
    static game::TDrawsArray draws;
    static stats::TStatList list = [] {
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList();
        return l;
    }();
    return list;
}

// "Идея" in CP1251.
const std::string IdeaCp = "\xC8\xE4\xE5\xFF";

TEST(ScenarioFile, LineEndsAndCodePage)
{
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\r\n", {""}},
        {"a\n\rb", {"a", "", "b"}},
        {IdeaCp + "|x\r\n", {"Идея|x"}},
        // A file another player saved in UTF-8, with or without a byte-order mark.
        {"Идея|x\r\n", {"Идея|x"}},
        {"\xEF\xBB\xBFИдея", {"Идея"}},
    };
    for (const Case& c : cases) EXPECT_EQ(scenario::ScenarioFromBytes(c.bytes), c.lines) << c.bytes;

    const Lines lines = {"FULL:0#RAND| | | | | | | |Идея", "", "x"};
    EXPECT_EQ(scenario::ScenarioToBytes(lines), "FULL:0#RAND| | | | | | | |" + IdeaCp + "\r\n\r\nx\r\n");
    EXPECT_EQ(scenario::ScenarioFromBytes(scenario::ScenarioToBytes(lines)), lines);
    EXPECT_EQ(scenario::ScenarioToBytes(Lines{}), "");
}

TEST(Scenario, EveryChangeRewritesTheMirrorFile)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    workspace::Workspace ws(dir.path());
    scenario::TScenario& s = ws.Scenario();
    int views = 0;
    s.onChanged = [&] { ++views; };
    const auto file = dir / "Kvanta_8x20.lss";
    ASSERT_EQ(s.CurrentFile(), file);

    EXPECT_EQ(s.AddLine("a", sh), 0);
    EXPECT_EQ(test::ReadBytes(file), "a\r\n");
    EXPECT_EQ(s.AddLine("", sh), 1);
    EXPECT_EQ(s.AddLine("Идея", sh), 2);
    EXPECT_EQ(test::ReadBytes(file), "a\r\n\r\n" + IdeaCp + "\r\n");
    s.PutLine(1, "b", sh);
    EXPECT_EQ(s.GetLine(1), "b");
    EXPECT_EQ(test::ReadBytes(file), "a\r\nb\r\n" + IdeaCp + "\r\n");
    EXPECT_EQ(s.MoveLine(0, false, sh), 1);
    EXPECT_EQ(s.Lines(), (Lines{"b", "a", "Идея"}));
    EXPECT_EQ(s.MoveLine(0, true, sh), 0);   // the first line cannot go up
    EXPECT_EQ(s.MoveLine(2, false, sh), 2);  // nor the last one down
    s.DeleteLines({2, 0, 7, 0}, sh);
    EXPECT_EQ(s.Lines(), Lines{"a"});
    EXPECT_EQ(test::ReadBytes(file), "a\r\n");
    s.Clear(sh);
    EXPECT_EQ(test::ReadBytes(file), "");
    EXPECT_EQ(views, 7);
    EXPECT_TRUE(sh.messages.empty());
    EXPECT_EQ(sh.BusyCount(), 0);

    // What start-up reads back.
    test::WriteBytes(file, "x\r\ny\r\n");
    workspace::Workspace again(dir.path());
    again.Scenario().LoadCurrent(sh);
    EXPECT_EQ(again.Scenario().Lines(), (Lines{"x", "y"}));
}

TEST(Scenario, IndexesOutsideTheListAreRefused)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    scenario::TScenario s(dir / "Kvanta_8x20.lss");
    s.AddLine("a", sh);
    for (int index : {-1, 1, 5}) {
        try {
            s.PutLine(index, "x", sh);
            ADD_FAILURE() << index;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Запись со индексом " + std::to_string(index) + " в файле данных не найдена!");
        }
        EXPECT_THROW((void)s.GetLine(index), Error);
    }
    EXPECT_EQ(s.Lines(), Lines{"a"});
    EXPECT_EQ(test::ReadBytes(dir / "Kvanta_8x20.lss"), "a\r\n");
}

TEST(Scenario, LoadingReplacesOrAppendsWithOneSeparator)
{
    struct Case {
        const char* name;
        Lines before;
        std::string file;
        bool append;
        Lines after;
    };
    const std::vector<Case> cases = {
        {"append after a step", {"s1"}, "f1\r\nf2\r\n", true, {"s1", "", "f1", "f2"}},
        {"append after a separator", {"s1", ""}, "f1\r\n", true, {"s1", "", "f1"}},
        {"append to nothing", {}, "f1\r\nf2", true, {"f1", "f2"}},
        {"append an empty file", {"s1"}, "", true, {"s1"}},
        {"replace", {"s1", "s2"}, "f1\r\n", false, {"f1"}},
        {"replace with an empty file", {"s1"}, "", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::ScriptedShell sh;
        scenario::TScenario s(dir / "Kvanta_8x20.lss");
        for (const std::string& l : c.before) s.AddLine(l, sh);
        test::WriteBytes(dir / "user.lsc", c.file);
        EXPECT_TRUE(s.OpenFile(dir / "user.lsc", c.append, sh));
        EXPECT_EQ(s.Lines(), c.after);
        EXPECT_EQ(test::ReadBytes(dir / "Kvanta_8x20.lss"), scenario::ScenarioToBytes(c.after));
        EXPECT_EQ(sh.statusTexts.front(), "Загрузка файла \"" + (dir / "user.lsc").string() + "\"...");
        EXPECT_TRUE(sh.messages.empty());
    }
}

TEST(Scenario, FileFailuresAreShownAndKeepTheScenario)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    scenario::TScenario s(dir / "Kvanta_8x20.lss");
    s.AddLine("s1", sh);
    const auto missing = dir / "missing.lsc";
    EXPECT_FALSE(s.LoadScenario(missing, false, sh));
    EXPECT_EQ(s.Lines(), Lines{"s1"});
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(sh.messages[0].text.rfind("Ошибка чтения файла \"" + missing.string() + "\"!\n\n", 0), 0u)
        << sh.messages[0].text;

    const auto blocked = dir / "no-such-dir" / "x.lsc";
    EXPECT_FALSE(s.SaveScenario(blocked, sh));
    ASSERT_EQ(sh.messages.size(), 2u);
    EXPECT_EQ(sh.messages[1].text.rfind("Ошибка записи в файл \"" + blocked.string() + "\"!\n\n", 0), 0u);

    EXPECT_TRUE(s.SaveScenario(dir / "saved.lsc", sh));
    EXPECT_EQ(test::ReadBytes(dir / "saved.lsc"), "s1\r\n");
    EXPECT_EQ(sh.BusyCount(), 0);
}

// Unsaved lines are asked about before the scenario is replaced; a saved or opened one is not.
TEST(Scenario, ReplacingUnsavedLinesAsksFirst)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    scenario::TScenario s(dir / "Kvanta_8x20.lss");
    EXPECT_TRUE(s.MayReplace(sh));   // empty
    s.AddLine("s1", sh);
    EXPECT_TRUE(s.Unsaved());
    sh.answers = {false, true};
    EXPECT_FALSE(s.MayReplace(sh));
    EXPECT_TRUE(s.MayReplace(sh));
    ASSERT_EQ(sh.questions.size(), 2u);
    EXPECT_EQ(sh.questions[0].text, scenario::TScenario::UnsavedQuestion);
    EXPECT_FALSE(sh.questions[0].yesIsDefault);

    EXPECT_FALSE(s.SaveScenario(dir / "no-such-dir" / "x.lsc", sh));
    EXPECT_TRUE(s.Unsaved()) << "a failed save saved nothing";
    EXPECT_TRUE(s.SaveScenario(dir / "saved.lsc", sh));
    EXPECT_FALSE(s.Unsaved());
    EXPECT_TRUE(s.MayReplace(sh));
    EXPECT_EQ(sh.questions.size(), 2u);
    s.PutLine(0, "s2", sh);
    EXPECT_TRUE(s.Unsaved());
    EXPECT_TRUE(s.OpenFile(dir / "saved.lsc", false, sh));
    EXPECT_FALSE(s.Unsaved());
    EXPECT_TRUE(s.OpenFile(dir / "saved.lsc", true, sh));
    EXPECT_TRUE(s.Unsaved()) << "appended lines are not in any file";
    EXPECT_FALSE(s.OpenFile(dir / "missing.lsc", false, sh));
    EXPECT_TRUE(s.Unsaved());
    scenario::TScenario again(dir / "Kvanta_8x20.lss");
    again.LoadCurrent(sh);
    EXPECT_FALSE(again.Unsaved());
}

TEST(RatingsToScript, ScenarioStakeNamesBecomeLinesOthersAreReported)
{
    struct Case {
        std::string name;
        std::string line;   // empty: refused
    };
    const std::vector<Case> cases = {
        {"03.012: my idea @ EXCL:5#RAND + TSD1#NUMS:10#LMV:3#SF:1",
         "EXCL:5#RAND|TSD1#NUMS:10#LMV:3#SF:1| | | | | | |03.012: my idea"},
        {"01.002: @ FULL#ALL#NEX + TSD1#NUMS:10#LNO:#SF:1 + BMF8#SUMS:20#WMV:5#SV:3",
         "FULL#ALL#NEX|TSD1#NUMS:10#LNO:#SF:1|BMF8#SUMS:20#WMV:5#SV:3| | | | | |01.002:"},
        {"Ставка \"вручную\"", ""},
        {"01.001: only a header @ FULL#RAND", ""},
    };
    test::TempDir dir;
    test::ScriptedShell sh;
    scenario::TScenario s(dir / "Kvanta_8x20.lss");
    std::vector<std::string> names;
    Lines expected;
    for (const Case& c : cases) {
        EXPECT_EQ(scenario::RatingNameToLine(c.name, Registry()), c.line) << c.name;
        names.push_back(c.name);
        if (!c.line.empty()) expected.push_back(c.line);
    }
    EXPECT_EQ(scenario::RatingsToScript(names, s, Registry(), sh), 2);
    EXPECT_EQ(s.Lines(), expected);
    ASSERT_EQ(sh.messages.size(), 2u);
    EXPECT_EQ(sh.messages[0].text, "Строку\n\nСтавка \"вручную\"\n\nневозможно добавить в сценарий!");
    EXPECT_EQ(sh.messages[1].text, "Строку\n\n01.001: only a header @ FULL#RAND\n\nневозможно добавить в сценарий!");
    EXPECT_EQ(sh.statusTexts.front(), "Генерация новых строк в сценарии...");

    // The line runs the stake's own variant: its header and filter read back as they were.
    EXPECT_EQ(scenario::StepField(s.GetLine(0), 2), "TSD1#NUMS:10#LMV:3#SF:1");
    EXPECT_EQ(scenario::StepField(s.GetLine(0), 9), "03.012: my idea");
}

} // namespace
