#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kv::util {

// Files keep the single-byte Windows-1251 code page; memory holds UTF-8. Both conversions use
// glibc's iconv. A character that has no CP1251 form becomes "?"; an invalid UTF-8 byte
// sequence becomes "?" as well (one per broken sequence, never taking the characters after
// it). Every CP1251 byte has a UTF-8 form: 0x98, which names no character, maps to U+FFFD and
// U+FFFD back to 0x98, so a file holding that byte is rewritten unchanged.
std::string Cp1251ToUtf8(std::string_view cp1251);
std::string Utf8ToCp1251(std::string_view utf8);

// Text of a file another editor may have saved: a UTF-8 byte-order mark, or bytes that are
// valid UTF-8 and not all ASCII, mean UTF-8 (returned without the mark); anything else
// (after the mark, if any) is CP1251, so no byte is lost on the next write. Real CP1251 text is
// practically never valid UTF-8: two Russian letters in a row are not.
std::string TextFileToUtf8(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Converts to CP1251 and keeps at most maxBytes bytes. CP1251 is one byte per character, so
// cutting after the conversion never splits a character.
std::string Utf8ToCp1251Cut(std::string_view utf8, std::size_t maxBytes);

// Keeps at most maxChars characters of a UTF-8 text, never cutting inside a character.
std::string Utf8Left(std::string_view utf8, std::size_t maxChars);

} // namespace kv::util
