// The service manager's calls, the copies and the access list of the service's folder (Win32).
#include "service_install_win32.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "res/texts.h"
#include "shell/command_report_win32.h"
#include "shell/service_folders_win32.h"
#include "shell/service_access.h"
#include "shell/system_error_text.h"
#include "store/file_locations.h"
#include "store/program_path.h"
#include "store/settings_file.h"

namespace {

constexpr DWORD kStopWaitMs = 10000;

int Fail(const char* what, DWORD error)
{
    ReportToUser(std::string(what) + "\n" + SystemErrorText(error), true);
    return 1;
}

// Stops the service if it runs and waits until it has stopped, 10 s at most.
bool StopService(SC_HANDLE service)
{
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service, &status)) {
        return false;
    }
    if (status.dwCurrentState != SERVICE_STOPPED) {
        ControlService(service, SERVICE_CONTROL_STOP, &status);
    }
    const DWORD start = GetTickCount();
    while (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED &&
           GetTickCount() - start < kStopWaitMs) {
        Sleep(100);
    }
    return status.dwCurrentState == SERVICE_STOPPED;
}

std::string ReadWholeFile(const std::string& path, bool* found)
{
    std::string bytes;
    *found = false;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    *found = true;
    return bytes;
}

bool WriteNewFile(const std::string& path, const std::string& bytes)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// The service's folder, made anew: whatever stood there (a folder another user made first, links
// planted in it) is removed, and the folder comes with its access list from the start.
DWORD MakeDataFolder(const std::string& folder)
{
    RemoveFolderTree(folder);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(ServiceFolderAccessList().c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return GetLastError();
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    DWORD error = CreateDirectoryA(folder.c_str(), &attributes) ? ERROR_SUCCESS : GetLastError();
    // Set once more as protected: nothing of %ProgramData%'s own list may flow into it.
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL list = nullptr;
    if (error == ERROR_SUCCESS && GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted)) {
        error = SetNamedSecurityInfoA(const_cast<char*>(folder.c_str()), SE_FILE_OBJECT,
                                      DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                      list, nullptr);
    }
    LocalFree(descriptor);
    return error;
}

// The installing user's list and the settings the service uses, beside its program's own files.
DWORD CopyUserFiles(const std::string& dataFolder)
{
    const std::string program = ProgramFilePath();
    bool found = false;
    const std::string list = ReadWholeFile(ServerListPathFor(program.c_str(), IsAnsiLeadByte), &found);
    if (!WriteNewFile(dataFolder + "server.data", list)) {
        return GetLastError();
    }
    const Settings settings = ReadSettings(SettingsPathFor(program.c_str(), IsAnsiLeadByte));
    const std::string ini = "[SETTING]\r\nINTERVAL=" + settings.interval + "\r\nOFFSET=" + settings.offset +
                            "\r\nLOGFILE=" + settings.logFile + "\r\nCONSENSUS=" + std::to_string(settings.consensus) +
                            "\r\nMAXSTEP=" + settings.maxStep + "\r\n";
    return WriteNewFile(dataFolder + "horavo.ini", ini) ? ERROR_SUCCESS : GetLastError();
}

DWORD CopyProgram(const std::string& programFolder)
{
    if (!CreateDirectoryA(programFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return GetLastError();
    }
    const std::string source = ProgramFilePath();
    const std::string target = programFolder + "horavo.exe";
    if (lstrcmpiA(source.c_str(), target.c_str()) == 0) {
        return ERROR_SUCCESS;  // run from the installed copy: it is already there
    }
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        return GetLastError();
    }
    // The help goes along when it stands beside the program.
    const PathParts parts = SplitPath(source.c_str(), IsAnsiLeadByte);
    CopyFileA((parts.drive + parts.folder + "horavo.chm").c_str(), (programFolder + "horavo.chm").c_str(), FALSE);
    return ERROR_SUCCESS;
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

}  // namespace

int InstallTimeService()
{
    const std::string programFolder = ServiceProgramFolder();
    const std::string dataFolder = ServiceDataFolder();
    if (programFolder.empty() || dataFolder.empty()) {
        return Fail(texts::kServiceInstallFailed, ERROR_PATH_NOT_FOUND);
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        return Fail(texts::kServiceNeedsAdministrator, GetLastError());
    }
    SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
    // An update: the running service lets go of its program and its folder first.
    if (service != nullptr && !StopService(service)) {
        const DWORD error = GetLastError();
        CloseServiceHandle(service);
        CloseServiceHandle(manager);
        return Fail(texts::kServiceInstallFailed, error);
    }
    DWORD error = CopyProgram(programFolder);
    if (error == ERROR_SUCCESS) {
        error = MakeDataFolder(dataFolder);
    }
    if (error == ERROR_SUCCESS) {
        error = CopyUserFiles(dataFolder);
    }
    const std::string command = "\"" + programFolder + "horavo.exe\" -service";
    if (error == ERROR_SUCCESS && service == nullptr) {
        service = CreateServiceA(manager, kServiceName, texts::kServiceDisplayName, SERVICE_ALL_ACCESS,
                                 SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command.c_str(),
                                 nullptr, nullptr, nullptr, "NT AUTHORITY\\LocalService", nullptr);
        error = service != nullptr ? ERROR_SUCCESS : GetLastError();
    } else if (error == ERROR_SUCCESS &&
               !ChangeServiceConfigA(service, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                     command.c_str(), nullptr, nullptr, nullptr, "NT AUTHORITY\\LocalService", "",
                                     texts::kServiceDisplayName)) {
        error = GetLastError();
    }
    if (error == ERROR_SUCCESS) {
        ConfigureService(service);
        if (!StartServiceA(service, 0, nullptr)) {
            error = GetLastError();
        }
    }
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    if (error != ERROR_SUCCESS) {
        return Fail(texts::kServiceInstallFailed, error);
    }
    ReportToUser(texts::kServiceInstalled, false);
    return 0;
}

int UninstallTimeService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        return Fail(texts::kServiceNeedsAdministrator, GetLastError());
    }
    DWORD error = ERROR_SUCCESS;
    if (SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS)) {
        if (!StopService(service) || !DeleteService(service)) {
            error = GetLastError();
        }
        CloseServiceHandle(service);
    } else if (GetLastError() != ERROR_SERVICE_DOES_NOT_EXIST) {
        error = GetLastError();
    }
    CloseServiceHandle(manager);
    if (error == ERROR_SUCCESS &&
        (!RemoveFolderTree(ServiceDataFolder()) || !RemoveFolderTree(ServiceProgramFolder()))) {
        error = ERROR_DIR_NOT_EMPTY;
    }
    if (error != ERROR_SUCCESS) {
        return Fail(texts::kServiceUninstallFailed, error);
    }
    ReportToUser(texts::kServiceUninstalled, false);
    return 0;
}
