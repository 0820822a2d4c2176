// What the user is told when the exit command could not write a file whose changes would be lost.
#pragma once

#include <string>
#include <vector>

#include "base/file_result.h"

struct UnsavedFile {
    std::string name;    // "server.data"
    std::string folder;  // with its trailing separator
    std::string reason;  // in words
};

// The words for a file the program left alone on purpose; null for an ordinary failure, whose words
// are the system's for its error code.
const char* RefusalWords(FileRefusal refusal);

// One message for all of them: each file with its folder and reason, and that the changes are lost.
std::string UnsavedFilesMessage(const std::vector<UnsavedFile>& files);
