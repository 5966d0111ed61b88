#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <sstream>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/workspace/cmdline.h"
#include "core/workspace/headless.h"
#include "core/workspace/workspace.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

TEST(HeadlessWords, OptionsAndErrors)
{
    const struct {
        std::vector<std::string> args;
        std::string word, error;
        std::vector<std::string> rest;
        int len, offset;
        bool compare;
    } cases[] = {
        {{"--data-dir", "d", "stattable", "pos3", "--len", "50", "--offset", "2", "--compare"}, "stattable", "", {"pos3"}, 50, 2, true},
        {{"-ScriptTest", "100", "--scenario", "a.lsc", "--out", "o.csv"}, "scripttest", "", {"100"}, -1, 0, false},
        {{"stattable", "NUMS", "--len", "x"}, "stattable", "параметр --len должен быть целым числом от 1 до 2147483647: \"x\"", {"NUMS"}, -1, 0, false},
        {{"scriptrun", "--out"}, "scriptrun", "не задано значение параметра --out", {}, -1, 0, false},
        {{"loadonly", "200"}, "", "", {}, -1, 0, false},
        {{"scripttest", "9", "--luck", "99"}, "scripttest", "параметр --luck должен быть целым числом от 100 до 10000000: \"99\"", {"9"}, -1, 0, false},
        {{"scripttest", "9", "--holdout", "-1"}, "scripttest", "параметр --holdout должен быть целым числом от 0 до 2147483647: \"-1\"", {"9"}, -1, 0, false},
    };
    for (const auto& c : cases) {
        const workspace::CommandLine cmd = workspace::ParseCommandLine(c.args);
        EXPECT_EQ(cmd.headless, c.word) << c.args[0];
        EXPECT_EQ(cmd.headlessError, c.error) << c.args[0];
        EXPECT_EQ(cmd.headlessArgs, c.rest) << c.args[0];
        EXPECT_EQ(cmd.statLen, c.len) << c.args[0];
        EXPECT_EQ(cmd.statOffset, c.offset) << c.args[0];
        EXPECT_EQ(cmd.compare, c.compare) << c.args[0];
    }
    EXPECT_EQ(workspace::ParseCommandLine({"scripttest", "5", "--scenario", "a.lsc"}).scenarioFile, "a.lsc");
    const workspace::CommandLine test = workspace::ParseCommandLine({"scripttest", "200", "--holdout", "50", "--luck", "10000", "--report", "r.html"});
    EXPECT_EQ(test.error, "");
    EXPECT_EQ(test.holdout, 50);
    EXPECT_EQ(test.luckDraws, 10000);
    EXPECT_EQ(test.reportFile, "r.html");
    EXPECT_NE(workspace::UsageText().find("stattable КОД [--len L] [--offset K] [--compare]"), std::string::npos);
}

TEST(HeadlessOut, WrittenWholeOrNotAtAll)
{
    test::TempDir dir;
    archive::WriteArchiveFile(dir / archive::ArchiveFileName, archive::SyntheticDraws(60, 9, 1));
    const std::filesystem::path target = dir / "result.txt";
    test::WriteBytes(target, "older");
    const workspace::CommandLine cmd = workspace::ParseCommandLine({"stattable", "NUMS", "--out", target.string()});
    std::ostringstream unused;
    for (const bool room : {false, true}) {
        workspace::Workspace ws(dir.path());
        test::ScriptedShell sh;
        util::SimulateDiskSpace(room ? -1 : 100);
        const int code = workspace::RunHeadlessCommand(ws, sh, cmd, unused);
        util::SimulateDiskSpace(-1);
        EXPECT_FALSE(std::filesystem::exists(dir / "result.txt.tmp~"));
        if (!room) {
            EXPECT_EQ(code, 1);
            EXPECT_EQ(test::ReadBytes(target), "older");
            ASSERT_EQ(sh.messages.size(), 1u);
            EXPECT_EQ(sh.messages[0].text.rfind("Kvanta_8x20 stattable: Не удалось записать файл", 0), 0u) << sh.messages[0].text;
        } else {
            EXPECT_EQ(code, 0);
            EXPECT_EQ(test::ReadBytes(target).rfind("NUMS\tЧисла тиража\tТиражей: 60", 0), 0u);
        }
    }
    EXPECT_TRUE(unused.str().empty());
}

