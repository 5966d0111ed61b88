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
// The same for a message template of Format, which looks up every template it is given: a
// translated template keeps the placeholders of the Russian one. Templates that form stored data
// (file contents, names kept in files) must therefore never be entries of a language module.
std::string_view TrTemplate(std::string_view russian);

} // namespace kv::util
