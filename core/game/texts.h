#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/game/types.h"

namespace kv::game {

// --- Text helpers ---------------------------------------------------------------------------

// Removes leading and trailing characters up to and including the space (controls, CR, LF,
// TAB), as the texts of the original program were trimmed.
std::string_view TrimText(std::string_view text);

// Up to `count` characters of a UTF-8 text starting at the 1-based character `index`; empty
// when the text is shorter. Texts that once were single-byte are cut by character, not byte.
std::string_view CopyChars(std::string_view text, int index, int count);

// A number text: after trimming, an optional sign followed by decimal digits, or by "$" or
// "0x" and hexadecimal digits. Decimal values must fit a signed 32-bit integer; hexadecimal
// ones may use all 32 bits ("$FFFFFFFF" is -1), as users of the original program could write.
bool TryTextToInt(std::string_view text, int32_t& value);

// The number of a number text; 0 for anything that is not one (never fails).
int32_t TextToInt(std::string_view text);

// --- Text forms of the records --------------------------------------------------------------

// "3;7;1;15;9;20;11;4 e:2": the numbers in stored order, then the extra number.
std::string DrawValuesText(const TDraw& draw);

// "Тираж № 1234 от 01.02.2020 10:05, значения: 3;7;1;15;9;20;11;4 e:2".
std::string DrawToText(const TDraw& draw);

// "1;5;7;9;12;13;18;20".
std::string CombToText(const TComb& comb);

// "01 05 07 09 12 13 18 20", the clipboard form.
std::string CombToSpacedText(const TComb& comb);

// The first Count numbers joined by sep; empty for Count 0.
std::string NumSetToText(const TNumSet& set, std::string_view sep);
std::string IntListToText(const TIntArray& arr, std::string_view sep);

// Exactly 8 words separated by runs of TAB, space, ",", "-", ".", ":", ";" or "|". Each word
// is a number text (a non-number gives 0); the numbers are neither range-checked nor sorted.
// Fails with kv::Error "Некорректная комбинация: "<text>"!" for any other word count.
TComb ParseComb(std::string_view text);

// A value list: "3;1;2" (integers separated by "," or ";", order kept) or a range
// "from-to;step" ("1-20;2" gives 1, 3, ..., 19; a leading minus belongs to `from`). Anything
// else gives an empty list, never an error.
TIntArray ParseIntList(std::string_view text);

// Ranges longer than this are refused as a typing error rather than filling the memory.
constexpr int64_t MaxIntListRange = 1 << 20;

// Caption of a stake origin code: 1 "Вручную", 2 "Регуляр", 3 "Сценарий", 4 "Система",
// otherwise empty.
std::string StakeOriginCaption(int code);

// The segment of each number 1..20 as one decimal digit per number (20 characters; a value
// above 9, which no layout holds, would be written in full).
std::string SegmentsToText(const TNumMap& seg);

// The inverse: the digit of character i for number i; 1 (the default segment) when the text
// is shorter or the character is not a digit.
TNumMap TextToSegments(std::string_view text);

} // namespace kv::game
