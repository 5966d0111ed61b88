#include "core/util/ini.h"

#include "core/util/error.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace kv::util {
namespace {

namespace fs = std::filesystem;

// A hand-edited settings file: comments, blank lines, spaces around "=", a junk line and a
// Cyrillic value ("Архив"), all of which must survive a write of one key.
const std::string Sample = "; Kvanta settings\r\n"
                           "\r\n"
                           "[Main]\r\n"
                           "Width = 800\r\n"
                           "Caption=\xC0\xF0\xF5\xE8\xE2\r\n"
                           "; a note\r\n"
                           "Height=600\r\n"
                           "\r\n"
                           "[ Proxy ] ; the network\r\n"
                           "Host=proxy.local\r\n"
                           "junk line without equals\r\n"
                           "Port=8080\r\n";

// Sample with one line replaced (`from` is a whole line without its CR LF).
std::string sampleWith(const std::string& from, const std::string& to)
{
    std::string s = Sample;
    const auto at = s.find(from + "\r\n");
    if (at == std::string::npos) ADD_FAILURE() << "no line " << from;
    else s.replace(at, from.size() + 2, to);
    return s;
}

TEST(IniFile, EditsKeepEverythingElseByteForByte)
{
    struct Case {
        const char* what;
        std::function<void(IniFile&)> edit;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"nothing", [](IniFile&) {}, Sample},
        {"replace a value, other case",
         [](IniFile& i) { i.WriteString("main", "WIDTH", "1024"); },
         sampleWith("Width = 800", "Width=1024\r\n")},
        {"same value written back",
         [](IniFile& i) { i.WriteString("Main", "Height", "600"); }, Sample},
        {"Cyrillic value",
         [](IniFile& i) { i.WriteString("Main", "Caption", "Тираж"); },
         sampleWith("Caption=\xC0\xF0\xF5\xE8\xE2", "Caption=\xD2\xE8\xF0\xE0\xE6\r\n")},
        {"empty value",
         [](IniFile& i) { i.WriteString("Main", "Caption", ""); },
         sampleWith("Caption=\xC0\xF0\xF5\xE8\xE2", "Caption=\r\n")},
        {"new key goes after the last key, before the blank line",
         [](IniFile& i) { i.WriteString("Main", "New", "x"); },
         sampleWith("Height=600", "Height=600\r\nNew=x\r\n")},
        {"new key in the last section",
         [](IniFile& i) { i.WriteString("PROXY", "User", "Иван"); },
         Sample + "User=\xC8\xE2\xE0\xED\r\n"},
        {"new section after a blank line",
         [](IniFile& i) { i.WriteString("Stats", "Depth", "5"); },
         Sample + "\r\n[Stats]\r\nDepth=5\r\n"},
        {"integer", [](IniFile& i) { i.WriteInteger("Main", "Height", -5); },
         sampleWith("Height=600", "Height=-5\r\n")},
        {"bool true", [](IniFile& i) { i.WriteBool("Main", "Height", true); },
         sampleWith("Height=600", "Height=1\r\n")},
        {"bool false", [](IniFile& i) { i.WriteBool("Main", "Height", false); },
         sampleWith("Height=600", "Height=0\r\n")},
        {"float with a point", [](IniFile& i) { i.WriteFloat("Main", "Height", 0.5); },
         sampleWith("Height=600", "Height=0.5\r\n")},
        {"line breaks in a value do not split the line",
         [](IniFile& i) { i.WriteString("Main", "Height", "a\r\nb"); },
         sampleWith("Height=600", "Height=a  b\r\n")},
        {"erase a key", [](IniFile& i) { i.EraseKey("MAIN", "caption"); },
         sampleWith("Caption=\xC0\xF0\xF5\xE8\xE2", "")},
        {"erase a missing key", [](IniFile& i) { i.EraseKey("Main", "Nope"); }, Sample},
        {"erase a section", [](IniFile& i) { i.EraseSection("proxy"); },
         Sample.substr(0, Sample.find("[ Proxy ]"))},
        {"empty key is ignored", [](IniFile& i) { i.WriteString("Main", " ", "x"); }, Sample},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniFile ini = IniFile::Parse(Sample);
        c.edit(ini);
        EXPECT_EQ(ini.ToText(), c.text);
    }
}

