#include "core/util/files.h"

#include "core/util/error.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

namespace kv::util {
namespace {

namespace fs = std::filesystem;

void writeRaw(const fs::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string readRaw(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in a directory, to see that no temporary file stayed behind.
std::vector<std::string> listing(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string errorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const kv::Error& e) {
        return e.what();
    }
    return "<no kv::Error>";
}

TEST(Files, ErrnoTextIsRussian)
{
    struct Case {
        int err;
        std::string text;
    };
    const std::vector<Case> cases = {
        {ENOENT, "Файл не найден"},
        {EACCES, "Отказано в доступе"},
        {EPERM, "Отказано в доступе"},
        {ENOSPC, "Нет места на устройстве"},
        {EROFS, "Файловая система доступна только для чтения"},
        {EISDIR, "Это каталог"},
        {ENOTDIR, "Это не каталог"},
        {EEXIST, "Файл существует"},
        {EIO, "Ошибка ввода-вывода"},
        {EMFILE, "Слишком много открытых файлов"},
        {12345, std::strerror(12345)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        EXPECT_EQ(ErrnoText(c.err), c.text);
    }
}

TEST(Files, RewriteWritesExactBytesAndLeavesNoTemporary)
{
    kv::test::TempDir dir;
    const fs::path file = dir / "Kvanta_8x20.ini";
    const std::vector<std::string> contents = {
        std::string("first\r\n\xC0\xF0\xF5\0tail", 14),
        "",
        std::string(200000, '\xFF'),
        "last",
    };
    for (const std::string& bytes : contents) {
        SCOPED_TRACE(bytes.size());
        RewriteFile(file, bytes);
        EXPECT_EQ(readRaw(file), bytes);
        EXPECT_EQ(ReadWholeFile(file), bytes);
        EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"Kvanta_8x20.ini"});
    }
}

TEST(Files, AppendCreatesThenExtendsAndReportsTheReason)
{
    kv::test::TempDir dir;
    const fs::path file = dir / "Kvanta_8x20-3.log";
    EXPECT_EQ(AppendToFile(file, std::string("\xD2\xE8\xF0\xE0\xE6\r\n", 7)), 0);
    EXPECT_EQ(AppendToFile(file, ""), 0);
    EXPECT_EQ(AppendToFile(file, std::string("a\0b\r\n", 5)), 0);
    EXPECT_EQ(readRaw(file), std::string("\xD2\xE8\xF0\xE0\xE6\r\na\0b\r\n", 12));
    // A folder that is not there: the errno, and nothing created.
    EXPECT_EQ(AppendToFile(dir / "missing" / "x.log", "line"), ENOENT);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    // A folder where the file should be.
    fs::create_directory(dir / "dir.log");
    EXPECT_EQ(AppendToFile(dir / "dir.log", "line"), EISDIR);
}

TEST(Files, RewriteKeepsThePermissionsOfTheOldFile)
{
    kv::test::TempDir dir;
    const fs::path file = dir / "private.dat";
    writeRaw(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    RewriteFile(file, "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(readRaw(file), "new");
}

TEST(Files, FailedRewriteLeavesTheOldStateAndNoTemporary)
{
    struct Case {
        const char* what;
        std::function<fs::path(const fs::path&)> arrange; // returns the path to rewrite
        std::string message; // with "<P>" for the path
    };
    const std::vector<Case> cases = {
        {"the target is a directory",
         [](const fs::path& d) {
             fs::create_directory(d / "data");
             writeRaw(d / "data" / "inside", "keep");
             return d / "data";
         },
         "Не удалось переименовать файл \"<P>\": Это каталог"},
        {"the temporary name is taken by a directory",
         [](const fs::path& d) {
             writeRaw(d / "data", "old contents");
             fs::create_directory(d / "data.tmp~");
             return d / "data";
         },
         "Не удалось открыть файл \"<P>\": Это каталог"},
        {"the folder does not exist",
         [](const fs::path& d) { return d / "missing" / "data"; },
         "Не удалось открыть файл \"<P>\": Файл не найден"},
        {"a path component is a file",
         [](const fs::path& d) {
             writeRaw(d / "plain", "x");
             return d / "plain" / "data";
         },
         "Не удалось открыть файл \"<P>\": Это не каталог"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kv::test::TempDir dir;
        const fs::path target = c.arrange(dir.path());
        const auto before = listing(dir.path());
        const std::string oldBytes = fs::is_regular_file(target) ? readRaw(target) : "";

        std::string want = c.message;
        want.replace(want.find("<P>"), 3, target.string());
        EXPECT_EQ(errorText([&] { RewriteFile(target, "new contents"); }), want);

        EXPECT_EQ(listing(dir.path()), before);
        if (fs::is_regular_file(target)) {
            EXPECT_EQ(readRaw(target), oldBytes);
        }
        if (fs::is_directory(target)) {
            EXPECT_EQ(readRaw(target / "inside"), "keep");
        }
    }
}

TEST(Files, RewriteInReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    kv::test::TempDir dir;
    const fs::path sub = dir / "ro";
    fs::create_directory(sub);
    writeRaw(sub / "data", "old");
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(errorText([&] { RewriteFile(sub / "data", "new"); }),
              "Не удалось открыть файл \"" + (sub / "data").string() + "\": Отказано в доступе");
    EXPECT_EQ(readRaw(sub / "data"), "old");
    EXPECT_EQ(listing(sub), std::vector<std::string>{"data"});
}

TEST(Files, ReadFailuresNameTheFileAndTheReason)
{
    kv::test::TempDir dir;
    const fs::path missing = dir / "нет такого.ldr";
    EXPECT_EQ(errorText([&] { ReadWholeFile(missing); }),
              "Не удалось открыть файл \"" + missing.string() + "\": Файл не найден");
    EXPECT_EQ(errorText([&] { ReadWholeFile(dir.path()); }),
              "Не удалось открыть файл \"" + dir.path().string() + "\": Это каталог");
}

} // namespace
} // namespace kv::util
