// The service commands' exit codes.
#include "command_outcome.h"

int CommandExitCode(CommandOutcome outcome, bool quiet)
{
    switch (outcome) {
    case CommandOutcome::Done:
        return 0;
    case CommandOutcome::Failed:
        return 1;
    case CommandOutcome::NeedsAdministrator:
        return quiet ? 2 : 1;
    case CommandOutcome::NothingToDo:
        return quiet ? 3 : 0;
    }
    return 1;
}
