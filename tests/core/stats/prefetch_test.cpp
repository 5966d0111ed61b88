#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/game/types.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/prefetch.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "tests/core/stats/kindtest.h"
#include "tests/support/support.h"

using namespace kv;
using namespace kv::stats;
using game::TComb;

namespace {

using kv::test::AllCombs;

void PutU16(std::string& s, int v)
{
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void PutI32(std::string& s, int64_t v)
{
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) s += char((u >> (8 * i)) & 0xFF);
}
// One 12-byte record: four keys and a count.
std::string Record(int k0, int64_t count, int k1 = 0, int k2 = 0, int k3 = 0)
{
    std::string s;
    PutU16(s, k0);
    PutU16(s, k1);
    PutU16(s, k2);
    PutU16(s, k3);
    PutI32(s, count);
    return s;
}
std::string Trailer(int64_t minCount, int64_t maxCount, int64_t third = 0)
{
    std::string s;
    PutI32(s, minCount);
    PutI32(s, maxCount);
    PutI32(s, third);
    return s;
}

// The NUMS file: every number lies in C(19, 7) = 50388 of the combinations.
std::string NumsFile()
{
    std::string s;
    for (int n = 1; n <= 20; ++n) s += Record(n, 50388);
    return s + Trailer(50388, 50388);
}

// A kind of another group, so that recreating by group can be told apart: the first number.
class TFirstNumberStat final : public TCustomNumbersStat {
public:
    using TCustomNumbersStat::TCustomNumbersStat;
    void CalcComb(const TComb& comb, TStatDrawArray& values) override
    {
        TCustomStat::CalcComb(comb, values);
        Cur.Key[0] = comb[0];
        AddCur(values, false);
    }
    bool CombMatches(const TComb&, const TStatDrawArray&, int, bool, bool) override { return false; }
};

const TStatKind& FirstNumberKind()
{
    static const TStatKind kind({.Position = 500, .ClassName = "TFirstNumberStat", .Code = "FRST",
                                 .Caption = "Первое число", .Group = GroupChannels, .Flags = FlagN,
                                 .Create = [](const TStatKind& k, const TStatEnv& env, int32_t param)
                                     -> std::unique_ptr<TCustomStat> {
                                     return std::make_unique<TFirstNumberStat>(k, env, param);
                                 }});
    return kind;
}

std::vector<const TStatKind*> NumberKinds()
{
    std::vector<const TStatKind*> k;
    kinds::AddNumberKinds(k);
    return k;
}

// A shell that also records what the progress window showed.
class ProgressShell : public test::ScriptedShell {
public:
    int shown = 0, hidden = 0, lastPos = -1, lastMax = -1, busyWhileShown = 0;
    std::string text;

protected:
    void progressShown(bool) override { ++shown; }
    void progressHidden() override { ++hidden; }
    void progressChanged(std::string_view t, int pos, int max) override
    {
        text = t;
        lastPos = pos;
        lastMax = max;
        busyWhileShown = BusyCount();
    }
};

struct Fixture {
    game::TDrawsArray draws;
    TStatList list;
    test::TempDir dir;
    TPrefetchCache cache{dir.path()};
    ProgressShell sh;

    explicit Fixture(std::vector<const TStatKind*> kinds = NumberKinds())
    {
        list.SetDraws(&draws);
        list.BuildMethodList(kinds);
    }
    int method(const std::string& code) const
    {
        const int m = list.FindMethod(code);
        EXPECT_GE(m, 0) << code;
        return m;
    }
    std::filesystem::path path(const std::string& code) const { return cache.PrefetchPath(code); }
    std::filesystem::path folder() const { return dir / TPrefetchCache::FolderName; }
};

const std::string CreateFailure = "Ошибка создания файла данных для полного набора вариантов!\n\nИмя файла: ";
const std::string OpenFailure = "Ошибка открытия файла данных для полного набора вариантов!\n\nИмя файла: ";

} // namespace