TEST(IniFile, ReadsWhatTheFileSays)
{
    const IniFile ini = IniFile::Parse(Sample);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Main", "Proxy"}));
    EXPECT_EQ(ini.Keys("main"), (std::vector<std::string>{"Width", "Caption", "Height"}));
    EXPECT_EQ(ini.Keys("proxy"), (std::vector<std::string>{"Host", "Port"}));
    EXPECT_EQ(ini.ReadString("MAIN", "width", "?"), "800");
    EXPECT_EQ(ini.ReadString("Main", "Caption", "?"), "Архив");
    EXPECT_EQ(ini.ReadInteger("proxy", "PORT", 0), 8080);
    EXPECT_EQ(ini.ReadString("Main", "Missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("Missing", "Width", "def"), "def");
    EXPECT_EQ(ini.Value("Main", "Missing"), std::nullopt);
    EXPECT_TRUE(ini.HasSection("pRoXy"));
    EXPECT_FALSE(ini.HasSection("Prox"));
    EXPECT_TRUE(ini.HasKey("Main", "HEIGHT"));
    EXPECT_FALSE(ini.HasKey("Proxy", "Height"));
    EXPECT_FALSE(ini.HasKey("Proxy", "junk line without equals"));
    EXPECT_TRUE(ini.Keys("Missing").empty());
}

TEST(IniFile, ParsingRules)
{
    struct Case {
        const char* what;
        std::string text;
        std::string section, key;
        std::optional<std::string> value;
    };
    const std::vector<Case> cases = {
        {"LF line ends", "[A]\nx=1\ny=2\n", "A", "y", "2"},
        {"CR line ends", "[A]\rx=1\ry=2", "A", "y", "2"},
        {"mixed line ends", "[A]\r\nx=1\ny=2\rz=3", "A", "z", "3"},
        {"spaces and tabs trimmed", "[A]\r\n \tkey \t=  v v \t\r\n", "A", "key", "v v"},
        {"the first = splits", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"duplicate key: the first wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        {"duplicate section: the first wins", "[A]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n", "A", "j",
         std::nullopt},
        {"header with spaces and a comment", "[  My Sec  ] ; c\r\nk=1", "my sec", "k", "1"},
        {"header without closing bracket", "[Open\r\nk=1", "Open", "k", "1"},
        {"comment is no key", "[A]\r\n;k=1\r\n", "A", ";k", std::nullopt},
        {"empty key is no key", "[A]\r\n=1\r\n", "A", "", std::nullopt},
        {"keys before the first section belong to none", "k=1\r\n[A]\r\n", "", "k",
         std::nullopt},
        {"Cyrillic section and key", "[\xD0\xE0\xE7\xED\xEE\xE5]\r\n\xCA\xEB\xFE\xF7=\xC4\xE0",
         "Разное", "Ключ", "Да"},
        {"a UTF-8 file with BOM", "\xEF\xBB\xBF[A]\r\nk=Ёж\r\n", "A", "k", "Ёж"},
        {"value with leading spaces only", "[A]\r\nk=   \r\n", "A", "k", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IniFile::Parse(c.text).Value(c.section, c.key), c.value);
    }
}

TEST(IniFile, WrittenTextUsesCrLfAndKeepsForeignLines)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"[A]\nx=1\ry=2\n\nz=3", "[A]\r\nx=1\r\ny=2\r\n\r\nz=3\r\n"},
        {"k=1\r\n[A]\r\n", "k=1\r\n[A]\r\n"},
        {"\r\n\r\n", "\r\n\r\n"},
        {"\xEF\xBB\xBF[A]\r\nk=\xD0\x81\r\n", "[A]\r\nk=\xA8\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(IniFile::Parse(c.in).ToText(), c.out);
    }
}

TEST(IniFile, DuplicatesAreAllErasedAndWrittenOnce)
{
    IniFile ini = IniFile::Parse("[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\n[B]\r\nb=1\r\n");
    ini.WriteString("a", "k", "9");
    EXPECT_EQ(ini.ToText(), "[A]\r\nk=9\r\nK=2\r\n[a]\r\nk=3\r\n[B]\r\nb=1\r\n");
    ini.EraseKey("A", "K");
    EXPECT_EQ(ini.ToText(), "[A]\r\n[a]\r\nk=3\r\n[B]\r\nb=1\r\n");
    ini.EraseSection("A");
    EXPECT_EQ(ini.ToText(), "[B]\r\nb=1\r\n");
}

