// Reading and writing the lines of the server list file.
#include "server_list_codec.h"

#include <cstring>
#include <istream>
#include <limits>

#include "sync/decimal_text.h"

std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> fields;
    size_t position = 0;
    while (position < text.size()) {
        const size_t found = text.find(delimiter, position);
        if (found == std::string::npos) {
            fields.push_back(text.substr(position));
            break;
        }
        fields.push_back(text.substr(position, found - position));
        position = found + delimiter.size();
    }
    return fields;
}

bool ParseServerLine(const std::string& line, ServerRow* row)
{
    const std::vector<std::string> fields = SplitString(line, "\t");
    if (fields.size() != 3 || fields[1].size() > kMaxFieldBytes || fields[2].size() > kMaxFieldBytes) {
        return false;
    }
    row->ticked = ReadLeadingDecimal(fields[0].c_str()) == 1;
    row->name = fields[1];
    row->address = fields[2];
    return true;
}

std::vector<ServerRow> ReadServerList(std::istream& in)
{
    std::vector<ServerRow> rows;
    char line[kMaxLineBytes + 1];
    while (!in.eof()) {
        in.getline(line, sizeof line, '\n');
        if (in.fail() && !in.eof()) {
            // Full buffer and no line end yet: skip the rest of this line and go on with the next.
            in.clear();
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            continue;
        }
        // A zero byte ends the line's text; what follows it up to the line end is ignored.
        ServerRow row;
        if (ParseServerLine(std::string(line, std::strlen(line)), &row)) {
            rows.push_back(row);
        }
        if (in.fail()) {
            break;  // the end of the data came with this line
        }
    }
    return rows;
}

std::string FormatServerLine(const ServerRow& row)
{
    // "flag, tab, name, tab" alone would read back as two fields and the row would be lost at the
    // next start; a second tab keeps the empty address a field of its own.
    const char* end = row.address.empty() ? "\t\n" : "\n";
    return (row.ticked ? "1\t" : "0\t") + row.name + "\t" + row.address + end;
}

std::string StorableField(const std::string& text)
{
    std::string field = text;
    // 0x1A joins them: in the file's text mode it ends the data, and every row after it would be
    // lost. None of these bytes is ever the second byte of a Shift-JIS character.
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\x1A') {
            c = ' ';
        }
    }
    return field;
}
