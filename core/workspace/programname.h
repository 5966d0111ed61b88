#pragma once
#include <string>
#include <string_view>

namespace kv::workspace {

// The executable's file name without its extension, normally "Kvanta_8x20". The window and
// filter-list settings, the language modules and the export options are named after it, so a
// renamed copy of the program keeps settings of its own. main() sets it; tests see the default.
const std::string& ProgramName();
// An empty name restores the default.
void SetProgramName(std::string name);
// ProgramName() followed by `suffix` (".frm", "_Draws.exp").
std::string ProgramFileName(std::string_view suffix);

} // namespace kv::workspace