TEST(IniFile, NewKeysAndSectionsInAnEmptyDocument)
{
    IniFile ini;
    ini.WriteString("Main", "A", "1");
    ini.WriteString("Main", "B", "2");
    ini.WriteString("Other", "C", "3");
    ini.WriteString("main", "D", "4");
    EXPECT_EQ(ini.ToText(), "[Main]\r\nA=1\r\nB=2\r\nD=4\r\n\r\n[Other]\r\nC=3\r\n");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Main", "Other"}));

    // A section holding only a comment gets its first key after it.
    IniFile commented = IniFile::Parse("[S]\r\n; about S\r\n\r\n[T]\r\n");
    commented.WriteString("S", "k", "v");
    EXPECT_EQ(commented.ToText(), "[S]\r\n; about S\r\nk=v\r\n\r\n[T]\r\n");
}

TEST(IniFile, ReadIntegerFallsBackOnGarbage)
{
    struct Case {
        std::string text;
        int64_t value; // -99 is the default
    };
    const std::vector<Case> cases = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"007", 7},
        {"$1F", 31},
        {"$ff", 255},
        {"0x1f", 31},
        {"0X10", 16},
        {"-$10", -16},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"$0000000000000000001", 1},
        {"$10000000000000000", -99},
        {"9223372036854775807", std::numeric_limits<int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
        {"9223372036854775808", -99},
        {"-9223372036854775809", -99},
        {"99999999999999999999", -99},
        {"12abc", -99},
        {"1.5", -99},
        {"1 000", -99},
        {"", -99},
        {"-", -99},
        {"$", -99},
        {"0x", -99},
        {"$G", -99},
        {"--1", -99},
        {"true", -99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniFile ini;
        ini.WriteString("T", "k", c.text);
        EXPECT_EQ(ini.ReadInteger("T", "k", -99), c.value);
    }
    int64_t v = 0;
    EXPECT_TRUE(TryParseInt("  12 ", v));
    EXPECT_EQ(v, 12);
    v = 5;
    EXPECT_FALSE(TryParseInt("x", v));
    EXPECT_EQ(v, 5);
}

TEST(IniFile, ReadBoolFallsBackOnGarbage)
{
    struct Case {
        std::string text;
        std::optional<bool> value; // nullopt: the default
    };
    const std::vector<Case> cases = {
        {"1", true},       {"0", false},     {"-1", true},      {"2", true},
        {"$0", false},     {"true", true},   {"TRUE", true},    {"False", false},
        {"yes", std::nullopt}, {"", std::nullopt}, {"1.0", std::nullopt}, {"truely", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniFile ini;
        ini.WriteString("T", "k", c.text);
        for (bool def : {false, true})
            EXPECT_EQ(ini.ReadBool("T", "k", def), c.value.value_or(def));
    }
}

TEST(IniFile, ReadFloatTakesPointOrComma)
{
    struct Case {
        std::string text;
        double value; // -99 is the default
    };
    const std::vector<Case> cases = {
        {"0.5", 0.5},   {"0,5", 0.5},      {"-1.25", -1.25}, {"3,75", 3.75},
        {"+2", 2},      {"7", 7},          {"1e3", 1000},    {"1,5E-2", 0.015},
        {".5", 0.5},    {"5.", 5},         {"1,234.5", -99}, {"1.2.3", -99},
        {"abc", -99},   {"", -99},         {"nan", -99},     {"inf", -99},
        {"1e999", -99}, {"0x10", -99},     {"+-1", -99},     {"1 5", -99},
        {",", -99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniFile ini;
        ini.WriteString("T", "k", c.text);
        EXPECT_EQ(ini.ReadFloat("T", "k", -99), c.value);
    }
}

TEST(IniFile, FloatTextIsShortestAndReadsBackExactly)
{
    struct Case {
        double value;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0.5, "0.5"},   {3.0, "3"},          {1.25, "1.25"},
        {0.1, "0.1"},   {-2.5, "-2.5"},      {0.1 + 0.2, "0.30000000000000004"},
        {1e20, "1e+20"}, {1e-7, "1e-07"},     {100, "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToIniText(c.value), c.text);
    }
    for (double v : {0.1 + 0.2, 1.0 / 3, 5e-324, DBL_MAX, -DBL_MIN, 123456.789}) {
        SCOPED_TRACE(v);
        IniFile ini;
        ini.WriteFloat("T", "k", v);
        const double back = IniFile::Parse(ini.ToText()).ReadFloat("T", "k", -99);
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0);
    }
}

TEST(IniFile, CyrillicRoundTripThroughARealFile)
{
    kv::test::TempDir dir;
    const fs::path file = dir / "Kvanta_8x20.ini";
    IniFile ini;
    ini.WriteString("Главное", "Заголовок", "Архив тиражей 8x20");
    ini.WriteFloat("Главное", "Доля", 0.25);
    ini.WriteInteger("Stats", "Depth", 12);
    ini.Save(file);

    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "[\xC3\xEB\xE0\xE2\xED\xEE\xE5]\r\n"
                     "\xC7\xE0\xE3\xEE\xEB\xEE\xE2\xEE\xEA=\xC0\xF0\xF5\xE8\xE2 "
                     "\xF2\xE8\xF0\xE0\xE6\xE5\xE9 8x20\r\n"
                     "\xC4\xEE\xEB\xFF=0.25\r\n"
                     "\r\n"
                     "[Stats]\r\n"
                     "Depth=12\r\n");

    const IniFile back = IniFile::Load(file);
    EXPECT_EQ(back.ReadString("Главное", "Заголовок", ""), "Архив тиражей 8x20");
    EXPECT_EQ(back.ReadFloat("Главное", "Доля", 0), 0.25);
    EXPECT_EQ(back.ReadInteger("stats", "depth", 0), 12);
    EXPECT_EQ(back.ToText(), bytes);
}

