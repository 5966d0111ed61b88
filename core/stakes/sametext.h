#pragma once
#include <string>
#include <string_view>

namespace kv::stakes {

// Stake comments and rating names are matched without regard to case, the way the single-byte
// code page of the files sees letters: Latin and Cyrillic (with Ё and the Ukrainian, Belarusian
// and Serbian letters) fold to upper case, everything else compares as it is.
char UpperCp1251(char c);
std::string UpperCp1251(std::string_view cp1251);
// Both texts are UTF-8; characters without a CP1251 form compare as "?", as they are stored.
bool SameText(std::string_view a, std::string_view b);

} // namespace kv::stakes
