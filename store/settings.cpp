// The settings' word rules.
#include "settings.h"

#include <cctype>

bool LogFileTurnedOn(const std::string& value)
{
    std::string word;
    for (char c : value) {
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word != "0" && word != "off" && word != "no" && word != "false";
}
