#pragma once
#include <ostream>

#include "core/workspace/cmdline.h"

namespace kv::shell {
class Shell;
}

namespace kv::workspace {

class Workspace;

// Exit codes of the headless commands: 0 done, 1 the work failed (a message was shown: a broken
// scenario line, the data files held by another instance), 2 the command line asked for
// something impossible (an unknown method, a length of 0, a missing scenario file, a bad count).
constexpr int HeadlessFailed = 1;
constexpr int HeadlessBadUsage = 2;

// True when the command line names scripttest, scriptrun or stattable.
bool IsHeadlessRun(const CommandLine& cmd);

// Runs the command without a window: messages go to the shell (standard error in the program),
// results to `out` (standard output, or the file of --out, which the caller opens):
//   scripttest N   the scenario test over the last N draws as the window runs it (stakes made
//                  and checked, the rating fed and saved); prints the rating rows the test
//                  touched and the filter survival table, both as CSV;
//   scriptrun      "Прогноз": the stakes for the next draw, as CSV;
//   stattable CODE the statistics table of one method as the window shows it: the 20 column
//                  captions and the rows, tab-separated, in the default order (by "Количество").
int RunHeadless(Workspace& ws, shell::Shell& shell, const CommandLine& cmd, std::ostream& out);

// The command as the program runs it. With --out the target is checked first (OutFileProblem:
// exit code 2 before anything runs) and the result goes to a file beside it that replaces it
// only when complete; without, the result goes to `out` (standard output), which must take all
// of it. A result that cannot be written is one line on the shell and exit code 1.
int RunHeadlessCommand(Workspace& ws, shell::Shell& shell, const CommandLine& cmd, std::ostream& out);

} // namespace kv::workspace
