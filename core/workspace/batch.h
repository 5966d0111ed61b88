#pragma once
#include "core/workspace/cmdline.h"
#include "core/workspace/drawdownload.h"

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
// words ask for; "loadonly" downloads the new draws through `web` (never asking: a failure ends
// the run), checks the stakes and reports what it did. Returns the process exit code: 0, or 1
// when anything failed (the data files held by another instance, a download or a file that
// failed, any error shown on the way).
int RunBatch(Workspace& ws, shell::Shell& shell, const CommandLine& cmd, const TWebAccess& web = {});

} // namespace kv::workspace
