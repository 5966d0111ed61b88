#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace kv::util {

// The interface language of core's own texts (column captions and the like): the program sets
// one lookup that gives a text's translation; without it, or for a text the lookup does not
// know, the Russian text stays.
void SetTextLookup(std::function<std::string(std::string_view russian)> lookup);
// The translation of a Russian text. The result lives as long as the program.
const char* TrText(const char* russian);

} // namespace kv::util
