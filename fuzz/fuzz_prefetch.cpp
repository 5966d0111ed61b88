// A prefetch cache file: refused whole when damaged, otherwise counts within its own summary.
#include "core/stats/prefetch.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const auto parsed = stats::ParsePrefetch(fuzz::Bytes(data, size));
    if (parsed)
        for (const stats::TPrefetchRecord& r : parsed->Records)
            KV_FUZZ_CHECK(r.Count >= parsed->MinCount && r.Count <= parsed->MaxCount);
    return 0;
}
