// Reading and writing the lines of the server list file.
#include "server_list_codec.h"

#include <algorithm>

#include "base/decimal_text.h"

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

ServerListText ReadServerList(const std::string& bytes)
{
    ServerListText text;
    // The data ends at the first 0x1A, as the C runtime's text mode reads a file.
    const size_t end = std::min(bytes.find('\x1A'), bytes.size());
    text.complete = end == bytes.size();
    size_t start = 0;
    while (start < end) {
        size_t lineEnd = bytes.find('\n', start);
        if (lineEnd == std::string::npos || lineEnd > end) {
            lineEnd = end;
        }
        std::string line = bytes.substr(start, lineEnd - start);
        // CR LF is a line end; a CR elsewhere is part of the text.
        if (lineEnd < end && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        start = lineEnd + 1;
        // A line too long for the line buffer is skipped whole, and reading goes on; so is a line
        // with a zero byte, whose rest would otherwise be lost: both stay in the backup.
        ServerRow row;
        if (line.size() <= kMaxLineBytes && line.find('\0') == std::string::npos && ParseServerLine(line, &row)) {
            text.rows.push_back(row);
        } else {
            text.complete = false;
        }
    }
    return text;
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

void AppendFileLine(const ServerRow& row, std::string* bytes)
{
    std::string line = FormatServerLine(row);
    line.insert(line.size() - 1, "\r");  // what the text mode's line end is on disk
    *bytes += line;
}

std::string WriteServerList(const std::vector<ServerRow>& rows)
{
    std::string bytes;
    for (const ServerRow& row : rows) {
        AppendFileLine(row, &bytes);
    }
    return bytes;
}

std::string TickedRowsOf(const std::string& listBytes)
{
    std::vector<ServerRow> ticked;
    for (const ServerRow& row : ReadServerList(listBytes).rows) {
        if (row.ticked) {
            ticked.push_back(row);
        }
    }
    return WriteServerList(ticked);
}
