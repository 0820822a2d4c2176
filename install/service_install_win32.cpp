// Installing, updating and removing the time service: the service manager's calls around the
// copies, and what each command tells its user (Win32).
#include "service_install_win32.h"

#include <windows.h>

#include <string>

#include "res/texts.h"
#include "shell/command_outcome.h"
#include "shell/command_report_win32.h"
#include "service_event_source_win32.h"
#include "service_files_win32.h"
#include "service/service_folders_win32.h"
#include "shell/system_error_text.h"
#include "base/program_path.h"

namespace {

constexpr DWORD kStopWaitMs = 10000;

// What a command tells its user at its end.
struct Report {
    CommandOutcome outcome;
    std::string text;
};

Report Failure(const char* what, DWORD error)
{
    return {CommandOutcome::Failed, std::string(what) + "\n" + SystemErrorText(error)};
}

// The outcome told (a line, a box, or quietly the line alone) and turned into the exit code.
int Tell(const Report& report, bool quiet)
{
    const bool trouble =
        report.outcome == CommandOutcome::Failed || report.outcome == CommandOutcome::NeedsAdministrator;
    ReportToUser(report.text, trouble, quiet);
    return CommandExitCode(report.outcome, quiet);
}

int Fail(const char* what, DWORD error, bool quiet)
{
    return Tell(Failure(what, error), quiet);
}

// The service manager with every right, or the command's end: without administrator rights it
// says so.
SC_HANDLE OpenManager(bool quiet, int* exitCode)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        const DWORD error = GetLastError();
        *exitCode = Tell({error == ERROR_ACCESS_DENIED ? CommandOutcome::NeedsAdministrator : CommandOutcome::Failed,
                          std::string(texts::kServiceNeedsAdministrator) + "\n" + SystemErrorText(error)},
                         quiet);
    }
    return manager;
}

// Stops the service if it runs and waits until it has stopped, 10 s at most, and its process has
// ended: a service says it stopped before its process lets go of the program's file, which an
// update is about to replace.
bool StopService(SC_HANDLE service)
{
    SERVICE_STATUS_PROCESS running{};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&running), sizeof running,
                              &needed)) {
        return false;
    }
    const HANDLE process = running.dwProcessId != 0 ? OpenProcess(SYNCHRONIZE, FALSE, running.dwProcessId) : nullptr;
    SERVICE_STATUS status{};
    status.dwCurrentState = running.dwCurrentState;
    if (status.dwCurrentState != SERVICE_STOPPED) {
        ControlService(service, SERVICE_CONTROL_STOP, &status);
    }
    const DWORD start = GetTickCount();
    while (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED &&
           GetTickCount() - start < kStopWaitMs) {
        Sleep(100);
    }
    const bool stopped = status.dwCurrentState == SERVICE_STOPPED;
    if (process != nullptr) {
        const DWORD spent = GetTickCount() - start;
        if (stopped) {
            WaitForSingleObject(process, spent < kStopWaitMs ? kStopWaitMs - spent : 0);
        }
        CloseHandle(process);
    }
    return stopped;
}

// Delayed automatic start, only the two rights it needs, its own SID, restarted after a failure.
void ConfigureService(SC_HANDLE service)
{
    SERVICE_DESCRIPTIONA description{const_cast<char*>(texts::kServiceDescription)};
    ChangeServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, &description);
    SERVICE_DELAYED_AUTO_START_INFO delayed{TRUE};
    ChangeServiceConfig2A(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &delayed);
    static char privileges[] = "SeSystemtimePrivilege\0SeChangeNotifyPrivilege\0";
    SERVICE_REQUIRED_PRIVILEGES_INFOA required{privileges};
    ChangeServiceConfig2A(service, SERVICE_CONFIG_REQUIRED_PRIVILEGES_INFO, &required);
    SERVICE_SID_INFO sid{SERVICE_SID_TYPE_UNRESTRICTED};
    ChangeServiceConfig2A(service, SERVICE_CONFIG_SERVICE_SID_INFO, &sid);
    SC_ACTION restart[2] = {{SC_ACTION_RESTART, 60000}, {SC_ACTION_RESTART, 60000}};
    SERVICE_FAILURE_ACTIONSA failure{86400, nullptr, nullptr, 2, restart};
    ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &failure);
}

