#pragma once
#include <string>

namespace kv::workspace {

// True when a process other than this one runs an executable with this file name (the name
// only, as "Kvanta_8x20"). Used after a restart to wait for the old instance to end.
bool OtherProcessRunning(const std::string& exeFileName);

} // namespace kv::workspace
