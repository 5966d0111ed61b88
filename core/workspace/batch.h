#pragma once
#include "core/workspace/cmdline.h"

namespace kv::shell {
class Shell;
}
namespace kv::workspace {
class Workspace;
}
namespace kv::stats {
class TStatList;
}

namespace kv::workspace {

// Loads the engine settings, builds the method list and reads the filter list, as start-up
// does; failures are shown and the defaults stay.
void LoadEngine(stats::TStatList& list, Workspace& ws, shell::Shell& shell);

// True when the command line turns the start into a batch run ("loadonly", "fullrecreate",
// "fullrefresh"): the program does its task without a window and ends.
bool IsBatchRun(const CommandLine& cmd);

// The batch run: takes the data files exclusively, loads the archive and does the tasks the
// words ask for. Returns the process exit code (1 when the data files are held by another
// instance or cannot be written).
int RunBatch(Workspace& ws, shell::Shell& shell, const CommandLine& cmd);

} // namespace kv::workspace
