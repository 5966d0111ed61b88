// System files: every line of a downloaded system reads to 8 positions or to nothing.
#include "core/scenario/systemcombs.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::string_view text = fuzz::Bytes(data, size);
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        (void)scenario::ParseSystemLine(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return 0;
}