#ifdef KV_PROGRAM

struct ProgramRun {
    int code = -1;
    std::string out, err;
};

// The program as cron starts it: no display.
ProgramRun Program(const std::filesystem::path& dir, const std::string& words, std::string stdOut = "")
{
    if (stdOut.empty()) stdOut = (dir / "out.txt").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" KV_PROGRAM "' --data-dir '" +
                                dir.string() + "' " + words + " >'" + stdOut + "' 2>'" + (dir / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    ProgramRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (std::filesystem::exists(dir / "out.txt")) r.out = test::ReadBytes(dir / "out.txt");
    r.err = test::ReadBytes(dir / "err.txt");
    return r;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

bool Starts(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

int Fields(const std::string& line, char sep)
{
    return 1 + static_cast<int>(std::count(line.begin(), line.end(), sep));
}

struct HeadlessFixture : ::testing::Test {
    test::TempDir dir;
    void SetUp() override
    {
        archive::WriteArchiveFile(dir / archive::ArchiveFileName, archive::SyntheticDraws(150, 9, 1));
    }
    void Scenario(const std::string& name, const std::string& text) { test::WriteBytes(dir / name, util::Utf8ToCp1251(text)); }
};

TEST_F(HeadlessFixture, StatTablePrintsTheHeaderAndTwentyColumns)
{
    const ProgramRun r = Program(dir.path(), "stattable nums --len 40 --offset 3");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 2u + 20u);   // the method line, the captions, one row per number
    EXPECT_EQ(lines[0], "NUMS\tЧисла тиража\tТиражей: 40\tСмещение: 3");
    EXPECT_TRUE(Starts(lines[1], "Значение\tКоличество\tКол-во в %\tНорма")) << lines[1];
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(Fields(lines[i], '\t'), 20) << lines[i];
    // Sorted by "Количество", and 40 draws of 8 numbers counted.
    int total = 0, last = -1;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string count = lines[i].substr(lines[i].find('\t') + 1);
        const int c = std::stoi(count);
        EXPECT_GE(c, last);
        last = c;
        total += c;
    }
    EXPECT_EQ(total, 320);
}

TEST_F(HeadlessFixture, CommandLinesThatDoNotReadExitTwoAndNameTheProblem)
{
    const std::string archive = test::ReadBytes(dir / archive::ArchiveFileName);
    const struct {
        std::string words, error;
    } cases[] = {
        {"scripttest 5x", "Kvanta_8x20 scripttest: количество тестов должно быть целым числом от 1 до 149: \"5x\""},
        {"scripttest 1e3", "Kvanta_8x20 scripttest: количество тестов должно быть целым числом от 1 до 149: \"1e3\""},
        {"scripttest 4294967297", "количество тестов должно быть целым числом от 1 до 149: \"4294967297\""},
        {"stattable NUMS --len -1", "Kvanta_8x20 stattable: параметр --len должен быть целым числом от 1 до 2147483647: \"-1\""},
        {"stattable NUMS --len 2147483647", "Kvanta_8x20 stattable: длина выборки (--len) должна быть от 1 до 150"},
        {"stattable NUMS --offset 5 --len 146", "длина выборки (--len) должна быть от 1 до 145"},
        {"stattable NUMS --lenght 5", "Kvanta_8x20 stattable: неизвестный параметр --lenght"},
        {"stattable \"$(printf '\\377\\001')\"", "Kvanta_8x20 stattable: неизвестный код метода статистики \"\\xFF\\x01\""},
        {"loadonly now", "Kvanta_8x20: лишнее слово now"},
        {"fullrecreate 2", "Kvanta_8x20: лишнее слово 2"},
        {"--version please", "Kvanta_8x20: лишнее слово please"},
        {"--frobnicate", "Kvanta_8x20: неизвестный параметр --frobnicate"},
        {"--data-dir", "Kvanta_8x20: не задано значение параметра --data-dir"},
        {"loadonly -platform offscreen", "Kvanta_8x20: параметр -platform действует только при запуске с окном"},
        {"stattable NUMS --out Kvanta_8x20.ldr", "файл \"Kvanta_8x20.ldr\" - файл данных программы; результат в него не записывается"},
        {"scriptrun --out Prefetchs/x.csv", "файл \"Prefetchs/x.csv\" - файл данных программы"},
    };
    for (const auto& c : cases) {
        // Relative --out targets are the data folder's files: the run starts there.
        const std::string words = c.words.find("--out") != std::string::npos ? "" : c.words;
        const ProgramRun r = words.empty()
            ? [&] {
                  const std::string command = "cd '" + dir.path().string() + "' && env -u DISPLAY '" KV_PROGRAM "' --data-dir . " +
                                              c.words + " >out.txt 2>err.txt";
                  const int status = std::system(command.c_str());
                  return ProgramRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadBytes(dir / "out.txt"),
                                    test::ReadBytes(dir / "err.txt")};
              }()
            : Program(dir.path(), words);
        EXPECT_EQ(r.code, 2) << c.words << ": " << r.err;
        EXPECT_NE(Lines(r.err).at(0).find(c.error), std::string::npos) << c.words << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.words;
    }
    EXPECT_EQ(test::ReadBytes(dir / archive::ArchiveFileName), archive);
    EXPECT_FALSE(std::filesystem::exists(dir / "Prefetchs" / "x.csv"));
}

