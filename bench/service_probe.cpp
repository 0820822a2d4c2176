// What the time service's process holds, asked from another process as a Windows tool would ask:
// its process id, handle count and working set (Win32 console program, for the soak bench).
//
// Usage: service_probe.exe   prints "PROCESS_ID HANDLES WORKING_SET_BYTES HOW", HOW naming where the
//                            handle count came from; exit 1 when the service does not run or a figure
//                            cannot be had (the reason on standard error)
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

#include "service/service_folders_win32.h"

namespace {

int Fail(const char* what)
{
    std::fprintf(stderr, "service_probe: %s failed (%lu)\n", what, GetLastError());
    return 1;
}

// One row of the system's handle list (SystemExtendedHandleInformation), as ntdll fills it.
struct HandleRow {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};
struct HandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleRow rows[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

// The process's rows in the system's handle list, or -1 when the list cannot be had.
long ListedHandles(DWORD processId)
{
    std::vector<BYTE> buffer(1 << 20);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(kSystemExtendedHandleInformation),
                                              buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
               kInfoLengthMismatch &&
           buffer.size() < (1u << 28)) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return -1;
    }
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    long count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i) {
        count += list->rows[i].processId == processId ? 1 : 0;
    }
    return count;
}

}  // namespace

int main()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) {
        return Fail("OpenSCManager");
    }
    SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_QUERY_STATUS);
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    const bool known = service != nullptr &&
                       QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                            sizeof status, &needed);
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    if (!known || status.dwCurrentState != SERVICE_RUNNING || status.dwProcessId == 0) {
        return Fail("QueryServiceStatusEx (the service running)");
    }

    // The rights GetProcessMemoryInfo's documentation names; the handle count needs the first alone.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, status.dwProcessId);
    if (process == nullptr) {
        return Fail("OpenProcess");
    }
    DWORD handles = 0;
    if (!GetProcessHandleCount(process, &handles)) {
        return Fail("GetProcessHandleCount");
    }
    // Wine 8 answers 0 for every process, which no running Windows process holds: the system's
    // handle list, which the wine server fills from the process's real table, counts them instead.
    const char* how = "GetProcessHandleCount";
    if (handles == 0) {
        const long listed = ListedHandles(status.dwProcessId);
        if (listed < 0) {
            return Fail("NtQuerySystemInformation (the handle list)");
        }
        handles = static_cast<DWORD>(listed);
        how = "handle-list";
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        return Fail("GetProcessMemoryInfo");
    }
    CloseHandle(process);
    std::printf("%lu %lu %llu %s\n", status.dwProcessId, handles,
                static_cast<unsigned long long>(memory.WorkingSetSize), how);
    return 0;
}
