#include "core/game/types.h"

#include <algorithm>

#include "core/util/binio.h"
#include "core/util/cp1251.h"

namespace kv::game {

std::string TDraw::DateText() const
{
    const std::size_t len = std::min<std::size_t>(DateLen, DateCapacity);
    return util::Cp1251ToUtf8(std::string_view(DateBytes.data(), len));
}

void TDraw::SetDateText(std::string_view utf8)
{
    const std::string bytes = util::Utf8ToCp1251Cut(utf8, DateCapacity);
    DateBytes.fill(0);
    std::copy(bytes.begin(), bytes.end(), DateBytes.begin());
    DateLen = static_cast<uint8_t>(bytes.size());
}

void TDraw::Read(const uint8_t* p)
{
    DrawNo = util::GetI32(p);
    std::copy(p + 4, p + 12, Nums.begin());
    Extra = p[12];
    DateLen = p[13];
    std::copy(p + 14, p + 30, reinterpret_cast<uint8_t*>(DateBytes.data()));
}

void TDraw::Write(uint8_t* p) const
{
    util::PutI32(p, DrawNo);
    std::copy(Nums.begin(), Nums.end(), p + 4);
    p[12] = Extra;
    p[13] = DateLen;
    std::copy(DateBytes.begin(), DateBytes.end(), reinterpret_cast<char*>(p + 14));
    p[30] = 0;
    p[31] = 0;
}

void TNumSet::Read(const uint8_t* p)
{
    Count = util::GetI32(p);
    std::copy(p + 4, p + 12, Nums.begin());
}

void TNumSet::Write(uint8_t* p) const
{
    util::PutI32(p, Count);
    std::copy(Nums.begin(), Nums.end(), p + 4);
}

} // namespace kv::game
