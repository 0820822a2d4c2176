// A log row's line in "horavo.log", as the window and the service both write it.
#pragma once

#include <string>

#include "log_file_format.h"
#include "round/log_rows.h"

inline std::string LogFileLineFor(const std::string& writtenAt, const LogRow& row)
{
    return FormatLogFileLine(writtenAt, LogLineFields(row));
}
