#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kv::util {

// Little-endian field access at explicit offsets. Records are never cast to bytes.
inline void PutU8(uint8_t* p, uint8_t v) { p[0] = v; }
inline uint8_t GetU8(const uint8_t* p) { return p[0]; }

inline void PutU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline void PutU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }

inline void PutU64(uint8_t* p, uint64_t v)
{
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint64_t GetU64(const uint8_t* p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
inline void PutI64(uint8_t* p, int64_t v) { PutU64(p, static_cast<uint64_t>(v)); }
inline int64_t GetI64(const uint8_t* p) { return static_cast<int64_t>(GetU64(p)); }

// IEEE 754 double (Delphi Double, TDateTime).
inline void PutF64(uint8_t* p, double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    PutU64(p, bits);
}
inline double GetF64(const uint8_t* p)
{
    uint64_t bits = GetU64(p);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

// A short string field: one length byte followed by `capacity` CP1251 character bytes, so the
// field occupies capacity + 1 bytes. Writing converts from UTF-8 and cuts to capacity; the
// unused bytes are zeroed. Reading clamps a length above capacity (foreign files).
void PutShortString(uint8_t* p, std::size_t capacity, std::string_view utf8);
std::string GetShortString(const uint8_t* p, std::size_t capacity);

} // namespace kv::util
