// What became of one attempt to set the clock.
#pragma once

enum class ClockOutcome {
    Set,      // the clock shows the new time
    NoRight,  // the account may not change the system time
    Failed,   // refused for another reason (the error code says which)
};