TEST_F(HeadlessFixture, AResultThatCannotBeWrittenIsAFailure)
{
    const ProgramRun full = Program(dir.path(), "stattable NUMS --len 10", "/dev/full");
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(full.err,
              "Ошибка: Kvanta_8x20 stattable: не удалось записать результат в стандартный вывод: Нет места на устройстве\n");
}

TEST_F(HeadlessFixture, BadRequestsExitTwoWithOneLine)
{
    Scenario("broken.lsc", "");
    for (const std::string& words : {std::string("stattable QQQ"), std::string("scripttest 5 --scenario missing.lsc"),
                                     std::string("scripttest 0"), std::string("scriptrun"),
                                     std::string("scripttest 5 --holdout 5"), std::string("scriptrun --holdout 1")}) {
        const ProgramRun r = Program(dir.path(), words);
        EXPECT_EQ(r.code, 2) << words;
        EXPECT_TRUE(r.out.empty()) << words;
        EXPECT_EQ(Lines(r.err).size(), 1u) << words << ": " << r.err;
    }
    EXPECT_NE(Program(dir.path(), "stattable QQQ").err.find("неизвестный код метода статистики \"QQQ\""), std::string::npos);
}

TEST_F(HeadlessFixture, ScriptTestPrintsTouchedRatingRowsAndSurvival)
{
    Scenario("s.lsc", "FULL:0#FIRST|TMD1#NUMS:30,60#LNO:#ST:2| | | | | | |idea\r\n");
    const ProgramRun r = Program(dir.path(), "scripttest 12 --scenario '" + (dir / "s.lsc").string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 7u) << r.out;
    EXPECT_EQ(Fields(lines[0], ';'), 15);
    EXPECT_TRUE(Starts(lines[1], "\"01.001: idea @ FULL#FIRST + TMD1#NUMS:30#LNO:#ST:2\";12;")) << lines[1];
    EXPECT_EQ(lines[3], "");
    EXPECT_TRUE(Starts(lines[4], "\"Фильтр\";\"Тестов\";\"Выжил\"")) << lines[4];
    EXPECT_TRUE(Starts(lines[5], "\"TMD1#NUMS:30#LNO:#ST:2\";12;")) << lines[5];
    EXPECT_EQ(Fields(lines[6], ';'), 8);
    // The rating was fed and saved, the current scenario left alone.
    EXPECT_EQ(std::filesystem::file_size(dir / "Kvanta_8x20.lrt"), 2u * 312u);
    EXPECT_FALSE(std::filesystem::exists(dir / "Kvanta_8x20.lss"));
}

