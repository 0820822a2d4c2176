// The access lists of the time service's folder and pipe, as security descriptor strings.
#pragma once

#include <string>

// %ProgramData%\Tempivo: protected (nothing inherited from %ProgramData%, where every user may make
// folders), SYSTEM and Administrators full control, the service modify, Users read.
std::string ServiceFolderAccessList();

// \\.\pipe\Tempivo: network users denied before anything else; SYSTEM, Administrators and the
// service anything; signed-in interactive users read and write, but may not make an instance of
// the pipe of their own (no FILE_CREATE_PIPE_INSTANCE, 0x4).
std::string ServicePipeAccessList();
