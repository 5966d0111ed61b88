// The archive file: whatever the bytes, only sound draws are taken in, and saving them and
// reading the result again gives the same draws.
#include "core/archive/archive.h"
#include "core/archive/drawedit.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const archive::LoadedArchive loaded = archive::ParseArchive(fuzz::Bytes(data, size));
    KV_FUZZ_CHECK(loaded.draws.size() + static_cast<std::size_t>(loaded.refused) == size / game::TDraw::RecordSize);
    for (std::size_t i = 0; i < loaded.draws.size(); ++i) {
        const game::TDraw& d = loaded.draws[i];
        KV_FUZZ_CHECK(archive::CheckDraw(d) == archive::DrawDefect::None);
        (void)d.DateText();
        (void)archive::DrawNumbersText(d);
        KV_FUZZ_CHECK(archive::NextDrawNo(loaded.draws, static_cast<int>(i)) > d.DrawNo);
        const int found = archive::FindDrawIndex(loaded.draws, d.DrawNo);
        KV_FUZZ_CHECK(found >= 0 && loaded.draws[static_cast<std::size_t>(found)].DrawNo == d.DrawNo);
    }
    const archive::LoadedArchive again = archive::ParseArchive(archive::ArchiveBytes(loaded.draws));
    KV_FUZZ_CHECK(again.draws == loaded.draws && again.refused == 0);
    return 0;
}