// A hold-out of 4 of 12 draws with the luck test: a line per half of every touched row with its
// p and q, the survival with its hold-out columns, and the report page.
TEST_F(HeadlessFixture, ScriptTestWithHoldoutLuckAndReport)
{
    Scenario("s.lsc", "FULL:0#FIRST|TMD1#NUMS:30,60#LNO:#ST:2| | | | | | |idea\r\n");
    const ProgramRun r = Program(dir.path(), "scripttest 12 --holdout 4 --luck 200 --report '" + (dir / "r.html").string()
                                                 + "' --scenario '" + (dir / "s.lsc").string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 9u) << r.out;
    EXPECT_TRUE(Starts(lines[0], "\"Тиражи\";\"Комментарий\";\"Ставок\"")) << lines[0];
    EXPECT_EQ(Fields(lines[0], ';'), 20);
    EXPECT_TRUE(Starts(lines[1], "\"настройка\";\"01.001: idea @ FULL#FIRST + TMD1#NUMS:30#LNO:#ST:2\";8;")) << lines[1];
    EXPECT_TRUE(Starts(lines[2], "\"контроль\";\"01.001: idea @ FULL#FIRST + TMD1#NUMS:30#LNO:#ST:2\";4;")) << lines[2];
    EXPECT_TRUE(Starts(lines[4], "\"контроль\";\"01.002: idea @")) << lines[4];
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(Fields(lines[std::size_t(i)], ';'), 20) << lines[std::size_t(i)];
        const std::string last = lines[std::size_t(i)].substr(lines[std::size_t(i)].rfind(';') + 1);
        EXPECT_TRUE(last == "1.0000" || (last.size() == 6 && last[1] == '.')) << last;
    }
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(Fields(lines[6], ';'), 15);
    EXPECT_TRUE(Starts(lines[7], "\"TMD1#NUMS:30#LNO:#ST:2\";8;")) << lines[7];
    const std::string html = test::ReadBytes(dir / "r.html");
    EXPECT_TRUE(Starts(html, "<!DOCTYPE html>"));
    EXPECT_NE(html.find("Сценарий: s.lsc. Тест по 12 тиражам (№ 139 - № 150), из них контрольных"), std::string::npos);

    // A report over a data file is refused before anything runs.
    const auto ratingBytes = test::ReadBytes(dir / "Kvanta_8x20.lrt");
    const ProgramRun data = Program(dir.path(), "scripttest 3 --report '" + (dir / "Kvanta_8x20.lrt").string() + "' --scenario '"
                                                    + (dir / "s.lsc").string() + "'");
    EXPECT_EQ(data.code, 2);
    EXPECT_EQ(test::ReadBytes(dir / "Kvanta_8x20.lrt"), ratingBytes);

    // A report that cannot be written: the results are still printed, the failure named, exit 1.
    const ProgramRun bad = Program(dir.path(), "scripttest 3 --report '" + (dir / "no" / "r.html").string() + "' --scenario '"
                                                   + (dir / "s.lsc").string() + "'");
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("r.html"), std::string::npos) << bad.err;
    EXPECT_TRUE(Starts(bad.out, "\"Комментарий\";")) << bad.out;
}

TEST_F(HeadlessFixture, ScriptRunStopsAtABrokenLineWithExitOne)
{
    Scenario("Kvanta_8x20.lss", "FULL:0#FIRST|TMD1#NUMS:30#LNO:#ST:2| | | | | | |a\r\n"
                                "FULL:0#FIRST|TMD1#QQQQ:30#LNO:#ST:2| | | | | | |b\r\n"
                                "FULL:0#FIRST|TMD1#NUMS:60#LNO:#ST:2| | | | | | |c\r\n");
    const ProgramRun r = Program(dir.path(), "scriptrun --out '" + (dir / "stakes.csv").string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Метод расчета статистики \"QQQQ\""), std::string::npos) << r.err;
    const std::vector<std::string> lines = Lines(test::ReadBytes(dir / "stakes.csv"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(Starts(lines[1], "151;")) << lines[1];
    EXPECT_NE(lines[1].find("01.001: a @"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(dir / "Kvanta_8x20.lsk"), 312u);
}

#endif

} // namespace
