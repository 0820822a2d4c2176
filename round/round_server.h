// A ticked server of the list as a round asks it: its row in the list (for the rotation cursor),
// its name and its address.
#pragma once

#include <string>

struct RoundServer {
    int row;
    std::string name;
    std::string address;
};
