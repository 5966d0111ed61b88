#include "core/util/binio.h"

#include "core/util/cp1251.h"

#include <algorithm>

namespace kv::util {

void PutShortString(uint8_t* p, std::size_t capacity, std::string_view utf8)
{
    // The length lives in one byte, whatever room the record gives.
    const std::string bytes = Utf8ToCp1251Cut(utf8, std::min<std::size_t>(capacity, 255));
    p[0] = static_cast<uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), p + 1);
    std::fill(p + 1 + bytes.size(), p + 1 + capacity, uint8_t{0});
}

std::string GetShortString(const uint8_t* p, std::size_t capacity)
{
    const std::size_t len = std::min<std::size_t>(p[0], capacity);
    return Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(p + 1), len));
}

} // namespace kv::util
