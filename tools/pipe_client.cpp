// A client of the time service's pipe that behaves as a test or a bench asks: well, or as a
// crashed, killed, idle or careless program would (Win32 console program).
//   pipe_client status|sync      one request, its answer on standard output; exit 0 for a DONE or
//                                STATUS answer, 1 for anything else
//   pipe_client abandon          STATUS, its answer read, then the process ends with the handle open
//   pipe_client hang [REQUEST]   connects, writes REQUEST if given, never reads: waits to be killed
//   pipe_client soak COUNT MS    COUNT connections MS apart: every second one ends abruptly (its
//                                request written, the handle closed unread), every tenth writes junk
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kPipe[] = "\\\\.\\pipe\\Tempivo";

HANDLE Connect()
{
    WaitNamedPipeA(kPipe, 5000);
    HANDLE pipe = CreateFileA(kPipe, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe != INVALID_HANDLE_VALUE) {
        DWORD mode = PIPE_READMODE_MESSAGE;
        SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
    }
    return pipe;
}

bool Transact(HANDLE pipe, const std::string& request, std::string* answer)
{
    char buffer[4096];
    DWORD got = 0;
    BOOL done = TransactNamedPipe(pipe, const_cast<char*>(request.data()), static_cast<DWORD>(request.size()), buffer,
                                  sizeof buffer, &got, nullptr);
    answer->assign(buffer, got);
    while (!done && GetLastError() == ERROR_MORE_DATA) {
        done = ReadFile(pipe, buffer, sizeof buffer, &got, nullptr);
        answer->append(buffer, got);
    }
    return done != FALSE;
}

int Ask(const std::string& request, bool abandon)
{
    HANDLE pipe = Connect();
    if (pipe == INVALID_HANDLE_VALUE) {
        std::printf("<no pipe %lu>\n", GetLastError());
        return 1;
    }
    std::string answer;
    const bool answered = Transact(pipe, request, &answer);
    std::printf("%s\n", answered ? answer.c_str() : "<closed>");
    std::fflush(stdout);
    if (abandon) {
        ExitProcess(0);  // as a crashed program ends: its handle left for the system to close
    }
    CloseHandle(pipe);
    const bool done = answer.compare(0, 5, "DONE ") == 0 || answer.compare(0, 7, "STATUS ") == 0;
    return answered && done ? 0 : 1;
}

int Hang(const char* request)
{
    HANDLE pipe = Connect();
    if (pipe == INVALID_HANDLE_VALUE) {
        return 1;
    }
    if (request != nullptr) {
        DWORD written = 0;
        WriteFile(pipe, request, static_cast<DWORD>(std::strlen(request)), &written, nullptr);
    }
    std::printf("connected\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}

int Soak(int count, DWORD gapMs)
{
    int answered = 0;
    for (int i = 0; i < count; ++i) {
        HANDLE pipe = Connect();
        if (pipe != INVALID_HANDLE_VALUE) {
            std::string answer;
            if (i % 10 == 3) {
                Transact(pipe, std::string("\x01junk\xff", 6), &answer);
            } else if (i % 2 == 1) {
                DWORD written = 0;
                WriteFile(pipe, "STATUS", 6, &written, nullptr);
            } else if (Transact(pipe, "STATUS", &answer) && answer.compare(0, 7, "STATUS ") == 0) {
                ++answered;
            }
            CloseHandle(pipe);
        }
        Sleep(gapMs);
    }
    std::printf("%d of %d answered\n", answered, (count + 1) / 2);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "status" || mode == "sync") {
        return Ask(mode == "status" ? "STATUS" : "SYNC", false);
    }
    if (mode == "abandon") {
        return Ask("STATUS", true);
    }
    if (mode == "hang") {
        return Hang(argc > 2 ? argv[2] : nullptr);
    }
    if (mode == "soak" && argc > 3) {
        return Soak(std::atoi(argv[2]), static_cast<DWORD>(std::atoi(argv[3])));
    }
    std::fprintf(stderr, "usage: pipe_client status|sync|abandon|hang [REQUEST]|soak COUNT MS\n");
    return 2;
}
