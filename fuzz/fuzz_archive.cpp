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
    const int count = static_cast<int>(loaded.draws.size());
    for (int i = 0; i < count; ++i) {
        const game::TDraw& d = loaded.draws[static_cast<std::size_t>(i)];
        KV_FUZZ_CHECK(archive::CheckDraw(d) == archive::DrawDefect::None);
        (void)d.DateText();
        (void)archive::DrawNumbersText(d);
        // Counted back from the newest draw; never wraps round.
        KV_FUZZ_CHECK(archive::NextDrawNo(loaded.draws, count - 1 - i) == d.DrawNo + 1);
        const int found = archive::FindDrawIndex(loaded.draws, d.DrawNo);
        KV_FUZZ_CHECK(found >= 0 && loaded.draws[static_cast<std::size_t>(found)].DrawNo == d.DrawNo);
    }
    const archive::LoadedArchive again = archive::ParseArchive(archive::ArchiveBytes(loaded.draws));
    KV_FUZZ_CHECK(again.draws == loaded.draws && again.refused == 0);
    return 0;
}