TEST(IniFile, LoadingMissingAndUnreadableFiles)
{
    kv::test::TempDir dir;
    const IniFile missing = IniFile::Load(dir / "absent.ini");
    EXPECT_TRUE(missing.Sections().empty());
    EXPECT_EQ(missing.ToText(), "");
    EXPECT_THROW(IniFile::Load(dir.path()), kv::Error);
    // Saving onto a directory fails and leaves it as it was.
    fs::create_directory(dir / "sub.ini");
    IniFile ini;
    ini.WriteString("A", "b", "c");
    EXPECT_THROW(ini.Save(dir / "sub.ini"), kv::Error);
    EXPECT_TRUE(fs::is_directory(dir / "sub.ini"));
}

} // namespace
} // namespace kv::util

namespace kv::util {

TEST(IniFile, ForeignEncodingsSurviveARewriteOfAnotherKey)
{
    struct Case {
        const char* fixture;
        std::string name;     // the value as read
        std::string after;    // the file after Count is set to 2
    };
    const std::vector<Case> cases = {
        // UTF-8 without a byte-order mark is read as UTF-8 and written back in CP1251.
        {"settings-utf8.ini", "Иван", "[GLOBAL]\r\nName=\xC8\xE2\xE0\xED\r\nCount=2\r\n"},
        // 0x98 has no character, yet comes back as the same byte.
        {"settings-98.ini", "a\xEF\xBF\xBD" "b", "[GLOBAL]\r\nName=a\x98" "b\r\nCount=2\r\n"},
        // A byte-order mark before text that is not UTF-8: the rest is CP1251, kept byte for byte.
        {"settings-bom-cp1251.ini", "Ив\xEF\xBF\xBD", "[GLOBAL]\r\nName=\xC8\xE2\x98\r\nCount=2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        test::TempDir dir;
        const auto path = dir / "settings.ini";
        test::WriteBytes(path, test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / c.fixture));
        IniFile ini = IniFile::Load(path);
        EXPECT_EQ(ini.ReadString("GLOBAL", "Name", ""), c.name);
        ini.WriteInteger("GLOBAL", "Count", 2);
        ini.Save(path);
        EXPECT_EQ(test::ReadBytes(path), c.after);
    }
    // Text that happens to be valid UTF-8 only by accident is rare: two Russian letters in CP1251
    // never are, so they stay CP1251.
    EXPECT_EQ(IniFile::Parse("[A]\r\nK=\xC8\xE2\r\n").ReadString("A", "K", ""), "Ив");
}

} // namespace kv::util