// Run from the installed copy, the program cannot delete itself: it moves out of its folder (a
// running program may be renamed on its volume), so that the folder goes now, and the moved file,
// under a name no install will use, goes at the next restart. The folder itself is never left to a
// restart: an install meanwhile would lose its program then.
bool RemoveRunningProgramFolder(const std::string& programFolder)
{
    const std::string running = ProgramFilePath();
    if (lstrcmpiA(running.c_str(), (programFolder + "horavo.exe").c_str()) != 0) {
        return false;
    }
    char temporary[MAX_PATH + 1] = "";
    char moved[MAX_PATH + 1] = "";
    if (GetTempPathA(sizeof temporary, temporary) == 0 || GetTempFileNameA(temporary, "tmp", 0, moved) == 0) {
        return false;
    }
    if (!MoveFileExA(running.c_str(), moved, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(moved);
        return false;
    }
    MoveFileExA(moved, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return RemoveFolderTree(programFolder);
}

// The program and the data folder with its files, each after the one before went well: the first
// failure's error.
DWORD CopyServiceFiles(const std::string& programFolder, const std::string& dataFolder, bool update,
                       bool* usedStarterList)
{
    DWORD error = CopyProgram(programFolder);
    if (error == ERROR_SUCCESS) {
        error = PrepareDataFolder(dataFolder, update);
    }
    if (error == ERROR_SUCCESS) {
        error = WriteServiceFiles(dataFolder, usedStarterList);
    }
    return error;
}

// Makes the service, or gives the one there (an update) this program and account again.
DWORD RegisterService(SC_HANDLE manager, const std::string& programFolder, SC_HANDLE* service)
{
    const std::string command = "\"" + programFolder + "horavo.exe\" -service";
    if (*service == nullptr) {
        *service = CreateServiceA(manager, kServiceName, texts::kServiceDisplayName, SERVICE_ALL_ACCESS,
                                  SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command.c_str(),
                                  nullptr, nullptr, nullptr, "NT AUTHORITY\\LocalService", nullptr);
        return *service != nullptr ? ERROR_SUCCESS : GetLastError();
    }
    if (!ChangeServiceConfigA(*service, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                              command.c_str(), nullptr, nullptr, nullptr, "NT AUTHORITY\\LocalService", "",
                              texts::kServiceDisplayName)) {
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

// The end of a command that gave the service its files: the failure with its error, or what was
// done and whether the list was the starter list.
Report FilesGiven(DWORD error, const char* failed, const char* done, bool usedStarterList)
{
    if (error != ERROR_SUCCESS) {
        return Failure(failed, error);
    }
    return {CommandOutcome::Done,
            usedStarterList ? std::string(done) + "\n" + texts::kServiceUsesStarterList : std::string(done)};
}

// Runs a command on the service manager, opened with every right and closed again before the
// command's end is told; without administrator rights, only that is told.
template <typename Command>
int OnServiceManager(bool quiet, Command command)
{
    int exitCode = 0;
    SC_HANDLE manager = OpenManager(quiet, &exitCode);
    if (manager == nullptr) {
        return exitCode;
    }
    const Report report = command(manager);
    CloseServiceHandle(manager);
    return Tell(report, quiet);
}

// Copies the program and the files, and registers and starts the service; an update stops the
// running one first, and one that fails leaves it running.
Report Install(SC_HANDLE manager, const std::string& programFolder, const std::string& dataFolder)
{
    SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
    const bool update = service != nullptr;
    SERVICE_STATUS status{};
    const bool wasRunning = update && QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
    // An update: the running service lets go of its program first; its folder and log stay.
    if (update && !StopService(service)) {
        const DWORD error = GetLastError();
        CloseServiceHandle(service);
        return Failure(texts::kServiceInstallFailed, error);
    }
    bool usedStarterList = false;
    DWORD error = CopyServiceFiles(programFolder, dataFolder, update, &usedStarterList);
    if (error == ERROR_SUCCESS) {
        error = RegisterService(manager, programFolder, &service);
    }
    if (error == ERROR_SUCCESS) {
        ConfigureService(service);
        RegisterServiceEventSource(programFolder + "horavo.exe");
        if (!StartServiceA(service, 0, nullptr)) {
            error = GetLastError();
        }
    } else if (wasRunning) {
        StartServiceA(service, 0, nullptr);  // a failed update leaves the service as it was: running
    }
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    return FilesGiven(error, texts::kServiceInstallFailed, texts::kServiceInstalled, usedStarterList);
}

// The service reads its list when it starts: stopped, given the files, started again; its log stays.
Report Update(SC_HANDLE manager)
{
    SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
    if (service == nullptr) {
        return {CommandOutcome::NothingToDo, texts::kServiceNotInstalled};
    }
    bool usedStarterList = false;
    DWORD error = StopService(service) ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_SUCCESS) {
        error = WriteServiceFiles(ServiceDataFolder(), &usedStarterList);
    }
    if (!StartServiceA(service, 0, nullptr) && error == ERROR_SUCCESS) {
        error = GetLastError();
    }
    CloseServiceHandle(service);
    return FilesGiven(error, texts::kServiceUpdateFailed, texts::kServiceUpdated, usedStarterList);
}

}  // namespace

int InstallTimeService(bool quiet)
{
    const std::string programFolder = ServiceProgramFolder();
    const std::string dataFolder = ServiceDataFolder();
    if (programFolder.empty() || dataFolder.empty()) {
        return Fail(texts::kServiceInstallFailed, ERROR_PATH_NOT_FOUND, quiet);
    }
    return OnServiceManager(quiet, [&](SC_HANDLE manager) { return Install(manager, programFolder, dataFolder); });
}

int UpdateTimeService(bool quiet)
{
    return OnServiceManager(quiet, Update);
}

int UninstallTimeService(bool quiet)
{
    int exitCode = 0;
    SC_HANDLE manager = OpenManager(quiet, &exitCode);
    if (manager == nullptr) {
        return exitCode;
    }
    DWORD error = ERROR_SUCCESS;
    bool installed = false;
    if (SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS)) {
        installed = true;
        if (!StopService(service) || !DeleteService(service)) {
            error = GetLastError();
        }
        CloseServiceHandle(service);
    } else if (GetLastError() != ERROR_SERVICE_DOES_NOT_EXIST) {
        error = GetLastError();
    }
    CloseServiceHandle(manager);
    if (error != ERROR_SUCCESS) {
        return Fail(texts::kServiceUninstallFailed, error, quiet);
    }
    UnregisterServiceEventSource();
    const bool dataRemoved = RemoveFolderTree(ServiceDataFolder());
    // The other build's folder too, whichever build installed last.
    bool programRemoved = true;
    for (const std::string& programFolder : ServiceProgramFolders()) {
        programRemoved = (RemoveFolderTree(programFolder) || RemoveRunningProgramFolder(programFolder)) && programRemoved;
    }
    if (!dataRemoved || !programRemoved) {
        return Fail(texts::kServiceUninstallFailed, ERROR_DIR_NOT_EMPTY, quiet);
    }
    if (!installed) {
        return Tell({CommandOutcome::NothingToDo, texts::kServiceNotInstalled}, quiet);
    }
    return Tell({CommandOutcome::Done, texts::kServiceUninstalled}, quiet);
}
