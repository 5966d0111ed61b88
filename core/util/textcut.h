#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace kv::util {

// Reading fetched web pages. The texts are single-byte (CP1251, as the page fetcher returns
// them): markers are found ignoring case by the Windows-1251 upper case, which also folds the
// Cyrillic letters. Every cut piece is trimmed of spaces and control characters and then
// unquoted (UnquoteText). A missing begin marker always gives an empty piece and leaves the text
// as it was; what a begin marker without its end marker gives depends on the mode.
enum class CutMode {
    Fail = 0,   // fails with the pair message (PairMessage)
    Empty = 1,  // the piece is empty
    ToEnd = 2,  // the piece runs to the end of the text
};

// The Windows-1251 upper case of one byte (a..z, а..я, ё and the other Cyrillic letters).
char AnsiUpperChar(char c);
// Position of the first occurrence of `what` in `text` at or after `from`, ignoring case as
// above; npos when there is none. An empty `what` is found at `from`.
std::size_t AnsiFindNoCase(std::string_view text, std::string_view what, std::size_t from = 0);
// Removes every occurrence of `what`, ignoring case.
std::string AnsiRemoveNoCase(std::string_view text, std::string_view what);

// Without the leading and trailing bytes 0..32 (spaces and control characters).
std::string_view TrimControl(std::string_view text);
// A piece that starts and ends with a double quote (at least 2 characters) loses both, and then,
// scanning from the end, every double quote not preceded by another one: «"a""b"» gives «a"b».
std::string UnquoteText(std::string_view text);

// "Не удалось найти пару идентификаторов ..." in UTF-8; the quoted text is shown up to its
// first PairMessageTextLimit bytes, so a page of megabytes cannot flood a message box.
constexpr std::size_t PairMessageTextLimit = 2000;
std::string PairMessage(std::string_view text, std::string_view begin, std::string_view end);

// The piece between the first begin marker and the next end marker after it; an empty end
// marker takes everything after begin.
std::string CutBetween(std::string_view text, std::string_view begin, std::string_view end, CutMode mode);
// The same, and `text` loses everything up to and including that end marker (all of it when
// the piece ran to the end; nothing in CutMode::Empty when the end marker is missing).
std::string CutBetweenAndConsume(std::string& text, std::string_view begin, std::string_view end, CutMode mode);
// The piece from after the first `marker` up to the next `marker` or the end of the text;
// `text` then starts at that next marker (empty when there is none).
std::string CutSection(std::string& text, std::string_view marker);
// CutBetween with begin2/end2 applied to the piece that CutBetween with begin1/end1 gives.
std::string CutTwice(std::string_view text, std::string_view begin1, std::string_view end1, std::string_view begin2,
                     std::string_view end2, CutMode mode);

} // namespace kv::util