TEST(Prefetch, PathOfAMethod)
{
    test::TempDir dir;
    EXPECT_EQ(TPrefetchCache(dir.path()).PrefetchPath("SUMS"), dir / "Prefetchs" / "Kvanta_8x20_SUMS.dfc");
    EXPECT_EQ(TPrefetchCache(dir.path(), "Other").PrefetchPath("POS3"), dir / "Prefetchs" / "Other_POS3.dfc");
}

TEST(Prefetch, NumsFileBytes)
{
    Fixture f;
    const std::string bytes = PrefetchBytes(TPrefetchCache::ComputeDistribution(f.list, f.method("NUMS")));
    EXPECT_EQ(bytes.size(), 12u * 21u);
    EXPECT_EQ(bytes, NumsFile());

    const auto data = ParsePrefetch(bytes);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->Records.size(), 20u);
    EXPECT_EQ(data->MinCount, 50388);
    EXPECT_EQ(data->MaxCount, 50388);
    EXPECT_EQ(data->Records[19].Key, (std::array<int16_t, 4>{20, 0, 0, 0}));
}

TEST(Prefetch, MaskFileBytes)
{
    // EVNV over the ascending combinations: count every parity pattern here, by brute force.
    std::map<int, int64_t> counts;
    for (const TComb& c : AllCombs()) {
        int m = 0;
        for (uint8_t x : c) m = m * 2 + (x % 2);
        ++counts[m];
    }
    ASSERT_EQ(counts.size(), 256u) << "every pattern fits into 1..20";
    std::string want;
    int64_t minCount = 1LL << 40, maxCount = 0, total = 0;
    for (const auto& [m, n] : counts) {
        want += Record(m, n);
        minCount = std::min(minCount, n);
        maxCount = std::max(maxCount, n);
        total += n;
    }
    want += Trailer(minCount, maxCount);
    ASSERT_EQ(total, 125970);

    Fixture f;
    const std::string bytes = PrefetchBytes(TPrefetchCache::ComputeDistribution(f.list, f.method("EVNV")));
    EXPECT_EQ(bytes.size(), 12u * 257u);
    EXPECT_EQ(bytes, want);
}

TEST(Prefetch, EmptyDistribution)
{
    // No values: no records and the trailer of an empty summary.
    EXPECT_EQ(PrefetchBytes(TStatDrawArray{}), Trailer(2147483647, 0));
    const auto data = ParsePrefetch(Trailer(2147483647, 0));
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->Records.empty());
    EXPECT_EQ(data->MaxCount, 0);
}

TEST(Prefetch, ParseRefusesDamagedOrForeignData)
{
    const std::string good = NumsFile();
    const auto withCount = [&](int record, int64_t count, int64_t minCount) {
        std::string s = good;
        s.replace(std::size_t(12 * record), 12, Record(record + 1, count));
        s.replace(12 * 20, 12, Trailer(minCount, 50388));
        return s;
    };
    std::string swapped = good;
    swapped.replace(0, 12, Record(2, 50388));
    swapped.replace(12, 12, Record(1, 50388));
    std::string duplicate = good;
    duplicate.replace(12, 12, Record(1, 50388));

    const std::vector<std::tuple<const char*, std::string>> bad = {
        {"empty", ""},
        {"shorter than a trailer", good.substr(0, 11)},
        {"last byte missing", good.substr(0, good.size() - 1)},
        {"one byte more", good + '\0'},
        {"trailer cut off", good.substr(0, good.size() - 12)},
        {"third trailer word", good.substr(0, 240) + Trailer(50388, 50388, 1)},
        {"trailer minimum", good.substr(0, 240) + Trailer(50387, 50388)},
        {"trailer maximum", good.substr(0, 240) + Trailer(50388, 50389)},
        {"keys out of order", swapped},
        {"the same key twice", duplicate},
        {"negative count", withCount(3, -1, -1)},
    };
    for (const auto& [name, bytes] : bad) EXPECT_FALSE(ParsePrefetch(bytes)) << name;

    // A lower count with its trailer is a valid (foreign) distribution.
    const auto other = ParsePrefetch(withCount(3, 7, 7));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->Records[3].Count, 7);
    EXPECT_EQ(other->MinCount, 7);

    // Keys compare as unsigned 16-bit numbers: a key -1 comes after 5, not before.
    const std::string unsignedOrder = Record(5, 1) + Record(0xFFFF, 2) + Trailer(1, 2);
    const auto parsed = ParsePrefetch(unsignedOrder);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Records[1].Key[0], -1);
    EXPECT_FALSE(ParsePrefetch(Record(0xFFFF, 2) + Record(5, 1) + Trailer(1, 2)));
    // The later keys decide when the first ones are equal.
    EXPECT_TRUE(ParsePrefetch(Record(5, 1, 0, 0, 1) + Record(5, 1, 0, 0, 2) + Trailer(1, 1)));
    EXPECT_FALSE(ParsePrefetch(Record(5, 1, 0, 0, 2) + Record(5, 1, 0, 0, 1) + Trailer(1, 1)));
}

