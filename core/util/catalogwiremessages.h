#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/catalogwire.h"

// The catalogue's messages: for every request its path, the form fields the program sends (in
// that order) and the tags of the answer's rows (in that order). The server dispatches on this
// table and writes its rows from it, the program builds its requests and reads the answers
// through it, and the tests walk it; a field or tag outside it is a programming error.
namespace kv::util {

enum class TCatalogMessageId {
    ScriptList,
    ScriptData,
    ScriptRate,
    ScriptTitle,
    ScriptPut,
    ScriptRates,
    SystemList,
    SystemData,
    SystemPut,
    AppVersion,
};

struct TCatalogMessage {
    TCatalogMessageId Id;
    std::string_view Path;                 // below the server's root, with its leading "/"
    std::vector<std::string_view> Fields;  // the request's fields
    std::vector<std::string_view> Tags;    // the tags of each answer row
    bool Writes = false;                   // changes the catalogue (the per-address write budget)
    // For a list given a page at a time: the tag the last row carries, holding the offset of the
    // next page, when more entries follow; none after the last page.
    std::string_view NextTag = {};

    // The path as the program appends it to the catalogue's address ("scripts/...").
    std::string RelativePath() const { return std::string(Path.substr(1)); }
    bool HasField(std::string_view name) const;
    bool HasTag(std::string_view tag) const;
};

const std::vector<TCatalogMessage>& CatalogMessages();
const TCatalogMessage& CatalogMessage(TCatalogMessageId id);
// Nothing for a path the catalogue does not serve.
const TCatalogMessage* FindCatalogMessage(std::string_view path);

// A request's form: `values` in the order of the message's fields; an absent value leaves its
// field out. Fails with std::logic_error when the count differs from the table's.
TFormFields CatalogRequest(const TCatalogMessage& m, const std::vector<std::optional<std::string>>& values);
// An answer row: `values` in the order of the message's tags. Fails with std::logic_error when
// the count differs from the table's.
TTaggedRow CatalogRow(const TCatalogMessage& m, std::vector<std::string> values);
// RowField for a tag of the message's answer; std::logic_error for a tag outside the table.
std::string CatalogField(const TCatalogMessage& m, std::string_view row, std::string_view tag);

} // namespace kv::util
