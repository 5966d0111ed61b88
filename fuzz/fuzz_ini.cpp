// Settings, window and favourites files (INI): any bytes parse, every value reads, the text
// written back parses to the same document, and the favourites list keeps its meaning over a
// save. Also the code page round trip every text file relies on: CP1251 -> UTF-8 -> CP1251 is
// byte for byte.
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/util/ini.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static stats::TStatList list = [] {
        static game::TDrawsArray draws;
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList();
        return l;
    }();
    const std::string_view bytes = fuzz::Bytes(data, size);
    KV_FUZZ_CHECK(util::Utf8ToCp1251(util::Cp1251ToUtf8(bytes)) == bytes);

    const util::IniFile ini = util::IniFile::Parse(bytes);
    // Names may change where UTF-8 text holds characters CP1251 has not ("?" on the write), so
    // two sections whose names differ only there become one; nothing is invented, and from the
    // first rewrite on the text is stable: a second save loses nothing more. A written text that
    // begins with the bytes of a byte-order mark (CP1251 "п»ї") reads back as a marked file by
    // design, so it promises nothing here.
    const std::string written = ini.ToText();
    if (written.rfind("\xEF\xBB\xBF", 0) != 0) {
        const util::IniFile again = util::IniFile::Parse(written);
        KV_FUZZ_CHECK(again.Sections().size() <= ini.Sections().size());
        const std::string second = again.ToText();
        if (second.rfind("\xEF\xBB\xBF", 0) != 0) KV_FUZZ_CHECK(util::IniFile::Parse(second).ToText() == second);
    }
    for (const std::string& section : ini.Sections()) {
        for (const std::string& key : ini.Keys(section)) {
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
            (void)ini.ReadFloat(section, key, 0);
        }
    }
    const std::string favorites = ini.ReadString("FILTERS", "Favorites", "");
    list.SetFavorites(favorites);
    const bool all = list.AllFavorites;
    const std::string saved = list.GetFavorites();
    list.SetFavorites(saved);
    KV_FUZZ_CHECK(list.AllFavorites == all && list.GetFavorites() == saved);
    return 0;
}