TEST(Prefetch, OpenCreatesTheMissingFile)
{
    Fixture f;
    const auto data = f.cache.Open(f.list, f.method("NUMS"), true, f.sh);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Records.size(), 20u);
    EXPECT_EQ(data->MaxCount, 50388);
    EXPECT_EQ(test::ReadBytes(f.path("NUMS")), NumsFile());
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.sh.statusTexts,
              (std::vector<std::string>{"Создание файла предварительной выборки Kvanta_8x20_NUMS.dfc...", ""}));
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(f.path("NUMS").string() + ".tmp~"));
}

TEST(Prefetch, OpenRecreatesEmptyAndDamagedFiles)
{
    const std::vector<std::tuple<const char*, std::string>> cases = {
        {"size 0", ""},
        {"truncated", NumsFile().substr(0, 100)},
        {"foreign", std::string(24, '\x7F')},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        Fixture f;
        std::filesystem::create_directories(f.folder());
        test::WriteBytes(f.path("NUMS"), bytes);
        const auto data = f.cache.Open(f.list, f.method("NUMS"), true, f.sh);
        ASSERT_TRUE(data);
        EXPECT_EQ(data->Records.size(), 20u);
        EXPECT_EQ(test::ReadBytes(f.path("NUMS")), NumsFile());
        EXPECT_TRUE(f.sh.messages.empty());
    }
}

TEST(Prefetch, OpenTrustsAValidFile)
{
    // The cache does not record the settings it was made with: a valid file stays in use.
    Fixture f;
    std::filesystem::create_directories(f.folder());
    const std::string foreign = Record(1, 3) + Record(2, 9) + Trailer(3, 9);
    test::WriteBytes(f.path("NUMS"), foreign);
    const auto data = f.cache.Open(f.list, f.method("NUMS"), true, f.sh);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->Records.size(), 2u);
    EXPECT_EQ(data->Records[1].Count, 9);
    EXPECT_EQ(data->MinCount, 3);
    EXPECT_EQ(test::ReadBytes(f.path("NUMS")), foreign);
    EXPECT_TRUE(f.sh.statusTexts.empty());
}

TEST(Prefetch, OpenGivesNothingWithoutComparisonOrDistribution)
{
    Fixture f;
    EXPECT_FALSE(f.cache.Open(f.list, f.method("NUMS"), false, f.sh));
    EXPECT_FALSE(f.cache.Open(f.list, f.method("POE1"), true, f.sh)) << "no flag N";
    EXPECT_FALSE(std::filesystem::exists(f.folder()));
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_TRUE(f.sh.statusTexts.empty());
}

