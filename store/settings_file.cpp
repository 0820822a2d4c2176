// The four settings, read into the main window's controls at set-up and written at exit (Win32).
#include "settings_file.h"

#include <cstring>
#include <string>

#include "store/file_locations.h"
#include "store/program_path.h"
#include "ui/main_dialog.h"

bool BuildIniPath(char (&path)[260])
{
    const std::string settings = SettingsPathFor(ProgramFilePath().c_str(), IsAnsiLeadByte);
    std::memcpy(path, settings.c_str(), settings.size() + 1);
    return !settings.empty();
}

void MainDialog::LoadSettings()
{
    const bool haveFile = m_szIniFile[0] != '\0';

    const UINT startMinimized = haveFile ? GetPrivateProfileIntA("STARTUP", "TASKTRAY", 0, m_szIniFile) : 0;
    SendMessageA(m_minimizeCheck, BM_SETCHECK, startMinimized == 1 ? BST_CHECKED : BST_UNCHECKED, 0);

    const UINT syncAtStart = haveFile ? GetPrivateProfileIntA("STARTUP", "AJAST", 0, m_szIniFile) : 0;
    SendMessageA(m_syncAtStartCheck, BM_SETCHECK, syncAtStart == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    m_bSyncPending = syncAtStart == 1;

    // The edits turn whatever text they get into a number in range, as if it had been typed.
    char interval[256] = "60";
    if (haveFile) {
        GetPrivateProfileStringA("SETTING", "INTERVAL", "60", interval, 255, m_szIniFile);
    }
    SetWindowTextA(m_intervalEdit, interval);

    char offset[256] = "0";
    if (haveFile) {
        GetPrivateProfileStringA("SETTING", "OFFSET", "0", offset, 255, m_szIniFile);
    }
    SetWindowTextA(m_offsetEdit, offset);
}

void MainDialog::SaveSettings()
{
    if (m_szIniFile[0] == '\0') {
        return;
    }
    char text[256];
    wsprintfA(text, "%d", m_nInterval);
    WritePrivateProfileStringA("SETTING", "INTERVAL", text, m_szIniFile);
    wsprintfA(text, "%d", m_nOffset);
    WritePrivateProfileStringA("SETTING", "OFFSET", text, m_szIniFile);
    wsprintfA(text, "%d", static_cast<int>(SendMessageA(m_minimizeCheck, BM_GETCHECK, 0, 0)));
    WritePrivateProfileStringA("STARTUP", "TASKTRAY", text, m_szIniFile);
    wsprintfA(text, "%d", static_cast<int>(SendMessageA(m_syncAtStartCheck, BM_GETCHECK, 0, 0)));
    WritePrivateProfileStringA("STARTUP", "AJAST", text, m_szIniFile);
}
