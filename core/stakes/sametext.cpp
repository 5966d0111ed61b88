#include "core/stakes/sametext.h"

#include <array>

#include "core/util/cp1251.h"

namespace kv::stakes {

namespace {

constexpr std::array<unsigned char, 256> makeUpperTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<unsigned char>(c - 32);
    for (int c = 0xE0; c <= 0xFF; ++c) t[c] = static_cast<unsigned char>(c - 32);   // а..я
    constexpr unsigned char pairs[][2] = {
        {0xB8, 0xA8}, // ё Ё
        {0xB3, 0xB2}, // і І
        {0xBA, 0xAA}, // є Є
        {0xBF, 0xAF}, // ї Ї
        {0xA2, 0xA1}, // ў Ў
        {0xBC, 0xA3}, // ј Ј
        {0xBE, 0xBD}, // ѕ Ѕ
        {0xB4, 0xA5}, // ґ Ґ
        {0x90, 0x80}, // ђ Ђ
        {0x83, 0x81}, // ѓ Ѓ
        {0x9A, 0x8A}, // љ Љ
        {0x9C, 0x8C}, // њ Њ
        {0x9D, 0x8D}, // ќ Ќ
        {0x9E, 0x8E}, // ћ Ћ
        {0x9F, 0x8F}, // џ Џ
    };
    for (const auto& p : pairs) t[p[0]] = p[1];
    return t;
}

constexpr std::array<unsigned char, 256> UpperTable = makeUpperTable();

} // namespace

char UpperCp1251(char c)
{
    return static_cast<char>(UpperTable[static_cast<unsigned char>(c)]);
}

std::string UpperCp1251(std::string_view cp1251)
{
    std::string r(cp1251);
    for (char& c : r) c = UpperCp1251(c);
    return r;
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a == b) return true;
    return UpperCp1251(util::Utf8ToCp1251(a)) == UpperCp1251(util::Utf8ToCp1251(b));
}

} // namespace kv::stakes