TEST(Prefetch, OpenFailureIsShown)
{
    // A folder where the file should be cannot be read: the table goes on without a norm.
    Fixture f;
    std::filesystem::create_directories(f.path("NUMS"));
    EXPECT_FALSE(f.cache.Open(f.list, f.method("NUMS"), true, f.sh));
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Error);
    const std::string p = f.path("NUMS").string();
    EXPECT_EQ(f.sh.messages[0].text, OpenFailure + p + "\n\nНе удалось открыть файл \"" + p + "\": Это каталог");
    EXPECT_TRUE(std::filesystem::is_directory(f.path("NUMS"))) << "nothing is deleted";
    EXPECT_EQ(f.sh.BusyCount(), 0);
}

TEST(Prefetch, CreateFailureLeavesNoFile)
{
    // "Prefetchs" is a regular file, so the folder cannot be made.
    Fixture f;
    test::WriteBytes(f.folder(), "x");
    EXPECT_FALSE(f.cache.Create(f.list, f.method("NUMS"), f.sh));
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].kind, shell::MessageKind::Error);
    const std::string p = f.path("NUMS").string();
    const std::string folder = f.folder().string();
    EXPECT_EQ(f.sh.messages[0].text,
              CreateFailure + p + "\n\nНе удалось создать папку \"" + folder + "\": Это не каталог");
    EXPECT_EQ(test::ReadBytes(f.folder()), "x");
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_EQ(f.sh.statusTexts.back(), "");

    // Open reports the same failure and gives nothing.
    f.sh.messages.clear();
    EXPECT_FALSE(f.cache.Open(f.list, f.method("EVEN"), true, f.sh));
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text.substr(0, CreateFailure.size()), CreateFailure);
}

TEST(Prefetch, CreateFailureRemovesWhatBlocksTheFile)
{
    // The file's place is taken by an empty folder that cannot be replaced by a file.
    Fixture f;
    std::filesystem::create_directories(f.path("EVEN"));
    EXPECT_FALSE(f.cache.Create(f.list, f.method("EVEN"), f.sh));
    ASSERT_EQ(f.sh.messages.size(), 1u);
    const std::string p = f.path("EVEN").string();
    EXPECT_EQ(f.sh.messages[0].text.substr(0, CreateFailure.size() + p.size() + 2), CreateFailure + p + "\n\n");
    EXPECT_FALSE(std::filesystem::exists(p));
    EXPECT_FALSE(std::filesystem::exists(p + ".tmp~"));
}

TEST(Prefetch, CreateFilesOnlyWhenForcedOrEnabled)
{
    Fixture f;
    EXPECT_EQ(f.cache.CreatePrefetchFiles(f.list, {.Force = false, .Rebuild = TPrefetchCache::AllGroups, .Enabled = false}, f.sh), 0);
    EXPECT_FALSE(std::filesystem::exists(f.folder()));
    EXPECT_EQ(f.sh.shown, 0);
    EXPECT_TRUE(f.sh.statusTexts.empty());
    EXPECT_EQ(f.sh.BusyCount(), 0);
}

TEST(Prefetch, CreateFilesMakesTheMissingOnes)
{
    for (bool force : {false, true}) {
        SCOPED_TRACE(force);
        Fixture f;
        EXPECT_EQ(f.cache.CreatePrefetchFiles(f.list, {.Force = force, .Rebuild = 0, .Enabled = !force}, f.sh), 16);
        std::vector<std::string> want = {"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV"};
        for (int p = 1; p <= 8; ++p) want.push_back("POS" + std::to_string(p));
        for (const std::string& code : want) {
            ASSERT_TRUE(std::filesystem::exists(f.path(code))) << code;
            EXPECT_EQ(test::ReadBytes(f.path(code)),
                      PrefetchBytes(TPrefetchCache::ComputeDistribution(f.list, f.method(code))))
                << code;
        }
        EXPECT_FALSE(std::filesystem::exists(f.path("POE1")));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.folder()), {}), 16);
        EXPECT_EQ(test::ReadBytes(f.path("NUMS")), NumsFile());

        EXPECT_EQ(f.sh.shown, 1);
        EXPECT_EQ(f.sh.hidden, 1);
        EXPECT_EQ(f.sh.text, "Создание файлов для полного набора комбинаций...");
        EXPECT_EQ(f.sh.lastMax, f.list.MethodCount());
        EXPECT_EQ(f.sh.lastPos, f.list.MethodCount());
        EXPECT_GT(f.sh.busyWhileShown, 0);
        EXPECT_FALSE(f.sh.ProgressIsOpen());
        EXPECT_EQ(f.sh.BusyCount(), 0);
        EXPECT_EQ(f.sh.statusTexts.back(), "");
        EXPECT_TRUE(f.sh.messages.empty());

        // Everything exists now: nothing more is written.
        EXPECT_EQ(f.cache.CreatePrefetchFiles(f.list, {.Force = force, .Rebuild = 0, .Enabled = !force}, f.sh), 0);
    }
}

