// The lines of "server.data": a tick flag, the provider name and the address, separated by tabs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct ServerRow {
    bool ticked;
    std::string name;
    std::string address;
};

constexpr size_t kMaxLineBytes = 1023;   // before the line end; the read buffer holds 1024
constexpr size_t kMaxFieldBytes = 511;   // name or address; their buffers hold 512

// Cuts text at every occurrence of the delimiter. An empty text gives no field, a delimiter at the
// end gives no empty field after it, two in a row give an empty field between them.
std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter);

// One line without its line end. False for a line that is not exactly three fields, or whose name
// or address does not fit its buffer. The flag ticks the row when it reads as exactly 1 (atoi).
bool ParseServerLine(const std::string& line, ServerRow* row);

// The rows of a file, byte for byte as they stand in it, and whether they are all of it.
struct ServerListText {
    std::vector<ServerRow> rows;
    bool complete = true;  // false: a line was skipped, or the data ended at a byte 0x1A
};

// Reads every line of the file's bytes as the C runtime's text mode gives them: CR LF is a line
// end like LF alone, and a byte 0x1A ends the data. A line longer than 1023 bytes is skipped whole
// and reading goes on; so are lines with a zero byte and lines that do not parse.
ServerListText ReadServerList(const std::string& bytes);

// "1\tname\taddress\n" for a ticked row, "0\t..." for one that is not; an empty address is
// followed by one more tab, so that the line still has three fields.
std::string FormatServerLine(const ServerRow& row);

// FormatServerLine's line as the file holds it, ended by CR LF, appended to the bytes.
void AppendFileLine(const ServerRow& row, std::string* bytes);

// The bytes of the whole file: every line of FormatServerLine, each ended by CR LF.
std::string WriteServerList(const std::vector<ServerRow>& rows);

// The list the time service gets when the installing folder has none: the ticked rows of the
// download's starter list, as a file's bytes.
std::string TickedRowsOf(const std::string& listBytes);

// A typed name or address as a field of the file: tabs, line ends and the end-of-data byte 0x1A
// (a paste can bring them) become spaces, so that every row can be saved and read back.
std::string StorableField(const std::string& text);
