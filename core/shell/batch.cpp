#include "core/shell/batch.h"

#include "core/shell/shell.h"
#include "core/shell/workspace.h"

namespace kv::shell {

bool IsBatchRun(const CommandLine& cmd)
{
    return cmd.loadOnly || cmd.fullRecreate || cmd.fullRefresh;
}

int RunBatch(Workspace& ws, Shell& shell, const CommandLine& cmd)
{
    (void)cmd;
    if (!ws.OpenStakesFile()) {
        shell.ShowError(Workspace::ExclusiveAccessText());
        return 1;
    }
    ws.LoadArchive(shell);
    ws.CloseStakesFile();
    return 0;
}

} // namespace kv::shell