TEST(Prefetch, CreateFilesRecreatesOnlyTheGivenGroups)
{
    Fixture f({NumberKinds()[0], &FirstNumberKind(), NumberKinds()[9]});   // NUMS, FRST (group 3), POE1
    ASSERT_EQ(f.list.MethodCount(), 3);
    std::filesystem::create_directories(f.folder());
    const std::string stale = Record(1, 4) + Trailer(4, 4);
    test::WriteBytes(f.path("NUMS"), stale);
    test::WriteBytes(f.path("FRST"), stale);

    // The first number f lies in C(20 - f, 7) combinations: C(19, 7) .. C(7, 7) for f = 1..13.
    std::string first;
    const int64_t binom[] = {50388, 31824, 19448, 11440, 6435, 3432, 1716, 792, 330, 120, 36, 8, 1};
    for (int n = 1; n <= 13; ++n) first += Record(n, binom[n - 1]);
    first += Trailer(1, 50388);

    struct Step {
        uint32_t groups;
        int written;
        std::string nums, frst;
    };
    const Step steps[] = {
        {0, 0, stale, stale},
        {1u << 0 | 1u << 1 | 1u << 12, 1, NumsFile(), stale},
        {1u << 3, 1, NumsFile(), first},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.groups);
        f.sh.statusTexts.clear();
        EXPECT_EQ(f.cache.CreatePrefetchFiles(f.list, {.Force = true, .Rebuild = s.groups, .Enabled = false}, f.sh), s.written);
        EXPECT_EQ(test::ReadBytes(f.path("NUMS")), s.nums);
        EXPECT_EQ(test::ReadBytes(f.path("FRST")), s.frst);
        EXPECT_FALSE(std::filesystem::exists(f.path("POE1")));
    }
    // The last run rewrote FRST only: its status, then the cleared status at the end.
    EXPECT_EQ(f.sh.statusTexts,
              (std::vector<std::string>{"Создание файла предварительной выборки Kvanta_8x20_FRST.dfc...", "", ""}));

    // A file of size 0 counts as missing, whatever the groups.
    test::WriteBytes(f.path("FRST"), "");
    EXPECT_EQ(f.cache.CreatePrefetchFiles(f.list, {.Force = false, .Rebuild = 0, .Enabled = true}, f.sh), 1);
    EXPECT_EQ(test::ReadBytes(f.path("FRST")), first);
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_FALSE(f.sh.ProgressIsOpen());
}

TEST(Prefetch, CreateFilesReportsEachFailureAndGoesOn)
{
    Fixture f;
    test::WriteBytes(f.folder(), "x");
    EXPECT_EQ(f.cache.CreatePrefetchFiles(f.list, {.Force = true, .Rebuild = 0, .Enabled = false}, f.sh), 0);
    EXPECT_EQ(f.sh.messages.size(), 16u);
    EXPECT_EQ(f.sh.hidden, 1);
    EXPECT_FALSE(f.sh.ProgressIsOpen());
    EXPECT_EQ(f.sh.BusyCount(), 0);
}
