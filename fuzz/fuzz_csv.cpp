// CSV import: only sound draws with new numbers are taken, the report stays within its ten
// notes, and the export of what was taken is read back to the same draws.
#include "core/archive/archive.h"
#include "core/archive/drawedit.h"
#include "core/util/cp1251.h"
#include "fuzzsupport.h"

#include <unordered_set>

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const game::TDrawsArray archiveDraws = [] {
        game::TDrawsArray a(3);
        for (int i = 0; i < 3; ++i) {
            a[static_cast<std::size_t>(i)].DrawNo = i + 1;
            a[static_cast<std::size_t>(i)].Nums = {1, 2, 3, 4, 5, 6, 7, 8};
            a[static_cast<std::size_t>(i)].Extra = 1;
        }
        return a;
    }();
    const std::string text = util::Cp1251ToUtf8(fuzz::Bytes(data, size));
    const archive::TDrawsImport import = archive::ParseDrawsText(archiveDraws, text);
    KV_FUZZ_CHECK(import.Notes.size() == static_cast<std::size_t>(std::min(import.Refused, 10)));
    std::unordered_set<int32_t> seen{1, 2, 3};
    for (const game::TDraw& d : import.Draws) {
        KV_FUZZ_CHECK(archive::CheckDraw(d) == archive::DrawDefect::None);
        KV_FUZZ_CHECK(seen.insert(d.DrawNo).second);
    }
    (void)archive::DrawsImportReport(import);

    int skipped = 0;
    const std::string exported = util::Utf8ToCp1251(archive::ExportDrawsText(import.Draws, &skipped));
    const archive::TDrawsImport back = archive::ParseDrawsText({}, util::Cp1251ToUtf8(exported));
    KV_FUZZ_CHECK(back.Refused == 0);
    KV_FUZZ_CHECK(back.Draws.size() + static_cast<std::size_t>(skipped) == import.Draws.size());
    if (skipped == 0) {
        KV_FUZZ_CHECK(back.Draws == import.Draws);
    }
    return 0;
}
