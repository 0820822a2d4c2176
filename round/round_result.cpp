// A round's end as automatic mode ends with it.
#include "round_result.h"

AutomaticEnd RoundResult::EndOfAutomaticMode() const
{
    switch (outcome) {
    case RoundOutcome::Set:
        return AutomaticEnd::Set;
    case RoundOutcome::Refused:
        return AutomaticEnd::Refused;
    case RoundOutcome::NoServers:
        return AutomaticEnd::NoneTicked;
    case RoundOutcome::Held:
        return AutomaticEnd::Held;
    case RoundOutcome::NoAgreement:
        return AutomaticEnd::NoAgreement;
    case RoundOutcome::TooFew:
        return AutomaticEnd::TooFew;
    case RoundOutcome::NoAnswer:
        break;
    }
    return AutomaticEnd::NoAnswer;
}
