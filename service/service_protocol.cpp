// The pipe's messages: requests, answers and their rows.
#include "service_protocol.h"

#include <cstdlib>

namespace {

std::string Field(const std::string& text)
{
    std::string field = text;
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return field;
}

std::string WithRows(std::string head, const std::vector<LogRow>& rows)
{
    for (const LogRow& row : rows) {
        const char* separator = "\n";
        for (const std::string& field : LogLineFields(row)) {
            head += separator + Field(field);
            separator = "\t";
        }
    }
    return head;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool ReadNumber(const std::string& text, int64_t* value)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    *value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0';
}

}  // namespace

ServiceRequest ParseServiceRequest(const std::string& message, bool wholeMessage)
{
    if (!wholeMessage || message.size() > kMaxServiceRequestBytes) {
        return ServiceRequest::Invalid;
    }
    if (message == "SYNC") {
        return ServiceRequest::Sync;
    }
    return message == "STATUS" ? ServiceRequest::Status : ServiceRequest::Invalid;
}

std::string RoundAnswer(int exitCode, const std::vector<LogRow>& rows)
{
    return WithRows("DONE " + std::to_string(exitCode), rows);
}

std::string StatusAnswer(int64_t secondsToNextRound, int lastExitCode, int64_t secondsSinceLastRound,
                         const std::vector<LogRow>& rows)
{
    return WithRows("STATUS " + std::to_string(secondsToNextRound) + " " + std::to_string(lastExitCode) + " " +
                        std::to_string(secondsSinceLastRound),
                    rows);
}

std::string ErrorAnswer()
{
    return "ERROR";
}

bool ParseServiceAnswer(const std::string& text, ServiceAnswer* answer)
{
    *answer = ServiceAnswer();
    const std::vector<std::string> lines = Split(text, '\n');
    const std::vector<std::string> head = Split(lines[0], ' ');
    int64_t number = 0;
    int64_t second = 0;
    int64_t third = -1;
    // "BUSY" came from services that limited SYNC; a client still reads it.
    if (head.size() == 1 && (head[0] == "BUSY" || head[0] == "ERROR") && lines.size() == 1) {
        answer->kind = head[0] == "BUSY" ? ServiceAnswer::Kind::Busy : ServiceAnswer::Kind::Error;
        return true;
    }
    if (head.size() == 2 && head[0] == "DONE" && ReadNumber(head[1], &number)) {
        answer->kind = ServiceAnswer::Kind::Done;
        answer->exitCode = static_cast<int>(number);
    } else if ((head.size() == 3 || head.size() == 4) && head[0] == "STATUS" && ReadNumber(head[1], &number) &&
               ReadNumber(head[2], &second) && (head.size() == 3 || ReadNumber(head[3], &third))) {
        // An older service sends no time since its last round.
        answer->kind = ServiceAnswer::Kind::Status;
        answer->secondsToNextRound = number;
        answer->exitCode = static_cast<int>(second);
        answer->secondsSinceLastRound = third;
    } else {
        return false;
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = Split(lines[i], '\t');
        // A service of the version before the correction column sends four fields.
        if (fields.size() != 4 && fields.size() != 5) {
            return false;
        }
        answer->rows.push_back({fields[0], fields[1], fields[2], fields[3], fields.size() == 5 ? fields[4] : ""});
    }
    return true;
}
