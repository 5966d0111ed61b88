// Format: any template with arguments of every kind gives a text, never a fault or a throw.
#include <limits>

#include "core/util/format.h"
#include "fuzzsupport.h"

using namespace kv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view templ = fuzz::Bytes(data, size);
    (void)util::Format(templ, {});
    (void)util::Format(templ, {-1, 2.675, "текст", std::numeric_limits<int64_t>::min(), 1e300,
                               std::numeric_limits<double>::quiet_NaN(), 7, -0.0, "", 123456789012345678LL});
    (void)util::FormatSep(',', templ, {std::numeric_limits<long double>::max(), 3, "x", -std::numeric_limits<double>::infinity()});
    return 0;
}
