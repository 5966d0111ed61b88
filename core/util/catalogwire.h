#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/util/cp1251.h"   // IsValidUtf8, which the fields are checked with

// The language the program and the catalogue server speak: form fields posted as
// application/x-www-form-urlencoded, texts escaped with backslashes, Base64 for the texts that
// may hold anything, UTC times as "yyyy-mm-dd hh:nn:ss", and answers as tagged rows
// "<result><row><tag>value</tag>...</row>...</result>" where a row holding "<error>" fails the
// request. Both sides use these functions, so they cannot drift apart.
namespace kv::util {

using TFormFields = std::vector<std::pair<std::string, std::string>>;

// Standard Base64 with padding.
std::string EncodeBase64(std::string_view bytes);
// Strict: nothing for a character outside the alphabet, a wrong length or misplaced padding.
// Line breaks and spaces are ignored.
std::optional<std::string> DecodeBase64(std::string_view text);
// Lenient: what decodes up to the first character outside the alphabet or "=".
std::string DecodeBase64Prefix(std::string_view text);

// The catalogue's text escapes: codes 0..6 become "\0".."\6", 7..13 "\a\b\t\n\v\f\r", 27 "\e",
// and the double quote, apostrophe, "?" and backslash get a backslash in front.
std::string EscapeCatalogText(std::string_view text);
// Undoes EscapeCatalogText. A backslash before any other character stands for that character;
// a lone backslash at the end stays.
std::string UnescapeCatalogText(std::string_view text);

// "a=1&b=x%20y": bytes other than A-Z a-z 0-9 - . _ ~ are percent-encoded (as curl does).
std::string FormEncode(const TFormFields& fields);
// Splits a form body; "+" reads as a space and "%hh" as its byte. A malformed escape is kept
// as written. Pairs without "=" get an empty value.
TFormFields FormDecode(std::string_view body);
// The value of the first field named `name`, or nothing.
std::optional<std::string> FormValue(const TFormFields& fields, std::string_view name);

// UTC date-time texts. 0 and negative times format as an empty text.
std::string FormatUtcTime(std::int64_t unixSeconds);
// An empty text reads as 0; anything but "yyyy-mm-dd hh:nn:ss" with a real date gives nothing.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);


// The words of a play system's line: runs of anything but the separators
// blank * + , - . / : ; = \ _ | ~ and tab.
std::vector<std::string_view> SplitSystemWords(std::string_view line);

// One answer row: tags in order with their values written as they are.
using TTaggedRow = std::vector<std::pair<std::string, std::string>>;
std::string TaggedAnswer(const std::vector<TTaggedRow>& rows);
// Appends "<row>...</row>" to an answer being written (between "<result>" and "</result>").
void AppendTaggedRow(std::string& out, const TTaggedRow& row);
std::string TaggedError(std::string_view message);

// Reading an answer. Fails with kv::Error when the body has no "<result>" element (or it is
// not closed) and when a row holds "<error>" (its text is the message). Rows are the texts
// between "<row>" and "</row>".
std::vector<std::string> ReadTaggedRows(std::string_view body);
// The text between "<tag>" and "</tag>" in a row; empty when the tag is missing. Fails with
// kv::Error when the opening tag has no closing one.
std::string RowField(std::string_view row, std::string_view tag);

} // namespace kv::util
