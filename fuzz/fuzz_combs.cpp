// A combination file and the clipboard text pasted into the list: any bytes are read without a
// fault, and a paste either replaces the list with sound combinations or leaves it alone.
#include "core/filters/combfiles.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::Bytes(data, size);
    game::TCombsArray combs;
    filters::ParseCombFileBytes(bytes, combs);
    (void)filters::CombFileBytes(combs);

    fuzz::QuietShell shell;
    filters::TCombList list;
    filters::TFilterHistory history;
    if (filters::PasteCombs(bytes, list, history, shell)) {
        for (const game::TComb& c : list.Combs())
            for (uint8_t n : c) KV_FUZZ_CHECK(n >= 1 && n <= game::MaxNumber);
    }
    return 0;
}
