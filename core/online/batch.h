#pragma once
#include "core/online/drawdownload.h"
#include "core/shell/shell.h"
#include "core/workspace/cmdline.h"

namespace kv::workspace {
class Workspace;
}

namespace kv::online {

// The batch run: takes the data files exclusively, loads the archive and does the tasks the
// words ask for; "loadonly" downloads the new draws through `web` (never asking: a failure ends
// the run), checks the stakes and reports what it did. Returns the process exit code: 0, or 1
// when anything failed (the data files held by another instance, a download or a file that
// failed, any error shown on the way).
int RunBatch(workspace::Workspace& ws, shell::Shell& shell, const workspace::CommandLine& cmd, const TWebAccess& web = {});

} // namespace kv::online
