// What a service command came to, and its exit code: quietly (-quiet) every outcome has its own,
// for deployment tools; without -quiet, the 0 and 1 the commands always gave.
#pragma once

enum class CommandOutcome {
    Done,                // 0
    Failed,              // 1
    NeedsAdministrator,  // 2 quietly, 1 otherwise
    NothingToDo,         // 3 quietly (nothing installed to remove or update), 0 otherwise
};

int CommandExitCode(CommandOutcome outcome, bool quiet);
