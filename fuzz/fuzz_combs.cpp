// A combination file and the clipboard text pasted into the list: any bytes are read without a
// fault. Both keep numbers as they stand (a non-number is 0, which every later check refuses).
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
    if (!filters::PasteCombs(bytes, list, history, shell)) KV_FUZZ_CHECK(list.Combs().empty());
    return 0;
}
