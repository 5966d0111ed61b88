#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kv::util {

// Files keep the single-byte Windows-1251 code page; memory holds UTF-8. Both conversions use
// glibc's iconv. A character that has no CP1251 form becomes "?"; an invalid UTF-8 byte
// sequence becomes "?" as well (one per broken sequence, never taking the characters after
// it). Every CP1251 byte has a UTF-8 form (0x98 maps to U+FFFD).
std::string Cp1251ToUtf8(std::string_view cp1251);
std::string Utf8ToCp1251(std::string_view utf8);

// Converts to CP1251 and keeps at most maxBytes bytes. CP1251 is one byte per character, so
// cutting after the conversion never splits a character.
std::string Utf8ToCp1251Cut(std::string_view utf8, std::size_t maxBytes);

// Keeps at most maxChars characters of a UTF-8 text, never cutting inside a character.
std::string Utf8Left(std::string_view utf8, std::size_t maxChars);

} // namespace kv::util
